#include "report_sections.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <map>

#include "network_cost.h"
#include "numconv.h"
#include "quality_text.h"
#include "texts.h"

namespace paint {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString Fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

// A table whose header row is repeated on every page it spans.
struct Table {
    QStringList Captions;    // "\n" breaks a caption
    std::vector<bool> Left;  // columns of text, aligned left; numbers go right
    std::vector<QStringList> Rows;
    std::vector<bool> Busy;   // rows shown highlighted
    std::vector<int> Widths;  // percent of the page's width per column; none: by content
};

QString TableHtml(const Table& table) {
    QString html = QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\" "
        "style=\"border-collapse: collapse; border-color: #808080;\"><thead><tr>");
    for (int c = 0; c < table.Captions.size(); ++c) {
        const QString width = static_cast<size_t>(c) < table.Widths.size()
                                  ? QStringLiteral(" width=\"%1%\"").arg(table.Widths[c])
                                  : QString();
        html += QStringLiteral("<th%1>%2</th>")
                    .arg(width, Escaped(table.Captions[c])
                                    .replace(QStringLiteral("\n"), QStringLiteral("<br>")));
    }
    html += QStringLiteral("</tr></thead><tbody>");
    for (size_t r = 0; r < table.Rows.size(); ++r) {
        const bool busy = r < table.Busy.size() && table.Busy[r];
        html += QStringLiteral("<tr>");
        for (int c = 0; c < table.Rows[r].size(); ++c) {
            const bool left = static_cast<size_t>(c) < table.Left.size() && table.Left[c];
            html += QStringLiteral("<td%1%2>%3</td>")
                        .arg(left ? QString() : QStringLiteral(" align=\"right\""),
                             busy ? QStringLiteral(" class=\"busy\"") : QString(),
                             Escaped(table.Rows[r][c]));
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</tbody></table>");
}

QString Heading(const QString& text) {
    return QStringLiteral("<h2>%1</h2>").arg(Escaped(text));
}

QString Paragraph(const QString& text) {
    return QStringLiteral("<p>%1</p>").arg(Escaped(text));
}

// Lines of one paragraph.
QString Lines(const QStringList& lines) {
    QStringList escaped;
    for (const QString& line : lines)
        escaped << Escaped(line);
    return QStringLiteral("<p>%1</p>").arg(escaped.join(QStringLiteral("<br>")));
}

int PresentHosts(const net::TNetObj& net) {
    return static_cast<int>(std::count(net.HostPresent.begin() + 1, net.HostPresent.end(), true));
}

int PresentChannels(const net::TNetObj& net) {
    return static_cast<int>(
        std::count(net.ChannelPresent.begin() + 1, net.ChannelPresent.end(), true));
}

bool KnownType(const net::TNetObj& net, int32_t type) {
    return type >= 1 && type <= net.ChannelTypeCount && type <= net::MaxTypes;
}

bool IsDemand(const net::TNetObj& net, int32_t i, int32_t j) {
    return i != j && net.HostPresent[i] && net.HostPresent[j] && net.LoadMatrix[i][j] > 0;
}

struct LoadFigures {
    int Count = 0;
    int64_t Total = 0;
    int32_t Largest = 0;
    int32_t LargestFrom = 0;
    int32_t LargestTo = 0;
};

LoadFigures LoadsOf(const net::TNetObj& net) {
    LoadFigures figures;
    for (int32_t i = 1; i <= net::MaxHosts; ++i) {
        for (int32_t j = 1; j <= net::MaxHosts; ++j) {
            if (!IsDemand(net, i, j))
                continue;
            const int32_t load = net.LoadMatrix[i][j];
            ++figures.Count;
            figures.Total += load;
            if (load > figures.Largest) {
                figures.Largest = load;
                figures.LargestFrom = i;
                figures.LargestTo = j;
            }
        }
    }
    return figures;
}

// The demands that the path table and the unplaced list answer, as they
// would be for the load table as it is now.
bool RoutingMatchesLoads(const net::TNetObj& net) {
    std::map<std::pair<int32_t, int32_t>, int> answered;
    for (int32_t p = 1; p <= net.PathTable.PathCount && p <= net::MaxPaths; ++p) {
        const net::PathRecord& record = net.PathTable.Records[p];
        if (record[0] < 2 || record[0] >= net::PathElements)
            return false;
        ++answered[{record[1], record[record[0]]}];
    }
    for (int32_t u = 1; u <= net.Unrouted.Count && u <= net::MaxPaths; ++u)
        ++answered[{net.Unrouted.Items[u].RowHost, net.Unrouted.Items[u].ColumnHost}];
    for (const auto& [pair, count] : answered) {
        if (count != 1 || !net::IsHostNumber(pair.first) || !net::IsHostNumber(pair.second) ||
            !IsDemand(net, pair.first, pair.second))
            return false;
    }
    return static_cast<int>(answered.size()) == LoadsOf(net).Count;
}

QString ChannelEnds(const net::TNetObj& net, int32_t channel) {
    return Q(net::ChannelText(net, channel));
}

// ---- The network

QString ChannelTypesLine(const net::TNetObj& net) {
    std::map<int32_t, int> used;
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (net.ChannelPresent[c])
            ++used[net.Channels[c].TypeNo];
    }
    if (used.empty())
        return QStringLiteral("Типы каналов: каналов нет.");
    QStringList parts;
    for (const auto& [type, count] : used) {
        if (KnownType(net, type))
            parts << QStringLiteral(
                         "тип %1 (пропускная способность %2, стоимость единицы длины "
                         "%3) — каналов %4")
                         .arg(type)
                         .arg(net.ChannelTypes[type].Capacity)
                         .arg(net.ChannelTypes[type].Value2)
                         .arg(count);
        else
            parts
                << QStringLiteral("тип %1 (нет в таблице типов) — каналов %2").arg(type).arg(count);
    }
    return QStringLiteral("Типы каналов: %1.").arg(parts.join(QStringLiteral("; ")));
}

QString CostLine(const net::TNetObj& net) {
    const net::NetworkCostT cost = net::NetworkCost(net);
    QString line = QStringLiteral(
                       "Стоимость сети: %1 (по каналам: второе значение типа канала, умноженное "
                       "на длину канала)")
                       .arg(Fixed(cost.Cost, 2));
    if (cost.ChannelsWithoutType > 0)
        line += QStringLiteral(", без %1 каналов, чьего типа нет в таблице")
                    .arg(cost.ChannelsWithoutType);
    return line + QStringLiteral(".");
}

QString NetworkSection(const net::TNetObj& net) {
    return Heading(QStringLiteral("Сеть")) +
           Lines({QStringLiteral("Название: %1.").arg(Q(net.NetworkName)),
                  QStringLiteral("Маршрутизаторов: %1, каналов связи: %2.")
                      .arg(PresentHosts(net))
                      .arg(PresentChannels(net)),
                  QStringLiteral("Связность: %1.").arg(Q(net::ClassText(net.Classify()))),
                  CostLine(net), ChannelTypesLine(net)});
}

QString DrawingSection(const ReportData& data) {
    const QString caption =
        data.Routed ? QStringLiteral("На каналах — показатели задержки последней маршрутизации.")
                    : QStringLiteral(
                          "Маршрутизация не выполнялась: показатели задержки на каналах не "
                          "рассчитаны.");
    return Heading(QStringLiteral("Рисунок сети")) +
           QStringLiteral("<p align=\"center\">%1</p>").arg(DrawingMarker()) + Paragraph(caption);
}

// ---- Hosts and channels

QString HostsSection(const net::TNetObj& net) {
    Table table{{QStringLiteral("№"), QStringLiteral("имя"), QStringLiteral("тип"),
                 QStringLiteral("X"), QStringLiteral("Y")},
                {false, true, false, false, false},
                {},
                {},
                {}};
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        if (!net.HostPresent[h])
            continue;
        const net::HostRecord& host = net.Hosts[h];
        table.Rows.push_back({QString::number(h), Q(net.HostName(h)), QString::number(host.TypeNo),
                              QString::number(host.X), QString::number(host.Y)});
    }
    return Heading(QStringLiteral("Маршрутизаторы")) + TableHtml(table);
}

