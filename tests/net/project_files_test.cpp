#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "errors.h"
#include "netobj.h"
#include "test_support.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using net::TNetObj;
using testing_support::MessageOf;
using testing_support::ReadBytes;
using testing_support::ScopedWorkDir;
using testing_support::WriteBytes;

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string Text(const fs::path& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int k = 0; k < times; ++k)
        out += piece;
    return out;
}

std::set<std::string> Entries(const fs::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Every slot different from its neighbours, absent slots with odd contents
// included, so that a slot read into the wrong place or a field dropped shows.
std::unique_ptr<TNetObj> SampleNetwork() {
    auto net = std::make_unique<TNetObj>();
    net->NetworkName = "образец";
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        net::HostRecord& r = net->Hosts[h];
        r.NameLength = static_cast<uint8_t>(h == net::MaxHosts ? net::MaxNameLength : h % 7);
        for (int i = 0; i < net::MaxNameLength; ++i) {
            r.NameChars[i] = static_cast<uint8_t>(0xC0 + (h * 3 + i) % 64);
        }
        r.Filler = {static_cast<uint8_t>(h), static_cast<uint8_t>(2 * h), 0xFF};
        r.X = h * 1000 - 9000;
        r.Y = INT32_MAX - h;
        r.TypeNo = h - 5;
        r.Reserved = 0x01020304 * h;
        net->HostPresent[h] = h % 3 != 0;
        net->HostCount += net->HostPresent[h] ? 1 : 0;
    }
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        net::ChannelRecord& r = net->Channels[c];
        r.HostA = c % net::MaxHosts + 1;
        r.HostB = (c * 7) % net::MaxHosts + 1;
        r.TypeNo = c % 4 - 1;
        r.Reserved = -c;
        r.Length = c * 1.1 + 1e-9;
        net->ChannelPresent[c] = c % 5 == 0;
        net->ChannelCount += net->ChannelPresent[c] ? 1 : 0;
    }
    // An absent slot keeps whatever it held, ends outside 1..18 included.
    net->Channels[2].HostA = -7;
    net->Channels[2].HostB = 1000;
    net->Channels[2].Length = 4.9e-324;
    for (int32_t i = 1; i <= net::MaxHosts; ++i) {
        for (int32_t j = 1; j <= net::MaxHosts; ++j) {
            net->LoadMatrix[i][j] = (i * 31 + j * 17) % 2001 - 1000;
        }
    }
    net->LoadMatrix[1][1] = INT32_MIN;
    net->LoadMatrix[18][18] = INT32_MAX;
    net->LoadMatrix[2][3] = -5;
    return net;
}

// A network that holds something in every field a load may touch or must
// leave alone.
std::unique_ptr<TNetObj> PreviousNetwork() {
    auto net = std::make_unique<TNetObj>();
    net->NetworkName = "прежняя сеть";
    net->Hosts[4].X = 77;
    net->Hosts[4].NameLength = 2;
    net->HostPresent[4] = true;
    net->HostCount = 1;
    net->Channels[9] = {4, 4, 1, 3, 2.5};
    net->ChannelPresent[9] = true;
    net->ChannelCount = 1;
    net->LoadMatrix[3][4] = 321;
    net->GeneralReal = 6.25;
    net->HostTypes[1].Value1 = 1000;
    net->HostTypeCount = 1;
    net->ChannelTypes[1].Capacity = 5000;
    net->ChannelTypeCount = 1;
    net->DelayMatrix[1][2] = 0.75;
    net->PathTable.Records[1] = {2, 1, 2};
    net->PathTable.PathCount = 1;
    net->ResidualMatrix[1][2] = 4000;
    net->DynamicRouting = true;
    return net;
}

