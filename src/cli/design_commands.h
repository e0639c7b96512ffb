// The runner's commands of the design advisor: `design` and `cost`.
#pragma once

#include "script.h"

namespace cli {

// design [survive] [keep] [umax U] [seconds S] [apply]
//   design STATUS COST BOUND
//   design channel A B TYPE            (each channel, ascending)
//   design method PLACED UNPLACED UNPLACED_LOAD FAILURES_LEAVING_LOAD
// and, when the method's routing leaves load unplaced on that design, the
// same three kinds of lines prefixed "design method-carried" for the
// cheapest design found that it carries ("stopped - -" when none was found).
void DesignCommand(Session& s, ScriptLine& line);

// cost: "cost COST" of the present network.
void CostCommand(Session& s, ScriptLine& line);

}  // namespace cli
