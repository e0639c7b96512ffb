// The design report: the network, its figures and its weak points as one
// paged document in Russian, painted on any paged device (a PDF file, a
// printer). The drawing goes onto the page as the painting library paints
// it, so that it stays lines and text at any scale.
#pragma once

#include <QDateTime>
#include <QPagedPaintDevice>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "netobj.h"

namespace paint {

struct ProposedChannel {
    int32_t HostA = 0;
    int32_t HostB = 0;
    int32_t Type = 0;
    bool Kept = false;  // a present channel kept as it is
};

// What the design advisor last proposed, when the window has a result.
struct DesignSummary {
    std::string Status;  // in Russian: how the search ended
    double Cost = 0.0;
    double Bound = 0.0;  // no design costs less
    std::vector<ProposedChannel> Channels;
};

struct ReportOptions {
    std::optional<DesignSummary> Design;
    QDateTime Made = QDateTime::currentDateTime();
};

// Paints the whole report on `device`, whose page size and margins the
// caller has set, and returns the number of pages. Raises what routing
// raises (the routing sections route copies of the network).
int PaintReport(QPagedPaintDevice& device, const net::TNetObj& net, const ReportOptions& options);

// The report as an A4 PDF file. The file is replaced only once the whole
// report is written; on a failure it keeps its old contents and an IoError
// names it. Returns the number of pages.
int SaveReport(const QString& file, const net::TNetObj& net, const ReportOptions& options);

}  // namespace paint
