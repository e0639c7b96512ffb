// Saving replaces the three project files all together, keeps what the user
// set up on them, and loading refuses what no save could have written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "errors.h"
#include "netobj.h"
#include "posix_file.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using net::TNetObj;
using testing_support::MessageOf;
using testing_support::ReadBytes;
using testing_support::ScopedWorkDir;
using testing_support::WriteBytes;

// A network whose three files all carry `mark`, so that files of two
// different saves show as a mix when loaded together.
std::unique_ptr<TNetObj> Marked(int32_t mark) {
    auto net = std::make_unique<TNetObj>();
    net->Hosts[1].X = mark;
    net->HostPresent[1] = true;
    net->HostCount = 1;
    net->Channels[1] = {1, 1, mark, 0, 1.0};
    net->LoadMatrix[1][1] = mark;
    return net;
}

// The mark of the project in `directory`; a mix of two saves fails the test.
int32_t LoadedMark(const std::string& directory) {
    TNetObj net;
    net.LoadProject(directory);
    EXPECT_EQ(net.Hosts[1].X, net.Channels[1].TypeNo) << "hosts and channels of two saves";
    EXPECT_EQ(net.Hosts[1].X, net.LoadMatrix[1][1]) << "hosts and general.gs of two saves";
    return net.Hosts[1].X;
}

std::set<std::string> Entries(const fs::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.insert(entry.path().filename().string());
    return names;
}

// Every entry of the directory with the bytes of the files among them.
std::map<std::string, std::vector<uint8_t>> Contents(const fs::path& directory) {
    std::map<std::string, std::vector<uint8_t>> contents;
    for (const std::string& name : Entries(directory))
        contents[name] = ReadBytes(directory / name);
    return contents;
}

// Makes commit step `failing` (1-based, counting links and renames) fail
// with EIO while it lives.
class FailingStep {
public:
    explicit FailingStep(int failing) {
        net::seam::CommitStepFault = [failing, step = 0]() mutable {
            return ++step == failing ? EIO : 0;
        };
    }
    ~FailingStep() { net::seam::CommitStepFault = nullptr; }
};

class ProjectSave : public ::testing::Test {
protected:
    ScopedWorkDir work_;
};

TEST_F(ProjectSave, AFailingStepPutsEveryOldFileBack) {
    // "full" holds all three files; "partial" lacks general.gs, which a
    // rolled-back save must not leave behind.
    for (const char* directory : {"full", "partial"}) {
        fs::create_directory(directory);
        Marked(1)->SaveProject(directory);
        fs::permissions(fs::path(directory) / "hosts.hs", fs::perms(0640));
    }
    fs::remove("partial/general.gs");
    // A link keeps each old file, then three renames: every one fails once.
    for (int failing = 1; failing <= 6; ++failing) {
        for (const std::string directory : {"full", "partial"}) {
            if (directory == "partial" && failing == 6)
                continue;  // two links only
            SCOPED_TRACE(directory + " step " + std::to_string(failing));
            const auto before = Contents(directory);
            {
                const FailingStep fault(failing);
                EXPECT_EQ(MessageOf([&] { Marked(2)->SaveProject(directory); }), "I/O error 5");
            }
            EXPECT_EQ(Contents(directory), before);
            EXPECT_EQ(fs::status(directory + "/hosts.hs").permissions(), fs::perms(0640));
        }
    }
    EXPECT_EQ(LoadedMark("full"), 1);
    Marked(3)->SaveProject("partial");
    EXPECT_EQ(LoadedMark("partial"), 3);
}

// A child process saves `mark` into `directory` and dies at commit step
// `dying` (1-based, counting links and renames), as a killed program would.
void SaveKilledAtStep(const std::string& directory, int32_t mark, int dying) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        net::seam::CommitStepFault = [dying, step = 0]() mutable {
            if (++step == dying)
                ::_exit(0);
            return 0;
        };
        Marked(mark)->SaveProject(directory);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(ProjectSave, AKilledSaveIsRefusedByLoadAndRepairedBySave) {
    fs::create_directory("p");
    Marked(1)->SaveProject("p");
    // The process dies right after its first rename: hosts.hs is new, the
    // other two are old.
    SaveKilledAtStep("p", 2, 5);

    TNetObj net;
    const std::string message = MessageOf([&] { net.LoadProject("p"); });
    EXPECT_EQ(message.rfind("Сохранение в папку «p» было прервано", 0), 0u) << message;
    EXPECT_EQ(net.HostCount, 0);

    Marked(3)->SaveProject("p");
    EXPECT_EQ(Entries("p"), (std::set<std::string>{"hosts.hs", "channels.cs", "general.gs"}));
    EXPECT_EQ(LoadedMark("p"), 3);
}

