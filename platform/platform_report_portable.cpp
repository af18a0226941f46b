// Report streams on the portable build: new files get mode 0666 set explicitly (so every local
// user may append whatever the umask), and "\n" is stored as CR LF as on Windows.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "platform/portable_text.h"

struct PlatformReportStream {
    FILE* file;
};

namespace {

int OpenForAppend(const std::string& path) {
    int fd = open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
        fchmod(fd, 0666);
        return fd;
    }
    return open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
}

}  // namespace

PlatformReportStream* PlatformOpenReport(const std::wstring& path) {
    int fd = OpenForAppend(NarrowFromWide(path));
    if (fd < 0) return nullptr;
    FILE* file = fdopen(fd, "a+");
    if (file == nullptr) {
        close(fd);
        return nullptr;
    }
    return new PlatformReportStream{file};
}

void PlatformWriteReport(PlatformReportStream* stream, const char* text) {
    if (stream == nullptr || text == nullptr) return;
    // Whole runs between line ends go out in one write each.
    for (const char* run = text; *run != '\0';) {
        const char* end = std::strchr(run, '\n');
        if (end == nullptr) {
            std::fputs(run, stream->file);
            return;
        }
        std::fwrite(run, 1, static_cast<size_t>(end - run), stream->file);
        std::fputs("\r\n", stream->file);
        run = end + 1;
    }
}

void PlatformCloseReport(PlatformReportStream* stream) {
    if (stream == nullptr) return;
    std::fclose(stream->file);
    delete stream;
}

bool PlatformCreateSharedFolder(const std::wstring& path) {
    const std::string narrow = NarrowFromWide(path);
    if (mkdir(narrow.c_str(), 0777) == 0) chmod(narrow.c_str(), 0777);
    struct stat info;
    return stat(narrow.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PlatformWriteSharedFile(const std::wstring& path, const std::string& bytes) {
    const std::string narrow = NarrowFromWide(path);
    const int fd = open(narrow.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    fchmod(fd, 0666);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += size_t(n);
    }
    const bool whole = close(fd) == 0 && done == bytes.size();
    if (!whole) unlink(narrow.c_str());
    return whole;
}
