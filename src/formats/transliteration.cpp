#include "transliteration.h"

#include <cstdint>

namespace formats {
namespace {

// The Latin letters of U+00C0..U+017F without their marks ("" where there is
// no letter: the division sign).
constexpr const char* LatinBase[] = {
    "A", "A", "A",  "A",  "A", "A", "AE", "C",  "E",  "E", "E", "E", "I",  "I",  "I", "I", "D", "N",
    "O", "O", "O",  "O",  "O", "x", "O",  "U",  "U",  "U", "U", "Y", "Th", "ss", "a", "a", "a", "a",
    "a", "a", "ae", "c",  "e", "e", "e",  "e",  "i",  "i", "i", "i", "d",  "n",  "o", "o", "o", "o",
    "o", "",  "o",  "u",  "u", "u", "u",  "y",  "th", "y", "A", "a", "A",  "a",  "A", "a", "C", "c",
    "C", "c", "C",  "c",  "C", "c", "D",  "d",  "D",  "d", "E", "e", "E",  "e",  "E", "e", "E", "e",
    "E", "e", "G",  "g",  "G", "g", "G",  "g",  "G",  "g", "H", "h", "H",  "h",  "I", "i", "I", "i",
    "I", "i", "I",  "i",  "I", "i", "IJ", "ij", "J",  "j", "K", "k", "k",  "L",  "l", "L", "l", "L",
    "l", "L", "l",  "L",  "l", "N", "n",  "N",  "n",  "N", "n", "n", "N",  "n",  "O", "o", "O", "o",
    "O", "o", "OE", "oe", "R", "r", "R",  "r",  "R",  "r", "S", "s", "S",  "s",  "S", "s", "S", "s",
    "T", "t", "T",  "t",  "T", "t", "U",  "u",  "U",  "u", "U", "u", "U",  "u",  "U", "u", "U", "u",
    "W", "w", "Y",  "y",  "Y", "Z", "z",  "Z",  "z",  "Z", "z", "s"};
constexpr uint32_t FirstLatin = 0xC0;
constexpr uint32_t LastLatin = 0x17F;

}  // namespace

std::string WithoutLatinMarks(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if ((lead == 0xC3 || lead == 0xC4 || lead == 0xC5) && i + 1 < utf8.size() &&
            (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            const uint32_t code = ((lead & 0x1Fu) << 6) | (utf8[i + 1] & 0x3Fu);
            if (code >= FirstLatin && code <= LastLatin && LatinBase[code - FirstLatin][0] != 0) {
                out += LatinBase[code - FirstLatin];
                ++i;
                continue;
            }
        }
        out += utf8[i];
    }
    return out;
}

}  // namespace formats
