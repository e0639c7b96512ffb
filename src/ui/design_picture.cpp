#include "design_picture.h"

#include <algorithm>
#include <cmath>

#include "network_picture.h"

namespace paint {
namespace {

constexpr double DashLength = 6.0;
constexpr double GapLength = 4.0;
// Dashes start and end this far from a host's centre, clear of its disc.
constexpr double EndClearance = DiscRadius + 2.0;

bool DrawnHost(const net::TNetObj& net, int32_t host) {
    return net::IsHostNumber(host) && net.HostPresent[host];
}

QPointF At(const net::TNetObj& net, int32_t host) {
    return QPointF(net.Hosts[host].X, net.Hosts[host].Y);
}

void DashedLine(CanvasPainter& canvas, QPointF from, QPointF to) {
    const QPointF along = to - from;
    const double length = std::hypot(along.x(), along.y());
    // Positions from files may lie far away: such lines are not dashed.
    if (length <= 2 * EndClearance || length > 1e5)
        return;
    const QPointF unit = along / length;
    for (double start = EndClearance; start < length - EndClearance;
         start += DashLength + GapLength) {
        const double end = std::min(start + DashLength, length - EndClearance);
        const QPointF a = from + unit * start;
        const QPointF b = from + unit * end;
        canvas.Line(static_cast<int>(std::lround(a.x())), static_cast<int>(std::lround(a.y())),
                    static_cast<int>(std::lround(b.x())), static_cast<int>(std::lround(b.y())));
    }
}

bool SameEnds(const net::ChannelRecord& record, const design::DesignChannel& channel) {
    return (record.HostA == channel.HostA && record.HostB == channel.HostB) ||
           (record.HostA == channel.HostB && record.HostB == channel.HostA);
}

// The present channel of the design's pair with the design's type.
bool PresentAsIs(const net::TNetObj& net, const design::DesignChannel& channel) {
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (net.ChannelPresent[c] && SameEnds(net.Channels[c], channel))
            return net.Channels[c].TypeNo == channel.Type;
    }
    return false;
}

bool InDesign(const net::ChannelRecord& record,
              const std::vector<design::DesignChannel>& channels) {
    return std::any_of(channels.begin(), channels.end(),
                       [&record](const design::DesignChannel& d) { return SameEnds(record, d); });
}

}  // namespace

void PaintDesign(CanvasPainter& canvas, const net::TNetObj& net,
                 const std::vector<design::DesignChannel>& channels) {
    canvas.PenColor = DroppedColour;
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        const net::ChannelRecord& record = net.Channels[c];
        if (net.ChannelPresent[c] && DrawnHost(net, record.HostA) && DrawnHost(net, record.HostB) &&
            !InDesign(record, channels))
            DashedLine(canvas, At(net, record.HostA), At(net, record.HostB));
    }
    canvas.PenColor = ProposedColour;
    for (const design::DesignChannel& channel : channels) {
        if (DrawnHost(net, channel.HostA) && DrawnHost(net, channel.HostB) &&
            !PresentAsIs(net, channel))
            DashedLine(canvas, At(net, channel.HostA), At(net, channel.HostB));
    }
}

}  // namespace paint
