// Plain POSIX file access shared by the readers and writers of the model.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

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

// Writes all of `bytes`; a failure (a full disk included) raises IoError.
void WriteAll(int fd, const std::string& bytes);

// Takes an advisory lock on the open directory, shared for readers and
// exclusive for writers; it lasts until the descriptor is closed. Waits a few
// seconds for another program's lock and then raises IoError naming
// `directory`. File systems without locks are used unlocked.
void LockDirectory(const FileHandle& dir, bool exclusive, const std::string& directory);

// rename() and link() of a save's commit step, as the system calls report
// them (0, or -1 with errno set).
int CommitRename(const std::string& from, const std::string& to);
int CommitLink(const std::string& from, const std::string& to);

namespace seam {
// Set by tests only: called before each commit step; a non-zero errno value
// makes that step fail with it instead of running.
extern std::function<int()> CommitStepFault;
}  // namespace seam

}  // namespace net
