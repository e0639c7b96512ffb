#include "errors.h"

#include <cerrno>

namespace net {

std::string IoMessage(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return "File not found";
        case EACCES:
        case EPERM:
        case EROFS:
            return "File access denied";
        case ENOSPC:
            return "Disk full";
        default:
            return "I/O error " + std::to_string(errnoValue);
    }
}

}  // namespace net
