// What the advisor refuses, with a message naming the item, and the limits
// of its settings exactly at the edge and one past it.
#include <cmath>
#include <limits>
#include <string>

#include "design_test_support.h"
#include "errors.h"

namespace {

using namespace design_testing;

// The message run() raises, empty when it raises none.
std::string RunMessage(const net::TNetObj& net, bool survive = false, bool keep = false) {
    try {
        design::NetworkDesign advisor(net);
        advisor.survive(survive).keepPresent(keep).timeLimit(10);
        advisor.run();
    } catch (const net::NetError& error) {
        return error.what();
    }
    return "";
}

const std::vector<Place> Three = {{0, 0}, {100, 0}, {0, 100}};

TEST(BadInput, TooFewHosts) {
    EXPECT_NE(RunMessage(Network({}, {})).find("хотя бы два маршрутизатора, а их 0"),
              std::string::npos);
    EXPECT_NE(RunMessage(Network({{0, 0}}, {})).find("а их 1"), std::string::npos);
}

TEST(BadInput, NoLoad) {
    net::TNetObj net = Network(Three, {});
    net.LoadMatrix[1][1] = 500;  // the diagonal is no demand
    net.LoadMatrix[1][2] = -3;
    EXPECT_NE(RunMessage(net).find("Нет нагрузки"), std::string::npos);
}

TEST(BadInput, ChannelTypes) {
    net::TNetObj empty = Network(Three, {{1, 2, 100}});
    empty.ChannelTypeCount = 0;
    EXPECT_NE(RunMessage(empty).find("Таблица типов каналов пуста"), std::string::npos);

    net::TNetObj unusable = Network(Three, {{1, 2, 100}});
    unusable.ChannelTypeCount = 2;
    unusable.ChannelTypes[1].Capacity = 0;
    unusable.ChannelTypes[2].Value2 = -1;
    const std::string message = RunMessage(unusable);
    EXPECT_NE(message.find("тип 1: пропускная способность 0 не положительна"), std::string::npos);
    EXPECT_NE(message.find("тип 2: стоимость -1 не положительна"), std::string::npos);
}

TEST(BadInput, TypesLeftOutAreNamedInTheResult) {
    net::TNetObj net = Network(Three, {{1, 2, 100}});
    net.ChannelTypeCount = 4;
    net.ChannelTypes[4].Capacity = 50000;
    net.ChannelTypes[4].Value2 = 0;
    design::NetworkDesign advisor(net);
    advisor.run();
    ASSERT_EQ(advisor.result().LeftOutTypes.size(), 1u);
    EXPECT_EQ(advisor.result().LeftOutTypes[0], "тип 4: стоимость 0 не положительна");
    for (const design::DesignChannel& channel : advisor.result().Proposed->Channels)
        EXPECT_NE(channel.Type, 4);
}

TEST(BadInput, KeptChannelOfAMissingType) {
    net::TNetObj net = Network(Three, {{1, 2, 100}});
    net.AddChannel(1, 3, 7);
    EXPECT_NE(RunMessage(net, false, true).find("Канал 1 (1-3) имеет тип 7"), std::string::npos);
    // Without keep the channel is replaced anyway.
    EXPECT_EQ(RunMessage(net, false, false), "");
}

// Host 1 can have three channels of at most 20000 at UMAX 0.8: 48000.
TEST(BadInput, HostLoadExactlyAtWhatItsChannelsCarry) {
    const std::vector<Place> four = {{0, 0}, {100, 0}, {0, 100}, {100, 100}};
    const net::TNetObj atLimit = Network(four, {{1, 2, 16000}, {1, 3, 16000}, {4, 1, 16000}});
    EXPECT_EQ(RunMessage(atLimit), "");
    const net::TNetObj past = Network(four, {{1, 2, 16000}, {1, 3, 16000}, {4, 1, 16001}});
    const std::string message = RunMessage(past);
    EXPECT_NE(message.find("Нагрузку маршрутизатора 1 (48001) не несёт никакая сеть"),
              std::string::npos);
    EXPECT_NE(
        message.find("его возможные каналы (3) при загрузке не выше 0.8 несут не больше 48000"),
        std::string::npos);
}

// With survive, after losing one of its three channels, two carry 40000.
TEST(BadInput, HostLoadAfterAFailure) {
    const std::vector<Place> four = {{0, 0}, {100, 0}, {0, 100}, {100, 100}};
    const net::TNetObj atLimit = Network(four, {{2, 1, 13000}, {1, 3, 13000}, {1, 4, 14000}});
    EXPECT_EQ(RunMessage(atLimit, true), "");
    const net::TNetObj past = Network(four, {{2, 1, 13000}, {1, 3, 13000}, {1, 4, 14001}});
    EXPECT_NE(RunMessage(past, true).find("остальные (2) несут не больше 40000"),
              std::string::npos);
    // Two hosts: one channel at most, which may fail.
    EXPECT_NE(RunMessage(Network({{0, 0}, {50, 50}}, {{1, 2, 1}}), true)
                  .find("Нагрузку маршрутизатора 1 (1)"),
              std::string::npos);
}

TEST(BadInput, SettingsOutOfRange) {
    design::NetworkDesign advisor(Network(Three, {{1, 2, 100}}));
    EXPECT_NO_THROW(advisor.maxUtilisation(0.05));
    EXPECT_NO_THROW(advisor.maxUtilisation(1.0));
    for (const double bad : {0.0499, 1.0001, 0.0, -1.0, std::nan("")})
        EXPECT_THROW(advisor.maxUtilisation(bad), net::NetError) << bad;
    EXPECT_NO_THROW(advisor.timeLimit(0.001));
    for (const double bad : {0.0, -5.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_THROW(advisor.timeLimit(bad), net::NetError) << bad;
}

}  // namespace
