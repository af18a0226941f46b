// Writing, reading and printing calibration record files.
#include "tools/tarnix_fit/record_file.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "tools/tarnix_fit/tool_text.h"

namespace {

constexpr double kScale = 16384.0;

void PrintInt(std::FILE* out, const char* name, int32_t value) {
    std::fprintf(out, "%-22s = %d\n", name, value);
}

void PrintScaled(std::FILE* out, const char* name, int32_t value) {
    std::fprintf(out, "%-22s = %d (%.6f)\n", name, value, value / kScale);
}

// field points into the byte-packed record: it is read through an aligned copy.
void PrintIndexedScaled(std::FILE* out, const char* name, const void* field, int count,
                        double scale) {
    int32_t values[kRecordCoefficientCount];
    std::memcpy(values, field, sizeof(int32_t) * count);
    for (int i = 0; i < count; ++i) {
        char label[48];
        std::snprintf(label, sizeof label, "%s[%d]", name, i);
        if (scale == 0.0)
            PrintInt(out, label, values[i]);
        else
            std::fprintf(out, "%-22s = %d (%.6f)\n", label, values[i], values[i] / scale);
    }
}

// Offsets of the bytes that no named field covers and that are not zero.
void PrintReservedBytes(std::FILE* out, const CalibrationDataRecord& r) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&r);
    const struct { size_t offset, size; } reserved[] = {{0, 21}, {25, 44}, {73, 4}, {1161, 44}};
    int nonZero = 0;
    for (const auto& block : reserved) {
        for (size_t i = block.offset; i < block.offset + block.size; ++i) {
            if (bytes[i] == 0) continue;
            std::fprintf(out, "reserved byte %zu = %u\n", i, unsigned(bytes[i]));
            ++nonZero;
        }
    }
    if (nonZero == 0) std::fprintf(out, "reserved bytes         = all zero\n");
}

}  // namespace

bool WriteRecordFile(const std::wstring& path, const CalibrationDataRecord& record) {
    std::ofstream file(ToolPath(path), std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(&record), sizeof record);
    return static_cast<bool>(file);
}

bool ReadRecordFile(const std::wstring& path, CalibrationDataRecord& record, std::string& error) {
    std::error_code ec;
    const std::filesystem::path file = ToolPath(path);
    const std::string shown = PrintableText(path);
    if (!std::filesystem::is_regular_file(file, ec)) {
        error = "no such file: " + shown;
        return false;
    }
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size != sizeof record) {
        error = "not a calibration record (" + std::to_string(sizeof record) + " bytes): " + shown;
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(&record), sizeof record)) {
        error = "cannot read the file: " + shown;
        return false;
    }
    return true;
}

void PrintRecordFields(std::FILE* out, const CalibrationDataRecord& r) {
    PrintInt(out, "Leading", r.Leading);
    PrintInt(out, "ScreenIndex", r.ScreenIndex);
    PrintInt(out, "MonitorNumber", r.MonitorNumber);
    PrintInt(out, "AreaWidth", r.AreaWidth);
    PrintInt(out, "AreaHeight", r.AreaHeight);
    PrintInt(out, "VirtualScreenWidth", r.VirtualScreenWidth);
    PrintInt(out, "VirtualScreenHeight", r.VirtualScreenHeight);
    PrintInt(out, "VirtualScreenLeft", r.VirtualScreenLeft);
    PrintInt(out, "VirtualScreenTop", r.VirtualScreenTop);
    PrintInt(out, "AreaLeft", r.AreaLeft);
    PrintInt(out, "AreaTop", r.AreaTop);
    PrintIndexedScaled(out, "CoeffX", r.CoeffX, kRecordCoefficientCount, kScale);
    PrintIndexedScaled(out, "CoeffY", r.CoeffY, kRecordCoefficientCount, kScale);
    PrintInt(out, "ModelKind", r.ModelKind);
    PrintScaled(out, "RotationDegrees", r.RotationDegrees);
    PrintScaled(out, "OffsetV", r.OffsetV);
    PrintScaled(out, "OffsetW", r.OffsetW);
    PrintInt(out, "PolynomialOrder", r.PolynomialOrder);
    PrintInt(out, "ControllerOffset", r.ControllerOffset);
    PrintInt(out, "InverseScaleFactor", r.InverseScaleFactor);
    PrintIndexedScaled(out, "MiniTargetDeltaX", r.MiniTargetDeltaX, kRecordMiniTargetCount, 0.0);
    PrintIndexedScaled(out, "MiniTargetDeltaY", r.MiniTargetDeltaY, kRecordMiniTargetCount, 0.0);
    PrintIndexedScaled(out, "MiniTargetX", r.MiniTargetX, kRecordMiniTargetCount, 0.0);
    PrintIndexedScaled(out, "MiniTargetY", r.MiniTargetY, kRecordMiniTargetCount, 0.0);
    PrintIndexedScaled(out, "InfluenceRadius", r.InfluenceRadius, kRecordMiniTargetCount, 65536.0);
    for (int row = 0; row < kRecordMiniTargetCount; ++row) {
        std::fprintf(out, "%-22s =", ("MiniTargetSpacing[" + std::to_string(row) + "]").c_str());
        for (int q = 0; q < kRecordMiniTargetCount; ++q)
            std::fprintf(out, " %d", r.MiniTargetSpacing[row][q]);
        std::fprintf(out, "\n");
    }
    PrintInt(out, "TrailingScreenIndex", r.TrailingScreenIndex);
    for (int i = 0; i < kRecordReferenceTargetCount; ++i)
        std::fprintf(out, "ReferenceTarget[%d]     = screen (%d, %d), controller (%d, %d)\n", i,
                     r.ScreenReference[i][0], r.ScreenReference[i][1], r.ControllerReference[i][0],
                     r.ControllerReference[i][1]);
    PrintReservedBytes(out, r);
}
