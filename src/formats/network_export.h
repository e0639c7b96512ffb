// Writing the current network as an exchange file: ".txt" SNDlib native,
// ".gml" GML. Pixel coordinates, host names, one link per present channel
// (with its type's capacity as pre-installed capacity, 0 when the type has
// no record) and one demand per positive load entry between present hosts.
// Importing the file gives back the hosts, channels and loads.
#pragma once

#include <string>

#include "netobj.h"

namespace formats {

std::string SndlibNativeText(const net::TNetObj& net);
std::string GmlText(const net::TNetObj& net);

// Writes the file chosen by the extension, making its folder when missing;
// the file is replaced only when complete.
// A failure raises IoError "Сеть не записана в файл «FILE»: REASON".
void ExportNetworkFile(const net::TNetObj& net, const std::string& path);

}  // namespace formats
