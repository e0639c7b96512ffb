// A locale whose decimal separator is a comma, for the tests of numbers
// that must keep a point whatever the locale.
#pragma once

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace testing_support {

// Switches the C library to a locale whose decimal separator is a comma, as
// the windowed program does at start-up from LANG; back to "C" at the end.
// When the machine has no such locale, one is compiled into a scratch
// directory from the installed locale sources.
class CommaLocale {
public:
    CommaLocale() {
        for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "de_DE.utf8"}) {
            if (std::setlocale(LC_ALL, name) != nullptr)
                return;
        }
        if (!std::filesystem::exists("/usr/share/i18n/locales/ru_RU"))
            return;
        std::string pattern =
            (std::filesystem::temp_directory_path() / "netd-locale-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            return;
        scratch_ = pattern;
        const std::string command =
            "localedef -i ru_RU -f UTF-8 '" + scratch_.string() + "/ru_RU.UTF-8' >/dev/null 2>&1";
        if (std::system(command.c_str()) > 1)  // 1: warnings only
            return;
        ::setenv("LOCPATH", scratch_.c_str(), 1);
        std::setlocale(LC_ALL, "ru_RU.UTF-8");
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, "C");
        if (!scratch_.empty()) {
            ::unsetenv("LOCPATH");
            std::error_code ignored;
            std::filesystem::remove_all(scratch_, ignored);
        }
    }
    bool Active() const { return *std::localeconv()->decimal_point == ','; }

private:
    std::filesystem::path scratch_;
};

}  // namespace testing_support