// The fields a project holds, plus those a load must leave alone.
void ExpectSameNetwork(const TNetObj& a, const TNetObj& b) {
    EXPECT_EQ(a.NetworkName, b.NetworkName);
    EXPECT_TRUE(a.Hosts == b.Hosts);
    EXPECT_TRUE(a.Channels == b.Channels);
    EXPECT_EQ(a.HostPresent, b.HostPresent);
    EXPECT_EQ(a.ChannelPresent, b.ChannelPresent);
    EXPECT_EQ(a.HostCount, b.HostCount);
    EXPECT_EQ(a.ChannelCount, b.ChannelCount);
    EXPECT_EQ(a.LoadMatrix, b.LoadMatrix);
    EXPECT_EQ(a.GeneralReal, b.GeneralReal);
    EXPECT_TRUE(a.HostTypes == b.HostTypes);
    EXPECT_EQ(a.HostTypeCount, b.HostTypeCount);
    EXPECT_TRUE(a.ChannelTypes == b.ChannelTypes);
    EXPECT_EQ(a.ChannelTypeCount, b.ChannelTypeCount);
    EXPECT_EQ(a.DelayMatrix, b.DelayMatrix);
    EXPECT_EQ(a.PathTable.Records, b.PathTable.Records);
    EXPECT_EQ(a.PathTable.PathCount, b.PathTable.PathCount);
    EXPECT_EQ(a.ResidualMatrix, b.ResidualMatrix);
    EXPECT_EQ(a.DynamicRouting, b.DynamicRouting);
}

// Loading must fail with the message and leave the network exactly as it was.
void ExpectLoadFails(const std::string& directory, const std::string& message) {
    const auto before = PreviousNetwork();
    auto net = PreviousNetwork();
    EXPECT_EQ(MessageOf([&] { net->LoadProject(directory); }), message);
    ExpectSameNetwork(*net, *before);
}

// The three files of an empty network; tests change one of them.
void WriteEmptyProject(const fs::path& directory) {
    fs::create_directories(directory);
    WriteBytes(directory / "hosts.hs", std::vector<uint8_t>(720));
    WriteBytes(directory / "channels.cs", std::vector<uint8_t>(3672));
    WriteBytes(directory / "general.gs", Bytes(" 0.00000000000000E+0000\r\n"));
}

std::string EmptyGeneral() {
    std::string text = " 0.00000000000000E+0000\r\n";
    for (int row = 0; row < 19; ++row)
        text += Repeat("0 ", 18) + "\r\n";
    return text + Repeat("0 ", 153);
}

// A fresh network loaded from `directory`.
std::unique_ptr<TNetObj> Loaded(const std::string& directory) {
    auto net = std::make_unique<TNetObj>();
    net->LoadProject(directory);
    return net;
}

// Makes `directory` and saves `net` into it.
void SaveInto(const TNetObj& net, const std::string& directory) {
    fs::create_directories(directory);
    net.SaveProject(directory);
}

class ProjectFiles : public ::testing::Test {
protected:
    ScopedWorkDir work_;
};

TEST_F(ProjectFiles, SaveThenLoadRestoresEverySlot) {
    const auto saved = SampleNetwork();
    SaveInto(*saved, "p");

    auto loaded = PreviousNetwork();
    const auto previous = PreviousNetwork();
    loaded->LoadProject("p");

    EXPECT_EQ(loaded->NetworkName, "p");
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        EXPECT_EQ(loaded->Hosts[h], saved->Hosts[h]) << "host slot " << h;
    }
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        const net::ChannelRecord& a = loaded->Channels[c];
        const net::ChannelRecord& b = saved->Channels[c];
        EXPECT_EQ(a.HostA, b.HostA) << "channel slot " << c;
        EXPECT_EQ(a.HostB, b.HostB) << "channel slot " << c;
        EXPECT_EQ(a.TypeNo, b.TypeNo) << "channel slot " << c;
        EXPECT_EQ(a.Reserved, b.Reserved) << "channel slot " << c;
        EXPECT_EQ(std::memcmp(&a.Length, &b.Length, sizeof a.Length), 0) << "channel slot " << c;
    }
    EXPECT_EQ(loaded->LoadMatrix, saved->LoadMatrix);
    EXPECT_EQ(loaded->HostPresent, saved->HostPresent);
    EXPECT_EQ(loaded->ChannelPresent, saved->ChannelPresent);
    EXPECT_EQ(loaded->HostCount, 12);
    EXPECT_EQ(loaded->ChannelCount, 30);
    EXPECT_EQ(loaded->GeneralReal, 0.0);
    // What a project does not hold stays as it was.
    EXPECT_TRUE(loaded->HostTypes == previous->HostTypes);
    EXPECT_EQ(loaded->ChannelTypeCount, previous->ChannelTypeCount);
    EXPECT_EQ(loaded->DelayMatrix, previous->DelayMatrix);
    EXPECT_EQ(loaded->PathTable.PathCount, 1);
    EXPECT_EQ(loaded->ResidualMatrix, previous->ResidualMatrix);
    EXPECT_TRUE(loaded->DynamicRouting);

    // The saving network keeps its name.
    EXPECT_EQ(saved->NetworkName, "образец");
}

