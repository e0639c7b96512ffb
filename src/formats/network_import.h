// Importing a network from an exchange file, chosen by its extension: ".txt"
// SNDlib native, ".xml" SNDlib XML, ".gml" GML. The same steps in the
// runner and the windows: read and check the whole file first (nothing
// changes on any error), show or print what it holds, then map it.
#pragma once

#include <cstdint>
#include <string>

#include "network_mapping.h"
#include "source_network.h"

namespace formats {

// The network the file describes, at most 18 nodes; a FormatError or
// IoError names the file and the place otherwise.
SourceNetwork ReadNetworkFile(const std::string& path);

struct SourceSummary {
    size_t nodes = 0;
    size_t links = 0;
    size_t demands = 0;
    double demandTotal = 0.0;
};
SourceSummary Summarize(const SourceNetwork& source);

// The network's name after an import: the file's name without folder and
// extension.
std::string NetworkNameOfFile(const std::string& path);

// Checks the scale a user typed: finite and above 0.
double CheckedScale(double scale);

// ReadNetworkFile, then MapIntoNetwork under the file's name.
ImportReport ImportNetworkFile(const std::string& path, int32_t channelType, double scale,
                               net::TNetObj& net);

}  // namespace formats
