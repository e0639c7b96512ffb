#include "posix_file.h"

#include <unistd.h>

#include <cerrno>

#include "errors.h"

namespace net {

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

}  // namespace net
