// File access for batch mode on POSIX calls, so every failure has its errno reason.
#include "app/batch_files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {
namespace {

std::string Reason(const std::string& path, int error)
{
    return "\"" + path + "\": " + std::strerror(error);
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the result: a late write error can show up here.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, std::string_view data, int& error)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows a chain of symbolic links that ends in a name that does not exist yet, so the
// new file is made where the link points. Returns path itself when it is no link.
bool FollowLinks(std::string path, std::string& target, std::string& error)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = path;
            return true;
        }
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link - 1);
        if (length < 0) {
            error = Reason(path, errno);
            return false;
        }
        const std::string next(link, static_cast<std::size_t>(length));
        path = next.starts_with('/') ? next : DirectoryOf(path) + "/" + next;
    }
    error = Reason(path, ELOOP);
    return false;
}

bool WriteDirectly(const std::string& path, std::string_view data, std::string& error)
{
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.get() < 0) {
        error = Reason(path, errno);
        return false;
    }
    int code = 0;
    if (!WriteAll(fd.get(), data, code)) {
        error = Reason(path, code);
        return false;
    }
    if (fd.close() != 0) {
        error = Reason(path, errno);
        return false;
    }
    return true;
}

bool WriteThroughTemporary(const std::string& target, mode_t mode, std::string_view data,
                           std::string& error)
{
    const std::string base = target.substr(target.rfind('/') + 1);
    std::string temporary = DirectoryOf(target) + "/." + base + ".morvane-XXXXXX";
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0) {
        error = Reason(target, errno);
        return false;
    }
    int code = 0;
    bool ok = WriteAll(fd.get(), data, code);
    if (ok && ::fchmod(fd.get(), mode) != 0)
        code = errno, ok = false;
    if (ok && ::fsync(fd.get()) != 0)
        code = errno, ok = false;
    if (fd.close() != 0 && ok)
        code = errno, ok = false;
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0)
        code = errno, ok = false;
    if (!ok) {
        ::unlink(temporary.c_str());
        error = Reason(target, code);
    }
    return ok;
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        error = Reason(path, errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        error = Reason(path, errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = Reason(path, EISDIR);
        return false;
    }
    contents.clear();
    if (S_ISREG(info.st_mode))
        contents.reserve(static_cast<std::size_t>(info.st_size));
    // Read until the end whatever the size said: the file may change while it is read.
    char block[1 << 16];
    while (true) {
        const ssize_t got = ::read(fd.get(), block, sizeof block);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = Reason(path, errno);
            return false;
        }
        if (got == 0)
            return true;
        contents.append(block, static_cast<std::size_t>(got));
    }
}

bool WriteFileReplacing(const std::string& path, std::string_view data, std::string& error)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return WriteDirectly(path, data, error);
        // Replace the file the links lead to, keeping its permissions.
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) == nullptr) {
            error = Reason(path, errno);
            return false;
        }
        return WriteThroughTemporary(resolved, info.st_mode & 07777, data, error);
    }
    if (errno != ENOENT) {
        error = Reason(path, errno);
        return false;
    }
    std::string target;
    if (!FollowLinks(path, target, error))
        return false;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return WriteThroughTemporary(target, 0666 & ~mask, data, error);
}

} // namespace morvane