TEST_F(ProjectFiles, RealsWithAtMostFifteenDigitsComeBackExactly) {
    for (const double value : {12.5, -0.1, 1e-300, 123456789012345.0, 6.02214076e23}) {
        auto net = std::make_unique<TNetObj>();
        net->GeneralReal = value;
        SaveInto(*net, "r");
        const auto loaded = Loaded("r");
        EXPECT_EQ(loaded->GeneralReal, value);
    }
}

TEST_F(ProjectFiles, EmptyNetworkGivesExactFiles) {
    testing_support::WriteTypeFiles({{1000, 4}}, {{5000, 1}});
    auto net = std::make_unique<TNetObj>();
    net->Reset();
    SaveInto(*net, "empty");

    EXPECT_EQ(ReadBytes("empty/hosts.hs"), std::vector<uint8_t>(720));
    EXPECT_EQ(ReadBytes("empty/channels.cs"), std::vector<uint8_t>(3672));
    EXPECT_EQ(Text("empty/general.gs"), EmptyGeneral());
    EXPECT_EQ(Entries("empty"), (std::set<std::string>{"hosts.hs", "channels.cs", "general.gs"}));
}

TEST_F(ProjectFiles, NamesAreWindows1251InTheFile) {
    testing_support::WriteTypeFiles({{1000, 4}}, {{5000, 1}});
    auto net = std::make_unique<TNetObj>();
    net->Reset();
    net->AddHost(10, 10, "Тула-日", 1);
    SaveInto(*net, "names");
    const std::vector<uint8_t> hosts = ReadBytes("names/hosts.hs");
    // Т у л а - ? : the character Windows-1251 cannot hold is written as "?".
    EXPECT_EQ(std::vector<uint8_t>(hosts.begin(), hosts.begin() + 7),
              (std::vector<uint8_t>{6, 0xD2, 0xF3, 0xEB, 0xE0, '-', '?'}));
    const auto loaded = Loaded("names");
    EXPECT_EQ(loaded->HostName(1), "Тула-?");
}

TEST_F(ProjectFiles, NegativeLoadIsWrittenWithMinusAndReadBack) {
    auto net = std::make_unique<TNetObj>();
    net->LoadMatrix[1][2] = -5;
    SaveInto(*net, "neg");
    const std::string text = Text("neg/general.gs");
    EXPECT_EQ(text.substr(25, 5 + 16 * 2 + 2), "0 -5 " + Repeat("0 ", 16) + "\r\n");
    const auto loaded = Loaded("neg");
    EXPECT_EQ(loaded->LoadMatrix[1][2], -5);
}

TEST_F(ProjectFiles, GeneralHoldingOnlyItsFirstLineLoadsAsEmpty) {
    for (const std::string general : {" 1.25000000000000E+0001", " 1.25000000000000E+0001\r\n"}) {
        WriteEmptyProject("short");
        WriteBytes("short/general.gs", Bytes(general));
        auto net = PreviousNetwork();
        net->LoadProject("short");
        EXPECT_EQ(net->GeneralReal, 12.5);
        EXPECT_EQ(net->LoadMatrix, net::HostMatrix<int32_t>{});
        EXPECT_EQ(net->HostCount, 0);
        EXPECT_EQ(net->ChannelCount, 0);
        EXPECT_FALSE(net->HostPresent[4]);
        EXPECT_FALSE(net->ChannelPresent[9]);
    }
}

