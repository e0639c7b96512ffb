// Recovery folders: each running program keeps its own, locked; what a
// program that is gone left is found, claimed and restored.
#include "recovery_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

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
// through `ready` and then waits to be killed.
pid_t ProgramThatWrites(const std::string& root, int mark) {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        RecoveryStore store(root);
        store.Write(Changed(mark), "проекты/p" + std::to_string(mark));
        ::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char x;
    EXPECT_EQ(::read(ready[0], &x, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    return child;
}

void Kill(pid_t child) {
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

TEST(RecoveryStore, ARunningProgramsCopyIsNeverOfferedAndAKilledOnesIsRestored) {
    const testing_support::ScopedWorkDir work;
    const std::string root = (work.Path() / "state/recovery").string();
    const pid_t first = ProgramThatWrites(root, 11);
    const pid_t second = ProgramThatWrites(root, 22);
    {
        // Two programs at once: two folders, neither offered while they run.
        RecoveryStore own(root);
        own.Write(Changed(33), "");
        EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 3);
        EXPECT_TRUE(RecoveryStore::FindStale(root).empty());

        Kill(first);
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
        Kill(second);
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

TEST(RecoveryStore, TheRootFollowsTheStateDirectory) {
    const char* saved = std::getenv("XDG_STATE_HOME");
    const std::string previous = saved != nullptr ? saved : "";
    ::setenv("XDG_STATE_HOME", "/var/state-of-user", 1);
    EXPECT_EQ(net::DefaultRecoveryRoot(), "/var/state-of-user/netdesigner/recovery");
    ::setenv("XDG_STATE_HOME", "relative", 1);  // not absolute: ignored
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    if (!home.empty())
        EXPECT_EQ(net::DefaultRecoveryRoot(), home + "/.local/state/netdesigner/recovery");
    if (saved != nullptr)
        ::setenv("XDG_STATE_HOME", previous.c_str(), 1);
    else
        ::unsetenv("XDG_STATE_HOME");
}

}  // namespace
