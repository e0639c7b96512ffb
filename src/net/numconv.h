// Conversion of typed numbers and formatting of figures shown to the user.
#pragma once

#include <cstdint>
#include <string>

namespace net {

// Signed 32-bit integer from text: leading blanks, then an optional sign and
// decimal digits, or (without sign) "$", "x", "X", "0x", "0X" and at most 8
// hexadecimal digits. Anything else raises ConvertError
// "'<text>' is not a valid integer value".
int32_t StrToInt(const std::string& text);

// Value of a hexadecimal digit, or -1 for any other character.
int HexDigit(char c);

// Fixed notation with exactly 3 decimals and a point; an exact halfway value
// rounds away from zero and a negative value that rounds to zero keeps "-".
std::string FormatFixed3(double value);

}  // namespace net
