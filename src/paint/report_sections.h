// The text of the design report as HTML for a text document: its sections in
// order, each present only when it has something to say. The drawing stands
// as a marker paragraph that the document replaces by the picture itself.
#pragma once

#include <QFontMetricsF>
#include <QString>
#include <optional>
#include <vector>

#include "failures.h"
#include "netobj.h"
#include "report_document.h"
#include "routing_quality.h"

namespace paint {

// Everything the report says, computed before any page is laid out.
struct ReportData {
    const net::TNetObj* Net = nullptr;
    // The last routing run left paths or unplaced demands.
    bool Routed = false;
    // Its demands are those of the load table as it is now.
    bool RoutingCurrent = false;
    std::optional<optimize::QualityReport> Quality;
    std::vector<net::FailureRow> Failures;  // without the row of no failure
    std::optional<DesignSummary> Design;
    QDateTime Made;
};

ReportData CollectReportData(const net::TNetObj& net, const ReportOptions& options);

// The paragraph the document replaces by the drawing.
QString DrawingMarker();

// Utilisation at or above this share of capacity marks a channel as busy.
constexpr double BusyShare = 0.8;
// The failure section lists this many of the worst rows.
constexpr int WorstFailureRows = 10;

struct PageMeasures {
    QFontMetricsF Table;  // the tables' font on the page's device
    double Width = 0.0;   // of the page's text, in device pixels
    double Pixel = 1.0;   // device pixels to one pixel of the text's layout
};

QString ReportHtml(const ReportData& data, const PageMeasures& page);

// The load matrix is shown whole when its widest cell, in every column of
// the present hosts and one for the row numbers, fits across the page.
bool LoadMatrixFits(int hosts, double widestCell, double cellPadding, double width);

}  // namespace paint
