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
        std::cout << "  " << entry.usage << "\n      " << entry.meaning << "\n";
    }
    std::cout
        << "\n"
           "failures — анализ одиночных отказов: сеть без отказа, затем по очереди без каждого\n"
           "канала и каждого маршрутизатора, с той же маршрутизацией; строки от худшей к лучшей\n"
           "(больше неразмещённой нагрузки, затем больше наибольшая сумма задержек):\n"
           "  failure ВИД N КЛАСС РАЗМЕЩЕНО НЕ_РАЗМЕЩЕНО НЕ_РАЗМЕЩЁННАЯ_НАГРУЗКА УШЛО "
           "УШЕДШАЯ_НАГРУЗКА\n"
           "          НАИБ_СУММА_ЗАДЕРЖЕК КАНАЛ ОСТАТОК\n"
           "  ВИД: none (без отказа, N = 0), channel или host; КЛАСС: 0 несвязна, 1 связна,\n"
           "  2 двусвязна; РАЗМЕЩЕНО и НЕ_РАЗМЕЩЕНО — числа требований; УШЛО — требования\n"
           "  отказавшего маршрутизатора, они не считаются неразмещёнными; КАНАЛ и ОСТАТОК —\n"
           "  самый загруженный канал (наименьший остаток). «-» — нет путей или нет каналов.\n"
           "export DIR — таблицы в CSV (UTF-8, запятая, десятичная точка) в каталог DIR:\n"
           "  channels.csv, paths.csv, unrouted.csv, failures.csv.\n"
           "import ФАЙЛ ТИП [МАСШТАБ] — заменяет сеть сетью из файла SNDlib (.txt), SNDlib XML\n"
           "  (.xml) или GML (.gml), как open: типы и флаг динамической маршрутизации остаются,\n"
           "  результаты маршрутизации сбрасываются, имя сети — имя файла. Узлы по порядку —\n"
           "  маршрутизаторы 1..n (не больше 18, тип 1, имя в Windows-1251 до 20 байт, буквы с\n"
           "  диакритикой без знаков, прочее «?»); координаты долготы и широты проецируются\n"
           "  севером вверх и вписываются в рисунок 573 x 473 с полями 20, пиксели внутри него\n"
           "  остаются, прочие вписываются; слишком близкие маршрутизаторы сдвигаются на "
           "ближайшее\n"
           "  свободное место. Связи — каналы типа ТИП (петли отбрасываются, повторные связи\n"
           "  объединяются), требования пар складываются, умножаются на МАСШТАБ (1) и\n"
           "  округляются, нули отбрасываются. Печатает import МАРШРУТИЗАТОРЫ КАНАЛЫ НАГРУЗКИ и,\n"
           "  если что-то изменено, строку adjusted с перечнем изменений.\n"
           "exportnet ФАЙЛ.txt|ФАЙЛ.gml — сеть в SNDlib или GML: пиксельные координаты, имена,\n"
           "  каналы с пропускной способностью их типа, положительные нагрузки; import этого\n"
           "  файла даёт те же маршрутизаторы, каналы и нагрузки.\n";
#ifdef NETD_RENDER
    std::cout
        << "render ФАЙЛ.png|ФАЙЛ.svg [ШИРИНА ВЫСОТА] — рисунок сети, как его рисует главное окно\n"
           "  (без дисплея): PNG или SVG по расширению имени; размер по умолчанию 573 x 473,\n"
           "  как у области рисунка окна, или больше, чтобы поместились все маршрутизаторы;\n"
           "  стороны от 1 до 8192.\n";
#endif
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
