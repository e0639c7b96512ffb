// The command table of the script runner: one row per command.
#include <optional>
#include <ostream>

#include "csv_export.h"
#include "design_commands.h"
#include "errors.h"
#include "failures.h"
#include "format_input.h"
#include "load_generators.h"
#include "load_scaling.h"
#include "network_export.h"
#include "network_import.h"
#include "numconv.h"
#include "quality_csv.h"
#include "routing_quality.h"
#ifdef NETD_RENDER
#include "render.h"
#endif
#include "script.h"
#include "texts.h"

namespace cli {
namespace {

using net::MaxChannels;
using net::MaxHosts;
using net::NetError;

int32_t PresentHost(Session& s, ScriptLine& line) {
    const int32_t host = line.Int();
    if (host < 1 || host > MaxHosts || !s.net.HostPresent[host]) {
        throw NetError("маршрутизатор " + std::to_string(host) + " отсутствует");
    }
    return host;
}

int32_t ChannelNumber(ScriptLine& line) {
    const int32_t channel = line.Int();
    if (channel < 1 || channel > MaxChannels) {
        throw NetError("номер канала " + std::to_string(channel) + " вне пределов 1.." +
                       std::to_string(MaxChannels));
    }
    return channel;
}

int32_t PresentChannel(Session& s, ScriptLine& line) {
    const int32_t channel = ChannelNumber(line);
    if (!s.net.ChannelPresent[channel]) {
        throw NetError("канал " + std::to_string(channel) + " отсутствует");
    }
    return channel;
}

int32_t HostIndex(ScriptLine& line) {
    const int32_t host = line.Int();
    if (host < 1 || host > MaxHosts) {
        throw NetError("номер маршрутизатора " + std::to_string(host) + " вне пределов 1.." +
                       std::to_string(MaxHosts));
    }
    return host;
}

void New(Session& s, ScriptLine& line) {
    line.End();
    s.net.Reset();
}

void Host(Session& s, ScriptLine& line) {
    const int32_t x = line.Int();
    const int32_t y = line.Int();
    const int32_t type = line.Int();
    s.net.AddHost(x, y, line.Rest(), type);
}

void UpdHost(Session& s, ScriptLine& line) {
    const int32_t host = PresentHost(s, line);
    const int32_t x = line.Int();
    const int32_t y = line.Int();
    const int32_t type = line.Int();
    s.net.UpdateHost(host, x, y, line.Rest(), type);
}

void DelHost(Session& s, ScriptLine& line) {
    const int32_t host = PresentHost(s, line);
    line.End();
    s.net.DeleteHost(host);
}

void Chan(Session& s, ScriptLine& line) {
    const int32_t a = PresentHost(s, line);
    const int32_t b = PresentHost(s, line);
    const int32_t type = line.Int();
    line.End();
    s.net.AddChannel(a, b, type);
}

void DelChan(Session& s, ScriptLine& line) {
    const int32_t channel = ChannelNumber(line);
    line.End();
    s.net.DeleteChannel(channel);
}

void ChanType(Session& s, ScriptLine& line) {
    const int32_t channel = PresentChannel(s, line);
    const int32_t type = line.Int();
    line.End();
    s.net.SetChannelType(channel, type);
}

void Load(Session& s, ScriptLine& line) {
    const int32_t i = HostIndex(line);
    const int32_t j = HostIndex(line);
    const int32_t value = line.Int();
    line.End();
    s.net.LoadMatrix[i][j] = value;
}

// The rest of the line, blanks included, names the project directory.
std::string Directory(ScriptLine& line) {
    std::string directory = line.Rest();
    if (directory.empty()) {
        throw NetError("команде «" + line.Command() + "» не хватает аргументов");
    }
    return directory;
}

void Open(Session& s, ScriptLine& line) {
    s.net.LoadProject(Directory(line));
}

void Save(Session& s, ScriptLine& line) {
    s.net.SaveProject(Directory(line));
}

void Route(Session& s, ScriptLine& line) {
    line.End();
    s.net.RouteAll();
}

void Dynamic(Session& s, ScriptLine& line) {
    line.End();
    s.net.ToggleDynamic();
}

// One line per row of the failure analysis, worst first after the row
// without failure:
//   failure KIND N CLASS PLACED UNPLACED UNPLACED_LOAD LOST LOST_LOAD MAX_DELAY BUSIEST RESIDUAL
// KIND is none, channel or host (N is 0 for none); MAX_DELAY is "-" when no
// path was placed, BUSIEST and RESIDUAL are "-" when no channel is left.
void Failures(Session& s, ScriptLine& line) {
    line.End();
    const char* const kinds[] = {"none", "channel", "host"};
    for (const net::FailureRow& row : net::AnalyzeFailures(s.net)) {
        s.out << "failure " << kinds[static_cast<int>(row.Kind)] << " " << row.Element << " "
              << static_cast<int>(row.Class) << " " << row.PlacedCount << " " << row.UnplacedCount
              << " " << row.UnplacedLoad << " " << row.LostCount << " " << row.LostLoad << " "
              << (row.PlacedCount > 0 ? net::FormatFixed3(row.MaxPathDelay) : "-") << " ";
        if (row.BusiestChannel > 0)
            s.out << row.BusiestChannel << " " << row.BusiestResidual << "\n";
        else
            s.out << "- -\n";
    }
}

void PrintQualityRow(Session& s, const char* name, const optimize::RoutingFigures& figures) {
    s.out << "quality " << name << " " << figures.Placed << " " << figures.Unplaced << " "
          << figures.UnplacedLoad << " " << optimize::FigureText(figures.MeanDelay) << " "
          << optimize::FigureText(figures.Busiest) << "\n";
}

// optimize [apply]: how good the routing is.
//   quality greedy PLACED UNPLACED UNPLACED_LOAD MEAN_DELAY BUSIEST
//   quality improved PLACED UNPLACED UNPLACED_LOAD MEAN_DELAY BUSIEST
//   bound BUSIEST_MIN MEAN_DELAY_LOWER MEAN_DELAY_UPPER
//   bottleneck C...   (only when the load does not fit)
//   stopped PASSES    (only when the delay bound stopped short of its gap)
// With "apply" the improved routing then becomes the routing results.
void Optimize(Session& s, ScriptLine& line) {
    const bool apply = !line.AtEnd();
    if (apply) {
        const std::string word = line.Word();
        if (word != "apply")
            throw NetError("команда «optimize» понимает только слово «apply», а не «" + word + "»");
    }
    line.End();
    const optimize::QualityReport report = optimize::AnalyzeQuality(s.net);
    PrintQualityRow(s, "greedy", report.Greedy);
    PrintQualityRow(s, "improved", report.Improved);
    const optimize::QualityBounds& bounds = report.Bounds;
    const std::optional<optimize::DelayBound>& delay = bounds.Delay;
    s.out << "bound " << optimize::FigureText(bounds.BusiestMin) << " "
          << (delay ? optimize::FigureText(delay->Lower) : "-") << " "
          << (delay ? optimize::FigureText(delay->Upper) : "-") << "\n";
    if (bounds.LoadDoesNotFit()) {
        s.out << "bottleneck";
        for (const int32_t channel : bounds.Bottlenecks)
            s.out << " " << channel;
        s.out << "\n";
    }
    if (delay && !delay->GapReached)
        s.out << "stopped " << delay->Passes << "\n";
    if (apply)
        optimize::ApplyImprovedRouting(s.net);
}

void Export(Session& s, ScriptLine& line) {
    optimize::ExportCsvWithQuality(s.net, Directory(line));
}

// import FILE TYPE [SCALE]: replaces the network by the one in FILE, its
// links of channel type TYPE and its demands multiplied by SCALE.
//   import HOSTS CHANNELS LOADS
// and, when the mapping changed anything, a line saying what.
void Import(Session& s, ScriptLine& line) {
    const std::string file = line.Word();
    const int32_t type = line.Int();
    double scale = 1.0;
    if (!line.AtEnd()) {
        const std::string text = line.Word();
        const std::optional<double> value = formats::ParseReal(text);
        if (!value)
            throw net::ConvertError("'" + text +
                                    "' — не число: масштаб пишется как 1, 0.5 или 2e3");
        scale = formats::CheckedScale(*value);
    }
    line.End();
    const formats::ImportReport report = formats::ImportNetworkFile(file, type, scale, s.net);
    const formats::ImportCounts counts = formats::CountsOf(s.net);
    s.out << "import " << counts.hosts << " " << counts.channels << " " << counts.loads << "\n";
    if (report.Anything())
        s.out << "adjusted " << report.Text() << "\n";
}

void ExportNet(Session& s, ScriptLine& line) {
    formats::ExportNetworkFile(s.net, Directory(line));
}

// --- loads made rather than typed ---

// The next word as a real number; `what` names it in the message.
double Real(ScriptLine& line, const std::string& what) {
    const std::string text = line.Word();
    const std::optional<double> value = formats::ParseReal(text);
    if (!value)
        throw net::ConvertError(what + " «" + text + "» — не число: пишется как 1, 0.5 или 2e3");
    return *value;
}

std::vector<double> Weights(ScriptLine& line) {
    std::vector<double> weights;
    while (!line.AtEnd())
        weights.push_back(Real(line, "Вес"));
    return weights;
}

// New loads in place, then routing as after any change with dynamic routing on.
void PutLoads(Session& s, const net::LoadTable& loads) {
    s.net.LoadMatrix = loads;
    s.net.RecomputeIfDynamic();
    const net::LoadSummary summary = net::SummarizeLoads(s.net, loads);
    s.out << "loads " << summary.Total << " " << summary.Largest << "\n";
}

net::LoadTable GeneratedLoads(Session& s, ScriptLine& line) {
    const std::string kind = line.Word();
    if (kind == "uniform") {
        net::UniformLoadParams params;
        params.Min = line.Int();
        params.Max = line.Int();
        params.Seed = net::ParseSeed(line.Word());
        if (!line.AtEnd())
            params.Density = Real(line, "Доля пар");
        line.End();
        return net::UniformLoads(s.net, params);
    }
    if (kind == "gravity") {
        const int32_t total = line.Int();
        return net::GravityLoads(s.net, total, Weights(line));
    }
    if (kind == "distance") {
        const int32_t total = line.Int();
        const double alpha = Real(line, "Показатель степени расстояния");
        return net::DistanceLoads(s.net, total, alpha, Weights(line));
    }
    throw NetError("команда «loadgen» знает виды uniform, gravity и distance, а не «" + kind + "»");
}

// loadgen [add] uniform MIN MAX SEED [DENSITY] | gravity TOTAL [W...] |
// distance TOTAL ALPHA [W...]: replaces the loads (or adds to them).
//   loads TOTAL LARGEST
void LoadGen(Session& s, ScriptLine& line) {
    ScriptLine probe = line;
    const bool add = probe.Word() == "add";
    if (add)
        line = probe;
    const net::LoadTable generated = GeneratedLoads(s, line);
    PutLoads(s, net::PlacedLoads(s.net, generated,
                                 add ? net::LoadPlacing::Add : net::LoadPlacing::Replace));
}

// loadscale FACTOR | loadscale target U. The target prints first
//   target BUSIEST_MIN_BEFORE FACTOR BUSIEST_MIN_AFTER
void LoadScale(Session& s, ScriptLine& line) {
    ScriptLine probe = line;
    if (probe.Word() != "target") {
        const double factor = Real(line, "Множитель нагрузки");
        line.End();
        PutLoads(s, net::ScaledLoads(s.net.LoadMatrix, factor));
        return;
    }
    line = probe;
    const double target = Real(line, "Целевая загрузка");
    line.End();
    const optimize::TargetScaling scaling = optimize::ScaleToTarget(s.net, target);
    net::TNetObj scaled = s.net;
    scaled.LoadMatrix = scaling.Loads;
    s.out << "target " << optimize::FigureText(scaling.BusiestBefore) << " "
          << optimize::FigureText(scaling.Factor) << " "
          << optimize::FigureText(optimize::SmallestBusiest(scaled)) << "\n";
    PutLoads(s, scaling.Loads);
}

void LoadSym(Session& s, ScriptLine& line) {
    const std::string rule = line.Word();
    line.End();
    if (rule != "max" && rule != "sum")
        throw NetError("команда «loadsym» понимает max или sum, а не «" + rule + "»");
    PutLoads(s, net::SymmetricLoads(s.net.LoadMatrix, rule == "max" ? net::SymmetryRule::Larger
                                                                    : net::SymmetryRule::Sum));
}

// --- topology builders ---

void Star(Session& s, ScriptLine& line) {
    // The centre is not checked: a host that is absent or out of range
    // simply gets no star.
    const int32_t centre = line.Int();
    const int32_t type = line.Int();
    line.End();
    s.net.BuildStar(centre, type);
}

void Mesh(Session& s, ScriptLine& line) {
    const int32_t type = line.Int();
    line.End();
    s.net.BuildFullMesh(type);
}

void Clear(Session& s, ScriptLine& line) {
    line.End();
    s.net.DeleteAllChannels();
}

void Tree(Session& s, ScriptLine& line) {
    line.End();
    s.net.BuildSpanningTree();
}

void TreeAll(Session& s, ScriptLine& line) {
    const int32_t type = line.Int();
    line.End();
    s.net.BuildSpanningTreeOverAll(type);
}

void Biconnect(Session& s, ScriptLine& line) {
    const int32_t type = line.Int();
    line.End();
    s.net.MakeBiconnected(type);
}

void Ring(Session& s, ScriptLine& line) {
    const int32_t type = line.Int();
    line.End();
    s.net.BuildRing(type);
}

// --- print ---

void PrintClass(Session& s) {
    const net::ConnectivityClass cls = s.net.Classify();
    s.out << "class " << static_cast<int>(cls) << " " << net::ClassText(cls) << "\n";
}

void PrintHosts(Session& s) {
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        if (!s.net.HostPresent[h])
            continue;
        const net::HostRecord& r = s.net.Hosts[h];
        s.out << "host " << h << " " << r.X << " " << r.Y << " " << r.TypeNo;
        const std::string name = s.net.HostName(h);
        if (!name.empty())
            s.out << " " << name;
        s.out << "\n";
    }
}

void PrintChannels(Session& s) {
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!s.net.ChannelPresent[c])
            continue;
        const net::ChannelRecord& r = s.net.Channels[c];
        s.out << "channel " << c << " " << r.HostA << " " << r.HostB << " " << r.TypeNo << " "
              << net::FormatFixed3(r.Length) << "\n";
    }
}

