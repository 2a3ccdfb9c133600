#include "io/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "state/ErrText.h"

namespace tessan {

namespace fs = std::filesystem;

namespace {

int errnoToErr(int e) {
    switch (e) {
        case ENOENT: case ENOTDIR: return err::kPathNotFound;
        case EACCES: case EPERM: case EROFS: return err::kPermission;
        case ENOSPC: case EDQUOT: case EFBIG: return err::kDiskFull;
        case EISDIR: case ELOOP: return err::kPathFileAccess;
        case ENAMETOOLONG: return err::kBadName;
        default: return err::kDeviceIO;
    }
}

// The file a save of target replaces: target itself, or the file its chain of symbolic links
// ends at (which need not exist yet). Empty for a loop of links.
fs::path finalTarget(fs::path target) {
    constexpr int kMaxLinks = 40;
    for (int depth = 0; depth <= kMaxLinks; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
        const fs::path to = fs::read_symlink(target, ec);
        if (ec) return {};
        target = to.is_absolute() ? to : target.parent_path() / to;
    }
    return {};
}

// Writes all of content to fd; 0 or the errno of the failure.
int writeAll(int fd, std::string_view content) {
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

int ReplaceFileAtomically(const fs::path& requested, const std::function<int(const fs::path&)>& produce) {
    if (requested.empty() || !requested.has_filename()) return err::kPathFileAccess;  // "dir/" : no name
    const fs::path target = finalTarget(requested);
    if (target.empty()) return err::kPathFileAccess;
    std::error_code ec;
    if (fs::is_directory(target, ec)) return err::kPathFileAccess;
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    if (!fs::is_directory(dir, ec)) return err::kPathNotFound;

    // A file without any write permission was made read-only on purpose: renaming over it would
    // replace it all the same, so it is refused here (root is not stopped by the permission).
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0))
        return err::kPermission;

    std::string tmpName(".");
    tmpName += target.filename().string();
    tmpName += ".tmp";
    const fs::path tmp = dir / tmpName;
    // A stale temporary file of a killed save (or anything else of that name) goes first, so
    // the new one is created afresh and never written through a link.
    if (::unlink(tmp.c_str()) != 0 && errno != ENOENT && errno != EISDIR && errno != EPERM) return errnoToErr(errno);
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errnoToErr(errno == EEXIST ? EIO : errno);
    ::close(fd);
    if (const int failed = produce(tmp)) {
        ::unlink(tmp.c_str());
        return failed;
    }
    fd = ::open(tmp.c_str(), O_RDONLY | O_CLOEXEC);
    int e = fd < 0 ? errno : 0;
    // The replaced file's permissions; then the data on the disk before the rename makes it
    // the file, so that a crash never leaves an empty file under the target's name.
    if (e == 0 && replacing && ::fchmod(fd, old.st_mode & 07777) != 0) e = errno;
    if (e == 0 && ::fsync(fd) != 0) e = errno;
    if (fd >= 0 && ::close(fd) != 0 && e == 0) e = errno;
    if (e == 0 && std::rename(tmp.c_str(), target.c_str()) != 0) e = errno;
    if (e != 0) {
        ::unlink(tmp.c_str());
        return errnoToErr(e);
    }
    // The rename itself reaches the disk with the directory.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        (void)::fsync(dfd);
        ::close(dfd);
    }
    return 0;
}

int WriteFileAtomically(const fs::path& requested, std::string_view content) {
    return ReplaceFileAtomically(requested, [content](const fs::path& tmp) {
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0) return errnoToErr(errno);
        int e = writeAll(fd, content);
        if (::close(fd) != 0 && e == 0) e = errno;
        return e == 0 ? 0 : errnoToErr(e);
    });
}

int ReadWholeFile(const fs::path& path, std::string& content) {
    std::error_code ec;
    if (path.empty() || !fs::exists(path, ec)) return err::kFileNotFound;
    if (fs::is_directory(path, ec)) return err::kPathFileAccess;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return errno == EACCES ? err::kPermission : err::kPathFileAccess;
    content.clear();
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) content.append(buf, n);
    bool bad = std::ferror(f) != 0;
    std::fclose(f);
    return bad ? err::kDeviceIO : 0;
}

}  // namespace tessan
