// Feeds arbitrary bytes to the loaders as the three project files and the two
// reference files, then runs everything that reads a loaded network and
// checks what loading promises:
// - a failed load leaves the network exactly as it was;
// - a loaded network has counts equal to its flags, names of at most 20
//   characters and present channels between host slots 1..18;
// - saving a loaded network and loading it again gives the same network;
// - after editing, building and routing the loaded network as its sixth part
//   asks, counts still equal flags and names still fit;
// - a save whose n-th commit step fails leaves the old project byte for byte,
//   and one that succeeds loads back as the edited network.
//
// The input is up to six parts separated by kSeparator: hosts.hs,
// channels.cs, general.gs, HostInfo.hi, ChanInfo.ci and the operations (see
// Operations). A file whose part is missing does not exist.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "errors.h"
#include "general_text.h"
#include "netobj.h"
#include "numconv.h"
#include "posix_file.h"
#include "texts.h"

namespace {

constexpr std::string_view kSeparator = "\n--8<--\n";
const char* const kFiles[] = {"p/hosts.hs", "p/channels.cs", "p/general.gs", "HostInfo.hi",
                              "ChanInfo.ci"};

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "project_fuzzer: %s\n", what);
    __builtin_trap();
}

void Check(bool condition, const char* what) {
    if (!condition)
        Fail(what);
}

// A scratch directory on a memory file system when there is one, removed
// when the process ends normally.
const std::string& Workspace() {
    static const std::string path = [] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/netd-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            Fail("no workspace");
        mkdir((pattern + "/p").c_str(), 0777);
        mkdir((pattern + "/q").c_str(), 0777);
        return pattern;
    }();
    static const bool cleanup = (std::atexit([] {
                                     std::error_code ignored;
                                     std::filesystem::remove_all(Workspace(), ignored);
                                 }) == 0);
    (void)cleanup;
    return path;
}

// The reference files are read from the working directory: each input runs
// inside the workspace, and the fuzzer's own relative paths (corpus,
// artifacts) stay valid between inputs.
class InsideWorkspace {
public:
    InsideWorkspace() : previous_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (previous_ < 0 || chdir(Workspace().c_str()) != 0)
            Fail("cannot enter the workspace");
    }
    ~InsideWorkspace() {
        if (fchdir(previous_) != 0)
            Fail("cannot leave the workspace");
        close(previous_);
    }
    InsideWorkspace(const InsideWorkspace&) = delete;
    InsideWorkspace& operator=(const InsideWorkspace&) = delete;

private:
    int previous_;
};

void WriteFile(const char* path, std::string_view bytes) {
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr)
        Fail("cannot write an input file");
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::unique_ptr<net::TNetObj> PreviousNetwork() {
    auto net = std::make_unique<net::TNetObj>();
    net->NetworkName = "прежняя";
    net->Hosts[3].X = 5;
    net->HostPresent[3] = true;
    net->HostCount = 1;
    net->Channels[7] = {3, 3, 2, 1, 0.5};
    net->ChannelPresent[7] = true;
    net->ChannelCount = 1;
    net->LoadMatrix[3][3] = 9;
    net->GeneralReal = 2.5;
    return net;
}

// The real of general.gs is kept to 15 significant digits, and -0.0 is
// written as 0.0: equal means equal in the file.
bool SameReal(double a, double b) {
    return std::isfinite(a) && std::isfinite(b)
               ? net::FormatGeneralReal(a) == net::FormatGeneralReal(b)
               : std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameProject(const net::TNetObj& a, const net::TNetObj& b) {
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        const net::ChannelRecord& x = a.Channels[c];
        const net::ChannelRecord& y = b.Channels[c];
        if (x.HostA != y.HostA || x.HostB != y.HostB || x.TypeNo != y.TypeNo ||
            x.Reserved != y.Reserved || std::memcmp(&x.Length, &y.Length, sizeof x.Length) != 0) {
            return false;
        }
    }
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        if (!(a.Hosts[h] == b.Hosts[h]))
            return false;
    }
    return a.NetworkName == b.NetworkName && a.HostPresent == b.HostPresent &&
           a.ChannelPresent == b.ChannelPresent && a.HostCount == b.HostCount &&
           a.ChannelCount == b.ChannelCount && a.LoadMatrix == b.LoadMatrix &&
           SameReal(a.GeneralReal, b.GeneralReal);
}

