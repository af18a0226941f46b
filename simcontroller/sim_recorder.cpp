// The simulated controller's records: call log, touch log and the calibration records it was given.
#include "simcontroller/sim_recorder.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <system_error>

namespace {

std::string TimeStamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &seconds);
#else
    gmtime_r(&seconds, &parts);
#endif
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", parts.tm_hour, parts.tm_min,
                  parts.tm_sec, static_cast<int>(millis));
    return text;
}

}  // namespace

SimRecorder::SimRecorder(std::filesystem::path folder) : folder_(std::move(folder)) {
    std::error_code ignored;
    std::filesystem::create_directories(folder_, ignored);
}

void SimRecorder::AppendLine(const char* fileName, const char* format, va_list arguments) {
    char text[2048];
    std::vsnprintf(text, sizeof text, format, arguments);
    std::lock_guard<std::mutex> lock(mutex_);
    std::ofstream stream(folder_ / fileName, std::ios::binary | std::ios::app);
    stream << TimeStamp() << ' ' << text << "\r\n";
}

void SimRecorder::Call(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    AppendLine("Calls.log", format, arguments);
    va_end(arguments);
}

void SimRecorder::Touch(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    AppendLine("Touches.log", format, arguments);
    va_end(arguments);
}

std::filesystem::path SimRecorder::RecordFileName(int32_t screen) {
    return "CalibrationData-" + std::to_string(screen) + ".bin";
}

bool SimRecorder::SaveRecord(const CalibrationDataRecord& record) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::filesystem::path latest = folder_ / RecordFileName(record.ScreenIndex);
    std::filesystem::path partial = latest;
    partial += ".new";
    std::error_code error;
    const bool written = WriteRecordFile(partial, record);
    if (written) std::filesystem::rename(partial, latest, error);
    std::ofstream history(folder_ / "CalibrationHistory.bin", std::ios::binary | std::ios::app);
    history.write(reinterpret_cast<const char*>(&record), sizeof record);
    return written && !error && history.good();
}

bool SimRecorder::LoadRecord(int32_t screen, CalibrationDataRecord* record) const {
    return ReadRecordFile(folder_ / RecordFileName(screen), record);
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool ReadRecordFile(const std::filesystem::path& path, CalibrationDataRecord* record) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return false;
    CalibrationDataRecord loaded{};
    stream.read(reinterpret_cast<char*>(&loaded), sizeof loaded);
    if (stream.gcount() != static_cast<std::streamsize>(sizeof loaded)) return false;
    if (stream.peek() != std::char_traits<char>::eof()) return false;  // not a single record
    *record = loaded;
    return true;
}

bool WriteRecordFile(const std::filesystem::path& path, const CalibrationDataRecord& record) {
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(&record), sizeof record);
    stream.close();
    return !stream.fail();
}
