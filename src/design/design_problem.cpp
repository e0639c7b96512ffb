#include "design_problem.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "errors.h"
#include "network_cost.h"

namespace design {

std::string NumberText(double value) {
    std::ostringstream text;
    text.precision(12);
    text << value;
    return text.str();
}

namespace {

void CheckHosts(const net::TNetObj& net, DesignProblem& problem) {
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        if (net.HostPresent[h])
            problem.Hosts.push_back(h);
    }
    if (problem.Hosts.size() < 2)
        throw net::NetError("Для проектирования сети нужны хотя бы два маршрутизатора, а их " +
                            std::to_string(problem.Hosts.size()));
}

void ChooseTypes(const net::TNetObj& net, DesignProblem& problem) {
    if (net.ChannelTypeCount < 1)
        throw net::NetError(
            "Таблица типов каналов пуста: прочитайте справочные таблицы командой «файл → новый»");
    const int32_t count = std::min<int32_t>(net.ChannelTypeCount, net::MaxTypes);
    for (int32_t t = 1; t <= count; ++t) {
        const net::ChannelType& type = net.ChannelTypes[t];
        if (type.Capacity <= 0)
            problem.LeftOutTypes.push_back("тип " + std::to_string(t) +
                                           ": пропускная способность " +
                                           std::to_string(type.Capacity) + " не положительна");
        else if (type.Value2 <= 0)
            problem.LeftOutTypes.push_back("тип " + std::to_string(t) + ": стоимость " +
                                           std::to_string(type.Value2) + " не положительна");
        else
            problem.Types.push_back({t, static_cast<double>(type.Capacity)});
    }
    if (problem.Types.empty()) {
        std::string reasons;
        for (const std::string& reason : problem.LeftOutTypes)
            reasons += (reasons.empty() ? "" : "; ") + reason;
        throw net::NetError("Нет типа канала, который можно предложить: " + reasons);
    }
    std::stable_sort(problem.Types.begin(), problem.Types.end(),
                     [&](const ProposedType& a, const ProposedType& b) {
                         if (a.Capacity != b.Capacity)
                             return a.Capacity < b.Capacity;
                         return net.ChannelTypes[a.Number].Value2 <
                                net.ChannelTypes[b.Number].Value2;
                     });
}

// With keep, the present channels between present hosts stay; as in
// routing, a later channel between the same two hosts decides the pair.
net::HostMatrix<int32_t> KeptTypes(const net::TNetObj& net) {
    net::HostMatrix<int32_t> kept{};
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const net::ChannelRecord& channel = net.Channels[c];
        const int32_t a = channel.HostA;
        const int32_t b = channel.HostB;
        if (a == b || !net::IsHostNumber(a) || !net::IsHostNumber(b) || !net.HostPresent[a] ||
            !net.HostPresent[b])
            continue;
        if (channel.TypeNo < 1 || channel.TypeNo > net.ChannelTypeCount ||
            channel.TypeNo > net::MaxTypes)
            throw net::NetError("Канал " + std::to_string(c) + " (" + std::to_string(a) + "-" +
                                std::to_string(b) + ") имеет тип " +
                                std::to_string(channel.TypeNo) +
                                ", которого нет в таблице типов каналов (типов: " +
                                std::to_string(net.ChannelTypeCount) + ")");
        // Routing cannot give such a channel a delay figure and stops.
        if (net.ChannelTypes[channel.TypeNo].Capacity == 0)
            throw net::NetError("Канал " + std::to_string(c) + " (" + std::to_string(a) + "-" +
                                std::to_string(b) + ") имеет тип " +
                                std::to_string(channel.TypeNo) +
                                " с нулевой пропускной способностью: смените его тип или "
                                "проектируйте без сохранения каналов");
        kept[a][b] = kept[b][a] = channel.TypeNo;
    }
    return kept;
}