// What every operation keeps: counts equal to the flags, names of at most
// 20 characters, present channels between host slots.
void CheckCounts(const net::TNetObj& net) {
    int32_t hosts = 0;
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        hosts += net.HostPresent[h] ? 1 : 0;
        Check(net.Hosts[h].NameLength <= net::MaxNameLength, "name longer than 20");
    }
    int32_t channels = 0;
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        ++channels;
        const net::ChannelRecord& r = net.Channels[c];
        Check(r.HostA >= 1 && r.HostA <= net::MaxHosts && r.HostB >= 1 && r.HostB <= net::MaxHosts,
              "present channel outside the host slots");
    }
    Check(hosts == net.HostCount && channels == net.ChannelCount, "counts differ from flags");
}

void CheckLoaded(const net::TNetObj& net) {
    CheckCounts(net);
    Check(net.NetworkName == "p", "name is not the directory");
}

// Reads the operation part byte by byte; past its end every byte is 0.
class Bytes {
public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
    bool Empty() const { return pos_ >= bytes_.size(); }
    uint8_t Next() { return Empty() ? 0 : static_cast<uint8_t>(bytes_[pos_++]); }
    // A small signed number: positions near the drawing and far off it.
    int32_t Coordinate() {
        const uint8_t low = Next();
        const auto value = static_cast<int16_t>(low | Next() << 8);
        return (Next() & 1) != 0 ? int32_t{value} * 65536 : value;
    }
    // Up to 31 bytes of text, any bytes at all.
    std::string Text() {
        const size_t length = Next() % 32;
        std::string text;
        while (text.size() < length && !Empty())
            text.push_back(static_cast<char>(Next()));
        return text;
    }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

// A present host picked by the input, 0 when there is none: the windows and
// the runner only pass hosts found on the drawing.
int32_t PresentHost(const net::TNetObj& net, uint8_t pick) {
    if (net.HostCount <= 0)
        return 0;
    int32_t skip = pick % net.HostCount;
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        if (net.HostPresent[h] && skip-- == 0)
            return h;
    }
    return 0;
}

// A typed number: converted, and a decimal result reads back the same.
void TypedNumber(const std::string& text) {
    try {
        const int32_t value = net::StrToInt(text);
        Check(net::StrToInt(std::to_string(value)) == value, "a converted number reads back wrong");
    } catch (const net::ConvertError&) {
    }
}

// One operation of the sixth part, as the windows and the runner would call
// it. An operation may refuse with NetError (a full table, a type number
// outside the table, a channel filled to zero); the network must stay sound.
void Operate(net::TNetObj& net, Bytes& ops) {
    const uint8_t op = ops.Next() % 16;
    const int32_t host = PresentHost(net, ops.Next());
    const int32_t other = PresentHost(net, ops.Next());
    const int32_t type = static_cast<int8_t>(ops.Next());
    switch (op) {
        case 0: {
            const int32_t x = ops.Coordinate();
            net.AddHost(x, ops.Coordinate(), ops.Text(), type);
            break;
        }
        case 1:
            if (host != 0)
                net.DeleteHost(host);
            break;
        case 2:
            if (host != 0) {
                const int32_t x = ops.Coordinate();
                net.UpdateHost(host, x, ops.Coordinate(), ops.Text(), type);
            }
            break;
        case 3:
            if (host != 0 && other != 0)
                net.AddChannel(host, other, type);
            break;
        case 4:
            net.DeleteChannel(1 + ops.Next() % net::MaxChannels);
            break;
        case 5:
            net.SetChannelType(1 + ops.Next() % net::MaxChannels, type);
            break;
        case 6:
            if (host != 0)
                net.BuildStar(host, type);
            break;
        case 7:
            net.BuildFullMesh(type);
            break;
        case 8:
            net.DeleteAllChannels();
            break;
        case 9:
            net.BuildSpanningTree();
            break;
        case 10:
            net.BuildSpanningTreeOverAll(type);
            break;
        case 11:
            net.MakeBiconnected(type);
            break;
        case 12:
            net.BuildRing(type);
            break;
        case 13:
            net.RouteAll();
            break;
        case 14:
            net.ToggleDynamic();  // routes again after every later change
            break;
        default:
            TypedNumber(ops.Text());
            break;
    }
}