struct ChannelUse {
    bool Known = false;
    int64_t Load = 0;
    double Share = 0.0;
};

ChannelUse UseOf(const net::TNetObj& net, int32_t channel) {
    const net::ChannelRecord& record = net.Channels[channel];
    ChannelUse use;
    if (!KnownType(net, record.TypeNo) || !net::IsHostNumber(record.HostA) ||
        !net::IsHostNumber(record.HostB))
        return use;
    const int64_t capacity = net.ChannelTypes[record.TypeNo].Capacity;
    use.Known = capacity > 0;
    use.Load = capacity - net.ResidualMatrix[record.HostA][record.HostB];
    use.Share = use.Known ? static_cast<double>(use.Load) / static_cast<double>(capacity) : 0.0;
    return use;
}

QString ChannelsSection(const ReportData& data) {
    const net::TNetObj& net = *data.Net;
    Table table{{QStringLiteral("№"), QStringLiteral("концы"), QStringLiteral("тип"),
                 QStringLiteral("пропускная\nспособность"), QStringLiteral("длина"),
                 QStringLiteral("стоимость")},
                {false, true, false, false, false, false},
                {},
                {},
                {}};
    if (data.Routed)
        table.Captions << QStringLiteral("нагрузка") << QStringLiteral("загрузка, %")
                       << QStringLiteral("задержка");
    double busiest = 0.0;
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (data.Routed && net.ChannelPresent[c] && UseOf(net, c).Known)
            busiest = std::max(busiest, UseOf(net, c).Share);
    }
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const net::ChannelRecord& record = net.Channels[c];
        const bool known = KnownType(net, record.TypeNo) && net::IsHostNumber(record.HostA) &&
                           net::IsHostNumber(record.HostB);
        QStringList row = {
            QString::number(c),
            ChannelEnds(net, c),
            QString::number(record.TypeNo),
            known ? QString::number(net.ChannelTypes[record.TypeNo].Capacity) : QStringLiteral("-"),
            Fixed(record.Length, 1),
            known ? Fixed(net::ChannelCost(net, record.TypeNo, record.HostA, record.HostB), 2)
                  : QStringLiteral("-")};
        bool busy = false;
        if (data.Routed) {
            const ChannelUse use = UseOf(net, c);
            row << (use.Known ? QString::number(use.Load) : QStringLiteral("-"))
                << (use.Known ? Fixed(use.Share * 100.0, 1) : QStringLiteral("-"))
                << (known ? Q(net::FormatFixed3(net.DelayMatrix[record.HostA][record.HostB]))
                          : QStringLiteral("-"));
            busy = use.Known && use.Load > 0 && (use.Share >= BusyShare || use.Share == busiest);
        }
        table.Rows.push_back(row);
        table.Busy.push_back(busy);
    }
    QString html = Heading(QStringLiteral("Каналы связи"));
    if (table.Rows.empty())
        return html + Paragraph(QStringLiteral("Каналов нет."));
    if (data.Routed)
        html += Paragraph(QStringLiteral("Выделены самые загруженные каналы: загрузка от %1 % "
                                         "пропускной способности и наибольшая.")
                              .arg(BusyShare * 100.0, 0, 'f', 0));
    return html + TableHtml(table);
}

