#include "platform/posix/posix_file_system.h"

#include "platform/posix/file_descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <new>
#include <random>
#include <utility>

namespace glugmo {
namespace {

// Removes a temporary file on every way out but a successful rename.
class TemporaryPath {
public:
    explicit TemporaryPath(std::string path) : path_(std::move(path)) {}
    TemporaryPath(const TemporaryPath&) = delete;
    TemporaryPath& operator=(const TemporaryPath&) = delete;
    ~TemporaryPath() {
        if (!committed_) ::unlink(path_.c_str());
    }
    const std::string& path() const { return path_; }
    void commit() { committed_ = true; }

private:
    std::string path_;
    bool committed_ = false;
};

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A new file beside `path`, named like it with a random suffix. It is created
// 0644 through open() so the kernel applies the umask: reading the umask
// would mean setting it, and a file another thread created in that instant
// would get the wrong mode.
int createTemporaryBeside(const std::string& path, std::string& temporaryPath) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = path + ".";
        for (int i = 0; i < 8; ++i) candidate += kLetters[random() % (sizeof kLetters - 1)];
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            temporaryPath = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

}  // namespace

PosixFileSystem::PosixFileSystem(std::optional<std::string> applicationSupportDirectory)
    : applicationSupportDirectory_(std::move(applicationSupportDirectory)) {}

std::optional<std::string> PosixFileSystem::applicationSupportDirectory() const {
    return applicationSupportDirectory_;
}

bool PosixFileSystem::fileExists(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::optional<std::string> PosixFileSystem::readFile(const std::string& path) const {
    // O_NONBLOCK keeps a FIFO in place of the file from blocking the open;
    // the type check below then turns it away.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0) return std::nullopt;

    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return std::nullopt;

    std::string contents;
    char buffer[64 * 1024];
    try {
        contents.reserve(static_cast<std::size_t>(info.st_size));
        for (;;) {
            const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
            if (count < 0) {
                if (errno == EINTR) continue;
                return std::nullopt;
            }
            if (count == 0) return contents;
            contents.append(buffer, static_cast<std::size_t>(count));
        }
    } catch (const std::bad_alloc&) {
        return std::nullopt;  // larger than memory allows: unreadable all the same
    }
}

bool PosixFileSystem::createDirectories(const std::string& path) {
    if (path.empty()) return false;
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = path.find('/', end + 1);
        const std::string prefix = path.substr(0, end);
        if (prefix.empty() || prefix.back() == '/' || isDirectory(prefix)) continue;
        // 0777 less the umask, as mkdir -p does: the folder holds ordinary
        // data, not secrets.
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    return isDirectory(path);
}

bool PosixFileSystem::writeFileAtomically(const std::string& path, std::string_view bytes) {
    return replaceFile(path, bytes) == 0;
}

int PosixFileSystem::replaceFile(const std::string& path, std::string_view bytes) {
    // errno of the step that failed; a step that fails without one still fails.
    const auto failure = [] { return errno != 0 ? errno : EIO; };

    // Some paths are fixed names in the shared /tmp: whatever another user
    // put there must not be written into, followed or replaced.
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0) {
        if (existing.st_uid != ::geteuid()) return EPERM;
    } else if (errno != ENOENT) {
        return failure();
    }

    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = path.substr(folder.size());
    if (name.empty()) return EISDIR;

    std::string temporaryName;
    FileDescriptor file(createTemporaryBeside(folder + "." + name, temporaryName));
    if (file.get() < 0) return failure();
    TemporaryPath temporary(std::move(temporaryName));

    errno = 0;
    if (!writeAll(file.get(), bytes)) return failure();
    if (::fsync(file.get()) != 0) return failure();
    if (!file.close()) return failure();

    // rename replaces a symbolic link at the path rather than following it.
    if (::rename(temporary.path().c_str(), path.c_str()) != 0) return failure();
    temporary.commit();
    return 0;
}

bool PosixFileSystem::removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

}  // namespace glugmo