void PrintTypes(Session& s) {
    for (int32_t k = 1; k <= s.net.HostTypeCount; ++k) {
        const net::HostType& t = s.net.HostTypes[k];
        s.out << "hosttype " << k << " " << t.Value1 << " " << t.Value2 << "\n";
    }
    for (int32_t k = 1; k <= s.net.ChannelTypeCount; ++k) {
        const net::ChannelType& t = s.net.ChannelTypes[k];
        s.out << "chantype " << k << " " << t.Capacity << " " << t.Value2 << "\n";
    }
}

void PrintPaths(Session& s) {
    for (int32_t p = 1; p <= s.net.PathTable.PathCount; ++p) {
        s.out << net::PathText(s.net, p) << "\n";
    }
    for (int32_t u = 1; u <= s.net.Unrouted.Count; ++u) {
        const net::UnroutedDemand& d = s.net.Unrouted.Items[u];
        s.out << "unrouted " << d.RowHost << " " << d.ColumnHost << " " << d.Load << "\n";
    }
}

void PrintLinks(Session& s) {
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!s.net.ChannelPresent[c])
            continue;
        const int32_t a = s.net.Channels[c].HostA;
        const int32_t b = s.net.Channels[c].HostB;
        s.out << "link " << c << " " << a << " " << b << " " << s.net.ResidualMatrix[a][b] << " "
              << net::FormatFixed3(s.net.DelayMatrix[a][b]) << "\n";
    }
}

