// Conversion of typed numbers and formatting of figures shown to the user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace net {

// Signed 32-bit integer from text: leading blanks, then an optional sign and
// decimal digits, or (without sign) "$", "x", "X", "0x", "0X" and at most 8
// hexadecimal digits. Anything else raises ConvertError
// "'<text>' is not a valid integer value".
int32_t StrToInt(const std::string& text);

// Value of a hexadecimal digit, or -1 for any other character.
int HexDigit(char c);

// The two readers under every integer conversion; each caller adds its own
// prefixes and raises its own error on nullopt.
// An optional sign and at least one decimal digit, the value within int32_t.
std::optional<int32_t> ParseSignedDecimal(std::string_view text);
// At least one hexadecimal digit and nothing else, the value within 32 bits.
std::optional<uint32_t> ParseHexDigits(std::string_view digits);

// Fixed notation with exactly 3 decimals and a point; an exact halfway value
// rounds away from zero and a negative value that rounds to zero keeps "-".
std::string FormatFixed3(double value);

}  // namespace net
