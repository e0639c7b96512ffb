// A network as an exchange file describes it, before it is mapped onto the
// fixed slots of the model: nodes, links and demands in file order, with the
// ends as indexes into the node list.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace formats {

enum class CoordinateKind { None, Geographical, Pixel };

struct SourcePoint {
    double x = 0.0;  // longitude for geographical coordinates
    double y = 0.0;  // latitude for geographical coordinates
};

struct SourceNode {
    std::string name;  // UTF-8
    std::optional<SourcePoint> position;
};

struct SourceLink {
    size_t source = 0;
    size_t target = 0;
};

struct SourceDemand {
    size_t source = 0;
    size_t target = 0;
    double value = 0.0;  // finite, not negative
};

struct SourceNetwork {
    CoordinateKind coordinates = CoordinateKind::None;
    // The file says its pixel coordinates are positions on this program's
    // drawing, as its export writes them: they are kept wherever they lie.
    bool drawingPositions = false;
    std::vector<SourceNode> nodes;
    std::vector<SourceLink> links;
    std::vector<SourceDemand> demands;
};

}  // namespace formats
