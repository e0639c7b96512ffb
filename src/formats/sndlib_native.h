// The SNDlib native format: a header line, then sections
//   NODES ( name ( x y ) ... )
//   LINKS ( id ( source target ) capacity cost routing_cost setup_cost ( module ... ) ... )
//   DEMANDS ( id ( source target ) routing_unit value max_path_length ... )
// and the optional ADMISSIBLE_PATHS and META, read past; "#" starts a comment.
//
// The format does not say what the node coordinates are: a comment line
// "# coordinates: pixel" or "# coordinates: geographical" (which the export
// writes) says it; otherwise they are geographical when every x lies in
// -180..180 and every y in -90..90, pixels otherwise. "# positions: drawing"
// (also written by the export) marks pixels that are drawing positions.
//
// Node ids that the export had to escape carry "%XX" for a byte that may not
// stand in an id and end in "%~N" when made unique; the name is the id with
// both undone.
#pragma once

#include <string>
#include <string_view>

#include "source_network.h"

namespace formats {

SourceNetwork ParseSndlibNative(std::string_view text, const std::string& file);

// The id the export writes for a host name; `unique` is appended as "%~N"
// when not 0 (an empty name or one already used).
std::string NativeNodeId(const std::string& name, int unique);
// The name an id stands for.
std::string NativeNodeName(std::string_view id);

}  // namespace formats
