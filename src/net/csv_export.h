// The tables of the network as CSV text for a spreadsheet: UTF-8 with a byte
// order mark (so that a spreadsheet takes the Russian captions as UTF-8
// without asking), one header row, comma separators, a point as the decimal
// separator whatever the locale, fields quoted where they need it, lines
// ending in "\n".
#pragma once

#include <string>
#include <vector>

#include "failures.h"
#include "netobj.h"

namespace net {

// Present channels: number, ends, type, capacity (empty when the type has no
// record in the table), residual and delay figure of the last routing run,
// length in full precision.
std::string ChannelsCsv(const TNetObj& net);
// Paths of the last routing run: number, hosts "1→2→4", delay sum, load.
std::string PathsCsv(const TNetObj& net);
// Demands of the last routing run that found no path.
std::string UnroutedCsv(const TNetObj& net);
// Rows of AnalyzeFailures in their order.
std::string FailuresCsv(const std::vector<FailureRow>& rows);

struct CsvFile {
    std::string Name;
    std::string Text;
};

// channels.csv, paths.csv, unrouted.csv and failures.csv; the failure
// analysis runs here and may raise a routing error.
std::vector<CsvFile> CsvFiles(const TNetObj& net);

// One CSV line of the fields given, quoted where they need it; the text of a
// table starts with CsvByteOrderMark.
std::string CsvRow(const std::vector<std::string>& fields);
constexpr const char* CsvByteOrderMark = "\xEF\xBB\xBF";

// Writes the files into the directory, created with its parents when
// missing. The files are replaced together: after a failure they all hold
// their previous contents. A failure raises IoError
// "Таблицы не записаны в каталог «DIR» (...): REASON".
void WriteCsvFiles(std::vector<CsvFile> files, const std::string& directory);

// WriteCsvFiles of CsvFiles: everything is computed before any file is
// touched.
void ExportCsv(const TNetObj& net, const std::string& directory);

}  // namespace net
