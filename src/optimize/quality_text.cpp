#include "quality_text.h"

#include <array>
#include <charconv>

namespace optimize {
namespace {

std::string Fixed(double value, int decimals) {
    std::array<char, 400> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::fixed, decimals);
    return std::string(buffer.data(), written.ptr);
}

std::string ChannelName(const net::TNetObj& net, int32_t channel) {
    if (!net::IsChannelNumber(channel))
        return std::to_string(channel);
    const net::ChannelRecord& record = net.Channels[channel];
    return std::to_string(channel) + " (" + std::to_string(record.HostA) + "-" +
           std::to_string(record.HostB) + ")";
}

std::optional<double> DelayLower(const QualityBounds& bounds) {
    if (!bounds.Delay)
        return std::nullopt;
    return bounds.Delay->Lower;
}

std::vector<std::string> RoutingCells(const std::string& name, const RoutingFigures& figures,
                                      const QualityBounds& bounds) {
    return {name,
            std::to_string(figures.Placed),
            std::to_string(figures.Unplaced),
            std::to_string(figures.UnplacedLoad),
            FigureText(figures.MeanDelay),
            GapText(figures.MeanDelay, DelayLower(bounds)),
            FigureText(figures.Busiest),
            GapText(figures.Busiest, bounds.BusiestMin)};
}

std::vector<std::string> BoundCells(const QualityBounds& bounds) {
    return {"граница",
            std::to_string(bounds.Carried),
            std::to_string(bounds.NotCarried),
            std::to_string(bounds.NotCarriedLoad),
            FigureText(DelayLower(bounds)),
            "",
            FigureText(bounds.BusiestMin),
            ""};
}

std::string DelaySentence(const DelayBound& delay) {
    if (delay.GapReached)
        return "Средняя задержка любой маршрутизации не меньше " + FigureText(delay.Lower) +
               "; маршрутизация с делением требований достигает " + FigureText(delay.Upper) + ".";
    return "Расчёт границы задержки остановлен после " + std::to_string(delay.Passes) +
           " проходов, не достигнув точности: граница не меньше " + FigureText(delay.Lower) +
           ", достигнуто " + FigureText(delay.Upper) + ".";
}

}  // namespace

const std::vector<std::string>& QualityCaptions() {
    static const std::vector<std::string> captions = {
        "маршрутизация",        "размещено",
        "не\nразмещено",        "неразмещённая\nнагрузка",
        "средняя\nзадержка",    "выше границы\nзадержки, %",
        "наибольшая\nзагрузка", "выше границы\nзагрузки, %",
    };
    return captions;
}

std::vector<std::vector<std::string>> QualityRows(const QualityReport& report) {
    return {RoutingCells("жадная", report.Greedy, report.Bounds),
            RoutingCells("улучшенная", report.Improved, report.Bounds), BoundCells(report.Bounds)};
}

std::string GapText(const std::optional<double>& value, const std::optional<double>& bound) {
    if (!value || !bound || *bound <= 0.0)
        return "-";
    return Fixed((*value - *bound) / *bound * 100.0, 2);
}

std::string BoundSentence(const net::TNetObj& net, const QualityBounds& bounds) {
    if (!bounds.BusiestMin)
        return "Нет требований, которые можно провести: границы нет.";
    if (bounds.LoadDoesNotFit()) {
        std::string channels;
        for (const int32_t channel : bounds.Bottlenecks)
            channels += (channels.empty() ? "" : ", ") + ChannelName(net, channel);
        return "Нагрузку не провести никакой маршрутизацией: даже при делении требований между "
               "путями самый загруженный канал занят на " +
               FigureText(bounds.BusiestMin) +
               " своей пропускной способности. Узкие каналы: " + channels + ".";
    }
    std::string text = DelaySentence(*bounds.Delay);
    if (bounds.NotCarried > 0)
        text +=
            " Требований между несвязанными частями сети: " + std::to_string(bounds.NotCarried) +
            ", их нагрузка " + std::to_string(bounds.NotCarriedLoad) +
            " — в границу они не входят.";
    return text;
}

}  // namespace optimize