// ---- The load

QString MatrixHtml(const net::TNetObj& net) {
    Table table{{QStringLiteral("из \\ в")}, {false}, {}, {}, {}};
    for (int32_t j = 1; j <= net::MaxHosts; ++j) {
        if (net.HostPresent[j])
            table.Captions << QString::number(j);
    }
    for (int32_t i = 1; i <= net::MaxHosts; ++i) {
        if (!net.HostPresent[i])
            continue;
        QStringList row = {QString::number(i)};
        for (int32_t j = 1; j <= net::MaxHosts; ++j) {
            if (net.HostPresent[j])
                row << (IsDemand(net, i, j) ? QString::number(net.LoadMatrix[i][j]) : QString());
        }
        table.Rows.push_back(row);
    }
    return TableHtml(table);
}

// Three demands to a row, in the order routing takes them.
QString DemandListHtml(const net::TNetObj& net) {
    constexpr int PerRow = 3;
    Table table;
    for (int k = 0; k < PerRow; ++k) {
        table.Captions << QStringLiteral("из") << QStringLiteral("в") << QStringLiteral("нагрузка");
        table.Left.insert(table.Left.end(), {false, false, false});
    }
    QStringList row;
    for (int32_t i = 1; i <= net::MaxHosts; ++i) {
        for (int32_t j = 1; j <= net::MaxHosts; ++j) {
            if (!IsDemand(net, i, j))
                continue;
            row << QString::number(i) << QString::number(j)
                << QString::number(net.LoadMatrix[i][j]);
            if (row.size() == 3 * PerRow) {
                table.Rows.push_back(row);
                row.clear();
            }
        }
    }
    if (!row.isEmpty()) {
        while (row.size() < 3 * PerRow)
            row << QString();
        table.Rows.push_back(row);
    }
    return TableHtml(table);
}

