// The texts under which the items of the network are listed to the user.
#pragma once

#include <string>

#include "netobj.h"

namespace net {

std::string HostTypeText(const TNetObj& net, int type);     // "Value1|Value2"
std::string ChannelTypeText(const TNetObj& net, int type);  // "Capacity|Value2"
std::string HostText(const TNetObj& net, int host);         // "12--A"
std::string ChannelText(const TNetObj& net, int channel);   // "3-10"
std::string PathText(const TNetObj& net, int path);         // "2 | 5-3-1 | 1.750"
std::string UnroutedText(const TNetObj& net, int item);     // "4-7 | нет пути | 500"
std::string ClassText(ConnectivityClass cls);               // "сеть связна"
// Sum of the delay figures along a path, rounded to double after each step.
double PathDelay(const TNetObj& net, int path);

}  // namespace net
