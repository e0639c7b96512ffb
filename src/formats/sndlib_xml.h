// SNDlib XML: network/networkStructure/nodes (attribute coordinatesType
// "geographical" or "pixel") with node id= and coordinates/x, y;
// networkStructure/links/link with source and target; demands/demand with
// source, target and demandValue. Everything else is read past.
#pragma once

#include <string>
#include <string_view>

#include "source_network.h"

namespace formats {

SourceNetwork ParseSndlibXml(std::string_view text, const std::string& file);

}  // namespace formats
