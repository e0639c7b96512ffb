// Networks read from SNDlib native, SNDlib XML and GML files, and what the
// mapping onto the model's slots makes of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "errors.h"
#include "network_import.h"
#include "network_mapping.h"
#include "test_support.h"
#include "undo_history.h"

namespace {

using formats::ImportReport;
using net::TNetObj;
using testing_support::Links;
using testing_support::ScopedWorkDir;

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A network holding what an import must keep: type tables, the dynamic
// flag, and routing results it must clear.
TNetObj Before() {
    TNetObj net;
    testing_support::SetCapacities(net, {5000, 9000});
    net.HostTypeCount = 1;
    testing_support::AddHosts(net, {{50, 50}, {200, 50}});
    testing_support::AddChannels(net, {{1, 2}});
    net.LoadMatrix[1][2] = 100;
    net.RouteAll();
    net.DynamicRouting = true;
    return net;
}

ImportReport Import(const std::string& file, const std::string& text, TNetObj& net,
                    int32_t type = 2, double scale = 1.0) {
    WriteText(file, text);
    return formats::ImportNetworkFile(file, type, scale, net);
}

std::string Hosts(const TNetObj& net) {
    std::string text;
    for (int h = 1; h <= net::MaxHosts; ++h) {
        if (net.HostPresent[h])
            text += std::to_string(h) + ":" + net.HostName(h) + "@" +
                    std::to_string(net.Hosts[h].X) + "," + std::to_string(net.Hosts[h].Y) + " ";
    }
    return text;
}

const char* const NativeTriangle = R"(?SNDlib native format; type: network; version: 1.0
# network triangle
META (
  granularity = 1month
)
NODES (
  A ( 100 100 )   # a comment after a node
  B ( 300 100 )
  C ( 200 250 )
)
LINKS (
  L1 ( A B ) 0.00 0.00 0.00 10.00 ( 155.00 10.00 622.00 30.00 )
  L2 ( C B ) 0.00 0.00 0.00 10.00 ( )
  L3 ( B A ) 5.00 0.00 0.00 10.00 ( )
  L4 ( C C ) 5.00 0.00 0.00 10.00 ( )
)
DEMANDS (
  D1 ( A C ) 1 120.5 UNLIMITED
  D2 ( A C ) 1 10.0 3
  D3 ( C A ) 1 0.4 UNLIMITED
  D4 ( B B ) 1 7 UNLIMITED
  D5 ( B A ) 1 -0.0 UNLIMITED
)
ADMISSIBLE_PATHS (
  D1 (
    P_0 ( L1 L2 )
  )
)
)";

TEST(ImportNetwork, SndlibNativeWithEveryKindOfAdjustment) {
    const ScopedWorkDir work;
    TNetObj net = Before();
    const ImportReport report = Import("triangle.txt", NativeTriangle, net);
    // Pixel coordinates inside the drawing area are kept as they are.
    EXPECT_EQ(Hosts(net), "1:A@100,100 2:B@300,100 3:C@200,250 ");
    EXPECT_EQ(Links(net, testing_support::LinkForm::EndsAndType), "1-2/2 3-2/2");
    EXPECT_EQ(net.LoadMatrix[1][3], 131);  // 120.5 + 10.0 = 130.5, half away from zero
    EXPECT_EQ(net.LoadMatrix[3][1], 0);    // 0.4 rounds to 0 and is dropped
    EXPECT_EQ(net.LoadMatrix[2][2], 0);
    EXPECT_EQ(formats::CountsOf(net).loads, 1);
    EXPECT_EQ(report.mergedLinks, 1);
    EXPECT_EQ(report.droppedLoops, 1);
    EXPECT_EQ(report.mergedDemands, 1);
    EXPECT_EQ(report.droppedZeroDemands, 2);
    EXPECT_EQ(report.droppedSelfDemands, 1);
    EXPECT_EQ(report.Text(),
              "отброшено петель 1, объединено повторных связей 1, отброшено требований узла к "
              "себе 1, сложено повторных требований 1, отброшено требований, округлённых до 0 2");
    // Like a project load: the name from the file, types and the flag kept,
    // no routing results.
    EXPECT_EQ(net.NetworkName, "triangle");
    EXPECT_EQ(net.ChannelTypeCount, 2);
    EXPECT_EQ(net.ChannelTypes[2].Capacity, 9000);
    EXPECT_TRUE(net.DynamicRouting);
    EXPECT_EQ(net.PathTable.PathCount, 0);
    EXPECT_EQ(net.ResidualMatrix, net::HostMatrix<int32_t>{});
    EXPECT_EQ(net.Hosts[1].TypeNo, 1);
}

