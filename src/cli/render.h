// The runner's picture command: the current network drawn by the windows'
// own painting code, without a display.
#pragma once

#include "script.h"

namespace cli {

// render FILE.png|FILE.svg [WIDTH HEIGHT]
void Render(Session& s, ScriptLine& line);

}  // namespace cli
