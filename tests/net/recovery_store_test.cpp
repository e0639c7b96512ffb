// Recovery folders: each running program keeps its own, locked; what a
// program that is gone left is found, claimed and restored.
#include "recovery_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"
#include "undo_history.h"

namespace {

namespace fs = std::filesystem;
using net::RecoveryStore;
using net::TNetObj;

TNetObj Changed(int mark) {
    TNetObj net;
    testing_support::AddHosts(net, {{50, 50}, {200, 60}});
    net.AddChannel(1, 2, 1);
    net.LoadMatrix[1][2] = mark;
    net.NetworkName = "сеть " + std::to_string(mark);
    net.DynamicRouting = true;
    return net;
}

// A child process that writes `mark` as its recovery copy, tells the parent
// through a pipe and then waits to be killed. It is killed and reaped when
// the object goes, also when a failed assertion leaves the test early, and
// dies with the test program, so that no child is left waiting.
class ProgramThatWrites {
public:
    ProgramThatWrites(const std::string& root, int mark) {
        int ready[2];
        if (::pipe(ready) != 0) {
            ADD_FAILURE() << "no pipe";
            return;
        }
        const pid_t parent = ::getpid();
        child_ = ::fork();
        if (child_ == 0)
            RunChild(root, mark, parent, ready[1]);
        ::close(ready[1]);  // a child that ends before it writes gives an end of file
        char x = 0;
        EXPECT_EQ(::read(ready[0], &x, 1), 1) << "the child did not write its copy";
        ::close(ready[0]);
    }
    ~ProgramThatWrites() { Kill(); }
    ProgramThatWrites(const ProgramThatWrites&) = delete;
    ProgramThatWrites& operator=(const ProgramThatWrites&) = delete;

    void Kill() {
        if (child_ <= 0)
            return;
        ::kill(child_, SIGKILL);
        ::waitpid(child_, nullptr, 0);
        child_ = -1;
    }

private:
    [[noreturn]] static void RunChild(const std::string& root, int mark, pid_t parent, int ready) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);  // the parent was gone before the line above
        try {
            RecoveryStore store(root);
            store.Write(Changed(mark), "проекты/p" + std::to_string(mark));
            if (::write(ready, "x", 1) != 1)
                ::_exit(1);
            ::pause();
        } catch (...) {
        }
        ::_exit(1);  // never back into the test program's own code
    }

    pid_t child_ = -1;
};

TEST(RecoveryStore, ARunningProgramsCopyIsNeverOfferedAndAKilledOnesIsRestored) {
    const testing_support::ScopedWorkDir work;
    const std::string root = (work.Path() / "state/recovery").string();
    ProgramThatWrites first(root, 11);
    ProgramThatWrites second(root, 22);
    {
        // Two programs at once: two folders, neither offered while they run.
        RecoveryStore own(root);
        own.Write(Changed(33), "");
        EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 3);
        EXPECT_TRUE(RecoveryStore::FindStale(root).empty());

        first.Kill();
        auto stale = RecoveryStore::FindStale(root);
        ASSERT_EQ(stale.size(), 1u);
        // Claimed: another program starting now does not offer it too.
        EXPECT_TRUE(RecoveryStore::FindStale(root).empty());
        EXPECT_EQ(stale[0]->Info().NetworkName, "сеть 11");
        EXPECT_EQ(stale[0]->Info().SourceFolder, "проекты/p11");
        TNetObj restored;
        stale[0]->Restore(restored);
        const TNetObj expected = Changed(11);
        EXPECT_TRUE(net::SameProject(restored, expected));
        EXPECT_EQ(restored.NetworkName, expected.NetworkName);
        EXPECT_TRUE(restored.DynamicRouting);
        stale[0]->Discard();
        EXPECT_FALSE(fs::exists(stale[0]->Folder()));
        second.Kill();
    }
    // The own folder went with its program's normal end; the killed second
    // program's copy is still there, and one with nothing unsaved is not offered.
    auto stale = RecoveryStore::FindStale(root);
    ASSERT_EQ(stale.size(), 1u);
    EXPECT_EQ(stale[0]->Info().NetworkName, "сеть 22");
    {
        RecoveryStore cleared(root);
        cleared.Write(Changed(44), "");
        cleared.Clear();
        // Gone without its normal end, as a kill leaves it.
        const std::string folder = cleared.Folder();
        fs::copy(folder, root + "/copy-of-cleared");
    }
    EXPECT_EQ(RecoveryStore::FindStale(root).size(), 0u);  // the claim of 22 still holds
    stale.clear();
    EXPECT_EQ(RecoveryStore::FindStale(root).size(), 1u);
    EXPECT_FALSE(fs::exists(root + "/copy-of-cleared"));
}