TEST(ImportNetwork, SndlibXmlAndGmlGiveTheSameNetwork) {
    const ScopedWorkDir work;
    const char* const xml = R"(<?xml version="1.0" encoding="ISO-8859-1"?>
<network xmlns="http://sndlib.zib.de/network" version="1.0">
 <meta><granularity>1month</granularity></meta>
 <networkStructure>
  <nodes coordinatesType="pixel">
   <node id="A"><coordinates><x>100</x><y>100</y></coordinates></node>
   <node id="B"><coordinates><x>300.0</x><y>100</y></coordinates></node>
   <node id="C"><coordinates><x>200</x><y>250</y></coordinates></node>
  </nodes>
  <links>
   <link id="L1"><source>A</source><target>B</target>
    <preInstalledModule><capacity>40.0</capacity><cost>0.0</cost></preInstalledModule></link>
   <link id="L2"><source>C</source><target>B</target></link>
  </links>
 </networkStructure>
 <demands>
  <demand id="D1"><source>A</source><target>C</target><demandValue> 130.5 </demandValue>
   <admissiblePaths><admissiblePath id="P_0"><linkId>L1</linkId></admissiblePath></admissiblePaths>
  </demand>
 </demands>
</network>
)";
    const char* const gml = R"(# written by hand
graph [
  directed 0
  multigraph 1
  label "triangle"
  node [ id 0 label "A" graphics [ x 100 y 100 w 30 ] extra [ deeper [ a 1 ] ] ]
  node [ id 1 label "B" graphics [ x 300.0 y 100 ] ]
  node [ id 2 label "C" graphics [ x 200 y 250 ] ]
  edge [ source 0 target 1 LinkLabel "OC-192" ]
  edge [ source 2 target 1 ]
  edge [ source 1 target 0 ]
  demand [ source 0 target 2 value 130.5 ]
]
)";
    for (const auto& [file, text] : {std::pair{"triangle.xml", xml}, {"triangle.gml", gml}}) {
        SCOPED_TRACE(file);
        TNetObj net = Before();
        Import(file, text, net);
        EXPECT_EQ(Hosts(net), "1:A@100,100 2:B@300,100 3:C@200,250 ");
        EXPECT_EQ(Links(net), "1-2 3-2");
        EXPECT_EQ(net.LoadMatrix[1][3], 131);
        EXPECT_EQ(formats::CountsOf(net).loads, 1);
        EXPECT_EQ(net.NetworkName, "triangle");
    }
}

// Three cities as the Topology Zoo gives them: geographical coordinates,
// accented names, one node without coordinates and two in the same place.
TEST(ImportNetwork, GeographicalCoordinatesAreProjectedAndFittedNorthUp) {
    const ScopedWorkDir work;
    const char* const gml = R"(graph [
  node [ id 0 label "K&#246;ln" Longitude 6.96 Latitude 50.94 ]
  node [ id 1 label "Hamburg" Longitude 9.99 Latitude 53.55 ]
  node [ id 2 label "M&#252;nchen &amp; Umland, Landeshauptstadt" Longitude 11.58 Latitude 48.14 ]
  node [ id 3 label "Hamburg 2" Longitude 9.99 Latitude 53.55 ]
  node [ id 4 label "&#26481;&#20140;" ]
  edge [ source 0 target 1 ]
]
)";
    TNetObj net = Before();
    const ImportReport report = Import("de.gml", gml, net);
    ASSERT_EQ(net.HostCount, 5);
    const auto& h = net.Hosts;
    // North up: Hamburg above Köln above München; the tallest span fills the
    // height inside the margin, the width keeps the aspect.
    EXPECT_EQ(h[2].Y, formats::AreaMargin);
    EXPECT_EQ(h[3].Y, formats::AreaHeight - 1 - formats::AreaMargin);
    EXPECT_LT(h[2].Y, h[1].Y);
    const double shrink = std::cos((50.94 + 53.55 + 48.14 + 53.55) / 4 * M_PI / 180);
    const double scale = (h[3].Y - h[2].Y) / (53.55 - 48.14);
    EXPECT_NEAR(h[3].X - h[1].X, (11.58 - 6.96) * shrink * scale, 1.0);
    EXPECT_NEAR((h[1].X + h[3].X) / 2.0, formats::AreaWidth / 2.0, 1.0);
    // The second Hamburg moved to the nearest free place, 8 pixels off.
    EXPECT_EQ(std::max(std::abs(h[4].X - h[2].X), std::abs(h[4].Y - h[2].Y)), 8);
    EXPECT_EQ(report.movedHosts, 1);
    EXPECT_EQ(report.unplacedNodes, 1);
    for (int a = 1; a <= 5; ++a)
        for (int b = a + 1; b <= 5; ++b)
            EXPECT_FALSE(std::abs(h[a].X - h[b].X) < 8 && std::abs(h[a].Y - h[b].Y) < 8)
                << a << " and " << b << " clash";
    // Latin letters lose their marks, others become "?", names stop at 20 bytes.
    EXPECT_EQ(net.HostName(1), "Koln");
    EXPECT_EQ(net.HostName(3), "Munchen & Umland, La");
    EXPECT_EQ(net.HostName(5), "??");
    EXPECT_EQ(report.renamedHosts, 3);
    EXPECT_EQ(formats::CountsOf(net).loads, 0);
}

