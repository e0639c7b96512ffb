// netdesigner-cli: runs a script of commands over one network.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "script.h"

namespace {

void PrintHelp() {
    std::cout << "netdesigner-cli " NETD_VERSION
                 " — сценарии проектирования сети передачи данных\n"
                 "Использование: netdesigner-cli [ФАЙЛ_СЦЕНАРИЯ]   (без файла — со стандартного "
                 "ввода)\n"
                 "Одна команда в строке; пустые строки и строки с # пропускаются.\n"
                 "Команды:\n";
    for (const cli::CommandEntry& entry : cli::CommandTable()) {
        std::cout << "  " << entry.usage << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "netdesigner-cli " NETD_VERSION "\n";
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        PrintHelp();
        return 0;
    }
    if (argc > 2) {
        std::cerr << "netdesigner-cli: использование: netdesigner-cli [ФАЙЛ_СЦЕНАРИЯ]\n";
        return 2;
    }
    if (argc == 1)
        return cli::RunScript(std::cin, std::cout, std::cerr);
    std::error_code ignored;
    const bool isDirectory = std::filesystem::is_directory(argv[1], ignored);
    std::ifstream script(argv[1]);
    if (isDirectory || !script) {
        std::cerr << "netdesigner-cli: не удалось открыть сценарий '" << argv[1]
                  << "': " << std::strerror(isDirectory ? EISDIR : errno) << "\n";
        return 2;
    }
    return cli::RunScript(script, std::cout, std::cerr);
}
