// GML as the Internet Topology Zoo and the graph tools write it:
//   graph [ node [ id 1 label "Name" Latitude 52.5 Longitude 13.4 ] edge [ source 1 target 2 ] ]
// Keys with numbers, strings (with &-entities) or nested lists; keys other
// than these are read past. A node's position is its Longitude and Latitude
// (geographical) or else its graphics [ x y ] (pixels). The export also
// writes demand [ source 1 target 2 value 1000 ] lists, read back here;
// other files have no demands; and positions "drawing", which marks pixels
// that are drawing positions.
#pragma once

#include <string>
#include <string_view>

#include "source_network.h"

namespace formats {

SourceNetwork ParseGml(std::string_view text, const std::string& file);

// A GML string literal holding the UTF-8 text: ASCII, the rest as &#N;.
std::string GmlString(const std::string& utf8);

}  // namespace formats
