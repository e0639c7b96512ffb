// The picture of the network: on black, the channels as green lines with
// their delay figures at the midpoints, then the hosts as navy discs with
// their numbers in red; and the white marks of a chosen host, channel or path.
#pragma once

#include <QSize>
#include <vector>

#include "canvas_painter.h"
#include "netobj.h"

namespace paint {

// A host's disc spans this many pixels on each side of its position; the
// mark drawn around a chosen host spans MarkRadius.
constexpr int DiscRadius = 8;
constexpr int MarkRadius = 12;
// A host's number starts this far left of and above its position.
constexpr int NumberLeft = 3;
constexpr int NumberUp = 6;

// The whole picture, of the given size, from the network as it is.
void PaintNetwork(CanvasPainter& canvas, const net::TNetObj& net, QSize size);

// The marks drawn over the picture. Each draws nothing for a number out of
// range or a record that names no host.
void MarkHost(CanvasPainter& canvas, const net::TNetObj& net, int host);
void MarkChannel(CanvasPainter& canvas, const net::TNetObj& net, int channel);
void MarkPath(CanvasPainter& canvas, const net::TNetObj& net, int path);

// The one mark the drawing shows over the picture, if any: a host, a
// channel, a path, or several channels at once (`numbers`).
struct Mark {
    enum Kind { None, Host, Channel, Path, Channels };
    Kind kind = None;
    int number = 0;
    std::vector<int> numbers;

    bool operator==(const Mark&) const = default;
};

void PaintMark(CanvasPainter& canvas, const net::TNetObj& net, const Mark& mark);

}  // namespace paint
