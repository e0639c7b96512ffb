// The runner's picture and report commands: the current network drawn by the
// windows' own painting code, without a display.
//
// The drawing needs Qt, which takes longer to load than every other command
// takes to run; it lives in a module of its own (netdesigner-render) that the
// runner loads only when a script asks for a picture or a report.
#pragma once

#include "netobj.h"
#include "script.h"

namespace cli {

// render FILE.png|FILE.svg [WIDTH HEIGHT]
void Render(Session& s, ScriptLine& line);
// report FILE.pdf
void Report(Session& s, ScriptLine& line);

}  // namespace cli

// The module's entry: draws `net` into `file` (PNG or SVG by its extension)
// at width x height pixels; failures are raised as errors with their message.
extern "C" void NetdRenderPicture(const net::TNetObj& net, const char* file, int width, int height);
using NetdRenderPictureFn = decltype(&NetdRenderPicture);

// The module's entry for the report: writes the report of `net` into `file`
// as PDF; failures are raised as errors with their message.
extern "C" void NetdWriteReport(const net::TNetObj& net, const char* file);
using NetdWriteReportFn = decltype(&NetdWriteReport);
