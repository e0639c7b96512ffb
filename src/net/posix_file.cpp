#include "posix_file.h"

#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "errors.h"

namespace net {

namespace seam {
std::function<int()> CommitStepFault;
}  // namespace seam

namespace {

// A lock held longer than this belongs to a program that hangs, not to a save.
constexpr auto LockPatience = std::chrono::seconds(10);
constexpr auto LockRetryPause = std::chrono::milliseconds(10);

// The error a test asks the next commit step to fail with, or 0.
int InjectedFailure() {
    return seam::CommitStepFault ? seam::CommitStepFault() : 0;
}

}  // namespace

FileHandle::~FileHandle() {
    if (fd_ >= 0)
        ::close(fd_);
}

void FileHandle::Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
        throw IoError(IoMessage(errno));
}

size_t ReadSome(int fd, char* buffer, size_t size) {
    size_t total = 0;
    while (total < size) {
        const ssize_t n = ::read(fd, buffer + total, size - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(IoMessage(errno));
        }
        if (n == 0)
            break;
        total += static_cast<size_t>(n);
    }
    return total;
}

void WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(IoMessage(errno));
        }
        // A write that takes nothing means there is no room left.
        if (n == 0)
            throw IoError(IoMessage(ENOSPC));
        done += static_cast<size_t>(n);
    }
}

void LockDirectory(const FileHandle& dir, bool exclusive, const std::string& directory) {
    const int operation = (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    const auto giveUp = std::chrono::steady_clock::now() + LockPatience;
    while (::flock(dir.Get(), operation) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return;  // no locks on this file system
        if (std::chrono::steady_clock::now() > giveUp) {
            throw IoError("Папка «" + directory +
                          "» занята другой программой, которая читает или сохраняет проект; "
                          "повторите позже");
        }
        std::this_thread::sleep_for(LockRetryPause);
    }
}

int CommitRename(const std::string& from, const std::string& to) {
    if (const int error = InjectedFailure()) {
        errno = error;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

int CommitLink(const std::string& from, const std::string& to) {
    if (const int error = InjectedFailure()) {
        errno = error;
        return -1;
    }
    return ::link(from.c_str(), to.c_str());
}

}  // namespace net
