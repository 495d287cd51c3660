#include "compat/BoundedFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace compat {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : mFd(fd) {}
    ~FileDescriptor() {
        if (mFd >= 0) {
            ::close(mFd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return mFd; }

private:
    int mFd;
};

}  // namespace

FileText ReadBoundedFile(const std::string& path, std::size_t limit) {
    FileText result;
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        result.error = path + ": " + std::strerror(errno);
        return result;
    }
    constexpr std::size_t kChunk = 64 * 1024;
    bool longer = false;
    while (true) {
        // One byte beyond the limit tells a file of exactly limit bytes from a longer one.
        const std::size_t room = limit + 1 - result.text.size();
        const std::size_t want = std::min(kChunk, room);
        const std::size_t used = result.text.size();
        result.text.resize(used + want);
        const ssize_t got = ::read(file.get(), result.text.data() + used, want);
        if (got < 0 && errno == EINTR) {
            result.text.resize(used);
            continue;
        }
        if (got < 0) {
            result.error = path + ": " + std::strerror(errno);
            result.text.clear();
            return result;
        }
        result.text.resize(used + static_cast<std::size_t>(got));
        if (got == 0) {
            break;
        }
        if (result.text.size() > limit) {
            longer = true;
            break;
        }
    }
    if (longer) {
        result.text.resize(limit);
        const std::size_t lastNewline = result.text.rfind('\n');
        result.text.resize(lastNewline == std::string::npos ? 0 : lastNewline + 1);
    }
    result.ok = true;
    return result;
}

}  // namespace compat
