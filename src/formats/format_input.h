// What the readers of the exchange formats share: the error that names the
// file and the place, the bounded reading of a file and the numbers.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "errors.h"

namespace formats {

// Larger files are refused before they are read: the largest published
// instance of at most 18 nodes, with all its admissible paths, is far smaller.
constexpr size_t MaxImportFileSize = 4u << 20;
// Longer lines are refused in the line-oriented formats; the count leaves
// out the line end ("\n" or "\r\n").
constexpr size_t MaxLineLength = 65536;
// Coordinates further from zero are refused as not meant.
constexpr double MaxCoordinate = 1e7;

class FormatError : public net::NetError {
public:
    using net::NetError::NetError;
};

// "Файл «FILE», строка LINE: WHAT; сеть не изменена" (no line when it is 0).
[[noreturn]] void FailAt(const std::string& file, size_t line, const std::string& what);

// The whole file, at most MaxImportFileSize bytes; an IoError names the file.
std::string ReadImportFile(const std::string& path);

// Refuses the text at its first line longer than MaxLineLength, naming the
// file and the line.
void CheckLineLengths(std::string_view text, const std::string& file);

// A real number written in the C locale ("12", "-3.5", "1e3"); nothing for
// other text, infinities and NaN.
std::optional<double> ParseReal(std::string_view text);

// The extension of a file name in lower case, with its point (".gml").
std::string LowerExtension(const std::string& path);

// The 1-based line of a byte offset into the text.
size_t LineOfOffset(std::string_view text, size_t offset);

// The text without a UTF-8 byte order mark at its start.
std::string_view WithoutByteOrderMark(std::string_view text);

}  // namespace formats
