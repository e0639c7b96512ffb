// The design problem as the advisor solves it: the hosts, the channel types
// it may propose, every pair of hosts with what a channel there would cost,
// the channels kept as they are, and the demands. Built from the network
// once; every bad input is refused here with a message naming the item.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "netobj.h"

namespace design {

struct ProposedType {
    int32_t Number = 0;  // in the channel type table
    double Capacity = 0.0;
};

struct HostPair {
    int32_t HostA = 0;  // HostA < HostB
    int32_t HostB = 0;
    // Per proposed type (same order as DesignProblem::Types): the cost of a
    // channel of that type here; empty when the pair is not a candidate.
    std::vector<double> TypeCost;
    int32_t KeptType = 0;  // type number of a kept channel, 0 for none
    double KeptCapacity = 0.0;

    bool Candidate() const { return !TypeCost.empty(); }
};

struct DemandOf {
    int32_t From = 0;
    int32_t To = 0;
    double Load = 0.0;
};

struct DesignProblem {
    net::TNetObj Net;  // hosts, loads and type tables; channels as given
    std::vector<int32_t> Hosts;
    std::vector<ProposedType> Types;  // ascending capacity, then cost
    std::vector<HostPair> Pairs;      // ascending by (HostA, HostB)
    net::HostMatrix<int32_t> PairIndex{};
    std::vector<DemandOf> Demands;
    double Umax = 0.8;
    bool Survive = false;
    std::vector<std::string> LeftOutTypes;

    double LargestCapacity() const;
    // Load starting or ending at a host: what its channels carry together.
    double HostLoad(int32_t host) const;
    int32_t PairOf(int32_t a, int32_t b) const { return PairIndex[a][b]; }
};

struct DesignOptions {
    bool Keep = false;
    bool Survive = false;
    double Umax = 0.8;
};

// Raises net::NetError (Russian, naming the item) for fewer than two hosts,
// an empty type table, no type that may be proposed, no load, a kept channel
// of a type missing from the table, or a host whose load no design can carry.
DesignProblem BuildDesignProblem(const net::TNetObj& net, const DesignOptions& options);

// A design as the advisor handles it: per pair, the channel type there (kept
// pairs hold their kept type), 0 for no channel.
using PairTypes = std::vector<int32_t>;

// A real number as messages show it: shortest form, no trailing zeros.
std::string NumberText(double value);

double CapacityOf(const DesignProblem& problem, int32_t type);
double DesignCost(const DesignProblem& problem, const PairTypes& types);

}  // namespace design
