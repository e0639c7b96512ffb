#include "csv_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "comma_locale.h"
#include "errors.h"
#include "test_support.h"

namespace {

using net::TNetObj;
using testing_support::MessageOf;

const std::string Bom = "\xEF\xBB\xBF";

// Hosts 1 (10,10) and 2 (20,20) joined by a channel of capacity 5000; host 3
// stands alone, so its demand stays unplaced.
TNetObj TwoJoinedAndOneAlone() {
    TNetObj net;
    testing_support::SetCapacities(net, {5000});
    testing_support::AddHosts(net, {{10, 10}, {20, 20}, {200, 200}});
    testing_support::AddChannels(net, {{1, 2}});
    return net;
}

bool HasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

TEST(CsvTables, NumbersKeepADecimalPointUnderACommaLocale) {
    const testing_support::CommaLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    TNetObj net = TwoJoinedAndOneAlone();
    EXPECT_TRUE(HasLine(net::ChannelsCsv(net), "1,1,2,1,5000,0,0.000,14.142135623730951"))
        << net::ChannelsCsv(net);
    net.LoadMatrix[1][2] = 1000;
    net.RouteAll();
    EXPECT_TRUE(HasLine(net::PathsCsv(net), "1,1→2,1.500,1000")) << net::PathsCsv(net);
}

TEST(CsvTables, OneRowPerItemUnderItsCaptions) {
    TNetObj net = TwoJoinedAndOneAlone();
    net.LoadMatrix[1][2] = 1000;
    net.LoadMatrix[1][3] = 50;
    net.RouteAll();

    EXPECT_EQ(net::PathsCsv(net), Bom +
                                      "Путь,Маршрутизаторы,Сумма задержек,Нагрузка\n"
                                      "1,1→2,1.500,1000\n");
    EXPECT_EQ(net::UnroutedCsv(net), Bom + "Из маршрутизатора,В маршрутизатор,Нагрузка\n1,3,50\n");
    const std::string failures = net::FailuresCsv(net::AnalyzeFailures(net));
    EXPECT_EQ(failures.rfind(Bom + "Отказ,Номер,Связность,", 0), 0u);
    EXPECT_TRUE(HasLine(failures, "нет,,сеть несвязна,1,1,50,0,0,1.500,1,4000")) << failures;
    // Without the channel nothing is placed and no channel is left: empty cells.
    EXPECT_TRUE(HasLine(failures, "канал,1,сеть несвязна,0,2,1050,0,0,,,")) << failures;
    EXPECT_TRUE(HasLine(failures, "маршрутизатор,3,сеть двусвязна,1,0,0,1,50,1.500,1,4000"))
        << failures;

    // A type without a record in the table leaves the capacity empty.
    net.Channels[1].TypeNo = 7;
    EXPECT_TRUE(HasLine(net::ChannelsCsv(net), "1,1,2,7,,4000,1.500,14.142135623730951"));
}

TEST(CsvTables, AFileWhereTheFolderShouldBeIsNamedAndKeptAsItWas) {
    const testing_support::ScopedWorkDir work;
    testing_support::WriteBytes("out", {'x'});
    const std::string message = MessageOf([] { net::ExportCsv(TwoJoinedAndOneAlone(), "out"); });
    EXPECT_EQ(message,
              "Таблицы не записаны в каталог «out» (channels.csv, paths.csv, unrouted.csv, "
              "failures.csv): на этом месте файл, а не каталог");
    EXPECT_EQ(testing_support::ReadBytes("out"), std::vector<uint8_t>{'x'});
}

}  // namespace
