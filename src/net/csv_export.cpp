#include "csv_export.h"

#include <charconv>
#include <filesystem>
#include <initializer_list>
#include <system_error>

#include "errors.h"
#include "file_set_commit.h"
#include "numconv.h"
#include "texts.h"

namespace net {
namespace {

constexpr const char* ByteOrderMark = CsvByteOrderMark;

std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string Row(std::initializer_list<std::string> fields) {
    return CsvRow(std::vector<std::string>(fields));
}

std::string Number(int64_t value) {
    return std::to_string(value);
}

// The shortest fixed notation that reads back as the same double.
std::string FullPrecision(double value) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

std::string CapacityText(const TNetObj& net, int32_t type) {
    if (type < 1 || type > net.ChannelTypeCount)
        return "";
    return Number(net.ChannelTypes[type].Capacity);
}

std::string KindText(FailedKind kind) {
    switch (kind) {
        case FailedKind::Channel:
            return "канал";
        case FailedKind::Host:
            return "маршрутизатор";
        case FailedKind::None:
            break;
    }
    return "нет";
}

}  // namespace

std::string ChannelsCsv(const TNetObj& net) {
    std::string text = ByteOrderMark;
    text += Row({"Канал", "Маршрутизатор A", "Маршрутизатор B", "Тип", "Пропускная способность",
                 "Остаток", "Задержка", "Длина"});
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const ChannelRecord& r = net.Channels[c];
        text += Row({Number(c), Number(r.HostA), Number(r.HostB), Number(r.TypeNo),
                     CapacityText(net, r.TypeNo), Number(net.ResidualMatrix[r.HostA][r.HostB]),
                     FormatFixed3(net.DelayMatrix[r.HostA][r.HostB]), FullPrecision(r.Length)});
    }
    return text;
}

std::string PathsCsv(const TNetObj& net) {
    std::string text = ByteOrderMark;
    text += Row({"Путь", "Маршрутизаторы", "Сумма задержек", "Нагрузка"});
    for (int32_t p = 1; p <= net.PathTable.PathCount; ++p) {
        const PathRecord& record = net.PathTable.Records[p];
        std::string hosts;
        for (int32_t k = 1; k <= record[0]; ++k)
            hosts += (k > 1 ? "→" : "") + Number(record[k]);
        const int32_t load = record[0] >= 2 ? net.LoadMatrix[record[1]][record[record[0]]] : 0;
        text += Row({Number(p), hosts, FormatFixed3(PathDelay(net, p)), Number(load)});
    }
    return text;
}

std::string UnroutedCsv(const TNetObj& net) {
    std::string text = ByteOrderMark;
    text += Row({"Из маршрутизатора", "В маршрутизатор", "Нагрузка"});
    for (int32_t u = 1; u <= net.Unrouted.Count; ++u) {
        const UnroutedDemand& d = net.Unrouted.Items[u];
        text += Row({Number(d.RowHost), Number(d.ColumnHost), Number(d.Load)});
    }
    return text;
}

std::string FailuresCsv(const std::vector<FailureRow>& rows) {
    std::string text = ByteOrderMark;
    text += Row({"Отказ", "Номер", "Связность", "Размещено требований", "Не размещено требований",
                 "Не размещённая нагрузка", "Требований отказавшего маршрутизатора", "Их нагрузка",
                 "Наибольшая сумма задержек", "Самый загруженный канал", "Его остаток"});
    for (const FailureRow& row : rows) {
        const bool anyPath = row.PlacedCount > 0;
        const bool anyChannel = row.BusiestChannel > 0;
        text += Row({KindText(row.Kind), row.Kind == FailedKind::None ? "" : Number(row.Element),
                     ClassText(row.Class), Number(row.PlacedCount), Number(row.UnplacedCount),
                     Number(row.UnplacedLoad), Number(row.LostCount), Number(row.LostLoad),
                     anyPath ? FormatFixed3(row.MaxPathDelay) : "",
                     anyChannel ? Number(row.BusiestChannel) : "",
                     anyChannel ? Number(row.BusiestResidual) : ""});
    }
    return text;
}

std::vector<CsvFile> CsvFiles(const TNetObj& net) {
    return {{"channels.csv", ChannelsCsv(net)},
            {"paths.csv", PathsCsv(net)},
            {"unrouted.csv", UnroutedCsv(net)},
            {"failures.csv", FailuresCsv(AnalyzeFailures(net))}};
}

std::string CsvRow(const std::vector<std::string>& fields) {
    std::string line;
    const char* separator = "";
    for (const std::string& field : fields) {
        line += separator + Field(field);
        separator = ",";
    }
    return line + "\n";
}

void ExportCsv(const TNetObj& net, const std::string& directory) {
    WriteCsvFiles(CsvFiles(net), directory);
}

void WriteCsvFiles(std::vector<CsvFile> files, const std::string& directory) {
    std::string names;
    for (const CsvFile& file : files)
        names += (names.empty() ? "" : ", ") + file.Name;
    const std::string failure =
        "Таблицы не записаны в каталог «" + directory + "» (" + names + "): ";
    if (directory.empty() || directory.find('\0') != std::string::npos)
        throw IoError(failure + "недопустимое имя каталога");

    std::error_code error;
    const auto status = std::filesystem::status(directory, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status))
        throw IoError(failure + "на этом месте файл, а не каталог");
    std::filesystem::create_directories(directory, error);
    if (error == std::errc::not_a_directory)
        throw IoError(failure + "путь проходит через файл, а не через каталог");
    if (error)
        throw IoError(failure + IoMessage(error.value()));

    std::vector<FileReplacement> replacements;
    for (CsvFile& file : files)
        replacements.push_back({directory + "/" + file.Name, std::move(file.Text)});
    try {
        ReplaceFilesTogether(std::move(replacements));
    } catch (const IoError& e) {
        throw IoError(failure + e.what());
    }
}

}  // namespace net
