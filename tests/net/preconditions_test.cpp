// The editing operations assert what their callers must pass (debug builds
// only: the script runner and the windows check before they call).
#include <gtest/gtest.h>

#include "netobj.h"

namespace {

#ifdef NDEBUG
constexpr bool AssertsActive = false;
#else
constexpr bool AssertsActive = true;
#endif

class Preconditions : public ::testing::Test {
protected:
    void SetUp() override {
        if (!AssertsActive)
            GTEST_SKIP() << "assertions are compiled out of this build";
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        net_.AddHost(0, 0, "a", 1);
        net_.AddHost(100, 0, "b", 1);
    }
    net::TNetObj net_;
};

TEST_F(Preconditions, HostOperationsNeedAPresentHost) {
    EXPECT_DEATH(net_.DeleteHost(0), "IsHostNumber");
    EXPECT_DEATH(net_.DeleteHost(3), "HostPresent");
    EXPECT_DEATH(net_.UpdateHost(19, 0, 0, "", 1), "IsHostNumber");
    EXPECT_DEATH(net_.AddChannel(1, 19, 1), "IsHostNumber");
}

TEST_F(Preconditions, ChannelOperationsNeedAChannelNumber) {
    EXPECT_DEATH(net_.DeleteChannel(0), "IsChannelNumber");
    EXPECT_DEATH(net_.SetChannelType(net::MaxChannels + 1, 1), "IsChannelNumber");
}

TEST(PreconditionsHold, NumbersInRangeAreAccepted) {
    net::TNetObj net;
    net.AddHost(0, 0, "a", 1);
    net.AddHost(100, 0, "b", 1);
    net.AddChannel(1, 2, 1);
    net.SetChannelType(1, 2);
    net.DeleteChannel(net::MaxChannels);  // a free slot stays free
    net.DeleteChannel(1);
    net.DeleteHost(2);
    EXPECT_EQ(net.ChannelCount, 0);
    EXPECT_EQ(net.HostCount, 1);
}

}  // namespace
