#include "texts.h"

#include "numconv.h"

namespace net {

std::string HostTypeText(const TNetObj& net, int type) {
    const HostType& t = net.HostTypes[type];
    return std::to_string(t.Value1) + "|" + std::to_string(t.Value2);
}

std::string ChannelTypeText(const TNetObj& net, int type) {
    const ChannelType& t = net.ChannelTypes[type];
    return std::to_string(t.Capacity) + "|" + std::to_string(t.Value2);
}

std::string HostText(const TNetObj& net, int host) {
    return std::to_string(host) + "--" + net.HostName(host);
}

std::string ChannelText(const TNetObj& net, int channel) {
    const ChannelRecord& c = net.Channels[channel];
    return std::to_string(c.HostA) + "-" + std::to_string(c.HostB);
}

double PathDelay(const TNetObj& net, int path) {
    const PathRecord& record = net.PathTable.Records[path];
    double sum = 0.0;
    for (int k = 1; k < record[0]; ++k) {
        sum = sum + net.DelayMatrix[record[k]][record[k + 1]];
    }
    return sum;
}

std::string PathText(const TNetObj& net, int path) {
    const PathRecord& record = net.PathTable.Records[path];
    std::string hosts;
    for (int k = 1; k <= record[0]; ++k) {
        if (k > 1)
            hosts += "-";
        hosts += std::to_string(record[k]);
    }
    return std::to_string(path) + " | " + hosts + " | " + FormatFixed3(PathDelay(net, path));
}

std::string UnroutedText(const TNetObj& net, int item) {
    const UnroutedDemand& d = net.Unrouted.Items[item];
    return std::to_string(d.RowHost) + "-" + std::to_string(d.ColumnHost) + " | нет пути | " +
           std::to_string(d.Load);
}

std::string ClassText(ConnectivityClass cls) {
    switch (cls) {
        case Disconnected:
            return "сеть несвязна";
        case Connected:
            return "сеть связна";
        case Biconnected:
            return "сеть двусвязна";
    }
    return "";
}

}  // namespace net
