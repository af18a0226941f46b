// Calibration record files of tarnix-fit: writing the packed record and printing one by field.
#pragma once

#include <cstdio>
#include <string>

#include "driver/quva_records.h"

bool WriteRecordFile(const std::wstring& path, const CalibrationDataRecord& record);

// Reads a 1257-byte record file. False with a message when it is missing or of another size.
bool ReadRecordFile(const std::wstring& path, CalibrationDataRecord& record, std::string& error);

// Every field by name, scaled fields with their decoded value, and any non-zero reserved byte.
void PrintRecordFields(std::FILE* out, const CalibrationDataRecord& record);
