#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <memory>

#include "errors.h"
#include "general_text.h"

namespace {

using net::FormatGeneralReal;
using net::GeneralReader;

TEST(GeneralReal, TwentyThreeCharacterForm) {
    EXPECT_EQ(FormatGeneralReal(0.0), " 0.00000000000000E+0000");
    EXPECT_EQ(FormatGeneralReal(-0.0), " 0.00000000000000E+0000");
    EXPECT_EQ(FormatGeneralReal(12.5), " 1.25000000000000E+0001");
    EXPECT_EQ(FormatGeneralReal(-12.5), "-1.25000000000000E+0001");
    EXPECT_EQ(FormatGeneralReal(1.0), " 1.00000000000000E+0000");
    EXPECT_EQ(FormatGeneralReal(0.001), " 1.00000000000000E-0003");
    EXPECT_EQ(FormatGeneralReal(1e-300), " 1.00000000000000E-0300");
    EXPECT_EQ(FormatGeneralReal(4.9e-324), " 4.94065645841247E-0324");
    // 15 significant digits: the 16th rounds, carrying into the exponent.
    EXPECT_EQ(FormatGeneralReal(1234567890123456789.0), " 1.23456789012346E+0018");
    EXPECT_EQ(FormatGeneralReal(9.999999999999999e22), " 1.00000000000000E+0023");
    EXPECT_EQ(FormatGeneralReal(1.0 / 3.0), " 3.33333333333333E-0001");
    for (const double v : {0.0, 12.5, -1e-300, DBL_MAX, -DBL_MAX, DBL_MIN}) {
        EXPECT_EQ(FormatGeneralReal(v).size(), 23u) << v;
    }
}

TEST(GeneralReal, LargestValuesStayReadable) {
    // Rounding DBL_MAX up to 15 digits would give a number beyond every
    // double, and the saved project could not be opened again.
    for (const double v : {DBL_MAX, -DBL_MAX, std::nextafter(DBL_MAX, 0.0)}) {
        const std::string text = FormatGeneralReal(v);
        GeneralReader reader(text);
        const double back = reader.ReadReal();
        EXPECT_TRUE(std::isfinite(back)) << text;
        EXPECT_EQ(FormatGeneralReal(back), text);
    }
    EXPECT_EQ(FormatGeneralReal(DBL_MAX), " 1.79769313486231E+0308");
}

TEST(GeneralReal, NonFiniteValueIsNotWritten) {
    EXPECT_THROW(FormatGeneralReal(INFINITY), net::IoError);
    EXPECT_THROW(FormatGeneralReal(NAN), net::IoError);
}

TEST(GeneralReader, RealForms) {
    const std::pair<const char*, double> cases[] = {
        {" 1.25000000000000E+0001", 12.5},
        {"-3", -3.0},
        {"+.5", 0.5},
        {"5.", 5.0},
        {"2e3", 2000.0},
        {"1E-0002", 0.01},
        {"1e-400", 0.0},
        {"", 0.0},
        {" \r\n\t", 0.0},
    };
    for (const auto& [text, value] : cases) {
        GeneralReader reader{std::string(text)};
        EXPECT_EQ(reader.ReadReal(), value) << text;
    }
    for (const char* text :
         {".", "e5", "1e", "1e+", "inf", "nan", "0x1p3", "1,5", "1.5f", "1e400", "- 1", "++1"}) {
        GeneralReader reader{std::string(text)};
        EXPECT_THROW(reader.ReadReal(), net::IoError) << text;
    }
}

TEST(GeneralReader, IntegerLimitsAndLength) {
    GeneralReader reader{std::string(4096, '0') + " " + "1" + std::string(4096, '0')};
    EXPECT_EQ(reader.ReadInt(), 0);
    EXPECT_THROW(reader.ReadInt(), net::IoError);

    GeneralReader hex{std::string("$00000000000000FF -0x80000000 $80000000 -$FFFFFFFF")};
    EXPECT_EQ(hex.ReadInt(), 255);
    EXPECT_EQ(hex.ReadInt(), INT32_MIN);
    EXPECT_EQ(hex.ReadInt(), INT32_MIN);
    EXPECT_EQ(hex.ReadInt(), 1);
    EXPECT_EQ(hex.ReadInt(), 0);  // the end: 0 from now on
    EXPECT_EQ(hex.ReadInt(), 0);
}

TEST(GeneralReader, SkipLineStopsAfterTheLineFeed) {
    GeneralReader reader{std::string("1 2 3\r\n4\n")};
    EXPECT_EQ(reader.ReadInt(), 1);
    reader.SkipLine();
    EXPECT_EQ(reader.ReadInt(), 4);
    reader.SkipLine();
    reader.SkipLine();  // at the end, nothing happens
    EXPECT_EQ(reader.ReadInt(), 0);
}

TEST(GeneralReader, ChunksOfAnySizeReadTheSame) {
    // A number split across the source's chunks is still one number, and
    // the end mark stops reading in the middle of a chunk.
    const std::string text = "-1.5e1 x\r\n12345 $ff\t-77 0X10\x1A 99";
    for (const size_t chunk : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, size_t{1000}}) {
        size_t offset = 0;
        GeneralReader reader([&](char* buffer, size_t size) {
            const size_t n = std::min({chunk, size, text.size() - offset});
            std::memcpy(buffer, text.data() + offset, n);
            offset += n;
            return n;
        });
        EXPECT_EQ(reader.ReadReal(), -15.0) << chunk;
        reader.SkipLine();
        EXPECT_EQ(reader.ReadInt(), 12345) << chunk;
        EXPECT_EQ(reader.ReadInt(), 255) << chunk;
        EXPECT_EQ(reader.ReadInt(), -77) << chunk;
        EXPECT_EQ(reader.ReadInt(), 16) << chunk;
        EXPECT_EQ(reader.ReadInt(), 0) << chunk;
    }
}

TEST(GeneralText, WholeFileLayout) {
    auto net = std::make_unique<net::TNetObj>();
    net->GeneralReal = -2.0;
    net->LoadMatrix[18][1] = 1000000;
    net->HostPresent[1] = true;
    net->HostPresent[3] = true;
    net->ChannelPresent[153] = true;
    const std::string text = net::FormatGeneral(*net);
    EXPECT_EQ(text.substr(0, 25), "-2.00000000000000E+0000\r\n");
    const std::string zeros18 = [] {
        std::string s;
        for (int k = 0; k < 18; ++k)
            s += "0 ";
        return s;
    }();
    const size_t row18 = 25 + 17 * (36 + 2);
    EXPECT_EQ(text.substr(row18, 8 + 34 + 2), "1000000 " + zeros18.substr(2) + "\r\n");
    const size_t hostLine = row18 + 44;
    EXPECT_EQ(text.substr(hostLine, 38), "1 0 1 " + zeros18.substr(6) + "\r\n");
    EXPECT_EQ(text.size(), hostLine + 38 + 153 * 2);
    EXPECT_EQ(text.substr(text.size() - 4), "0 1 ");

    // Read back, the text gives the same values.
    GeneralReader reader(text);
    const net::GeneralContent content = net::ReadGeneral(reader);
    EXPECT_EQ(content.Real, -2.0);
    EXPECT_EQ(content.Loads, net->LoadMatrix);
    EXPECT_EQ(content.HostPresent, net->HostPresent);
    EXPECT_EQ(content.ChannelPresent, net->ChannelPresent);
}

}  // namespace
