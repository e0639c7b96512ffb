// Plain POSIX file access shared by the readers and writers of the model.
#pragma once

#include <cstddef>

namespace net {

// A file descriptor that is closed when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle& operator=(FileHandle&&) = delete;

    int Get() const { return fd_; }
    // Closes now and raises IoError when the close itself fails.
    void Close();

private:
    int fd_;
};

// Up to `size` bytes from the current position; fewer only at the end of the
// file. A read failure raises IoError.
size_t ReadSome(int fd, char* buffer, size_t size);

}  // namespace net
