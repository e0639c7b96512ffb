// Names from exchange files are mostly Latin; the host records hold
// Windows-1251, which has no accented Latin letters.
#pragma once

#include <string>

namespace formats {

// The UTF-8 text with the accented Latin letters of U+00C0..U+017F written
// as their plain letters ("Kraków" as "Krakow", "Straße" as "Strasse"); any
// other character stays.
std::string WithoutLatinMarks(const std::string& utf8);

}  // namespace formats