double WidestLoadCell(const net::TNetObj& net, const QFontMetricsF& metrics) {
    double widest = metrics.horizontalAdvance(QStringLiteral("из \\ в"));
    for (int32_t i = 1; i <= net::MaxHosts; ++i) {
        for (int32_t j = 1; j <= net::MaxHosts; ++j) {
            if (IsDemand(net, i, j))
                widest = std::max(widest,
                                  metrics.horizontalAdvance(QString::number(net.LoadMatrix[i][j])));
        }
    }
    return widest;
}

QString LoadSection(const net::TNetObj& net, const PageMeasures& page) {
    const LoadFigures loads = LoadsOf(net);
    QString html = Heading(QStringLiteral("Нагрузка"));
    if (loads.Count == 0)
        return html + Paragraph(QStringLiteral("Таблица нагрузок пуста: требований нет."));
    html +=
        Paragraph(QStringLiteral("Требований: %1, общая нагрузка: %2, наибольшая: %3 (из %4 в %5).")
                      .arg(loads.Count)
                      .arg(loads.Total)
                      .arg(loads.Largest)
                      .arg(loads.LargestFrom)
                      .arg(loads.LargestTo));
    // Cell padding on both sides and a border, as the tables are drawn.
    const double padding = (2 * 2 + 1) * page.Pixel;
    if (LoadMatrixFits(PresentHosts(net), WidestLoadCell(net, page.Table), padding, page.Width))
        return html +
               Paragraph(QStringLiteral("Таблица нагрузок (строка — откуда, столбец — куда):")) +
               MatrixHtml(net);
    return html +
           Paragraph(QStringLiteral("Таблица нагрузок не помещается в ширину страницы; требования "
                                    "списком:")) +
           DemandListHtml(net);
}

// ---- Routing

QString PathHosts(const net::PathRecord& record) {
    QStringList hosts;
    const int n = std::clamp(record[0], 0, net::PathElements - 1);
    for (int k = 1; k <= n; ++k)
        hosts << QString::number(record[k]);
    return hosts.join(QStringLiteral("-"));
}

QString RoutingSection(const ReportData& data) {
    const net::TNetObj& net = *data.Net;
    int64_t unplacedLoad = 0;
    for (int32_t u = 1; u <= net.Unrouted.Count; ++u)
        unplacedLoad += net.Unrouted.Items[u].Load;
    QString html = Heading(QStringLiteral("Пути и неразмещённые требования"));
    if (!data.RoutingCurrent)
        html += Paragraph(QStringLiteral(
            "Внимание: результаты маршрутизации не соответствуют нынешней таблице нагрузок; "
            "выполните «статическая маршрутизация» снова, чтобы они совпали."));
    html += Paragraph(QStringLiteral("Путей: %1; не размещено требований: %2, их нагрузка %3.")
                          .arg(net.PathTable.PathCount)
                          .arg(net.Unrouted.Count)
                          .arg(unplacedLoad));
    Table paths{{QStringLiteral("путь"), QStringLiteral("маршрутизаторы"),
                 QStringLiteral("сумма\nзадержек"), QStringLiteral("нагрузка")},
                {false, true, false, false},
                {},
                {},
                {10, 56, 17, 17}};
    for (int32_t p = 1; p <= net.PathTable.PathCount; ++p) {
        const net::PathRecord& record = net.PathTable.Records[p];
        const bool ends = record[0] >= 2 && record[0] < net::PathElements &&
                          net::IsHostNumber(record[1]) && net::IsHostNumber(record[record[0]]);
        paths.Rows.push_back({QString::number(p), PathHosts(record),
                              Q(net::FormatFixed3(net::PathDelay(net, p))),
                              ends ? QString::number(net.LoadMatrix[record[1]][record[record[0]]])
                                   : QStringLiteral("-")});
    }
    if (!paths.Rows.empty())
        html += TableHtml(paths);
    if (net.Unrouted.Count > 0) {
        Table unplaced{{QStringLiteral("из"), QStringLiteral("в"), QStringLiteral("нагрузка")},
                       {false, false, false},
                       {},
                       {},
                       {}};
        for (int32_t u = 1; u <= net.Unrouted.Count; ++u) {
            const net::UnroutedDemand& d = net.Unrouted.Items[u];
            unplaced.Rows.push_back({QString::number(d.RowHost), QString::number(d.ColumnHost),
                                     QString::number(d.Load)});
        }
        html += Paragraph(QStringLiteral("Требования, для которых не нашлось пути:")) +
                TableHtml(unplaced);
    }
    return html;
}

