// What a monitor's EDID base block says of it: its maker, model, serial and physical image size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr size_t kEdidBlockSize = 128;

struct EdidInfo {
    bool Valid = false;  // a whole base block: the fixed header and a right checksum
    double WidthMm = 0.0, HeightMm = 0.0;  // the image size; 0 x 0 when the block gives none
    bool SizeFromTiming = false;           // from a detailed timing (mm), not bytes 21-22 (cm)
    std::string Maker;                     // three-letter PNP id, "ABC"
    uint16_t ProductCode = 0;
    uint32_t SerialNumber = 0;
    std::string Name;        // the monitor-name descriptor, trimmed
    std::string SerialText;  // the serial-string descriptor, trimmed
};

// Reads the first 128 bytes of data; everything but Valid stays empty when they are not a base
// block. Bytes beyond the base block (extension blocks) are not read.
EdidInfo ParseEdid(const uint8_t* data, size_t size);

// The model a person would recognise: the monitor name, else the product code in hex ("0x5B08").
std::string EdidModelText(const EdidInfo& edid);

// The serial a person would recognise: the serial string, else the serial number when not 0.
std::string EdidSerialText(const EdidInfo& edid);
