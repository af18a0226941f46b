// The tiling rule and the reading of the video-mode list.
#include "display/tile_layout.h"

#include <cctype>
#include <string>

#include "config/support_folder.h"
#include "platform/debug_trace.h"
#include "platform/platform.h"

namespace {

constexpr size_t kMaxVideoFileBytes = 64 * 1024;  // a file over it is refused whole

// One "%d" conversion: white space, an optional sign and at least one digit; false on overflow.
bool ScanInteger(const std::string& text, size_t& pos, int32_t& value) {
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    size_t first = pos;
    int64_t number = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        number = number * 10 + (text[pos++] - '0');
        if (number > INT32_MAX) return false;
    }
    if (pos == first) return false;
    value = int32_t(negative ? -number : number);
    return true;
}

bool ScanPair(const std::string& text, size_t& pos, VideoMode& mode) {
    if (!ScanInteger(text, pos, mode.Width)) return false;
    if (pos >= text.size() || text[pos] != ',') return false;
    ++pos;
    return ScanInteger(text, pos, mode.Height);
}

// A mode that would give tiles too small to touch, or too many passes for one monitor, is passed
// over (with a trace) as if it did not divide the monitor.
bool TilesUsable(const VideoMode& mode, int32_t columns, int32_t rows) {
    if (mode.Width < kMinTileSide || mode.Height < kMinTileSide) {
        DebugPrint(L"Tarnix.exe: video mode %dx%d passed over: tiles must be at least %dx%d pixels",
                   mode.Width, mode.Height, kMinTileSide, kMinTileSide);
        return false;
    }
    if (int64_t(columns) * rows > kMaxTilesPerMonitor) {
        DebugPrint(L"Tarnix.exe: video mode %dx%d passed over: %d x %d tiles, more than %d",
                   mode.Width, mode.Height, columns, rows, kMaxTilesPerMonitor);
        return false;
    }
    return true;
}

// A file over the limit is refused whole, never read in part: the built-in list stands.
void TraceOversizedVideoFile(const std::wstring& path) {
    uint64_t bytes = kMaxVideoFileBytes + 1;
    PlatformFileSize(path, bytes);
    DebugPrint(
        L"Tarnix.exe: the video-mode file %s holds %s bytes, more than the limit of %u: it "
        L"is not read; the built-in modes are used",
        path.c_str(), std::to_wstring(bytes).c_str(), unsigned(kMaxVideoFileBytes));
}

}  // namespace

const std::vector<VideoMode>& BuiltInVideoModes() {
    static const std::vector<VideoMode> modes = {
        {2048, 1536}, {1600, 1200}, {1280, 960},  {640, 480},   {800, 600},   {1024, 768},
        {2304, 1728}, {1152, 864},  {1280, 1024}, {1792, 1344}, {1856, 1392}, {1920, 1440}};
    return modes;
}

std::vector<VideoMode> ParseVideoModes(const std::string& text) {
    std::vector<VideoMode> modes;
    size_t pos = 0;
    VideoMode mode;
    while (ScanPair(text, pos, mode) && mode.Width > 0 && mode.Height > 0) modes.push_back(mode);
    return modes;
}

std::vector<VideoMode> ReadVideoModes() {
    std::string text;
    const std::wstring path = PlatformJoinPath(GetSupportFolder(), L"QuvaVideo.txt");
    if (!PlatformReadTextFile(path, text, kMaxVideoFileBytes + 1)) return BuiltInVideoModes();
    if (text.size() > kMaxVideoFileBytes) {
        TraceOversizedVideoFile(path);
        return BuiltInVideoModes();
    }
    std::vector<VideoMode> modes = ParseVideoModes(text);
    return modes.empty() ? BuiltInVideoModes() : modes;
}

int32_t MatchTileLayout(const std::vector<VideoMode>& modes, int32_t& width, int32_t& height,
                        int32_t& columns, int32_t& rows) {
    columns = 1;
    rows = 1;
    if (width <= 0 || height <= 0) return 0;
    for (const VideoMode& mode : modes) {
        if (mode.Width <= 0 || mode.Height <= 0) break;
        if (width % mode.Width == 0 && height % mode.Height == 0) {
            if (!TilesUsable(mode, width / mode.Width, height / mode.Height)) continue;
            columns = width / mode.Width;
            rows = height / mode.Height;
            width = mode.Width;
            height = mode.Height;
            return columns * rows;
        }
    }
    return 0;
}
