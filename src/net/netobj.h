// The one network being designed: fixed host and channel slots, the two type
// tables, the load matrix and the results of the last routing run.
//
// Every table is 1-based as the users see it: element 0 of each array is
// never used, so Hosts[1]..Hosts[18], Channels[1]..Channels[153] and
// LoadMatrix[1..18][1..18] read exactly as the numbers shown on screen.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace net {

constexpr int MaxHosts = 18;
constexpr int MaxChannels = 153;
constexpr int MaxTypes = 10;
constexpr int MaxNameLength = 20;
// One record for every ordered pair of distinct hosts, so no demand is ever
// dropped for lack of room.
constexpr int MaxPaths = MaxHosts * (MaxHosts - 1);
constexpr int PathElements = MaxHosts + 1;

constexpr int HostRecordSize = 40;
constexpr int ChannelRecordSize = 24;
constexpr int HostTypeSize = 16;
constexpr int ChannelTypeSize = 12;

// Two positions clash when both distances are strictly below this.
constexpr int ProximityPixels = 8;

// Numbers that name a host slot and a channel slot. Records read from a file
// may hold any number; every reader checks before it indexes a table.
constexpr bool IsHostNumber(int64_t n) {
    return n >= 1 && n <= MaxHosts;
}
constexpr bool IsChannelNumber(int64_t n) {
    return n >= 1 && n <= MaxChannels;
}

enum ConnectivityClass : int32_t { Disconnected = 0, Connected = 1, Biconnected = 2 };

// One host slot; also one 40-byte record of hosts.hs. The name is kept in
// Windows-1251, exactly as it is stored in the file.
struct HostRecord {
    uint8_t NameLength = 0;
    std::array<uint8_t, MaxNameLength> NameChars{};
    std::array<uint8_t, 3> Filler{};
    int32_t X = 0;
    int32_t Y = 0;
    int32_t TypeNo = 0;
    int32_t Reserved = 0;

    bool operator==(const HostRecord&) const = default;
};

// One channel slot; also one 24-byte record of channels.cs.
struct ChannelRecord {
    int32_t HostA = 0;
    int32_t HostB = 0;
    int32_t TypeNo = 0;
    int32_t Reserved = 0;
    double Length = 0.0;

    bool operator==(const ChannelRecord&) const = default;
};

// One 16-byte record of HostInfo.hi.
struct HostType {
    int32_t Value1 = 0;
    std::array<uint8_t, 4> Spare1{};
    int32_t Value2 = 0;
    std::array<uint8_t, 4> Spare2{};

    bool operator==(const HostType&) const = default;
};

// One 12-byte record of ChanInfo.ci.
struct ChannelType {
    int32_t Capacity = 0;
    std::array<uint8_t, 4> Spare{};
    int32_t Value2 = 0;

    bool operator==(const ChannelType&) const = default;
};

// Element 0 is the number n of hosts on the path, elements 1..n the hosts
// from the demand's row host to its column host, the rest 0.
using PathRecord = std::array<int32_t, PathElements>;

struct PathTableT {
    std::array<PathRecord, MaxPaths + 1> Records{};
    int32_t PathCount = 0;

    bool operator==(const PathTableT&) const = default;
};

// A demand that routing could not place: its row host was unreachable.
struct UnroutedDemand {
    int32_t RowHost = 0;
    int32_t ColumnHost = 0;
    int32_t Load = 0;

    bool operator==(const UnroutedDemand&) const = default;
};

struct UnroutedTableT {
    std::array<UnroutedDemand, MaxPaths + 1> Items{};
    int32_t Count = 0;

    bool operator==(const UnroutedTableT&) const = default;
};

template <typename T>
using HostMatrix = std::array<std::array<T, MaxHosts + 1>, MaxHosts + 1>;

// Little-endian encoding of the binding record layouts.
void EncodeHostRecord(const HostRecord& record, uint8_t* out40);
HostRecord DecodeHostRecord(const uint8_t* in40);
void EncodeChannelRecord(const ChannelRecord& record, uint8_t* out24);
ChannelRecord DecodeChannelRecord(const uint8_t* in24);
void EncodeHostType(const HostType& record, uint8_t* out16);
HostType DecodeHostType(const uint8_t* in16);
void EncodeChannelType(const ChannelType& record, uint8_t* out12);
ChannelType DecodeChannelType(const uint8_t* in12);