TEST_F(ProjectSave, TemporariesOfASaveKilledBeforeItsFirstLinkDoNotBlockALoad) {
    fs::create_directory("p");
    Marked(1)->SaveProject("p");
    SaveKilledAtStep("p", 2, 1);
    std::set<std::string> leftovers;
    for (const std::string& name : Entries("p")) {
        if (name.find(".new-") != std::string::npos)
            leftovers.insert(name);
    }
    EXPECT_EQ(leftovers.size(), 3u);
    EXPECT_EQ(LoadedMark("p"), 1);  // the old project is whole
    Marked(3)->SaveProject("p");
    EXPECT_EQ(Entries("p"), (std::set<std::string>{"hosts.hs", "channels.cs", "general.gs"}));
}

TEST_F(ProjectSave, TwoProcessesSavingIntoOneFolderLeaveOneWholeProject) {
    fs::create_directory("p");
    for (int round = 0; round < 12; ++round) {
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        pid_t children[2];
        for (int k = 0; k < 2; ++k) {
            children[k] = ::fork();
            ASSERT_GE(children[k], 0);
            if (children[k] == 0) {
                char go;
                ::close(start[1]);
                const bool started = ::read(start[0], &go, 1) == 0;
                try {
                    for (int repeat = 0; repeat < 3; ++repeat)
                        Marked(10 + k)->SaveProject("p");
                } catch (...) {
                    ::_exit(2);
                }
                ::_exit(started ? 0 : 1);
            }
        }
        ::close(start[0]);
        ::close(start[1]);  // both start at once
        for (const pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
        }
        const int32_t mark = LoadedMark("p");
        EXPECT_TRUE(mark == 10 || mark == 11) << mark;
        EXPECT_EQ(Entries("p"), (std::set<std::string>{"hosts.hs", "channels.cs", "general.gs"}));
    }
}

TEST_F(ProjectSave, ModeOwnerAndLinksStay) {
    fs::create_directories("p");
    fs::create_directories("shared");
    Marked(1)->SaveProject("p");
    fs::permissions("p/hosts.hs", fs::perms(0600));
    fs::permissions("p/general.gs", fs::perms(0604));
    const bool mayGiveAway = ::chown("p/general.gs", 4321, 4322) == 0;
    fs::rename("p/channels.cs", "shared/channels.cs");
    fs::create_symlink("../shared/channels.cs", "p/channels.cs");

    Marked(2)->SaveProject("p");
    EXPECT_EQ(LoadedMark("p"), 2);
    EXPECT_EQ(fs::status("p/hosts.hs").permissions(), fs::perms(0600));
    EXPECT_EQ(fs::status("p/general.gs").permissions(), fs::perms(0604));
    struct stat general {};
    ASSERT_EQ(::stat("p/general.gs", &general), 0);
    if (mayGiveAway) {
        EXPECT_EQ(general.st_uid, 4321u);
        EXPECT_EQ(general.st_gid, 4322u);
    }
    EXPECT_TRUE(fs::is_symlink("p/channels.cs"));
    EXPECT_EQ(Entries("shared"), std::set<std::string>{"channels.cs"});
}

TEST_F(ProjectSave, OversizedGeneralIsRefusedAtOnce) {
    fs::create_directory("p");
    Marked(1)->SaveProject("p");
    const std::string message =
        "Файл «p/general.gs» длиннее 1 МиБ, такого файла проекта не бывает; проект не загружен";
    // Its first line followed by zero bytes, which read as blanks: sparse, so
    // the 10 GiB take no room.
    for (const uint64_t size : {uint64_t{1} << 20 | 1, uint64_t{10} << 30}) {
        ASSERT_EQ(::truncate("p/general.gs", static_cast<off_t>(size)), 0);
        auto net = Marked(7);
        EXPECT_EQ(MessageOf([&] { net->LoadProject("p"); }), message);
        EXPECT_EQ(net->Hosts[1].X, 7);
        EXPECT_EQ(net->HostCount, 1);
    }
    // Exactly 1 MiB is still read.
    ASSERT_EQ(::truncate("p/general.gs", 1 << 20), 0);
    EXPECT_EQ(LoadedMark("p"), 1);
}

TEST_F(ProjectSave, ChannelLengthIsTheDoubleRootOfTheSum) {
    TNetObj net;
    net.AddHost(0, 0, "a", 1);
    net.AddHost(35, 382, "b", 1);
    net.AddChannel(1, 2, 1);
    // The extended-precision root rounds to the next double up.
    EXPECT_EQ(net.Channels[1].Length, 383.6000521376398);
    fs::create_directory("p");
    net.SaveProject("p");
    const std::vector<uint8_t> bytes = ReadBytes("p/channels.cs");
    double stored = 0;
    std::memcpy(&stored, bytes.data() + 16, sizeof stored);
    EXPECT_EQ(stored, 383.6000521376398);
}

}  // namespace
