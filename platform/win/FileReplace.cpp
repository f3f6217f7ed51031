#include "platform/win/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <random>

namespace platform::win {

namespace {

constexpr int kMostLinks = 40;  // as many as the system follows in a path

bool Refused(std::string* why, const std::string& reason) {
    if (why) *why = reason;
    return false;
}

bool RefusedBy(std::string* why, int error) { return Refused(why, std::strerror(error)); }

// Follows the symbolic links at `path` to the name of what they lead to (which
// need not exist yet). False with errno set when a link cannot be read.
bool FollowLinks(std::string& path) {
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        if (links == kMostLinks) {
            errno = ELOOP;
            return false;
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
        if (length < 0) return false;
        if (length == static_cast<ssize_t>(sizeof target)) {
            errno = ENAMETOOLONG;
            return false;
        }
        std::string next(target, static_cast<size_t>(length));
        // A relative target is relative to the link's own folder.
        if (next.front() != '/')
            if (const size_t slash = path.rfind('/'); slash != std::string::npos) next.insert(0, path, 0, slash + 1);
        path = std::move(next);
    }
}

// Opens a file of a name that did not exist: `base` and six random letters
// or digits. -1 with errno set when none can be made.
int OpenNewFile(const std::string& base, mode_t mode, std::string& name) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = base + ".";
        for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Gives the new file `fd` the owner and group of `old` where the caller may;
// a caller who may not give the owner gives the group alone where it may.
// False when the new file keeps the caller's own owner and group.
bool KeepOwner(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) == 0) return true;
    return ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

// 0 when all of `bytes` went into `fd` and it closed well; otherwise the errno.
int WriteAndClose(int fd, const std::string& bytes) {
    int error = 0;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

}  // namespace

bool ReplaceFileContent(const std::string& path, const std::string& bytes, std::string* why) {
    if (path.empty()) return RefusedBy(why, ENOENT);
    std::string target = path;
    if (!FollowLinks(target)) return RefusedBy(why, errno);

    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return RefusedBy(why, errno);
    if (exists) {
        if (S_ISDIR(st.st_mode)) return RefusedBy(why, EISDIR);
        if (!S_ISREG(st.st_mode)) return Refused(why, "it is no regular file");
        // The system lets a privileged caller write any file; one without a
        // write bit is meant to be written by nobody.
        if ((st.st_mode & 0222) == 0) return RefusedBy(why, EACCES);
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return RefusedBy(why, errno);
    }

    // A new file gets the mode any new file gets; a replaced one keeps its own.
    std::string temporary;
    const int fd = OpenNewFile(target, exists ? 0600 : 0666, temporary);
    if (fd < 0) return RefusedBy(why, errno);
    int error = 0;
    // A replaced file keeps its owner and group too, where the system lets the
    // caller give them (a privileged caller replacing another user's file).
    // Before the mode: a change of owner clears the set-id bits.
    if (exists) KeepOwner(fd, st);
    if (exists && ::fchmod(fd, st.st_mode & 07777) != 0) error = errno;
    if (error == 0) error = WriteAndClose(fd, bytes);
    else ::close(fd);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return RefusedBy(why, error);
    }
    return true;
}

}  // namespace platform::win