void PrintLoads(Session& s) {
    for (int32_t i = 1; i <= MaxHosts; ++i) {
        for (int32_t j = 1; j <= MaxHosts; ++j) {
            s.out << (j > 1 ? " " : "") << s.net.LoadMatrix[i][j];
        }
        s.out << "\n";
    }
}

void PrintName(Session& s) {
    s.out << "name " << s.net.NetworkName << "\n";
}

void PrintDynamic(Session& s) {
    s.out << "dynamic " << (s.net.DynamicRouting ? "on" : "off") << "\n";
}

struct PrintEntry {
    const char* what;
    void (*print)(Session&);
};

const PrintEntry kPrints[] = {
    {"class", PrintClass}, {"hosts", PrintHosts},     {"channels", PrintChannels},
    {"types", PrintTypes}, {"paths", PrintPaths},     {"links", PrintLinks},
    {"loads", PrintLoads}, {"dynamic", PrintDynamic}, {"name", PrintName},
};

void Print(Session& s, ScriptLine& line) {
    const std::string what = line.Word();
    line.End();
    for (const PrintEntry& entry : kPrints) {
        if (what == entry.what) {
            entry.print(s);
            return;
        }
    }
    throw NetError("неизвестный раздел печати «" + what + "»");
}

}  // namespace

