#include "network_picture.h"

#include <QPoint>
#include <algorithm>

#include "numconv.h"

namespace paint {
namespace {

const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);
const QColor Green(0, 128, 0);
const QColor Navy(0, 0, 128);
const QColor Red(255, 0, 0);

// Positions come from files too and may lie anywhere; far outside every
// picture they are drawn at this distance, so that the arithmetic of the
// drawing cannot overflow.
constexpr int64_t FarAway = 1 << 22;

int Px(int64_t value) {
    return static_cast<int>(std::clamp(value, -FarAway, FarAway));
}

QPoint Position(const net::TNetObj& net, int host) {
    return QPoint(Px(net.Hosts[host].X), Px(net.Hosts[host].Y));
}

void Disc(CanvasPainter& canvas, const net::HostRecord& host, int radius) {
    const int64_t x = host.X, y = host.Y;
    canvas.Ellipse(Px(x - radius), Px(y - radius), Px(x + radius), Px(y + radius));
}

void Number(CanvasPainter& canvas, const net::HostRecord& host, int number) {
    canvas.TextOut(Px(int64_t{host.X} - NumberLeft), Px(int64_t{host.Y} - NumberUp),
                   QString::number(number));
}

void Channels(CanvasPainter& canvas, const net::TNetObj& net) {
    canvas.BrushColor = Green;
    canvas.PenColor = Green;
    canvas.FontColor = Navy;
    for (int c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const int a = net.Channels[c].HostA;
        const int b = net.Channels[c].HostB;
        if (!net::IsHostNumber(a) || !net::IsHostNumber(b))
            continue;
        const int64_t xa = net.Hosts[a].X, ya = net.Hosts[a].Y;
        const int64_t xb = net.Hosts[b].X, yb = net.Hosts[b].Y;
        canvas.Line(Px(xa), Px(ya), Px(xb), Px(yb));
        // Integer halves round toward zero.
        canvas.TextOut(Px((xa + xb) / 2), Px((ya + yb) / 2),
                       QString::fromStdString(net::FormatFixed3(net.DelayMatrix[a][b])));
    }
}

void Hosts(CanvasPainter& canvas, const net::TNetObj& net) {
    canvas.BrushColor = Navy;
    canvas.PenColor = Navy;
    for (int i = 1; i <= net::MaxHosts; ++i) {
        if (net.HostPresent[i])
            Disc(canvas, net.Hosts[i], DiscRadius);
    }
    canvas.FontColor = Red;
    for (int i = 1; i <= net::MaxHosts; ++i) {
        if (net.HostPresent[i])
            Number(canvas, net.Hosts[i], i);
    }
}

void WhiteLine(CanvasPainter& canvas, QPoint a, QPoint b) {
    canvas.BrushColor = White;
    canvas.PenColor = White;
    canvas.Line(a.x(), a.y(), b.x(), b.y());
}

}  // namespace

void PaintNetwork(CanvasPainter& canvas, const net::TNetObj& net, QSize size) {
    canvas.BrushColor = Black;
    canvas.FillRect(QRect(QPoint(0, 0), size));
    Channels(canvas, net);
    Hosts(canvas, net);
}

void MarkHost(CanvasPainter& canvas, const net::TNetObj& net, int host) {
    if (!net::IsHostNumber(host))
        return;
    const net::HostRecord& record = net.Hosts[host];
    canvas.PenColor = White;
    canvas.BrushColor = Black;
    Disc(canvas, record, MarkRadius);
    canvas.BrushColor = Navy;
    Disc(canvas, record, DiscRadius);
    canvas.FontColor = Red;
    Number(canvas, record, host);
}

void MarkChannel(CanvasPainter& canvas, const net::TNetObj& net, int channel) {
    if (!net::IsChannelNumber(channel))
        return;
    const net::ChannelRecord& record = net.Channels[channel];
    if (!net::IsHostNumber(record.HostA) || !net::IsHostNumber(record.HostB))
        return;
    WhiteLine(canvas, Position(net, record.HostA), Position(net, record.HostB));
}

void MarkPath(CanvasPainter& canvas, const net::TNetObj& net, int path) {
    if (path < 1 || path > net::MaxPaths)
        return;
    const net::PathRecord& record = net.PathTable.Records[path];
    const int n = std::clamp(record[0], 0, net::PathElements - 1);
    for (int k = 1; k <= n; ++k) {
        if (!net::IsHostNumber(record[k]))
            return;
    }
    for (int k = 1; k < n; ++k) {
        WhiteLine(canvas, Position(net, record[k]), Position(net, record[k + 1]));
    }
    if (n >= 1)
        MarkHost(canvas, net, record[1]);
}

void PaintMark(CanvasPainter& canvas, const net::TNetObj& net, const Mark& mark) {
    switch (mark.kind) {
        case Mark::Host:
            MarkHost(canvas, net, mark.number);
            break;
        case Mark::Channel:
            MarkChannel(canvas, net, mark.number);
            break;
        case Mark::Path:
            MarkPath(canvas, net, mark.number);
            break;
        case Mark::Channels:
            for (const int channel : mark.numbers)
                MarkChannel(canvas, net, channel);
            break;
        case Mark::None:
            break;
    }
}

}  // namespace paint