TEST(ImportNetwork, PixelsOutsideTheAreaAreFittedAndTheScaleMultipliesLoads) {
    const ScopedWorkDir work;
    const char* const text = R"(?SNDlib native format; type: network; version: 1.0
NODES (
  West ( -1000 500 )
  East ( 3000 500 )
  Lone ( 1000 500 )
)
LINKS (
)
DEMANDS (
  D1 ( West East ) 1 3 UNLIMITED
  D2 ( East West ) 1 0.25 UNLIMITED
)
)";
    TNetObj net = Before();
    Import("line.txt", text, net, 1, 2.5);
    // Out of -180..180: pixels; a line of three across the width, mid-height.
    EXPECT_EQ(Hosts(net), "1:West@20,236 2:East@552,236 3:Lone@286,236 ");
    EXPECT_EQ(net.LoadMatrix[1][2], 8);  // 7.5 rounds up
    EXPECT_EQ(net.LoadMatrix[2][1], 1);  // 0.625
}

// Names as the files write them: marks taken off letters beyond Latin-1,
// hexadecimal character references, a byte order mark before the text.
TEST(ImportNetwork, NamesLoseTheirMarksWhateverTheFileAndItsStart) {
    const ScopedWorkDir work;
    const std::string bom = "\xEF\xBB\xBF";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"marks.txt", bom + "?SNDlib native format; type: network; version: 1.0\n"
                            "NODES (\n  Łódź ( 100 100 )\n  Škoda ( 300 100 )\n"
                            "  Kraków ( 200 300 )\n)\n"},
        {"marks.gml", bom + "graph [\n node [ id 1 label \"&#x141;&#xF3;d&#x17A;\" ]\n"
                            " node [ id 2 label \"&#X160;koda\" ]\n"
                            " node [ id 3 label \"Krak&#243;w\" ]\n]\n"},
        {"marks.xml", bom + "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<network><networkStructure><nodes>"
                            "<node id=\"Łódź\"/><node id=\"Škoda\"/><node id=\"Kraków\"/>"
                            "</nodes></networkStructure></network>\n"},
    };
    for (const auto& [file, text] : files) {
        SCOPED_TRACE(file);
        TNetObj net = Before();
        const ImportReport report = Import(file, text, net);
        ASSERT_EQ(net.HostCount, 3);
        EXPECT_EQ(net.HostName(1), "Lodz");
        EXPECT_EQ(net.HostName(2), "Skoda");
        EXPECT_EQ(net.HostName(3), "Krakow");
        EXPECT_EQ(report.renamedHosts, 3);
    }
    // A hexadecimal reference is not read as a decimal one, nor left as it is.
    TNetObj net = Before();
    Import("koln.gml",
           "graph [ node [ id 1 label \"K&#xF6;ln\" ] node [ id 2 label "
           "\"K&#XF6;ln &#x4B;\" ] ]",
           net);
    EXPECT_EQ(net.HostName(1), "Koln");
    EXPECT_EQ(net.HostName(2), "Koln K");
}

