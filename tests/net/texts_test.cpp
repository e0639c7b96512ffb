#include "texts.h"

#include <gtest/gtest.h>

#include "cp1251.h"
#include "netobj.h"
#include "test_support.h"

namespace {

TEST(Texts, TreeLinesOfHostsChannelsAndTypes) {
    net::TNetObj net;
    net.HostTypeCount = 1;
    net.HostTypes[1].Value1 = -3;
    net.HostTypes[1].Value2 = 8;
    net.ChannelTypeCount = 1;
    net.ChannelTypes[1].Capacity = 10000;
    net.ChannelTypes[1].Value2 = 2;
    net.HostPresent[12] = true;
    net.Hosts[12].NameLength = 1;
    net.Hosts[12].NameChars[0] = 'A';
    net.Channels[5].HostA = 3;
    net.Channels[5].HostB = 10;
    EXPECT_EQ(net::HostTypeText(net, 1), "-3|8");
    EXPECT_EQ(net::ChannelTypeText(net, 1), "10000|2");
    EXPECT_EQ(net::HostText(net, 12), "12--A");
    EXPECT_EQ(net::ChannelText(net, 5), "3-10");
    EXPECT_EQ(net::ClassText(net::Biconnected), "сеть двусвязна");
}

TEST(Texts, PathLineSumsTheDelayFigures) {
    net::TNetObj net;
    testing_support::SetCapacities(net, {10000});
    for (int h = 1; h <= 7; ++h)
        net.AddHost(20 * h, 0, "", 1);
    net.AddChannel(4, 7, 1);
    net.LoadMatrix[4][7] = 5000;
    net.RouteAll();
    EXPECT_EQ(net::PathText(net, 1), "1 | 4-7 | 1.000");
    net.DelayMatrix[4][7] = 0.5;
    EXPECT_EQ(net::PathText(net, 1), "1 | 4-7 | 0.500");
    net.PathTable.Records[2] = {3, 5, 3, 1};
    net.DelayMatrix[5][3] = 1.5;
    net.DelayMatrix[3][1] = 0.25;
    EXPECT_EQ(net::PathText(net, 2), "2 | 5-3-1 | 1.750");
}

TEST(Cp1251, CyrillicRoundTripsAndTheRestBecomesQuestionMarks) {
    const std::string text = "Ёлки-Палки №5 €";
    const std::string raw = net::Utf8ToCp1251(text);
    EXPECT_EQ(raw.size(), 15u);
    EXPECT_EQ(static_cast<unsigned char>(raw[0]), 0xA8);  // Ё
    EXPECT_EQ(net::Cp1251ToUtf8(raw), text);
    EXPECT_EQ(net::Utf8ToCp1251("a路b"), "a?b");
    EXPECT_EQ(net::Utf8ToCp1251("a\xff"
                                "b"),
              "a?b");  // not UTF-8
    EXPECT_EQ(net::Cp1251ToUtf8("a\x98"
                                "b"),
              "a?b");  // no character in 1251
}

TEST(Cp1251, BrokenUtf8LosesOnlyItsOwnBytes) {
    // A sequence cut short stands for one "?"; the characters after it stay,
    // so a script saved in Windows-1251 keeps its blanks and Latin letters.
    EXPECT_EQ(net::Utf8ToCp1251("\xE2\x82"
                                "a"),
              "?a");
    EXPECT_EQ(net::Utf8ToCp1251("\xF0\x9F"
                                "bc"),
              "?bc");
    EXPECT_EQ(net::Utf8ToCp1251("\xC3"
                                "x"),
              "?x");
    EXPECT_EQ(net::Utf8ToCp1251("\xCC\xEE\xF1 1"), "??? 1");  // "Мос 1" in 1251
    EXPECT_EQ(net::Utf8ToCp1251("\xE2\x82"), "?");            // cut at the end
    EXPECT_EQ(net::Utf8ToCp1251("\x80"
                                "d"),
              "?d");  // a stray continuation byte
}

}  // namespace
