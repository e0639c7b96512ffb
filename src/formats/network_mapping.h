// Putting a network read from an exchange file onto the model's slots.
//
// Nodes become hosts 1..n in file order (host type 1, the name in
// Windows-1251 cut to 20 bytes), links channels of the given type in file
// order (self-loops dropped, a second link between one pair merged into the
// first), demands entries of the load matrix (summed per ordered pair, scaled
// and rounded to the nearest integer, halves away from zero; zeros and
// self-demands dropped). Positions are fitted into the drawing area at its
// designed size; see PlaceNodes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "netobj.h"
#include "source_network.h"

namespace formats {

// The drawing area at its designed size, and the margin that keeps the host
// discs and numbers inside it.
constexpr int AreaWidth = 573;
constexpr int AreaHeight = 473;
constexpr int AreaMargin = 20;

// What an import had to change, counted.
struct ImportReport {
    int droppedLoops = 0;   // links from a node to itself
    int mergedLinks = 0;    // second links between one pair
    int movedHosts = 0;     // moved off a clash
    int unplacedNodes = 0;  // nodes without coordinates, placed where free
    int renamedHosts = 0;   // names transliterated, replaced or cut
    int droppedSelfDemands = 0;
    int mergedDemands = 0;       // second demands of one ordered pair
    int droppedZeroDemands = 0;  // pairs whose scaled load rounds to 0

    bool Anything() const;
    // One line in Russian naming every count that is not 0.
    std::string Text() const;
};

struct ImportCounts {
    int hosts = 0;
    int channels = 0;
    int loads = 0;  // positive entries of the load matrix
};

// Pixel positions of the nodes, in node order, none of two clashing:
// geographical coordinates projected (longitude scaled by the cosine of the
// mean latitude, north up) and fitted into the area keeping the aspect;
// pixel coordinates kept when all lie inside the area (or, in a file marked
// as holding drawing positions, when all are whole numbers), fitted otherwise;
// clashing hosts moved to the nearest free position, nodes without
// coordinates placed where free.
struct PlacedNode {
    int32_t x = 0;
    int32_t y = 0;
};
std::vector<PlacedNode> PlaceNodes(const SourceNetwork& source, ImportReport& report);

// Replaces the hosts, channels, loads and name of `net` by the source's, as
// a project load does: the type tables and the dynamic flag stay, the routing
// results are cleared. Refuses more than 18 nodes and a load that does not
// fit in 32 bits before anything changes. `scale` is finite and positive.
ImportReport MapIntoNetwork(const SourceNetwork& source, const std::string& name,
                            int32_t channelType, double scale, net::TNetObj& net);

ImportCounts CountsOf(const net::TNetObj& net);

}  // namespace formats
