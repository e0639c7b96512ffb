#include "csv_export.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using net::TNetObj;
using testing_support::MessageOf;
namespace fs = std::filesystem;

// The lines of a CSV text after its byte order mark and header.
std::vector<std::string> DataLines(const std::string& csv) {
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBF", 0), 0u);
    std::istringstream in(csv);
    std::vector<std::string> lines;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

std::string Read(const fs::path& path) {
    const std::vector<uint8_t> bytes = testing_support::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(CsvExport, FiguresAreWrittenForASpreadsheet) {
    TNetObj net = testing_support::Network(3, {{1, 2}, {2, 3}}, {}, [](int h) {
        return std::pair{h * h * 7, 3 * h};
    });
    net.LoadMatrix[3][1] = 100;
    net.LoadMatrix[1][2] = 1250;
    net.RouteAll();
    net.SetChannelType(2, 4);  // no such type: no capacity to show

    const std::vector<std::string> channels = DataLines(net::ChannelsCsv(net));
    ASSERT_EQ(channels.size(), 2u);
    EXPECT_EQ(channels[0].substr(0, channels[0].rfind(',')), "1,1,2,1,5000,3650,1.740");
    EXPECT_EQ(channels[1].substr(0, channels[1].rfind(',')), "2,2,3,4,,4900,1.041");
    // The length reads back as the very same double.
    EXPECT_EQ(std::strtod(channels[1].c_str() + channels[1].rfind(',') + 1, nullptr),
              net.Channels[2].Length);

    EXPECT_EQ(DataLines(net::PathsCsv(net)),
              (std::vector<std::string>{"1,1→2,1.740,1250", "2,3→2→1,2.781,100"}));

    net.SetChannelType(2, 1);
    net.DeleteChannel(1);
    net.RouteAll();
    EXPECT_EQ(DataLines(net::UnroutedCsv(net)), (std::vector<std::string>{"1,2,1250", "3,1,100"}));
}

TEST(CsvExport, FailureRowsLeaveFieldsEmptyWhereThereIsNothingToShow) {
    TNetObj net = testing_support::Network(2, {{1, 2}}, {}, [](int h) {
        return std::pair{20 * h, 0};
    });
    net.LoadMatrix[1][2] = 10;
    const std::vector<std::string> rows = DataLines(net::FailuresCsv(net::AnalyzeFailures(net)));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "нет,,сеть двусвязна,1,0,0,0,0,1.004,1,4990");
    EXPECT_EQ(rows[1], "канал,1,сеть несвязна,0,1,10,0,0,,,");
    EXPECT_EQ(rows[2], "маршрутизатор,1,сеть связна,0,0,0,1,10,,,");
}

TEST(CsvExport, AFailedExportKeepsTheTablesThatWereThere) {
    testing_support::ScopedWorkDir dir;
    TNetObj net = testing_support::Network(2, {{1, 2}}, {}, [](int h) {
        return std::pair{20 * h, 0};
    });
    net::ExportCsv(net, "out/tables");
    const std::string before = Read("out/tables/channels.csv");
    EXPECT_EQ(before, net::ChannelsCsv(net));

    net.RouteAll();
    fs::remove("out/tables/unrouted.csv");
    fs::create_directory("out/tables/unrouted.csv");
    const std::string message = MessageOf<net::IoError>([&] { net::ExportCsv(net, "out/tables"); });
    EXPECT_EQ(message.rfind("Таблицы не записаны в каталог «out/tables» (channels.csv, paths.csv, "
                            "unrouted.csv, failures.csv): ",
                            0),
              0u)
        << message;
    EXPECT_EQ(Read("out/tables/channels.csv"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator("out/tables"), fs::directory_iterator{}), 4);

    EXPECT_NE(MessageOf<net::IoError>([&] {
                  net::ExportCsv(net, "out/tables/paths.csv");
              }).find("на этом месте файл"),
              std::string::npos);
}

}  // namespace
