// EDID base block parsing: header, checksum, vendor fields, image size and text descriptors.
#include "display/edid.h"

#include <cstdio>

namespace {

constexpr uint8_t kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr size_t kDescriptorOffsets[4] = {54, 72, 90, 108};
constexpr size_t kDescriptorTextLength = 13;
constexpr uint8_t kNameTag = 0xFC;
constexpr uint8_t kSerialTag = 0xFF;

bool HasHeaderAndChecksum(const uint8_t* block) {
    for (size_t i = 0; i < sizeof kHeader; ++i)
        if (block[i] != kHeader[i]) return false;
    uint8_t sum = 0;
    for (size_t i = 0; i < kEdidBlockSize; ++i) sum = uint8_t(sum + block[i]);
    return sum == 0;
}

// Three letters of five bits each, big-endian; "" when one is outside A..Z.
std::string MakerId(const uint8_t* block) {
    const unsigned word = unsigned(block[8]) << 8 | block[9];
    std::string id;
    for (int shift = 10; shift >= 0; shift -= 5) {
        const unsigned letter = (word >> shift) & 0x1F;
        if (letter < 1 || letter > 26) return std::string();
        id += char('A' + letter - 1);
    }
    return id;
}

// Printable ASCII up to the line feed that ends it, trailing blanks removed.
std::string DescriptorText(const uint8_t* descriptor) {
    std::string text;
    for (size_t i = 5; i < 5 + kDescriptorTextLength && descriptor[i] != 0x0A; ++i)
        text += descriptor[i] >= 0x20 && descriptor[i] < 0x7F ? char(descriptor[i]) : '?';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

bool IsTiming(const uint8_t* descriptor) { return descriptor[0] != 0 || descriptor[1] != 0; }

void ReadDescriptor(const uint8_t* descriptor, EdidInfo& info) {
    if (IsTiming(descriptor)) {
        const int width = descriptor[12] | (descriptor[14] & 0xF0) << 4;
        const int height = descriptor[13] | (descriptor[14] & 0x0F) << 8;
        if (!info.SizeFromTiming && width > 0 && height > 0) {
            info.WidthMm = width;
            info.HeightMm = height;
            info.SizeFromTiming = true;
        }
        return;
    }
    if (descriptor[2] != 0) return;
    if (descriptor[3] == kNameTag && info.Name.empty()) info.Name = DescriptorText(descriptor);
    if (descriptor[3] == kSerialTag && info.SerialText.empty())
        info.SerialText = DescriptorText(descriptor);
}

}  // namespace

EdidInfo ParseEdid(const uint8_t* data, size_t size) {
    EdidInfo info;
    if (data == nullptr || size < kEdidBlockSize || !HasHeaderAndChecksum(data)) return info;
    info.Valid = true;
    info.Maker = MakerId(data);
    info.ProductCode = uint16_t(data[10] | data[11] << 8);
    info.SerialNumber = uint32_t(data[12]) | uint32_t(data[13]) << 8 | uint32_t(data[14]) << 16 |
                        uint32_t(data[15]) << 24;
    info.WidthMm = data[21] * 10.0;
    info.HeightMm = data[22] * 10.0;
    if (data[21] == 0 || data[22] == 0) info.WidthMm = info.HeightMm = 0.0;  // an aspect ratio
    for (size_t offset : kDescriptorOffsets) ReadDescriptor(data + offset, info);
    return info;
}

std::string EdidModelText(const EdidInfo& edid) {
    if (!edid.Name.empty()) return edid.Name;
    char code[8];
    std::snprintf(code, sizeof code, "0x%04X", unsigned(edid.ProductCode));
    return code;
}

std::string EdidSerialText(const EdidInfo& edid) {
    if (!edid.SerialText.empty()) return edid.SerialText;
    return edid.SerialNumber != 0 ? std::to_string(edid.SerialNumber) : std::string();
}