TEST_F(ProjectFiles, OnlyAFlagOfOneMeansPresent) {
    WriteEmptyProject("flags");
    std::vector<uint8_t> channels(3672, 0);
    for (int c = 0; c < 3; ++c) {
        net::EncodeChannelRecord({1, 2 + c, 1, 0, 1.0}, channels.data() + c * 24);
    }
    WriteBytes("flags/channels.cs", channels);
    std::string general = "0\r\n" + Repeat("0 ", 324) + "1 2 -1 1 $1 0x1 " + Repeat("0 ", 12);
    general += "2 1 1";  // channel flags 1..3
    WriteBytes("flags/general.gs", Bytes(general));
    const auto net = Loaded("flags");
    const std::array<bool, 7> hosts = {false, true, false, false, true, true, true};
    for (int h = 1; h <= 6; ++h)
        EXPECT_EQ(net->HostPresent[h], hosts[h]) << "host " << h;
    EXPECT_EQ(net->HostCount, 4);
    EXPECT_FALSE(net->ChannelPresent[1]);
    EXPECT_TRUE(net->ChannelPresent[2]);
    EXPECT_TRUE(net->ChannelPresent[3]);
    EXPECT_EQ(net->ChannelCount, 2);
}

TEST_F(ProjectFiles, IntegersNeedNotStandOnTheirLines) {
    const auto saved = SampleNetwork();
    // Present channels need present ends only in the sense of 1..18.
    SaveInto(*saved, "lines");
    const auto fromLines = Loaded("lines");

    // The same numbers on one line, separated by tabs, hexadecimal where
    // possible, and trailing text after the last number.
    std::string general = Text("lines/general.gs");
    const size_t firstLineEnd = general.find('\n') + 1;
    std::string rest = general.substr(firstLineEnd);
    std::string oneLine;
    for (char c : rest) {
        if (c == '\r' || c == '\n')
            continue;
        oneLine += c == ' ' ? '\t' : c;
    }
    WriteBytes("lines/general.gs",
               Bytes(general.substr(0, firstLineEnd) + oneLine + "\x01 garbage"));
    const auto fromOneLine = Loaded("lines");
    ExpectSameNetwork(*fromOneLine, *fromLines);
}

TEST_F(ProjectFiles, HostFileOfWrongSize) {
    const auto saved = SampleNetwork();
    SaveInto(*saved, "size");
    const std::vector<uint8_t> full = ReadBytes("size/hosts.hs");

    WriteBytes("size/hosts.hs", std::vector<uint8_t>(full.begin(), full.end() - 1));
    ExpectLoadFails("size", "Read beyond end of file");

    std::vector<uint8_t> longer = full;
    longer.resize(800, 0x55);
    WriteBytes("size/hosts.hs", longer);
    const auto net = Loaded("size");
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        EXPECT_EQ(net->Hosts[h], saved->Hosts[h]) << "host slot " << h;
    }
}

TEST_F(ProjectFiles, ShortChannelFileFailsAndChangesNothing) {
    WriteEmptyProject("short");
    WriteBytes("short/channels.cs", std::vector<uint8_t>(3671));
    ExpectLoadFails("short", "Read beyond end of file");
}

TEST_F(ProjectFiles, MissingFilesAndDirectories) {
    fs::create_directory("nothing");
    ExpectLoadFails("nothing", "File not found");
    ExpectLoadFails("no-such-directory", "Invalid filename");
    ExpectLoadFails("nothing/deeper", "Invalid filename");
    WriteBytes("plain-file", Bytes("not a directory"));
    ExpectLoadFails("plain-file", "Invalid filename");

    // A name with a NUL character in it would name another file.
    WriteEmptyProject("real");
    ExpectLoadFails(std::string("real\0hidden", 11), "Invalid filename");

    // A later missing file fails as well, and the earlier ones change nothing.
    WriteEmptyProject("partial");
    fs::remove("partial/general.gs");
    ExpectLoadFails("partial", "File not found");
    WriteEmptyProject("partial");
    fs::remove("partial/channels.cs");
    ExpectLoadFails("partial", "File not found");
}

TEST_F(ProjectFiles, SomethingElseInAFilesPlaceIsRefused) {
    WriteEmptyProject("odd");
    fs::remove("odd/general.gs");
    fs::create_directory("odd/general.gs");
    ExpectLoadFails("odd", "File access denied");

    // A pipe must neither hang the load nor be taken for a file.
    fs::remove("odd/general.gs");
    ASSERT_EQ(::mkfifo("odd/general.gs", 0666), 0);
    ExpectLoadFails("odd", "File access denied");
}

