// Feeds arbitrary bytes to the readers of the exchange formats and checks
// what an import promises:
// - a refused file leaves the network exactly as it was;
// - an accepted one gives at most 18 hosts, none two clashing, channels
//   between distinct present hosts, no negative load;
// - exporting the imported network and importing that again gives the same
//   hosts, channels and loads.
//
// The first byte chooses the reader (SNDlib native, SNDlib XML, GML); the
// rest is the file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "errors.h"
#include "gml.h"
#include "network_export.h"
#include "network_mapping.h"
#include "sndlib_native.h"
#include "sndlib_xml.h"
#include "undo_history.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckInvariants(const net::TNetObj& net) {
    Check(net.HostCount <= net::MaxHosts);
    for (int32_t a = 1; a <= net::MaxHosts; ++a) {
        for (int32_t b = a + 1; b <= net::MaxHosts; ++b) {
            if (net.HostPresent[a] && net.HostPresent[b])
                Check(std::abs(net.Hosts[a].X - net.Hosts[b].X) >= net::ProximityPixels ||
                      std::abs(net.Hosts[a].Y - net.Hosts[b].Y) >= net::ProximityPixels);
        }
        for (int32_t b = 1; b <= net::MaxHosts; ++b)
            Check(net.LoadMatrix[a][b] >= 0);
    }
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const net::ChannelRecord& r = net.Channels[c];
        Check(r.HostA != r.HostB && net::IsHostNumber(r.HostA) && net::IsHostNumber(r.HostB));
        Check(net.HostPresent[r.HostA] && net.HostPresent[r.HostB]);
    }
}

bool SameDesign(const net::TNetObj& a, const net::TNetObj& b) {
    return a.Hosts == b.Hosts && a.HostPresent == b.HostPresent &&
           a.ChannelPresent == b.ChannelPresent && a.LoadMatrix == b.LoadMatrix && [&] {
               for (int32_t c = 1; c <= net::MaxChannels; ++c) {
                   if (a.ChannelPresent[c] && (a.Channels[c].HostA != b.Channels[c].HostA ||
                                               a.Channels[c].HostB != b.Channels[c].HostB))
                       return false;
               }
               return true;
           }();
}

formats::SourceNetwork Parse(uint8_t reader, std::string_view text) {
    switch (reader % 3) {
        case 0:
            return formats::ParseSndlibNative(text, "fuzz.txt");
        case 1:
            return formats::ParseSndlibXml(text, "fuzz.xml");
        default:
            return formats::ParseGml(text, "fuzz.gml");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    net::TNetObj net;
    net.ChannelTypeCount = 1;
    net.ChannelTypes[1].Capacity = 5000;
    const net::TNetObj before = net;
    try {
        const formats::SourceNetwork source = Parse(data[0], text);
        if (source.nodes.size() > static_cast<size_t>(net::MaxHosts))
            return 0;
        formats::MapIntoNetwork(source, "fuzz", 1, 1.0, net);
    } catch (const net::NetError&) {
        Check(net::SameNetwork(net, before));
        return 0;
    }
    CheckInvariants(net);
    for (const bool native : {true, false}) {
        const std::string exported =
            native ? formats::SndlibNativeText(net) : formats::GmlText(net);
        net::TNetObj again = before;
        const formats::SourceNetwork source =
            native ? formats::ParseSndlibNative(exported, "again.txt")
                   : formats::ParseGml(exported, "again.gml");
        formats::MapIntoNetwork(source, "fuzz", 1, 1.0, again);
        Check(SameDesign(net, again));
    }
    return 0;
}
