// Editing the network one host or channel at a time.
#include <cassert>
#include <cstdlib>

#include "cp1251.h"
#include "errors.h"
#include "netobj.h"

namespace net {
namespace {

bool Clashes(const HostRecord& host, int32_t x, int32_t y) {
    // 64-bit differences: positions from a file may lie anywhere.
    return std::llabs(int64_t{host.X} - x) < ProximityPixels &&
           std::llabs(int64_t{host.Y} - y) < ProximityPixels;
}

// The name in Windows-1251, cut to the record's 20 bytes.
void StoreName(HostRecord& record, const std::string& name) {
    const std::string raw = Utf8ToCp1251(name);
    const size_t length = raw.size() < MaxNameLength ? raw.size() : MaxNameLength;
    record.NameLength = static_cast<uint8_t>(length);
    for (size_t i = 0; i < length; ++i) {
        record.NameChars[i] = static_cast<uint8_t>(raw[i]);
    }
}

}  // namespace

int32_t TNetObj::LowestClashingHost(int32_t x, int32_t y) const {
    for (int32_t i = 1; i <= MaxHosts; ++i) {
        if (HostPresent[i] && Clashes(Hosts[i], x, y))
            return i;
    }
    return 0;
}

void TNetObj::RecomputeIfDynamic() {
    if (DynamicRouting && Classify() > Disconnected) {
        // The change that led here stays made: the message says so.
        try {
            RouteAll();
        } catch (const NetError& error) {
            throw NetError(
                std::string("Изменение внесено, но маршрутизация после него остановлена: ") +
                error.what());
        }
    }
}

void TNetObj::AddHost(int32_t x, int32_t y, const std::string& name, int32_t type) {
    if (LowestClashingHost(x, y) != 0)
        return;
    int32_t slot = 1;
    while (slot <= MaxHosts && HostPresent[slot]) {
        ++slot;
    }
    if (slot > MaxHosts) {
        throw NetError("Нельзя добавить маршрутизатор: заняты все " + std::to_string(MaxHosts) +
                       " мест");
    }
    HostRecord& record = Hosts[slot];
    StoreName(record, name);
    record.X = x;
    record.Y = y;
    record.TypeNo = type;
    record.Reserved = 0;
    HostPresent[slot] = true;
    ++HostCount;
}

void TNetObj::DeleteHost(int32_t host) {
    assert(IsHostNumber(host) && HostPresent[host]);
    --HostCount;
    HostPresent[host] = false;
    for (int32_t j = 1; j <= MaxChannels; ++j) {
        if (ChannelPresent[j] && (Channels[j].HostA == host || Channels[j].HostB == host)) {
            ChannelPresent[j] = false;
            --ChannelCount;
        }
    }
    RecomputeIfDynamic();
}

void TNetObj::UpdateHost(int32_t host, int32_t x, int32_t y, const std::string& name,
                         int32_t type) {
    assert(IsHostNumber(host) && HostPresent[host]);
    // The host's own place never blocks it; any other host does, also one
    // above it in number (a host moved beside its old place would otherwise
    // land on a higher-numbered neighbour). Where it stands, the name and
    // type may always change.
    bool clash = false;
    const bool staying = Hosts[host].X == x && Hosts[host].Y == y;
    for (int32_t i = 1; i <= MaxHosts && !staying && !clash; ++i)
        clash = i != host && HostPresent[i] && Clashes(Hosts[i], x, y);
    if (!clash) {
        HostRecord& record = Hosts[host];
        StoreName(record, name);
        record.X = x;
        record.Y = y;
        record.TypeNo = type;
    }
    for (int32_t j = 1; j <= MaxChannels; ++j) {
        if (!ChannelPresent[j])
            continue;
        ChannelRecord& channel = Channels[j];
        if (channel.HostA == host)
            channel.Length = HostDistance(host, channel.HostB);
        if (channel.HostB == host)
            channel.Length = HostDistance(host, channel.HostA);
    }
    RecomputeIfDynamic();
}

void TNetObj::AddChannel(int32_t hostA, int32_t hostB, int32_t type) {
    assert(IsHostNumber(hostA) && IsHostNumber(hostB));
    bool duplicate = false;
    for (int32_t j = 1; j <= MaxChannels && !duplicate; ++j) {
        const ChannelRecord& c = Channels[j];
        duplicate = ChannelPresent[j] && ((c.HostA == hostA && c.HostB == hostB) ||
                                          (c.HostA == hostB && c.HostB == hostA));
    }
    if (!duplicate) {
        int32_t slot = 1;
        while (slot <= MaxChannels && ChannelPresent[slot]) {
            ++slot;
        }
        if (slot > MaxChannels) {
            throw NetError("Нельзя добавить канал " + std::to_string(hostA) + "-" +
                           std::to_string(hostB) + ": заняты все " + std::to_string(MaxChannels) +
                           " места");
        }
        ++ChannelCount;
        ChannelRecord& record = Channels[slot];
        record.HostA = hostA;
        record.HostB = hostB;
        record.TypeNo = type;
        record.Reserved = 0;
        record.Length = HostDistance(hostA, hostB);
        ChannelPresent[slot] = true;
    }
    RecomputeIfDynamic();
}

void TNetObj::DeleteChannel(int32_t channel) {
    assert(IsChannelNumber(channel));
    if (ChannelPresent[channel]) {
        --ChannelCount;
        ChannelPresent[channel] = false;
    }
    RecomputeIfDynamic();
}

void TNetObj::SetChannelType(int32_t channel, int32_t type) {
    assert(IsChannelNumber(channel));
    Channels[channel].TypeNo = type;
    RecomputeIfDynamic();
}

}  // namespace net
