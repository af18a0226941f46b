// The simulated controller's records: call log, touch log and the calibration records it was given.
#pragma once

#include <cstdarg>
#include <filesystem>
#include <mutex>
#include <string>

#include "driver/quva_records.h"

// Files in the log folder: "Calls.log" (every call with its arguments and result),
// "Touches.log" (every touch queued, delivered or dropped), "CalibrationData-<screen>.bin" (the
// latest record of a screen) and "CalibrationHistory.bin" (every record, appended). Lines end
// in CR LF. Every write opens, appends and closes, so other processes may read at any time.
class SimRecorder {
  public:
    explicit SimRecorder(std::filesystem::path folder);

    const std::filesystem::path& Folder() const { return folder_; }
    void Call(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
    void Touch(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
    // Saves the record as the latest of its screen and appends it to the history.
    bool SaveRecord(const CalibrationDataRecord& record);
    // The latest saved record of a screen, if there is one.
    bool LoadRecord(int32_t screen, CalibrationDataRecord* record) const;

    static std::filesystem::path RecordFileName(int32_t screen);

  private:
    void AppendLine(const char* fileName, const char* format, va_list arguments);

    std::filesystem::path folder_;
    std::mutex mutex_;
};

// A path as UTF-8 text for the logs.
std::string PathText(const std::filesystem::path& path);

// Reads or writes one 1257-byte record file.
bool ReadRecordFile(const std::filesystem::path& path, CalibrationDataRecord* record);
bool WriteRecordFile(const std::filesystem::path& path, const CalibrationDataRecord& record);