// Starts a copy of a program under the given name and keeps it running, so
// that its file cannot be opened for writing, by root neither.
class BusyExecutable {
public:
    explicit BusyExecutable(const fs::path& path) {
        fs::copy_file("/bin/sleep", path);
        fs::permissions(path, fs::perms::owner_all);
        const std::string program = path.string();
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("30"), nullptr};
        started_ = ::posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv, environ) == 0;
    }
    ~BusyExecutable() {
        if (!started_)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    bool Started() const { return started_; }

private:
    pid_t pid_ = 0;
    bool started_ = false;
};

TEST_F(ProjectFiles, ReadOnlyProjectLoads) {
    // The record files are running programs: the system refuses to open
    // them for writing, whatever the permissions.
    fs::create_directory("ro");
    const BusyExecutable hosts("ro/hosts.hs");
    const BusyExecutable channels("ro/channels.cs");
    ASSERT_TRUE(hosts.Started());
    ASSERT_TRUE(channels.Started());
    ASSERT_LT(::open("ro/hosts.hs", O_RDWR), 0);
    ASSERT_EQ(errno, ETXTBSY);
    WriteBytes("ro/general.gs", Bytes("0\r\n"));
    fs::permissions("ro/general.gs", fs::perms::owner_read);
    fs::permissions("ro", fs::perms::owner_read | fs::perms::owner_exec);

    const auto net = Loaded("ro");
    EXPECT_EQ(net->NetworkName, "ro");
    EXPECT_EQ(net->HostCount, 0);
    fs::permissions("ro", fs::perms::owner_all);
}

TEST_F(ProjectFiles, BadNumbersFailAndChangeNothing) {
    const std::string loads = "\r\n" + Repeat("7 ", 320);
    const std::vector<std::string> generals = {
        "abc" + loads,
        "1e" + loads,
        "1.5.2" + loads,
        "--1" + loads,
        "1e999" + loads,
        "0x10" + loads,
        "0\r\n" + Repeat("1 ", 100) + "1a",
        "0\r\n2147483648",
        "0\r\n-2147483649",
        "0\r\n$",
        "0\r\n0x",
        "0\r\n$100000000",
        "0\r\n1,5",
        "0\r\n" + std::string(5000, '1'),
        "0\r\n\xC0",
    };
    for (const std::string& general : generals) {
        WriteEmptyProject("bad");
        WriteBytes("bad/general.gs", Bytes(general));
        SCOPED_TRACE(general.substr(0, 40));
        ExpectLoadFails("bad", "Invalid numeric input");
    }
}

TEST_F(ProjectFiles, NumberForms) {
    WriteEmptyProject("forms");
    const std::string general =
        "+1.5E2 this text is skipped\r\n"
        "-2147483648 2147483647 $FFFFFFFF 0x7fffffff -$10 +12 007 0X1f \t\v\f\x01 5"
        "\x1A 9 9 9";  // code 26 ends the file: the 9s are never read
    WriteBytes("forms/general.gs", Bytes(general));
    const auto net = Loaded("forms");
    EXPECT_EQ(net->GeneralReal, 150.0);
    const std::array<int32_t, 11> expected = {0,  INT32_MIN, INT32_MAX, -1, INT32_MAX, -16,
                                              12, 7,         31,        5,  0};
    for (int j = 1; j <= 10; ++j)
        EXPECT_EQ(net->LoadMatrix[1][j], expected[j]) << "entry " << j;
    EXPECT_EQ(net->HostCount, 0);
}

TEST_F(ProjectFiles, FirstNumberMaySitOnALaterLine) {
    // The real is the first number wherever it stands; the rest of its line
    // is skipped.
    WriteEmptyProject("late");
    WriteBytes("late/general.gs", Bytes("\r\n\r\n  -.5 8 8\r\n3"));
    const auto net = Loaded("late");
    EXPECT_EQ(net->GeneralReal, -0.5);
    EXPECT_EQ(net->LoadMatrix[1][1], 3);
    EXPECT_EQ(net->LoadMatrix[1][2], 0);
}

