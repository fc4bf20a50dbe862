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

} // namespace

SourceFile::~SourceFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool SourceFile::Open(const std::string& path, std::string& error)
{
    path_ = path;
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        error = Reason(path, errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        error = Reason(path, errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = Reason(path, EISDIR);
        return false;
    }
    size_ = S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    return true;
}

bool SourceFile::Read(std::string& block, std::size_t maxBytes, std::string& error)
{
    // Read until the end whatever the size said: the file may change while it is read.
    block.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        const ssize_t n = ::read(fd_, block.data() + got, maxBytes - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = Reason(path_, errno);
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    block.resize(got);
    return true;
}

DestinationFile::~DestinationFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
}

bool DestinationFile::Open(const std::string& path, std::string& error)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            target_ = path;
            fd_ = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
            return fd_ >= 0 || Fail(errno, error);
        }
        // Replace the file the links lead to, keeping its permissions.
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) == nullptr) {
            error = Reason(path, errno);
            return false;
        }
        target_ = resolved;
        mode_ = info.st_mode & 07777;
        replacing_ = true;
    } else {
        if (errno != ENOENT) {
            error = Reason(path, errno);
            return false;
        }
        if (!FollowLinks(path, target_, error))
            return false;
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode_ = 0666 & ~mask;
    }
    const std::string base = target_.substr(target_.rfind('/') + 1);
    std::string temporary = DirectoryOf(target_) + "/." + base + ".morvane-XXXXXX";
    fd_ = ::mkstemp(temporary.data());
    if (fd_ < 0)
        return Fail(errno, error);
    temporary_ = temporary;
    return true;
}

bool DestinationFile::Write(std::string_view data, std::string& error)
{
    int code = 0;
    if (!WriteAll(fd_, data, code))
        return Fail(code, error);
    written_ += data.size();
    // Start writing a temporary file out to disk as it grows, so the flush before the rename
    // has little left to wait for and the page cache does not fill with it.
    constexpr std::uint64_t kWriteBehind = 8 << 20;
    if (!temporary_.empty() && written_ - flushedUpTo_ >= kWriteBehind) {
        ::sync_file_range(fd_, static_cast<off_t>(flushedUpTo_),
                          static_cast<off_t>(written_ - flushedUpTo_), SYNC_FILE_RANGE_WRITE);
        flushedUpTo_ = written_;
    }
    return true;
}

bool DestinationFile::Commit(std::string& error)
{
    if (temporary_.empty()) {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 || Fail(errno, error);
    }
    // Old contents are only given up once the new ones are on disk; a new file puts nothing at
    // risk, so it does without the wait.
    if (::fchmod(fd_, mode_) != 0 || (replacing_ && ::fsync(fd_) != 0))
        return Fail(errno, error);
    const int result = ::close(fd_);
    fd_ = -1;
    if (result != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0)
        return Fail(errno, error);
    temporary_.clear();
    return true;
}

bool DestinationFile::Fail(int code, std::string& error)
{
    error = Reason(target_, code);
    return false;
}

bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error)
{
    SourceFile file;
    if (!file.Open(path, error))
        return false;
    contents.clear();
    contents.reserve(file.Size());
    std::string block;
    while (true) {
        if (!file.Read(block, 1 << 16, error))
            return false;
        if (block.empty())
            return true;
        contents += block;
    }
}

bool WriteFileReplacing(const std::string& path, std::string_view data, std::string& error)
{
    DestinationFile file;
    return file.Open(path, error) && file.Write(data, error) && file.Commit(error);
}

} // namespace morvane
