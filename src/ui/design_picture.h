// A design drawn over the picture of the network: its new channels, and
// those whose type it changes, as yellow dashes; the present channels it
// drops as magenta dashes over their green lines. Channels it keeps as they are
// stay as drawn. Dashes stop short of the hosts' discs.
#pragma once

#include <QColor>
#include <vector>

#include "canvas_painter.h"
#include "netobj.h"
#include "network_design.h"

namespace paint {

inline const QColor ProposedColour(255, 255, 0);
inline const QColor DroppedColour(255, 0, 255);

void PaintDesign(CanvasPainter& canvas, const net::TNetObj& net,
                 const std::vector<design::DesignChannel>& channels);

}  // namespace paint