QString QualitySection(const ReportData& data) {
    Table table;
    table.Widths = {14, 11, 11, 14, 12, 13, 12, 13};
    for (const std::string& caption : optimize::QualityCaptions()) {
        table.Captions << Q(caption);
        table.Left.push_back(table.Left.empty());
    }
    for (const std::vector<std::string>& cells : optimize::QualityRows(*data.Quality)) {
        QStringList row;
        for (const std::string& cell : cells)
            row << Q(cell);
        table.Rows.push_back(row);
    }
    return Heading(QStringLiteral("Качество маршрутизации")) + TableHtml(table) +
           Paragraph(Q(optimize::BoundSentence(*data.Net, data.Quality->Bounds)));
}

// ---- Single failures

QString FailedElement(const net::TNetObj& net, const net::FailureRow& row) {
    if (row.Kind == net::FailedKind::Channel)
        return QStringLiteral("канал %1 (%2)").arg(row.Element).arg(ChannelEnds(net, row.Element));
    return QStringLiteral("маршрутизатор %1").arg(row.Element);
}

QString FailuresSection(const ReportData& data) {
    const net::TNetObj& net = *data.Net;
    int channelsLeaving = 0, hostsLeaving = 0;
    for (const net::FailureRow& row : data.Failures) {
        if (row.UnplacedLoad == 0)
            continue;
        ++(row.Kind == net::FailedKind::Channel ? channelsLeaving : hostsLeaving);
    }
    QString html =
        Heading(QStringLiteral("Одиночные отказы")) +
        Paragraph(QStringLiteral("Оставляют нагрузку неразмещённой отказы %1 из %2 каналов и %3 "
                                 "из %4 маршрутизаторов (требования самого отказавшего "
                                 "маршрутизатора уходят вместе с ним и не считаются).")
                      .arg(channelsLeaving)
                      .arg(PresentChannels(net))
                      .arg(hostsLeaving)
                      .arg(PresentHosts(net)));
    Table table{{QStringLiteral("отказ"), QStringLiteral("связность"), QStringLiteral("размещено"),
                 QStringLiteral("не\nразмещено"), QStringLiteral("неразмещённая\nнагрузка"),
                 QStringLiteral("ушло\nс ним"), QStringLiteral("наибольшая\nсумма задержек"),
                 QStringLiteral("самый загруженный\nканал (остаток)")},
                {true, true, false, false, false, false, false, true},
                {},
                {},
                {18, 14, 10, 10, 13, 7, 12, 16}};
    const size_t shown = std::min<size_t>(data.Failures.size(), WorstFailureRows);
    for (size_t k = 0; k < shown; ++k) {
        const net::FailureRow& row = data.Failures[k];
        table.Rows.push_back(
            {FailedElement(net, row), Q(net::ClassText(row.Class)),
             QString::number(row.PlacedCount), QString::number(row.UnplacedCount),
             QString::number(row.UnplacedLoad), QString::number(row.LostCount),
             row.PlacedCount > 0 ? Q(net::FormatFixed3(row.MaxPathDelay)) : QStringLiteral("-"),
             row.BusiestChannel > 0
                 ? QStringLiteral("%1 (%2)").arg(row.BusiestChannel).arg(row.BusiestResidual)
                 : QStringLiteral("-")});
        table.Busy.push_back(row.UnplacedLoad > 0);
    }
    if (table.Rows.empty())
        return html;
    return html +
           Paragraph(QStringLiteral("Худшие отказы (не больше %1), выделены оставляющие нагрузку "
                                    "неразмещённой:")
                         .arg(WorstFailureRows)) +
           TableHtml(table);
}

// ---- The design advisor

