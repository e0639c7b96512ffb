#include <gtest/gtest.h>

#include <filesystem>

#include "errors.h"
#include "netobj.h"
#include "test_support.h"

namespace {

using testing_support::ScopedWorkDir;
using testing_support::WriteBytes;
using testing_support::WriteTypeFiles;

// Any error counts here, not only the model's own.
std::string MessageOf(const std::function<void()>& action) {
    return testing_support::MessageOf<std::exception>(action);
}

TEST(ReferenceTables, FreshObjectIsAllZeroAndReadsNothing) {
    ScopedWorkDir dir;  // no reference files here
    const net::TNetObj net;
    EXPECT_EQ(net.HostTypeCount, 0);
    EXPECT_EQ(net.ChannelTypeCount, 0);
    EXPECT_EQ(net.HostCount, 0);
    EXPECT_TRUE(net.NetworkName.empty());
    EXPECT_FALSE(net.DynamicRouting);
}

TEST(ReferenceTables, RecordCountIsFileSizeOverRecordSizeRoundedDown) {
    ScopedWorkDir dir;
    WriteTypeFiles({{1000, 4}, {2000, 8}}, {});
    std::vector<uint8_t> hostBytes = testing_support::ReadBytes("HostInfo.hi");
    hostBytes.insert(hostBytes.end(), {1, 2, 3});  // 35 bytes: a 3-byte tail
    WriteBytes("HostInfo.hi", hostBytes);
    std::vector<uint8_t> channelBytes(120, 0);  // exactly 10 records
    channelBytes[0] = 0x88;
    channelBytes[1] = 0x13;  // type 1 capacity 5000
    channelBytes[108] = 7;   // type 10 capacity 7
    WriteBytes("ChanInfo.ci", channelBytes);

    net::TNetObj net;
    net.LoadTypeTables();
    EXPECT_EQ(net.HostTypeCount, 2);
    EXPECT_EQ(net.HostTypes[2].Value1, 2000);
    EXPECT_EQ(net.HostTypes[2].Value2, 8);
    EXPECT_EQ(net.ChannelTypeCount, 10);
    EXPECT_EQ(net.ChannelTypes[1].Capacity, 5000);
    EXPECT_EQ(net.ChannelTypes[10].Capacity, 7);
}

TEST(ReferenceTables, EmptyFilesGiveEmptyTables) {
    ScopedWorkDir dir;
    WriteTypeFiles({{1, 1}}, {{5000, 1}});
    net::TNetObj net;
    net.LoadTypeTables();
    WriteTypeFiles({}, {});
    net.LoadTypeTables();
    EXPECT_EQ(net.HostTypeCount, 0);
    EXPECT_EQ(net.ChannelTypeCount, 0);
}

class ReferenceFailure : public ::testing::Test {
protected:
    void SetUp() override {
        WriteTypeFiles({{1000, 4}, {2000, 8}}, {{5000, 1}, {10000, 2}, {20000, 3}});
        net.LoadTypeTables();
        net.AddHost(10, 10, "a", 1);
    }
    void ExpectTablesUnchanged() const {
        EXPECT_EQ(net.HostTypeCount, 2);
        EXPECT_EQ(net.HostTypes[2].Value1, 2000);
        EXPECT_EQ(net.ChannelTypeCount, 3);
        EXPECT_EQ(net.ChannelTypes[3].Capacity, 20000);
    }
    ScopedWorkDir dir;
    net::TNetObj net;
};

TEST_F(ReferenceFailure, MissingChannelFileLeavesBothTablesButResetHasEmptiedTheNetwork) {
    WriteTypeFiles({{1, 1}}, {{1, 1}});  // a host table that must not be taken
    std::filesystem::remove("ChanInfo.ci");
    EXPECT_EQ(MessageOf([&] { net.Reset(); }), "File not found");
    ExpectTablesUnchanged();
    EXPECT_EQ(net.HostCount, 0);
    EXPECT_FALSE(net.HostPresent[1]);
    EXPECT_EQ(net.NetworkName, "новый");
}

TEST_F(ReferenceFailure, MissingHostFile) {
    std::filesystem::remove("HostInfo.hi");
    EXPECT_EQ(MessageOf([&] { net.LoadTypeTables(); }), "File not found");
    ExpectTablesUnchanged();
}

TEST_F(ReferenceFailure, MoreThanTenRecordsRefusesTheFileByName) {
    WriteBytes("ChanInfo.ci", std::vector<uint8_t>(11 * net::ChannelTypeSize, 1));
    const std::string message = MessageOf([&] { net.LoadTypeTables(); });
    EXPECT_NE(message.find("ChanInfo.ci"), std::string::npos) << message;
    ExpectTablesUnchanged();
}

TEST_F(ReferenceFailure, TenRecordsAndATailAreRead) {
    WriteBytes("HostInfo.hi", std::vector<uint8_t>(10 * net::HostTypeSize + 15, 0));
    net.LoadTypeTables();
    EXPECT_EQ(net.HostTypeCount, 10);
}

TEST_F(ReferenceFailure, DirectoryInPlaceOfAFileIsAnIoError) {
    std::filesystem::remove("HostInfo.hi");
    std::filesystem::create_directory("HostInfo.hi");
    EXPECT_EQ(MessageOf([&] { net.LoadTypeTables(); }), "I/O error 21");
    ExpectTablesUnchanged();
}

TEST_F(ReferenceFailure, ReadOnlyFilesReadNormally) {
    std::filesystem::permissions("HostInfo.hi", std::filesystem::perms::owner_read);
    std::filesystem::permissions("ChanInfo.ci", std::filesystem::perms::owner_read);
    net.LoadTypeTables();
    ExpectTablesUnchanged();
}

TEST(Reset, EmptiesEverythingButKeepsAbsentRecords) {
    ScopedWorkDir dir;
    WriteTypeFiles({{1, 2}}, {{10000, 1}});
    net::TNetObj net;
    net.Reset();
    testing_support::AddHosts(net, {{10, 10}, {100, 10}});
    net.AddChannel(1, 2, 1);
    net.LoadMatrix[1][2] = 500;
    net.LoadMatrix[5][5] = 3;
    net.RouteAll();
    net.GeneralReal = 12.5;
    net.ToggleDynamic();
    ASSERT_EQ(net.PathTable.PathCount, 1);

    net.Reset();
    EXPECT_EQ(net.NetworkName, "новый");
    EXPECT_EQ(net.HostCount, 0);
    EXPECT_EQ(net.ChannelCount, 0);
    EXPECT_FALSE(net.HostPresent[1]);
    EXPECT_FALSE(net.ChannelPresent[1]);
    EXPECT_EQ(net.LoadMatrix[1][2], 0);
    EXPECT_EQ(net.LoadMatrix[5][5], 0);
    EXPECT_EQ(net.DelayMatrix[1][2], 0.0);
    EXPECT_EQ(net.PathTable.PathCount, 0);
    EXPECT_EQ(net.PathTable.Records[1][0], 0);
    EXPECT_FALSE(net.DynamicRouting);
    EXPECT_EQ(net.GeneralReal, 0.0);
    EXPECT_EQ(net.HostTypeCount, 1);
    // The records of the freed slots keep their contents.
    EXPECT_EQ(net.Hosts[2].X, 100);
    EXPECT_EQ(net.Channels[1].HostB, 2);
}

}  // namespace