TEST_F(ProjectFiles, PresentChannelWithEndOutsideTheHostsIsRefused) {
    for (const int32_t end : {0, 19, -1, INT32_MAX}) {
        WriteEmptyProject("ends");
        net::ChannelRecord channel{3, end, 1, 0, 10.0};
        std::vector<uint8_t> channels = ReadBytes("ends/channels.cs");
        net::EncodeChannelRecord(channel, channels.data() + 6 * net::ChannelRecordSize);
        WriteBytes("ends/channels.cs", channels);
        WriteBytes("ends/general.gs", Bytes("0\r\n" + Repeat("0 ", 324 + 18 + 6) + "1"));
        SCOPED_TRACE(end);
        ExpectLoadFails("ends", "Канал 7 в файле channels.cs ведёт к маршрутизатору " +
                                    std::to_string(end) +
                                    ", номер вне пределов 1..18; проект не загружен");
    }
}

TEST_F(ProjectFiles, OtherOddContentIsTakenAsItComes) {
    WriteEmptyProject("odd");
    std::vector<uint8_t> hosts(720, 0);
    hosts[0] = 200;  // a name length beyond the 20 characters of the record
    for (int i = 1; i <= 20; ++i)
        hosts[i] = 'a' + i;
    hosts[40 + 32] = 0xFF;  // host 2: type number 255
    WriteBytes("odd/hosts.hs", hosts);
    std::vector<uint8_t> channels(3672, 0);
    // Channel 1 joins host 1 with itself, channel 2 joins two absent hosts,
    // and channel 3 repeats channel 1; channel 4 has absurd ends but is absent.
    net::EncodeChannelRecord({1, 1, 99, -4, -3.0}, channels.data());
    net::EncodeChannelRecord({17, 18, 1, 0, 1e300}, channels.data() + 24);
    net::EncodeChannelRecord({1, 1, 0, 0, 0.0}, channels.data() + 48);
    net::EncodeChannelRecord({-9, 900, 0, 0, 0.0}, channels.data() + 72);
    WriteBytes("odd/channels.cs", channels);
    WriteBytes("odd/general.gs",
               Bytes("0\r\n" + Repeat("0 ", 324) + "1 " + Repeat("0 ", 17) + "1 1 1 0"));
    const auto net = Loaded("odd");
    EXPECT_EQ(net->Hosts[1].NameLength, 20);
    EXPECT_EQ(net->HostName(1), "bcdefghijklmnopqrstu");
    EXPECT_EQ(net->Hosts[2].TypeNo, 255);
    EXPECT_EQ(net->ChannelCount, 3);
    EXPECT_EQ(net->Channels[1].TypeNo, 99);
    EXPECT_EQ(net->Channels[1].Length, -3.0);
    EXPECT_EQ(net->Channels[2].Length, 1e300);
    EXPECT_EQ(net->Channels[4].HostB, 900);
    EXPECT_FALSE(net->ChannelPresent[4]);
}

TEST_F(ProjectFiles, SaveKeepsNameAndReplacesAnOldProject) {
    const auto first = SampleNetwork();
    SaveInto(*first, "over");
    // A temporary file left by an interrupted save is simply replaced.
    WriteBytes("over/hosts.hs.tmp", Bytes("left over"));
    auto second = std::make_unique<TNetObj>();
    second->NetworkName = "вторая";
    second->LoadMatrix[5][6] = 42;
    second->SaveProject("over");
    EXPECT_EQ(second->NetworkName, "вторая");
    EXPECT_EQ(Entries("over"), (std::set<std::string>{"hosts.hs", "channels.cs", "general.gs"}));
    const auto loaded = Loaded("over");
    EXPECT_EQ(loaded->LoadMatrix, second->LoadMatrix);
    EXPECT_EQ(loaded->HostCount, 0);
}

// Saving must fail with the message, leave the old project byte for byte as
// it was and leave no temporary file behind.
void ExpectSaveFails(const std::string& directory, const std::string& message,
                     const std::set<std::string>& entriesAfter) {
    const auto before = fs::is_directory(directory) ? Entries(directory) : std::set<std::string>{};
    std::map<std::string, std::vector<uint8_t>> contents;
    for (const char* name : {"hosts.hs", "channels.cs", "general.gs"}) {
        const fs::path path = fs::path(directory) / name;
        if (fs::is_regular_file(path))
            contents[name] = ReadBytes(path);
    }
    const auto net = SampleNetwork();
    EXPECT_EQ(MessageOf([&] { net->SaveProject(directory); }), message);
    for (const auto& [name, bytes] : contents) {
        EXPECT_EQ(ReadBytes(fs::path(directory) / name), bytes) << name;
    }
    if (fs::is_directory(directory)) {
        EXPECT_EQ(Entries(directory), entriesAfter);
    }
}

