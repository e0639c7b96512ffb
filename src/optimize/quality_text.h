// The routing quality as the user reads it: the three rows of the quality
// window and the sentence under them, shared by the window and the report.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "netobj.h"
#include "routing_quality.h"

namespace optimize {

// The column captions; "\n" marks where a caption may break.
const std::vector<std::string>& QualityCaptions();

// The rows "жадная", "улучшенная" and "граница", one cell per caption.
std::vector<std::vector<std::string>> QualityRows(const QualityReport& report);

// The percent by which `value` is above `bound`, 2 decimals, "-" where
// either is missing or the bound is 0.
std::string GapText(const std::optional<double>& value, const std::optional<double>& bound);

// What the bounds say: no bound, a load no routing carries (naming the
// channels that limit it), or the delay bound and how close it is.
std::string BoundSentence(const net::TNetObj& net, const QualityBounds& bounds);

}  // namespace optimize
