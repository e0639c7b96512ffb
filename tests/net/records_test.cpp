#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <utility>

#include "netobj.h"

namespace {

using net::ChannelRecord;
using net::HostRecord;

// Each (offset, value): the byte at that offset holds the value.
void ExpectBytes(const uint8_t* bytes, std::initializer_list<std::pair<int, int>> expected) {
    for (const auto& [offset, value] : expected)
        EXPECT_EQ(bytes[offset], value) << "byte " << offset;
}

HostRecord SampleHost() {
    HostRecord h;
    h.NameLength = 3;
    h.NameChars = {0xC0, 0xC1, 'z', 7, 8};  // bytes past the length are kept too
    h.Filler = {1, 2, 3};
    h.X = -2;
    h.Y = 0x12345678;
    h.TypeNo = -2147483647 - 1;
    h.Reserved = 99;
    return h;
}

TEST(Records, HostRecordLayoutIsLittleEndianAtFixedOffsets) {
    std::array<uint8_t, net::HostRecordSize> bytes{};
    net::EncodeHostRecord(SampleHost(), bytes.data());
    ExpectBytes(bytes.data(), {{0, 3}, {1, 0xC0}, {3, 'z'}, {21, 1}, {23, 3}});
    // X = -2 at 24..27, Y = 0x12345678 at 28..31 lowest byte first, TypeNo = INT32_MIN.
    ExpectBytes(bytes.data(),
                {{24, 0xFE}, {27, 0xFF}, {28, 0x78}, {31, 0x12}, {35, 0x80}, {36, 99}});
    EXPECT_EQ(net::DecodeHostRecord(bytes.data()), SampleHost());
}

TEST(Records, HostNameLengthAbove20IsCutWhenDecoded) {
    std::array<uint8_t, net::HostRecordSize> bytes{};
    bytes[0] = 255;
    EXPECT_EQ(net::DecodeHostRecord(bytes.data()).NameLength, net::MaxNameLength);
}

TEST(Records, ChannelRecordRoundTripKeepsLengthBitsAndReserved) {
    ChannelRecord c;
    c.HostA = 3;
    c.HostB = 10;
    c.TypeNo = -7;
    c.Reserved = 0x01020304;
    c.Length = 1.0;
    std::array<uint8_t, net::ChannelRecordSize> bytes{};
    net::EncodeChannelRecord(c, bytes.data());
    // 1.0 is 0x3FF0000000000000, little-endian at 16..23
    ExpectBytes(bytes.data(), {{0, 3}, {4, 10}, {12, 4}, {16, 0}, {22, 0xF0}, {23, 0x3F}});
    EXPECT_EQ(net::DecodeChannelRecord(bytes.data()), c);

    c.Length = 141.42135623730951;
    net::EncodeChannelRecord(c, bytes.data());
    EXPECT_EQ(net::DecodeChannelRecord(bytes.data()).Length, c.Length);
}

TEST(Records, TypeRecordsKeepTheirSpareBytes) {
    net::HostType h;
    h.Value1 = 1000;
    h.Spare1 = {9, 8, 7, 6};
    h.Value2 = -4;
    h.Spare2 = {1, 1, 1, 1};
    std::array<uint8_t, net::HostTypeSize> hb{};
    net::EncodeHostType(h, hb.data());
    ExpectBytes(hb.data(), {{0, 0xE8}, {1, 0x03}, {4, 9}, {8, 0xFC}});
    EXPECT_EQ(net::DecodeHostType(hb.data()), h);

    net::ChannelType c;
    c.Capacity = 5000;
    c.Spare = {4, 3, 2, 1};
    c.Value2 = 2;
    std::array<uint8_t, net::ChannelTypeSize> cb{};
    net::EncodeChannelType(c, cb.data());
    ExpectBytes(cb.data(), {{0, 0x88}, {1, 0x13}, {8, 2}});
    EXPECT_EQ(net::DecodeChannelType(cb.data()), c);
}

}  // namespace
