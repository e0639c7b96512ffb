// A network exported and imported again is the same network.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "network_export.h"
#include "network_import.h"
#include "test_support.h"

namespace {

using net::TNetObj;
using testing_support::MessageOf;
using testing_support::ScopedWorkDir;

// Names no exchange format takes as they are: blanks, brackets, quotes,
// Cyrillic, an empty one and two alike; one host beyond the drawing area at
// its designed size, where a window shows it when larger.
TNetObj Designed() {
    TNetObj net;
    testing_support::SetCapacities(net, {5000, 20000});
    const std::vector<std::pair<std::string, std::pair<int, int>>> hosts = {
        {"Москва (центр)", {40, 30}},
        {"a b#c%d", {500, 40}},
        {"", {300, 440}},
        {"\"&quot;\"", {60, 400}},
        {"twin", {300, 200}},
        {"twin", {800, 600}},
        {"Σ", {0, 0}}};
    for (const auto& [name, place] : hosts)
        net.AddHost(place.first, place.second, name, 1);
    testing_support::AddChannels(net, {{2, 1}, {1, 3}, {3, 4}, {5, 6}, {6, 2}, {4, 5}});
    testing_support::AddChannels(net, {{7, 1}}, 2);
    net.DeleteChannel(2);  // a gap in the channel numbers
    net.LoadMatrix[1][3] = 1200;
    net.LoadMatrix[3][1] = 7;
    net.LoadMatrix[6][2] = 2147483647;
    net.LoadMatrix[2][2] = 50;  // the diagonal is no demand
    net.LoadMatrix[4][5] = -3;  // nor is a negative entry
    return net;
}

TEST(ExchangeRoundTrip, HostsChannelsAndLoadsComeBack) {
    const ScopedWorkDir work;
    const TNetObj original = Designed();
    for (const std::string file : {"designed.txt", "designed.gml"}) {
        SCOPED_TRACE(file);
        formats::ExportNetworkFile(original, file);
        TNetObj net;
        formats::ImportNetworkFile(file, 1, 1.0, net);
        ASSERT_EQ(net.HostCount, original.HostCount);
        for (int h = 1; h <= original.HostCount; ++h) {
            EXPECT_EQ(net.HostName(h), original.HostName(h)) << h;
            EXPECT_EQ(net.Hosts[h].X, original.Hosts[h].X) << h;
            EXPECT_EQ(net.Hosts[h].Y, original.Hosts[h].Y) << h;
        }
        // Channels keep their ends and their order; the gap closes.
        EXPECT_EQ(testing_support::Links(net), testing_support::Links(original));
        net::HostMatrix<int32_t> demands{};
        demands[1][3] = 1200, demands[3][1] = 7, demands[6][2] = 2147483647;
        EXPECT_EQ(net.LoadMatrix, demands);
        EXPECT_EQ(net.NetworkName, "designed");
    }
}

// Each channel is written with its own type's capacity, the last type of the
// table too; a type the table does not hold has none.
TEST(ExchangeRoundTrip, EveryChannelCarriesTheCapacityOfItsType) {
    TNetObj net;
    testing_support::SetCapacities(net, {5000, 20000, 64000});
    testing_support::AddHosts(net, {{50, 50}, {200, 50}, {350, 50}, {500, 50}});
    testing_support::AddChannels(net, {{1, 2}}, 3);
    testing_support::AddChannels(net, {{2, 3}}, 1);
    testing_support::AddChannels(net, {{3, 4}}, 2);
    net.AddChannel(4, 1, 1);
    net.Channels[4].TypeNo = 4;  // beyond the table, as an old project may hold it
    const std::string native = formats::SndlibNativeText(net);
    EXPECT_NE(native.find("L1 ( a b ) 64000 0 0 0 ( )\n"), std::string::npos) << native;
    EXPECT_NE(native.find("L2 ( b c ) 5000 0 0 0 ( )\n"), std::string::npos) << native;
    EXPECT_NE(native.find("L3 ( c d ) 20000 0 0 0 ( )\n"), std::string::npos) << native;
    EXPECT_NE(native.find("L4 ( d a ) 0 0 0 0 ( )\n"), std::string::npos) << native;
    const std::string gml = formats::GmlText(net);
    for (const char* edge : {"source 1\n    target 2\n    capacity 64000\n",
                             "source 2\n    target 3\n    capacity 5000\n",
                             "source 3\n    target 4\n    capacity 20000\n",
                             "source 4\n    target 1\n    capacity 0\n"})
        EXPECT_NE(gml.find(edge), std::string::npos) << edge << gml;
}

TEST(ExchangeRoundTrip, TheFileIsReplacedOnlyWhenWritten) {
    const ScopedWorkDir work;
    const TNetObj net = Designed();
    EXPECT_EQ(MessageOf([&] { formats::ExportNetworkFile(net, "net.xml"); }),
              "Сеть не записана в файл «net.xml»: имя должно кончаться на .txt (SNDlib) или .gml "
              "(GML)");
    std::filesystem::create_directory("dir.gml");
    EXPECT_EQ(MessageOf([&] {
                  formats::ExportNetworkFile(net, "dir.gml");
              }).rfind("Сеть не записана в файл «dir.gml»: ", 0),
              0u);
    EXPECT_TRUE(std::filesystem::is_directory("dir.gml"));
    std::ofstream("kept.txt") << "old";
    EXPECT_EQ(MessageOf([&] { formats::ExportNetworkFile(net, "kept.txt/net.gml"); }),
              "Сеть не записана в файл «kept.txt/net.gml»: путь проходит через файл, а не через "
              "каталог");
    formats::ExportNetworkFile(net, "new/folder/net.gml");
    EXPECT_TRUE(std::filesystem::is_regular_file("new/folder/net.gml"));
    formats::ExportNetworkFile(net, "kept.txt");
    std::ifstream in("kept.txt");
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "?SNDlib native format; type: network; version: 1.0");
}

}  // namespace
