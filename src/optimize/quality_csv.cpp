#include "quality_csv.h"

namespace optimize {
namespace {

std::string Figure(const std::optional<double>& value) {
    return value ? FigureText(value) : "";
}

std::string RoutingRow(const char* name, const RoutingFigures& figures) {
    return net::CsvRow({name, std::to_string(figures.Placed), std::to_string(figures.Unplaced),
                        std::to_string(figures.UnplacedLoad), Figure(figures.MeanDelay),
                        Figure(figures.Busiest), "", "", ""});
}

std::string BoundRow(const QualityBounds& bounds) {
    std::string bottlenecks;
    for (const int32_t channel : bounds.Bottlenecks)
        bottlenecks += (bottlenecks.empty() ? "" : " ") + std::to_string(channel);
    const std::optional<DelayBound>& delay = bounds.Delay;
    return net::CsvRow({"граница", std::to_string(bounds.Carried),
                        std::to_string(bounds.NotCarried), std::to_string(bounds.NotCarriedLoad),
                        delay ? FigureText(delay->Upper) : "", Figure(bounds.BusiestMin),
                        delay ? FigureText(delay->Lower) : "",
                        delay ? (delay->GapReached ? "да" : "нет") : "", bottlenecks});
}

}  // namespace

std::string QualityCsv(const QualityReport& report) {
    std::string text = net::CsvByteOrderMark;
    text +=
        net::CsvRow({"Маршрутизация", "Размещено требований", "Не размещено требований",
                     "Не размещённая нагрузка", "Средняя задержка", "Наибольшая загрузка канала",
                     "Нижняя граница средней задержки", "Разрыв 1e-6 достигнут", "Узкие каналы"});
    text += RoutingRow("жадная", report.Greedy);
    text += RoutingRow("улучшенная", report.Improved);
    text += BoundRow(report.Bounds);
    return text;
}

std::vector<net::CsvFile> CsvFilesWithQuality(const net::TNetObj& net) {
    std::vector<net::CsvFile> files = net::CsvFiles(net);
    files.push_back({"quality.csv", QualityCsv(AnalyzeQuality(net))});
    return files;
}

void ExportCsvWithQuality(const net::TNetObj& net, const std::string& directory) {
    net::WriteCsvFiles(CsvFilesWithQuality(net), directory);
}

}  // namespace optimize
