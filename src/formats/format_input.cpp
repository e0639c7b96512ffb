#include "format_input.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>

#include "posix_file.h"

namespace formats {

void FailAt(const std::string& file, size_t line, const std::string& what) {
    std::string message = "Файл «" + file + "»";
    if (line > 0)
        message += ", строка " + std::to_string(line);
    throw FormatError(message + ": " + what + "; сеть не изменена");
}

std::string ReadImportFile(const std::string& path) {
    const auto fail = [&path](const std::string& what) -> void {
        throw net::IoError("Файл «" + path + "» не прочитан: " + what + "; сеть не изменена");
    };
    if (path.find('\0') != std::string::npos)
        fail("недопустимое имя файла");
    const net::FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0)
        fail(net::IoMessage(errno));
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        fail(net::IoMessage(errno));
    if (S_ISDIR(info.st_mode))
        fail("это папка, а не файл");
    if (!S_ISREG(info.st_mode))
        fail("это не обычный файл");
    const std::string tooLarge = "файл больше 4 МиБ, такой сети не бывает";
    if (static_cast<uint64_t>(info.st_size) > MaxImportFileSize)
        fail(tooLarge);
    // One byte more than the file holds tells that it grew while read.
    std::string text(static_cast<size_t>(info.st_size) + 1, '\0');
    size_t taken = 0;
    try {
        taken = net::ReadSome(file.Get(), text.data(), text.size());
    } catch (const net::IoError& e) {
        fail(e.what());
    }
    if (taken == text.size())
        fail("файл изменился во время чтения");
    text.resize(taken);
    return text;
}

void CheckLineLengths(std::string_view text, const std::string& file) {
    size_t line = 1;
    for (size_t start = 0; start < text.size(); ++line) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        end = end == std::string_view::npos ? text.size() : end;
        if (end > start && text[end - 1] == '\r' && end < text.size())
            --end;
        if (end - start > MaxLineLength)
            FailAt(file, line, "строка длиннее " + std::to_string(MaxLineLength) + " знаков");
        start = next;
    }
}

std::optional<double> ParseReal(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) ||
                          text.front() == '-' || text.front() == '.'))
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string LowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension;
}

size_t LineOfOffset(std::string_view text, size_t offset) {
    offset = std::min(offset, text.size());
    return 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

std::string_view WithoutByteOrderMark(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return text;
}

}  // namespace formats
