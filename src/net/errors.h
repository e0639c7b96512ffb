// Errors raised by the model. Every failure is an exception whose message is
// shown to the user as it stands; nothing returns an error code.
#pragma once

#include <stdexcept>
#include <string>

namespace net {

class NetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read or written.
class IoError : public NetError {
public:
    using NetError::NetError;
};

// A typed or stored number is not valid.
class ConvertError : public NetError {
public:
    using NetError::NetError;
};

// Message of an input/output failure for a POSIX error number:
// "File not found", "File access denied", ... or "I/O error %d".
std::string IoMessage(int errnoValue);

}  // namespace net