void MakePairs(const net::TNetObj& net, bool keep, DesignProblem& problem) {
    const net::HostMatrix<int32_t> kept = keep ? KeptTypes(net) : net::HostMatrix<int32_t>{};
    for (auto& row : problem.PairIndex)
        row.fill(-1);
    for (size_t i = 0; i < problem.Hosts.size(); ++i) {
        for (size_t j = i + 1; j < problem.Hosts.size(); ++j) {
            HostPair pair;
            pair.HostA = problem.Hosts[i];
            pair.HostB = problem.Hosts[j];
            pair.KeptType = kept[pair.HostA][pair.HostB];
            if (pair.KeptType > 0) {
                pair.KeptCapacity = std::max(0, net.ChannelTypes[pair.KeptType].Capacity);
            } else {
                for (const ProposedType& type : problem.Types)
                    pair.TypeCost.push_back(
                        net::ChannelCost(net, type.Number, pair.HostA, pair.HostB));
            }
            const auto index = static_cast<int32_t>(problem.Pairs.size());
            problem.PairIndex[pair.HostA][pair.HostB] = index;
            problem.PairIndex[pair.HostB][pair.HostA] = index;
            problem.Pairs.push_back(std::move(pair));
        }
    }
}

void CollectDemands(const net::TNetObj& net, DesignProblem& problem) {
    for (const int32_t i : problem.Hosts) {
        for (const int32_t j : problem.Hosts) {
            if (i != j && net.LoadMatrix[i][j] > 0)
                problem.Demands.push_back({i, j, static_cast<double>(net.LoadMatrix[i][j])});
        }
    }
    if (problem.Demands.empty())
        throw net::NetError(
            "Нет нагрузки: в матрице нагрузки нет положительного требования между двумя "
            "маршрутизаторами");
}

// A host's channels together carry at most UMAX times their capacities
// (after a failure: all of them but the largest, at full capacity).
void CheckHostLoads(const DesignProblem& problem) {
    const double largest = problem.LargestCapacity();
    for (const int32_t h : problem.Hosts) {
        std::vector<double> capacities;
        for (const int32_t other : problem.Hosts) {
            if (other == h)
                continue;
            const HostPair& pair = problem.Pairs[problem.PairOf(h, other)];
            capacities.push_back(pair.Candidate() ? largest : pair.KeptCapacity);
        }
        const double total = [&] {
            double sum = 0.0;
            for (const double c : capacities)
                sum += c;
            return sum;
        }();
        const double load = problem.HostLoad(h);
        const double usable = total * problem.Umax;
        const std::string head = "Нагрузку маршрутизатора " + std::to_string(h) + " (" +
                                 NumberText(load) + ") не несёт никакая сеть: ";
        if (load > usable * (1 + 1e-9))
            throw net::NetError(head + "его возможные каналы (" +
                                std::to_string(capacities.size()) + ") при загрузке не выше " +
                                NumberText(problem.Umax) + " несут не больше " +
                                NumberText(usable));
        if (problem.Survive && load > 0) {
            const double afterFailure =
                total - *std::max_element(capacities.begin(), capacities.end());
            if (load > afterFailure * (1 + 1e-9))
                throw net::NetError(
                    head + "после отказа наибольшего из его возможных каналов остальные (" +
                    std::to_string(capacities.size() - 1) + ") несут не больше " +
                    NumberText(afterFailure));
        }
    }
}

}  // namespace

double DesignProblem::LargestCapacity() const {
    double largest = Types.back().Capacity;
    for (const HostPair& pair : Pairs)
        largest = std::max(largest, pair.KeptCapacity);
    return largest;
}

double DesignProblem::HostLoad(int32_t host) const {
    double load = 0.0;
    for (const DemandOf& demand : Demands) {
        if (demand.From == host || demand.To == host)
            load += demand.Load;
    }
    return load;
}

DesignProblem BuildDesignProblem(const net::TNetObj& net, const DesignOptions& options) {
    DesignProblem problem;
    problem.Umax = options.Umax;
    problem.Survive = options.Survive;
    CheckHosts(net, problem);
    ChooseTypes(net, problem);
    MakePairs(net, options.Keep, problem);
    CollectDemands(net, problem);
    CheckHostLoads(problem);
    problem.Net = net;
    problem.Net.DynamicRouting = false;
    return problem;
}

double CapacityOf(const DesignProblem& problem, int32_t type) {
    return type > 0 ? std::max(0, problem.Net.ChannelTypes[type].Capacity) : 0.0;
}

double DesignCost(const DesignProblem& problem, const PairTypes& types) {
    double cost = 0.0;
    for (size_t p = 0; p < problem.Pairs.size(); ++p) {
        const HostPair& pair = problem.Pairs[p];
        if (pair.Candidate() && types[p] > 0)
            cost += net::ChannelCost(problem.Net, types[p], pair.HostA, pair.HostB);
    }
    return cost;
}

}  // namespace design