QString DesignSection(const net::TNetObj& net, const DesignSummary& design) {
    QStringList lines = {
        QStringLiteral("Итог поиска: %1.").arg(Q(design.Status)),
        QStringLiteral("Стоимость предложенной сети: %1; нижняя граница стоимости: %2.")
            .arg(Fixed(design.Cost, 2), Fixed(design.Bound, 2)),
        QStringLiteral("Стоимость нынешней сети: %1.").arg(Fixed(net::NetworkCost(net).Cost, 2))};
    Table table{{QStringLiteral("№"), QStringLiteral("концы"), QStringLiteral("тип"),
                 QStringLiteral("пропускная\nспособность"), QStringLiteral("канал")},
                {false, true, false, false, true},
                {},
                {},
                {}};
    int number = 0;
    for (const ProposedChannel& channel : design.Channels) {
        table.Rows.push_back({QString::number(++number),
                              QStringLiteral("%1-%2").arg(channel.HostA).arg(channel.HostB),
                              QString::number(channel.Type),
                              KnownType(net, channel.Type)
                                  ? QString::number(net.ChannelTypes[channel.Type].Capacity)
                                  : QStringLiteral("-"),
                              channel.Kept ? QStringLiteral("оставлен") : QStringLiteral("новый")});
    }
    QString html =
        Heading(QStringLiteral("Предложение советника по проектированию")) + Lines(lines);
    if (table.Rows.empty())
        return html + Paragraph(QStringLiteral("Предложенных каналов нет."));
    return html + Paragraph(QStringLiteral("Предложенные каналы: %1.").arg(table.Rows.size())) +
           TableHtml(table);
}

QString TitleHtml(const ReportData& data) {
    return QStringLiteral("<h1>Отчёт о сети «%1»</h1><p>Составлен %2.</p>")
        .arg(Escaped(Q(data.Net->NetworkName)),
             data.Made.toString(QStringLiteral("dd.MM.yyyy в HH:mm")));
}

}  // namespace

QString DrawingMarker() {
    return QStringLiteral("[[рисунок сети]]");
}

bool LoadMatrixFits(int hosts, double widestCell, double cellPadding, double width) {
    return (hosts + 1) * (widestCell + cellPadding) <= width;
}

ReportData CollectReportData(const net::TNetObj& net, const ReportOptions& options) {
    ReportData data;
    data.Net = &net;
    data.Design = options.Design;
    data.Made = options.Made;
    data.Routed = net.PathTable.PathCount > 0 || net.Unrouted.Count > 0;
    data.RoutingCurrent = data.Routed && RoutingMatchesLoads(net);
    if (data.Routed && LoadsOf(net).Count > 0) {
        data.Quality = optimize::AnalyzeQuality(net);
        data.Failures = net::AnalyzeFailures(net);
        std::erase_if(data.Failures,
                      [](const net::FailureRow& row) { return row.Kind == net::FailedKind::None; });
    }
    return data;
}

QString ReportHtml(const ReportData& data, const PageMeasures& page) {
    const net::TNetObj& net = *data.Net;
    QString html = TitleHtml(data);
    if (PresentHosts(net) == 0)
        return html + Paragraph(QStringLiteral(
                          "В сети нет маршрутизаторов, показать в отчёте нечего. Поставьте "
                          "маршрутизаторы на рисунке (группа «хост», кнопка «новый») или "
                          "загрузите проект, затем составьте отчёт снова."));
    html += NetworkSection(net) + DrawingSection(data) + HostsSection(net) + ChannelsSection(data) +
            LoadSection(net, page);
    if (LoadsOf(net).Count > 0 && !data.Routed)
        html += Heading(QStringLiteral("Маршрутизация")) +
                Paragraph(QStringLiteral(
                    "Маршрутизация не выполнялась, поэтому путей, их задержек, оценки качества и "
                    "последствий отказов в отчёте нет. Чтобы они появились, выполните "
                    "«статическая маршрутизация» (в сценарии — команда route) и составьте отчёт "
                    "снова."));
    if (data.Routed)
        html += RoutingSection(data);
    if (data.Quality)
        html += QualitySection(data);
    if (data.Quality)
        html += FailuresSection(data);
    if (data.Design)
        html += DesignSection(net, *data.Design);
    return html;
}

}  // namespace paint