// Without a hint, positions are latitudes only when every y lies within
// ±90 (and every x within ±180).
TEST(ImportNetwork, PixelPositionsBeyondTheLatitudesAreKept) {
    const ScopedWorkDir work;
    const std::string header = "?SNDlib native format; type: network; version: 1.0\nNODES (\n";
    TNetObj net = Before();
    Import("low.txt", header + "  A ( 100 91 )\n  B ( 150 180 )\n  C ( 20 120 )\n)\n", net);
    EXPECT_EQ(Hosts(net), "1:A@100,91 2:B@150,180 3:C@20,120 ");
    // At the edge: a latitude of 90, so geographical and fitted north up.
    Import("edge.txt", header + "  A ( 100 90 )\n  B ( 150 -90 )\n)\n", net);
    EXPECT_EQ(net.Hosts[1].Y, formats::AreaMargin);
    EXPECT_EQ(net.Hosts[2].Y, formats::AreaHeight - 1 - formats::AreaMargin);
}

formats::SourceNetwork PixelNodes(const std::vector<formats::SourcePoint>& points) {
    formats::SourceNetwork source;
    source.coordinates = formats::CoordinateKind::Pixel;
    for (const formats::SourcePoint& p : points)
        source.nodes.push_back({"n", p});
    return source;
}

bool Clash(const formats::PlacedNode& a, int x, int y) {
    return std::abs(a.x - x) < net::ProximityPixels && std::abs(a.y - y) < net::ProximityPixels;
}

// Every position inside the margin, tried one by one: the free one nearest
// to (x, y), then the upper, then the left one.
formats::PlacedNode NearestFreeByTrial(const std::vector<formats::PlacedNode>& placed, int x,
                                       int y) {
    formats::PlacedNode best{-1, -1};
    long bestDistance = -1;
    const int margin = formats::AreaMargin;
    for (int cy = margin; cy <= formats::AreaHeight - 1 - margin; ++cy) {
        for (int cx = margin; cx <= formats::AreaWidth - 1 - margin; ++cx) {
            if (std::any_of(placed.begin(), placed.end(),
                            [&](const formats::PlacedNode& p) { return Clash(p, cx, cy); }))
                continue;
            const long distance = long{cx - x} * (cx - x) + long{cy - y} * (cy - y);
            if (bestDistance < 0 || distance < bestDistance) {
                best = {cx, cy};
                bestDistance = distance;
            }
        }
    }
    return best;
}

TEST(ImportNetwork, AClashingHostTakesTheNearestFreePlaceThenTheUpperLeftOne) {
    ImportReport report;
    // Four places 8 pixels off: the one above.
    auto placed = formats::PlaceNodes(PixelNodes({{100, 100}, {100, 100}}), report);
    EXPECT_EQ(placed[1].x, 100);
    EXPECT_EQ(placed[1].y, 92);
    // On the top margin nothing is above: of left and right, the left.
    placed = formats::PlaceNodes(PixelNodes({{100, 20}, {100, 20}}), report);
    EXPECT_EQ(placed[1].x, 92);
    EXPECT_EQ(placed[1].y, 20);
    // In the bottom-right corner only the places up and left are free.
    placed = formats::PlaceNodes(PixelNodes({{552, 452}, {552, 452}, {552, 452}}), report);
    EXPECT_EQ(placed[1].x, 552);
    EXPECT_EQ(placed[1].y, 444);
    EXPECT_EQ(placed[2].x, 544);
    EXPECT_EQ(placed[2].y, 452);
    EXPECT_EQ(report.movedHosts, 4);
}

// Eighteen nodes in one place, in the middle or in a corner of the area:
// each moved host lands where a search of every position of the area puts
// it. In the corner the last ones land beyond the first ring of the search
// that holds a free place, which lies further away.
TEST(ImportNetwork, ACrowdOfClashingHostsSpreadsToTheNearestFreePlaces) {
    for (const formats::SourcePoint centre : {formats::SourcePoint{300, 200}, {20, 20}, {27, 27}}) {
        SCOPED_TRACE(centre.x);
        ImportReport report;
        const std::vector<formats::SourcePoint> points(net::MaxHosts, centre);
        const std::vector<formats::PlacedNode> placed =
            formats::PlaceNodes(PixelNodes(points), report);
        EXPECT_EQ(report.movedHosts, net::MaxHosts - 1);
        for (size_t k = 1; k < placed.size(); ++k) {
            const std::vector<formats::PlacedNode> before(placed.begin(), placed.begin() + k);
            const formats::PlacedNode expected =
                NearestFreeByTrial(before, static_cast<int>(centre.x), static_cast<int>(centre.y));
            EXPECT_EQ(placed[k].x, expected.x) << k;
            EXPECT_EQ(placed[k].y, expected.y) << k;
        }
    }
}

}  // namespace
