// Routing: every positive demand along a least-cost path, greedily in
// row-major order, the cost of a channel growing as it fills.
#include <cassert>

#include "errors.h"
#include "netobj.h"

namespace net {
namespace {

constexpr double Unlabelled = 2147483647.0;
constexpr long double CostNumerator = 10000.0L;

struct SearchLabel {
    int32_t predecessor = -1;
    double distance = Unlabelled;
    bool temporary = true;
};

// The least-cost path for `demand` from the row host to the column host over
// the residual capacities, searched from the column host, written to the
// empty record. Returns false when the row host cannot be reached; the
// record is then untouched.
bool ShortestPath(const TNetObj& net, int32_t rowHost, int32_t columnHost, int32_t demand,
                  PathRecord& record) {
    assert(IsHostNumber(rowHost) && IsHostNumber(columnHost) && record[0] == 0);
    const HostMatrix<int32_t>& residuals = net.ResidualMatrix;
    std::array<SearchLabel, MaxHosts + 1> labels{};
    labels[columnHost].distance = 0.0;
    labels[columnHost].temporary = false;
    int32_t current = columnHost;
    while (true) {
        for (int32_t k = 1; k <= MaxHosts; ++k) {
            const int32_t residual = residuals[current][k];
            if (!net.HostPresent[k] || !labels[k].temporary || residual <= demand)
                continue;
            // Extended precision for the cost and the comparison; the stored
            // distance is rounded to double. Near-equal routes depend on it.
            const long double cost = CostNumerator / static_cast<long double>(residual - demand);
            const long double viaCurrent = labels[current].distance;
            if (static_cast<long double>(labels[k].distance) - viaCurrent > cost) {
                labels[k].predecessor = current;
                labels[k].distance = static_cast<double>(viaCurrent + cost);
            }
        }
        double best = Unlabelled;
        int32_t chosen = 0;
        for (int32_t k = 1; k <= MaxHosts; ++k) {
            if (net.HostPresent[k] && labels[k].temporary && labels[k].distance < best) {
                best = labels[k].distance;
                chosen = k;
            }
        }
        if (chosen == 0)
            return false;
        labels[chosen].temporary = false;
        if (chosen == rowHost)
            break;
        current = chosen;
    }
    for (int32_t h = rowHost; h != -1; h = labels[h].predecessor) {
        ++record[0];
        record[record[0]] = h;
    }
    return true;
}

// Every capacity is looked up before anything changes: a channel whose type
// names no record of the table stops the run here.
void CheckChannelTypes(const TNetObj& net) {
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const int32_t type = net.Channels[c].TypeNo;
        if (type < 1 || type > net.ChannelTypeCount) {
            // The tables are read by "новый" alone, not by loading a project.
            const std::string advice = net.ChannelTypeCount == 0
                                           ? ": таблица типов каналов пуста, сначала прочитайте "
                                             "справочные таблицы командой «файл → новый», затем "
                                             "загрузите проект снова"
                                           : "";
            throw NetError("Канал " + std::to_string(c) + " имеет тип " + std::to_string(type) +
                           ", которого нет в таблице типов каналов (типов: " +
                           std::to_string(net.ChannelTypeCount) + ")" + advice);
        }
    }
}

void StartResiduals(TNetObj& net) {
    net.ResidualMatrix = {};
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const ChannelRecord& channel = net.Channels[c];
        const int32_t capacity = net.ChannelTypes[channel.TypeNo].Capacity;
        net.ResidualMatrix[channel.HostA][channel.HostB] = capacity;
        net.ResidualMatrix[channel.HostB][channel.HostA] = capacity;
    }
}

void TakeLoad(TNetObj& net, const PathRecord& record, int32_t load) {
    for (int32_t k = 1; k < record[0]; ++k) {
        const int32_t a = record[k];
        const int32_t b = record[k + 1];
        net.ResidualMatrix[a][b] -= load;
        net.ResidualMatrix[b][a] -= load;
    }
}

void ComputeDelays(TNetObj& net) {
    net.DelayMatrix = {};
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const int32_t a = net.Channels[c].HostA;
        const int32_t b = net.Channels[c].HostB;
        const int32_t residual = net.ResidualMatrix[a][b];
        if (residual == 0)
            throw NetError("Floating point division by zero");
        const double delay = 10000.0 / static_cast<double>(residual) - 1.0;
        net.DelayMatrix[a][b] = delay;
        net.DelayMatrix[b][a] = delay;
    }
}

}  // namespace

void TNetObj::RouteAll() {
    CheckChannelTypes(*this);
    StartResiduals(*this);
    PathTable.Records = {};
    Unrouted = {};
    int32_t demands = 0;
    for (int32_t i = 1; i <= MaxHosts; ++i) {
        for (int32_t j = 1; j <= MaxHosts; ++j) {
            const int32_t load = LoadMatrix[i][j];
            if (!HostPresent[i] || !HostPresent[j] || load <= 0 || i == j)
                continue;
            PathRecord& record = PathTable.Records[demands + 1];
            if (!ShortestPath(*this, i, j, load, record)) {
                Unrouted.Items[++Unrouted.Count] = {i, j, load};
                continue;
            }
            ++demands;
            TakeLoad(*this, record, load);
        }
    }
    PathTable.PathCount = demands;
    ComputeDelays(*this);
}

void TNetObj::AdoptRouting(const PathTableT& paths, const UnroutedTableT& unrouted) {
    CheckChannelTypes(*this);
    StartResiduals(*this);
    PathTable = paths;
    Unrouted = unrouted;
    for (int32_t p = 1; p <= PathTable.PathCount; ++p) {
        const PathRecord& record = PathTable.Records[p];
        TakeLoad(*this, record, LoadMatrix[record[1]][record[record[0]]]);
    }
    ComputeDelays(*this);
}

void TNetObj::ToggleDynamic() {
    DynamicRouting = !DynamicRouting;
    if (DynamicRouting && Classify() > Disconnected) {
        RouteAll();
    }
}

}  // namespace net
