// The text file general.gs of a project: the 23-character real number of its
// first line, the load matrix and the presence flags, and the reading of its
// numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "netobj.h"

namespace net {

// The longest number the reader accepts, in characters; a longer run of
// non-blank characters is not a number.
constexpr size_t MaxNumberLength = 4096;

// The value rounded to 15 significant digits in 23 characters: a blank or
// "-", one digit, a point, 14 digits, "E", the exponent's sign and 4 digits.
// 0.0 is " 0.00000000000000E+0000", 12.5 is " 1.25000000000000E+0001".
// A value that is not finite raises IoError: it could never be read back.
std::string FormatGeneralReal(double value);

// The whole content of general.gs for the network: 21 lines ending in CR LF,
// except the last, which ends with the blank after the 153rd channel flag.
std::string FormatGeneral(const TNetObj& net);

// Reads the numbers of general.gs one by one. Characters with codes 0..32
// separate numbers, code 26 ends the file, and at the end of the file every
// number reads as 0. A run of characters that is not a valid number raises
// IoError "Invalid numeric input".
class GeneralReader {
public:
    // Fills the buffer with up to `size` bytes and returns how many it gave;
    // 0 means the end. May throw.
    using Source = std::function<size_t(char* buffer, size_t size)>;

    explicit GeneralReader(Source source);
    // Reads from text held in memory.
    explicit GeneralReader(std::string text);

    // A real: optional sign, digits with an optional fraction, an optional
    // exponent. At least one digit; the value must be finite.
    double ReadReal();
    // A signed 32-bit integer: optional sign, then decimal digits, or "$",
    // "0x" or "0X" and hexadecimal digits (their 32-bit pattern).
    int32_t ReadInt();
    // Skips up to and including the next line feed.
    void SkipLine();

private:
    int Peek();  // the next character, -1 at the end
    void Advance();
    std::string NextToken();

    Source source_;
    std::vector<char> buffer_;
    size_t pos_ = 0;
    size_t length_ = 0;
    bool ended_ = false;
};

// The values of general.gs as LoadProject reads them.
struct GeneralContent {
    double Real = 0.0;
    HostMatrix<int32_t> Loads{};
    std::array<bool, MaxHosts + 1> HostPresent{};
    std::array<bool, MaxChannels + 1> ChannelPresent{};
};

// Reads the real, skips the rest of its line, then reads the 324 loads row
// by row, the 18 host flags and the 153 channel flags; only 1 sets a flag.
GeneralContent ReadGeneral(GeneralReader& reader);

}  // namespace net