// A file system of a few pages mounted on a directory, in a mount namespace
// of this test process alone; it fills up for root as for anyone.
class SmallDisk {
public:
    SmallDisk(const fs::path& directory, int pages) : directory_(fs::absolute(directory)) {
        fs::create_directories(directory_);
        static const bool privateMounts =
            ::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        const std::string options = "size=" + std::to_string(pages * 4) + "k";
        mounted_ =
            privateMounts && ::mount("tmpfs", directory_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(directory_.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }

private:
    fs::path directory_;
    bool mounted_ = false;
};

TEST_F(ProjectFiles, FullDiskLeavesTheOldProject) {
    // Four pages: the old project takes three, so the first temporary file
    // fills the disk and the second cannot be written.
    const SmallDisk disk("full", 4);
    if (!disk.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    auto old = std::make_unique<TNetObj>();
    old->LoadMatrix[1][2] = 17;
    old->SaveProject("full");
    ExpectSaveFails("full", "Disk full", {"hosts.hs", "channels.cs", "general.gs"});

    // Five pages: the last temporary file is the one that does not fit.
    const SmallDisk larger("larger", 5);
    ASSERT_TRUE(larger.Mounted());
    old->SaveProject("larger");
    ExpectSaveFails("larger", "Disk full", {"hosts.hs", "channels.cs", "general.gs"});

    const auto loaded = Loaded("larger");
    EXPECT_EQ(loaded->LoadMatrix[1][2], 17);
}

TEST_F(ProjectFiles, SaveNeverWritesThroughALinkAtATemporaryName) {
    fs::create_directory("p");
    WriteBytes("victim", Bytes("untouched"));
    fs::create_symlink(fs::absolute("victim"), "p/hosts.hs.tmp");
    fs::create_symlink("/dev/full", "p/channels.cs.tmp");
    const auto net = SampleNetwork();
    net->SaveProject("p");
    EXPECT_EQ(Text("victim"), "untouched");
    EXPECT_EQ(Entries("p"), (std::set<std::string>{"hosts.hs", "channels.cs", "general.gs"}));
    EXPECT_FALSE(fs::is_symlink("p/hosts.hs"));
    EXPECT_EQ(ReadBytes("p/hosts.hs").size(), 720u);
}

TEST_F(ProjectFiles, SaveWhereNoDirectoryCanBe) {
    ExpectSaveFails("no-such-directory", "Invalid filename", {});
    EXPECT_FALSE(fs::exists("no-such-directory"));

    WriteBytes("plain-file", Bytes("keep me"));
    ExpectSaveFails("plain-file", "Invalid filename", {});
    EXPECT_EQ(Text("plain-file"), "keep me");

    // The part before a NUL character is not where the files go.
    WriteBytes("hosts.hs.tmp", Bytes("keep me too"));
    const auto net = SampleNetwork();
    EXPECT_EQ(MessageOf([&] { net->SaveProject(std::string(".\0/elsewhere", 12)); }),
              "Invalid filename");
    EXPECT_EQ(Text("hosts.hs.tmp"), "keep me too");
}

TEST_F(ProjectFiles, SaveRefusesADirectoryInAFilesPlace) {
    WriteEmptyProject("dir");
    fs::remove("dir/general.gs");
    fs::create_directory("dir/general.gs");
    ExpectSaveFails("dir", "File access denied", {"hosts.hs", "channels.cs", "general.gs"});
    EXPECT_TRUE(fs::is_directory("dir/general.gs"));
}

TEST_F(ProjectFiles, SaveIntoADirectoryThatMayNotBeWritten) {
    // sysfs lets nobody create files, root included.
    if (!fs::is_directory("/sys/kernel"))
        GTEST_SKIP() << "no /sys here";
    const auto net = SampleNetwork();
    EXPECT_EQ(MessageOf([&] { net->SaveProject("/sys"); }), "File access denied");
    EXPECT_FALSE(fs::exists("/sys/hosts.hs.tmp"));
}

}  // namespace
