// Host names are Windows-1251 in the records and files, UTF-8 everywhere else.
#pragma once

#include <string>

namespace net {

// A character that Windows-1251 cannot hold becomes "?"; malformed UTF-8 too.
std::string Utf8ToCp1251(const std::string& utf8);
std::string Cp1251ToUtf8(const std::string& cp1251);

}  // namespace net
