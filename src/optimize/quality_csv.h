// The quality of the routing as a CSV table beside the others.
#pragma once

#include <string>
#include <vector>

#include "csv_export.h"
#include "routing_quality.h"

namespace optimize {

// quality.csv: a row for the greedy routing, the improved one and the bound
// over splittable routings; figures with 6 decimals, empty where none.
std::string QualityCsv(const QualityReport& report);

// The model's CSV tables and quality.csv; raises what routing raises.
std::vector<net::CsvFile> CsvFilesWithQuality(const net::TNetObj& net);

// All the tables written together, as net::WriteCsvFiles writes them.
void ExportCsvWithQuality(const net::TNetObj& net, const std::string& directory);

}  // namespace optimize
