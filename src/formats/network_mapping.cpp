#include "network_mapping.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

#include "errors.h"
#include "transliteration.h"

namespace formats {
namespace {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// The points scaled alike on both axes and centred in the area inside its
// margin; a single point, or points on one line, in the middle.
std::vector<Point> Fitted(const std::vector<Point>& points) {
    double minX = std::numeric_limits<double>::max(), maxX = std::numeric_limits<double>::lowest();
    double minY = minX, maxY = maxX;
    for (const Point& p : points) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    const double width = AreaWidth - 1 - 2 * AreaMargin;
    const double height = AreaHeight - 1 - 2 * AreaMargin;
    const double spanX = maxX - minX, spanY = maxY - minY;
    double scale = 1.0;
    if (spanX > 0 && spanY > 0)
        scale = std::min(width / spanX, height / spanY);
    else if (spanX > 0)
        scale = width / spanX;
    else if (spanY > 0)
        scale = height / spanY;
    const double left = AreaMargin + (width - spanX * scale) / 2;
    const double top = AreaMargin + (height - spanY * scale) / 2;
    std::vector<Point> fitted;
    for (const Point& p : points)
        fitted.push_back({left + (p.x - minX) * scale, top + (p.y - minY) * scale});
    return fitted;
}

bool InsideArea(double x, double y) {
    return x >= 0 && x <= AreaWidth - 1 && y >= 0 && y <= AreaHeight - 1;
}

// The positions in drawing coordinates of the nodes that have coordinates.
std::vector<Point> DrawingPoints(const SourceNetwork& source) {
    std::vector<Point> points;
    double latitudes = 0.0;
    for (const SourceNode& node : source.nodes) {
        if (node.position) {
            points.push_back({node.position->x, node.position->y});
            latitudes += node.position->y;
        }
    }
    if (points.empty())
        return points;
    if (source.coordinates == CoordinateKind::Geographical) {
        const double meanLatitude = latitudes / static_cast<double>(points.size());
        const double shrink = std::cos(meanLatitude * std::numbers::pi / 180.0);
        for (Point& p : points)
            p = {p.x * shrink, -p.y};
        return Fitted(points);
    }
    const bool kept = std::all_of(points.begin(), points.end(), [&source](const Point& p) {
        if (source.drawingPositions)
            return p.x == std::round(p.x) && p.y == std::round(p.y);
        return InsideArea(std::round(p.x), std::round(p.y));
    });
    return kept ? points : Fitted(points);
}

bool Clashes(const std::vector<PlacedNode>& placed, int32_t x, int32_t y) {
    return std::any_of(placed.begin(), placed.end(), [&](const PlacedNode& p) {
        return std::abs(p.x - x) < net::ProximityPixels && std::abs(p.y - y) < net::ProximityPixels;
    });
}

// The free position inside the margin nearest to (x, y), by distance, then
// upper rows, then left columns first.
PlacedNode NearestFree(const std::vector<PlacedNode>& placed, int32_t x, int32_t y) {
    const int32_t left = AreaMargin, right = AreaWidth - 1 - AreaMargin;
    const int32_t top = AreaMargin, bottom = AreaHeight - 1 - AreaMargin;
    x = std::clamp(x, left, right);
    y = std::clamp(y, top, bottom);
    if (!Clashes(placed, x, y))
        return {x, y};
    PlacedNode best{x, y};
    int64_t bestDistance = -1;
    // Equally near places lie on different rings too ((5, 0) and (3, 4)):
    // the tie goes by row, then column, not by the ring searched first.
    const auto better = [&best, &bestDistance](int64_t distance, int32_t cx, int32_t cy) {
        return bestDistance < 0 || distance < bestDistance ||
               (distance == bestDistance && (cy < best.y || (cy == best.y && cx < best.x)));
    };
    // A free position on ring r is at most r * sqrt(2) away: the rings up to
    // that radius hold the nearest one.
    int32_t lastRing = std::max(AreaWidth, AreaHeight);
    for (int32_t r = 1; r <= lastRing; ++r) {
        for (int32_t dy = -r; dy <= r; ++dy) {
            for (int32_t dx = -r; dx <= r; ++dx) {
                if (std::max(std::abs(dx), std::abs(dy)) != r)
                    continue;
                const int32_t cx = x + dx, cy = y + dy;
                if (cx < left || cx > right || cy < top || cy > bottom || Clashes(placed, cx, cy))
                    continue;
                const int64_t distance = int64_t{dx} * dx + int64_t{dy} * dy;
                if (better(distance, cx, cy)) {
                    best = {cx, cy};
                    bestDistance = distance;
                }
            }
        }
        if (bestDistance >= 0 && lastRing == std::max(AreaWidth, AreaHeight))
            lastRing = static_cast<int32_t>(std::ceil(r * std::numbers::sqrt2));
    }
    return best;
}

int32_t Rounded(double value) {
    return static_cast<int32_t>(std::round(value));  // halves away from zero
}

std::string ReportPart(int count, const char* what) {
    return what + std::string(" ") + std::to_string(count);
}

}  // namespace

bool ImportReport::Anything() const {
    return droppedLoops + mergedLinks + movedHosts + unplacedNodes + renamedHosts +
               droppedSelfDemands + mergedDemands + droppedZeroDemands >
           0;
}

std::string ImportReport::Text() const {
    const std::pair<int, const char*> parts[] = {
        {droppedLoops, "отброшено петель"},
        {mergedLinks, "объединено повторных связей"},
        {movedHosts, "сдвинуто слишком близких маршрутизаторов"},
        {unplacedNodes, "размещено узлов без координат"},
        {renamedHosts, "изменено имён"},
        {droppedSelfDemands, "отброшено требований узла к себе"},
        {mergedDemands, "сложено повторных требований"},
        {droppedZeroDemands, "отброшено требований, округлённых до 0"},
    };
    std::string text;
    for (const auto& [count, what] : parts) {
        if (count > 0)
            text += (text.empty() ? "" : ", ") + ReportPart(count, what);
    }
    return text;
}

std::vector<PlacedNode> PlaceNodes(const SourceNetwork& source, ImportReport& report) {
    const std::vector<Point> points = DrawingPoints(source);
    std::vector<PlacedNode> placed;
    std::vector<size_t> order;  // node index of each placed position
    size_t next = 0;
    for (size_t k = 0; k < source.nodes.size(); ++k) {
        if (!source.nodes[k].position)
            continue;
        const int32_t x = Rounded(points[next].x), y = Rounded(points[next].y);
        ++next;
        PlacedNode position{x, y};
        if (Clashes(placed, x, y)) {
            position = NearestFree(placed, x, y);
            ++report.movedHosts;
        }
        placed.push_back(position);
        order.push_back(k);
    }
    // Nodes without coordinates: on a circle when no node has any, else as
    // near the middle as is free.
    const size_t withoutCount = source.nodes.size() - placed.size();
    size_t without = 0;
    for (size_t k = 0; k < source.nodes.size(); ++k) {
        if (source.nodes[k].position)
            continue;
        int32_t x = AreaWidth / 2, y = AreaHeight / 2;
        if (withoutCount == source.nodes.size() && withoutCount > 1) {
            const double angle = 2 * std::numbers::pi * static_cast<double>(without) /
                                 static_cast<double>(withoutCount);
            const double radius = (AreaHeight - 1 - 2 * AreaMargin) / 2.0;
            x = Rounded(AreaWidth / 2 + radius * std::sin(angle));
            y = Rounded(AreaHeight / 2 - radius * std::cos(angle));
        }
        ++without;
        placed.push_back(NearestFree(placed, x, y));
        order.push_back(k);
        ++report.unplacedNodes;
    }
    std::vector<PlacedNode> byNode(source.nodes.size());
    for (size_t k = 0; k < order.size(); ++k)
        byNode[order[k]] = placed[k];
    return byNode;
}

ImportReport MapIntoNetwork(const SourceNetwork& source, const std::string& name,
                            int32_t channelType, double scale, net::TNetObj& net) {
    if (source.nodes.size() > static_cast<size_t>(net::MaxHosts))
        throw net::NetError("В сети может быть не больше " + std::to_string(net::MaxHosts) +
                            " маршрутизаторов, а узлов " + std::to_string(source.nodes.size()));
    ImportReport report;
    // Loads first: the only step that may fail.
    const size_t n = source.nodes.size();
    std::vector<std::vector<double>> sums(n, std::vector<double>(n, 0.0));
    std::vector<std::vector<bool>> seen(n, std::vector<bool>(n, false));
    for (const SourceDemand& d : source.demands) {
        if (d.source == d.target) {
            ++report.droppedSelfDemands;
            continue;
        }
        report.mergedDemands += seen[d.source][d.target] ? 1 : 0;
        seen[d.source][d.target] = true;
        sums[d.source][d.target] += d.value;
    }
    net::HostMatrix<int32_t> loads{};
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j) {
            if (!seen[i][j])
                continue;
            const double scaled = std::round(sums[i][j] * scale);
            if (!(scaled <= std::numeric_limits<int32_t>::max()))
                throw net::NetError("Нагрузка от «" + source.nodes[i].name + "» к «" +
                                    source.nodes[j].name + "» после умножения на масштаб " +
                                    "больше 2147483647; уменьшите масштаб");
            loads[i + 1][j + 1] = static_cast<int32_t>(scaled);
            report.droppedZeroDemands += scaled == 0 ? 1 : 0;
        }
    }

    net::TNetObj built;
    built.HostTypes = net.HostTypes;
    built.HostTypeCount = net.HostTypeCount;
    built.ChannelTypes = net.ChannelTypes;
    built.ChannelTypeCount = net.ChannelTypeCount;
    built.GeneralReal = net.GeneralReal;
    built.NetworkName = name;
    const std::vector<PlacedNode> positions = PlaceNodes(source, report);
    for (size_t k = 0; k < n; ++k) {
        const std::string& original = source.nodes[k].name;
        built.AddHost(positions[k].x, positions[k].y, WithoutLatinMarks(original), 1);
        report.renamedHosts += built.HostName(static_cast<int32_t>(k + 1)) != original ? 1 : 0;
    }
    for (const SourceLink& link : source.links) {
        const int32_t a = static_cast<int32_t>(link.source + 1);
        const int32_t b = static_cast<int32_t>(link.target + 1);
        if (a == b) {
            ++report.droppedLoops;
            continue;
        }
        const int32_t before = built.ChannelCount;
        built.AddChannel(a, b, channelType);
        report.mergedLinks += built.ChannelCount == before ? 1 : 0;
    }
    built.LoadMatrix = loads;
    built.DynamicRouting = net.DynamicRouting;
    net = std::move(built);
    return report;
}

ImportCounts CountsOf(const net::TNetObj& net) {
    ImportCounts counts{net.HostCount, net.ChannelCount, 0};
    for (int32_t i = 1; i <= net::MaxHosts; ++i) {
        for (int32_t j = 1; j <= net::MaxHosts; ++j)
            counts.loads += net.LoadMatrix[i][j] > 0 ? 1 : 0;
    }
    return counts;
}

}  // namespace formats
