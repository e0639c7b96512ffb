#include "general_text.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>
#include <cstdio>

#include "errors.h"
#include "numconv.h"

namespace net {
namespace {

constexpr size_t ReadChunk = 64 * 1024;
constexpr int EndOfFileMark = 26;

[[noreturn]] void InvalidNumber() {
    throw IoError("Invalid numeric input");
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Real numbers are read with the point as decimal separator whatever locale
// the program runs in (the windowed program sets the user's).
locale_t ClassicLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Optional sign, digits with an optional point and fraction (at least one
// digit in all), optional exponent letter with optional sign and digits.
bool IsRealShape(const std::string& token) {
    size_t pos = 0;
    if (pos < token.size() && (token[pos] == '+' || token[pos] == '-'))
        ++pos;
    size_t digits = 0;
    while (pos < token.size() && IsDigit(token[pos])) {
        ++pos;
        ++digits;
    }
    if (pos < token.size() && token[pos] == '.') {
        ++pos;
        while (pos < token.size() && IsDigit(token[pos])) {
            ++pos;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (pos < token.size() && (token[pos] == 'e' || token[pos] == 'E')) {
        ++pos;
        if (pos < token.size() && (token[pos] == '+' || token[pos] == '-'))
            ++pos;
        size_t exponentDigits = 0;
        while (pos < token.size() && IsDigit(token[pos])) {
            ++pos;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    return pos == token.size();
}

// Decimal, or "$" or "0x" and hexadecimal digits whose 32 bits may follow a sign.
int32_t ParseInteger(const std::string& token) {
    const std::string_view text = token;
    const bool negative = text.starts_with('-');
    const std::string_view magnitude = negative || text.starts_with('+') ? text.substr(1) : text;
    const size_t prefix = magnitude.starts_with('$')                                   ? 1
                          : magnitude.starts_with("0x") || magnitude.starts_with("0X") ? 2
                                                                                       : 0;
    if (prefix == 0) {
        const std::optional<int32_t> value = ParseSignedDecimal(text);
        if (!value)
            InvalidNumber();
        return *value;
    }
    const std::optional<uint32_t> bits = ParseHexDigits(magnitude.substr(prefix));
    if (!bits)
        InvalidNumber();
    return static_cast<int32_t>(negative ? 0u - *bits : *bits);
}

// Lowers the digits "d.ddd" by one unit in the last place.
void DecrementLastDigit(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '.')
            continue;
        if (digits[i] > '0') {
            --digits[i];
            return;
        }
        digits[i] = '9';
    }
}

void AppendInt(std::string& out, int32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

}  // namespace

std::string FormatGeneralReal(double value) {
    if (!std::isfinite(value)) {
        throw IoError("Число первой строки general.gs не конечно и не может быть записано");
    }
    if (value == 0.0)
        return " 0.00000000000000E+0000";
    // "d.ddddddddddddddde+XX" with the exponent in as few digits as needed.
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    const std::string text(buffer, result.ptr);
    const size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    // Near the largest double, rounding up can give a number beyond every
    // double, which could never be read back: round down instead.
    if (std::isinf(strtod_l(text.c_str(), nullptr, ClassicLocale()))) {
        DecrementLastDigit(mantissa);
    }
    const char exponentSign = text[e + 1];
    const int exponent = std::stoi(text.substr(e + 2));
    char exponentDigits[8];
    std::snprintf(exponentDigits, sizeof exponentDigits, "%04d", exponent);
    return std::string(1, value < 0 ? '-' : ' ') + mantissa + "E" + exponentSign + exponentDigits;
}

std::string FormatGeneral(const TNetObj& net) {
    std::string out = FormatGeneralReal(net.GeneralReal);
    out += "\r\n";
    for (int32_t i = 1; i <= MaxHosts; ++i) {
        for (int32_t j = 1; j <= MaxHosts; ++j) {
            AppendInt(out, net.LoadMatrix[i][j]);
            out += ' ';
        }
        out += "\r\n";
    }
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        out += net.HostPresent[h] ? "1 " : "0 ";
    }
    out += "\r\n";
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        out += net.ChannelPresent[c] ? "1 " : "0 ";
    }
    return out;
}

GeneralReader::GeneralReader(Source source) : source_(std::move(source)), buffer_(ReadChunk) {}

GeneralReader::GeneralReader(std::string text) {
    buffer_.assign(text.begin(), text.end());
    length_ = buffer_.size();
    source_ = [](char*, size_t) -> size_t { return 0; };
}

int GeneralReader::Peek() {
    if (ended_)
        return -1;
    if (pos_ == length_) {
        pos_ = 0;
        length_ = buffer_.empty() ? 0 : source_(buffer_.data(), buffer_.size());
        if (length_ == 0) {
            ended_ = true;
            return -1;
        }
    }
    const int c = static_cast<unsigned char>(buffer_[pos_]);
    if (c == EndOfFileMark) {
        ended_ = true;
        return -1;
    }
    return c;
}

void GeneralReader::Advance() {
    ++pos_;
}

std::string GeneralReader::NextToken() {
    int c = Peek();
    while (c != -1 && c <= ' ') {
        Advance();
        c = Peek();
    }
    std::string token;
    while (c != -1 && c > ' ') {
        if (token.size() == MaxNumberLength)
            InvalidNumber();
        token.push_back(static_cast<char>(c));
        Advance();
        c = Peek();
    }
    return token;
}

double GeneralReader::ReadReal() {
    const std::string token = NextToken();
    if (token.empty())
        return 0.0;
    if (!IsRealShape(token))
        InvalidNumber();
    const double value = strtod_l(token.c_str(), nullptr, ClassicLocale());
    // Overflow gives an infinity; underflow is taken as the tiny value or 0.
    if (!std::isfinite(value))
        InvalidNumber();
    return value;
}

int32_t GeneralReader::ReadInt() {
    const std::string token = NextToken();
    if (token.empty())
        return 0;
    return ParseInteger(token);
}

void GeneralReader::SkipLine() {
    for (int c = Peek(); c != -1; c = Peek()) {
        Advance();
        if (c == '\n')
            return;
    }
}

GeneralContent ReadGeneral(GeneralReader& reader) {
    GeneralContent content;
    content.Real = reader.ReadReal();
    reader.SkipLine();
    for (int32_t i = 1; i <= MaxHosts; ++i) {
        for (int32_t j = 1; j <= MaxHosts; ++j) {
            content.Loads[i][j] = reader.ReadInt();
        }
    }
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        content.HostPresent[h] = reader.ReadInt() == 1;
    }
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        content.ChannelPresent[c] = reader.ReadInt() == 1;
    }
    return content;
}

}  // namespace net