// A recovery folder as a program killed after writing `net` leaves it.
void LeaveCopy(const std::string& root, const std::string& name, const TNetObj& net,
               const std::string& sourceFolder) {
    RecoveryStore store(root);
    store.Write(net, sourceFolder);
    fs::copy(store.Folder(), root + "/" + name);
}

void SetModified(const std::string& folder, std::chrono::seconds age) {
    fs::last_write_time(folder + "/general.gs", fs::file_time_type::clock::now() - age);
}

std::vector<std::string> OfferedNames(const std::string& root) {
    std::vector<std::string> names;
    for (const auto& stale : RecoveryStore::FindStale(root))
        names.push_back(stale->Info().NetworkName);
    return names;
}

TEST(RecoveryStore, KilledProgramsCopiesAreOfferedNewestFirst) {
    const testing_support::ScopedWorkDir work;
    const std::string root = (work.Path() / "recovery").string();
    LeaveCopy(root, "a", Changed(1), "");
    LeaveCopy(root, "b", Changed(2), "");
    LeaveCopy(root, "c", Changed(3), "");
    SetModified(root + "/a", std::chrono::seconds(60));
    SetModified(root + "/b", std::chrono::seconds(3600));
    SetModified(root + "/c", std::chrono::seconds(0));
    EXPECT_EQ(OfferedNames(root), (std::vector<std::string>{"сеть 3", "сеть 1", "сеть 2"}));
    SetModified(root + "/a", std::chrono::seconds(0));
    SetModified(root + "/c", std::chrono::seconds(7200));
    EXPECT_EQ(OfferedNames(root), (std::vector<std::string>{"сеть 1", "сеть 2", "сеть 3"}));
}

// The name and the folder are free text: line ends, tabs and the escape
// character itself come back as they were, nothing else is read into them.
TEST(RecoveryStore, NamesAndFoldersOfAnyTextSurviveTheInfo) {
    const testing_support::ScopedWorkDir work;
    const std::string root = (work.Path() / "recovery").string();
    TNetObj net = Changed(5);
    net.NetworkName = "первая\nвторая\tстрока %41 100%\r\n%";
    const std::string folder = "папка\tс %0A\nпереводом\\%%";
    LeaveCopy(root, "text", net, folder);
    auto stale = RecoveryStore::FindStale(root);
    ASSERT_EQ(stale.size(), 1u);
    EXPECT_EQ(stale[0]->Info().NetworkName, net.NetworkName);
    EXPECT_EQ(stale[0]->Info().SourceFolder, folder);
    EXPECT_TRUE(stale[0]->Info().DynamicRouting);
    TNetObj restored;
    stale[0]->Restore(restored);
    EXPECT_EQ(restored.NetworkName, net.NetworkName);
    EXPECT_TRUE(net::SameProject(restored, net));
}

TEST(RecoveryStore, TheRootFollowsTheStateDirectory) {
    const char* saved = std::getenv("XDG_STATE_HOME");
    const std::string previous = saved != nullptr ? saved : "";
    ::setenv("XDG_STATE_HOME", "/var/state-of-user", 1);
    EXPECT_EQ(net::DefaultRecoveryRoot(), "/var/state-of-user/netdesigner/recovery");
    ::setenv("XDG_STATE_HOME", "relative", 1);  // not absolute: ignored
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    if (!home.empty()) {
        EXPECT_EQ(net::DefaultRecoveryRoot(), home + "/.local/state/netdesigner/recovery");
    }
    if (saved != nullptr)
        ::setenv("XDG_STATE_HOME", previous.c_str(), 1);
    else
        ::unsetenv("XDG_STATE_HOME");
}

}  // namespace