class TNetObj {
public:
    // Fields in their declaration order.
    std::string NetworkName;  // UTF-8
    std::array<HostRecord, MaxHosts + 1> Hosts{};
    int32_t HostCount = 0;
    std::array<ChannelRecord, MaxChannels + 1> Channels{};
    int32_t ChannelCount = 0;
    std::array<bool, MaxHosts + 1> HostPresent{};
    std::array<bool, MaxChannels + 1> ChannelPresent{};
    std::array<HostType, MaxTypes + 1> HostTypes{};
    int32_t HostTypeCount = 0;
    std::array<ChannelType, MaxTypes + 1> ChannelTypes{};
    int32_t ChannelTypeCount = 0;
    // Work areas of BuildSpanningTree; meaningless between calls.
    std::array<int32_t, MaxHosts + 1> TreeLabel{};
    std::array<double, MaxChannels + 1> SortedLength{};
    std::array<int32_t, MaxChannels + 1> SortedChannel{};
    std::array<bool, MaxChannels + 1> TreeChosen{};
    HostMatrix<double> DelayMatrix{};
    double GeneralReal = 0.0;
    HostMatrix<int32_t> LoadMatrix{};
    PathTableT PathTable{};
    HostMatrix<int32_t> ResidualMatrix{};
    bool DynamicRouting = false;
    // Demands of the last routing run that found no path.
    UnroutedTableT Unrouted{};

    // Empties the network, names it "новый" and rereads the type tables.
    void Reset();
    // Reads HostInfo.hi and ChanInfo.ci from the working directory.
    void LoadTypeTables();

    // Project files (three files in one directory).
    void LoadProject(const std::string& directory);
    void SaveProject(const std::string& directory) const;

    // Editing. Names are UTF-8 here and stored in Windows-1251. Callers check
    // the numbers they pass: the preconditions are asserted in debug builds.
    void AddHost(int32_t x, int32_t y, const std::string& name, int32_t type);
    // Requires IsHostNumber(host) and HostPresent[host].
    void DeleteHost(int32_t host);
    // Requires IsHostNumber(host) and HostPresent[host].
    void UpdateHost(int32_t host, int32_t x, int32_t y, const std::string& name, int32_t type);
    // Requires IsHostNumber(hostA) and IsHostNumber(hostB).
    void AddChannel(int32_t hostA, int32_t hostB, int32_t type);
    // Requires IsChannelNumber(channel); a free slot is left as it is.
    void DeleteChannel(int32_t channel);
    // Requires IsChannelNumber(channel).
    void SetChannelType(int32_t channel, int32_t type);
    void RecomputeIfDynamic();
    // The lowest present host whose position clashes with (x, y), 0 for none:
    // what the proximity rule refuses, and the host a click at (x, y) picks.
    int32_t LowestClashingHost(int32_t x, int32_t y) const;

    ConnectivityClass Classify() const;

    // Topology builders. BuildStar does nothing for a centre that is not a
    // present host.
    void BuildStar(int32_t centre, int32_t type);
    void BuildFullMesh(int32_t type);
    void DeleteAllChannels();
    void BuildSpanningTree();
    void BuildSpanningTreeOverAll(int32_t type);
    // Requires IsHostNumber(a) and IsHostNumber(b) (labels are host numbers).
    void MergeLabels(int32_t a, int32_t b);
    void MakeBiconnected(int32_t type);
    void BuildRing(int32_t type);

    // Routing.
    void RouteAll();
    // Makes the given paths and unplaced demands the routing results, with
    // the residuals and delay figures routing would give them. Requires
    // paths between present hosts over present channels, each from a
    // demand's row host to its column host; raises what RouteAll raises.
    void AdoptRouting(const PathTableT& paths, const UnroutedTableT& unrouted);
    void ToggleDynamic();

    // The host's name converted to UTF-8. Requires IsHostNumber(host).
    std::string HostName(int32_t host) const;
    // Length of a channel between the current positions of two hosts.
    double HostDistance(int32_t hostA, int32_t hostB) const;
};

// Clears DynamicRouting for the lifetime of the guard and puts the saved
// value back when it ends, also when an error leaves the scope.
class DynamicSuspension {
public:
    explicit DynamicSuspension(TNetObj& net) : net_(net), saved_(net.DynamicRouting) {
        net_.DynamicRouting = false;
    }
    ~DynamicSuspension() { net_.DynamicRouting = saved_; }
    DynamicSuspension(const DynamicSuspension&) = delete;
    DynamicSuspension& operator=(const DynamicSuspension&) = delete;

private:
    TNetObj& net_;
    bool saved_;
};

}  // namespace net
