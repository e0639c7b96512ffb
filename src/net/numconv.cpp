#include "numconv.h"

#include <array>
#include <charconv>
#include <cmath>

#include "errors.h"

namespace net {
namespace {

[[noreturn]] void Invalid(const std::string& text) {
    throw ConvertError("'" + text + "' is not a valid integer value");
}

// Length of a hexadecimal prefix at pos, 0 when there is none.
size_t HexPrefixLength(const std::string& text, size_t pos) {
    const char c = text[pos];
    if (c == '$' || c == 'x' || c == 'X')
        return 1;
    if (c == '0' && pos + 1 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        return 2;
    }
    return 0;
}

// At most 8 digits: leading zeros count against the limit too.
int32_t ParseHex(const std::string& text, size_t pos) {
    const std::string_view digits = std::string_view(text).substr(pos);
    const std::optional<uint32_t> value =
        digits.size() <= 8 ? ParseHexDigits(digits) : std::nullopt;
    if (!value)
        Invalid(text);
    return static_cast<int32_t>(*value);
}

}  // namespace

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<int32_t> ParseSignedDecimal(std::string_view text) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos >= text.size())
        return std::nullopt;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

std::optional<uint32_t> ParseHexDigits(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (const char c : digits) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

int32_t StrToInt(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    if (pos >= text.size())
        Invalid(text);
    if (const size_t prefix = HexPrefixLength(text, pos)) {
        return ParseHex(text, pos + prefix);
    }
    const std::optional<int32_t> value = ParseSignedDecimal(std::string_view(text).substr(pos));
    if (!value)
        Invalid(text);
    return *value;
}

std::string FormatFixed3(double value) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    }
    // The exact decimal expansion of the double, rounded by hand: a 4th
    // decimal of 5 or more rounds away from zero. to_chars ignores the C
    // locale, which the windowed program takes from the environment, so the
    // separator is a point also where the locale's is a comma. 1100 decimals
    // hold every double exactly; the largest has 309 integer digits.
    std::array<char, 1500> buffer{};
    const std::to_chars_result written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::fixed, 1100);
    const std::string digits(buffer.data(), written.ptr);
    const size_t point = digits.find('.');
    std::string kept = digits.substr(0, point) + digits.substr(point + 1, 3);
    if (digits[point + 4] >= '5') {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[i] == '9') {
            kept[i--] = '0';
        }
        if (i >= 0) {
            ++kept[i];
        } else {
            kept.insert(kept.begin(), '1');
        }
    }
    kept.insert(kept.size() - 3, ".");
    return (value < 0 ? "-" : "") + kept;
}

}  // namespace net