const std::vector<CommandEntry>& CommandTable() {
    static const std::vector<CommandEntry> table = {
        {"new", "new", "пустая сеть «новый», типы из HostInfo.hi и ChanInfo.ci", New},
        {"host", "host X Y TYPE NAME", "новый маршрутизатор в точке (X, Y)", Host},
        {"updhost", "updhost N X Y TYPE NAME", "меняет место, тип и имя маршрутизатора N", UpdHost},
        {"delhost", "delhost N", "удаляет маршрутизатор N с его каналами", DelHost},
        {"chan", "chan A B TYPE", "новый канал типа TYPE между A и B", Chan},
        {"delchan", "delchan C", "удаляет канал C", DelChan},
        {"chantype", "chantype C TYPE", "меняет тип канала C", ChanType},
        {"load", "load I J VALUE", "нагрузка от маршрутизатора I к J", Load},
        {"loadgen", "loadgen [add] uniform MIN MAX SEED [DENSITY]",
         "случайные нагрузки от MIN до MAX у доли пар DENSITY (1) (см. ниже)", LoadGen},
        {"loadgen", "loadgen [add] gravity TOTAL [W1 ... Wn]",
         "нагрузка TOTAL по парам пропорционально весам (см. ниже)", LoadGen},
        {"loadgen", "loadgen [add] distance TOTAL ALPHA [W1 ... Wn]",
         "то же, делённое на расстояние в степени ALPHA (см. ниже)", LoadGen},
        {"loadscale", "loadscale FACTOR", "умножает все нагрузки на FACTOR", LoadScale},
        {"loadscale", "loadscale target U",
         "умножает нагрузки так, чтобы наименьшая загрузка стала U (см. ниже)", LoadScale},
        {"loadsym", "loadsym max|sum", "обе стороны каждой пары — большая из двух или сумма",
         LoadSym},
        {"open", "open DIR", "загружает проект из папки DIR", Open},
        {"save", "save DIR", "сохраняет проект в папку DIR", Save},
        {"route", "route", "статическая маршрутизация всей таблицы нагрузок", Route},
        {"dynamic", "dynamic", "включает или выключает динамическую маршрутизацию", Dynamic},
        {"failures", "failures", "анализ одиночных отказов (см. ниже)", Failures},
        {"optimize", "optimize [apply]",
         "качество маршрутизации: улучшенные пути и границы (см. ниже)", Optimize},
        {"design", "design [survive] [keep] [umax U] [seconds S] [apply]",
         "самая дешёвая сеть, которая несёт нагрузку (см. ниже)", DesignCommand},
        {"cost", "cost", "стоимость сети: сумма по каналам второй величины типа на длину",
         CostCommand},
        {"export", "export DIR", "таблицы в CSV в папку DIR (см. ниже)", Export},
        {"import", "import FILE.txt|FILE.xml|FILE.gml TYPE [SCALE]",
         "сеть из файла SNDlib или GML (см. ниже)", Import},
        {"exportnet", "exportnet FILE.txt|FILE.gml", "сеть в файл SNDlib или GML (см. ниже)",
         ExportNet},
#ifdef NETD_RENDER
        {"render", "render FILE.png|FILE.svg [WIDTH HEIGHT]", "рисунок сети в файл (см. ниже)",
         Render},
        {"report", "report FILE.pdf", "отчёт о сети в PDF (см. ниже)", Report},
#endif
        {"star", "star CENTRE TYPE", "звезда: каналы от CENTRE ко всем («один со всеми»)", Star},
        {"mesh", "mesh TYPE", "полная сеть: канал между каждой парой («каждый с каждым»)", Mesh},
        {"clear", "clear", "удаляет все каналы", Clear},
        {"tree", "tree", "остов наименьшей длины по имеющимся каналам", Tree},
        {"treeall", "treeall TYPE", "остов наименьшей длины по всем парам маршрутизаторов",
         TreeAll},
        {"biconnect", "biconnect TYPE", "добавляет каналы до двусвязной сети", Biconnect},
        {"ring", "ring TYPE", "кольцо через все маршрутизаторы", Ring},
        {"print", "print class|hosts|channels|types|paths|links|loads|dynamic|name",
         "печатает раздел сети", Print},
    };
    return table;
}

}  // namespace cli