// Bytes of the three project files in `directory`.
std::string ProjectBytes(const std::string& directory) {
    std::string all;
    for (const char* name : {"/hosts.hs", "/channels.cs", "/general.gs"}) {
        FILE* f = std::fopen((directory + name).c_str(), "rb");
        if (f == nullptr)
            Fail("a project file is missing");
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            all.append(buffer, n);
        std::fclose(f);
        all += '|';
    }
    return all;
}

// Saves over the project in "q" with commit step `failing` failing (a number
// past the last step lets the save succeed).
void SaveFailingAt(const net::TNetObj& net, int failing) {
    const std::string before = ProjectBytes("q");
    net::seam::CommitStepFault = [failing, step = 0]() mutable {
        return ++step == failing ? EIO : 0;
    };
    bool failed = false;
    try {
        net.SaveProject("q");
    } catch (const net::IoError&) {
        failed = true;
    }
    net::seam::CommitStepFault = nullptr;
    if (failed) {
        Check(ProjectBytes("q") == before, "a failed save changed the old project");
        return;
    }
    auto reloaded = std::make_unique<net::TNetObj>();
    reloaded->LoadProject("q");
    reloaded->NetworkName = net.NetworkName;
    Check(SameProject(net, *reloaded), "an edited network came back different");
}

// Everything that reads a loaded network without changing its slots.
void Exercise(net::TNetObj& net) {
    for (int32_t k = 1; k <= net.HostTypeCount; ++k)
        net::HostTypeText(net, k);
    for (int32_t k = 1; k <= net.ChannelTypeCount; ++k)
        net::ChannelTypeText(net, k);
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        if (net.HostPresent[h])
            net::HostText(net, h);
    }
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        net::ChannelText(net, c);
        net.HostDistance(net.Channels[c].HostA, net.Channels[c].HostB);
    }
    for (int32_t h = 1; h <= net::MaxHosts; ++h)
        net.HostName(h);
    net::ClassText(net.Classify());
    try {
        net.RouteAll();
        for (int32_t p = 1; p <= net.PathTable.PathCount; ++p)
            net::PathText(net, p);
        for (int32_t u = 1; u <= net.Unrouted.Count; ++u)
            net::UnroutedText(net, u);
    } catch (const net::NetError&) {
        // A type number outside the table or a channel filled to zero.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const InsideWorkspace inside;
    static const std::unique_ptr<net::TNetObj> previous = PreviousNetwork();

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    for (const char* file : kFiles) {
        if (start > input.size()) {
            std::remove(file);
            continue;
        }
        size_t end = input.find(kSeparator, start);
        if (end == std::string_view::npos)
            end = input.size();
        WriteFile(file, input.substr(start, end - start));
        start = end + kSeparator.size();
    }
    Bytes ops(start < input.size() ? input.substr(start) : std::string_view());

    auto net = std::make_unique<net::TNetObj>(*previous);
    try {
        net->LoadTypeTables();
    } catch (const net::NetError&) {
    }
    const auto beforeLoad = std::make_unique<net::TNetObj>(*net);
    try {
        net->LoadProject("p");
    } catch (const net::NetError&) {
        Check(SameProject(*net, *beforeLoad), "a failed load changed the network");
        return 0;
    }
    CheckLoaded(*net);

    // Save, load again and compare, before routing touches anything.
    auto reloaded = std::make_unique<net::TNetObj>();
    try {
        net->SaveProject("q");
        reloaded->LoadProject("q");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "project_fuzzer: %s\n", e.what());
        Fail("a loaded project could not be saved and loaded again");
    }
    reloaded->NetworkName = net->NetworkName;
    Check(SameProject(*net, *reloaded), "save and load changed the network");

    Exercise(*net);

    // At most 64 operations: the builders and routing are the slow part.
    for (int k = 0; k < 64 && !ops.Empty(); ++k) {
        try {
            Operate(*net, ops);
        } catch (const net::NetError&) {
        }
        CheckCounts(*net);
    }
    Exercise(*net);
    SaveFailingAt(*net, 1 + ops.Next() % 8);
    return 0;
}
