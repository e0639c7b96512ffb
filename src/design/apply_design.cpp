// Putting a design into the network: the channels replaced, routed as static
// routing routes.
#include <string>

#include "errors.h"
#include "network_design.h"

namespace design {
namespace {

void CheckChannel(const net::TNetObj& net, const DesignChannel& channel) {
    const auto name = [&] {
        return std::to_string(channel.HostA) + "-" + std::to_string(channel.HostB);
    };
    if (!net::IsHostNumber(channel.HostA) || !net::IsHostNumber(channel.HostB) ||
        channel.HostA == channel.HostB || !net.HostPresent[channel.HostA] ||
        !net.HostPresent[channel.HostB])
        throw net::NetError("Канал проекта " + name() + " соединяет отсутствующие маршрутизаторы");
    if (channel.Type < 1 || channel.Type > net.ChannelTypeCount)
        throw net::NetError("Канал проекта " + name() + " имеет тип " +
                            std::to_string(channel.Type) +
                            ", которого нет в таблице типов каналов");
}

}  // namespace

void ApplyDesign(net::TNetObj& net, const Design& design) {
    if (design.Channels.size() > static_cast<size_t>(net::MaxChannels))
        throw net::NetError("В проекте больше " + std::to_string(net::MaxChannels) + " каналов");
    // Built on a copy: a refused design leaves the network as it was.
    net::TNetObj copy = net;
    {
        net::DynamicSuspension suspended(copy);
        copy.DeleteAllChannels();
        for (const DesignChannel& channel : design.Channels) {
            CheckChannel(copy, channel);
            copy.AddChannel(channel.HostA, channel.HostB, channel.Type);
        }
    }
    copy.RouteAll();
    net = std::move(copy);
}

}  // namespace design
