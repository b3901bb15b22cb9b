// Saving and loading the solution path: the format, what replaces what, and what a
// second copy of the program sees while the first one saves.
#include "engine_test_access.h"

#include "block_checker.h"
#include "exceptions.h"
#include "recording_dc.h"
#include "scoped_working_directory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>

#include <algorithm>
#include <csignal>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

std::unique_ptr<CBoardSearch> SolvedEngine()
{
    auto search = MakeEngine();
    RunSearchToEnd(*search);
    return search;
}

std::string PathBytes(const CBoardSearch& search)
{
    std::string bytes;
    for (std::int32_t k = 0; k <= search.GetPathSteps(); ++k)
        bytes.append(search.PathBoard(k).data(), kCells);
    return bytes;
}

class SolutionFileTest : public ::testing::Test {
protected:
    ScopedWorkingDirectory directory;
    CRecordingDC dc;
};

TEST_F(SolutionFileTest, SaveWritesThePathStartFirst)
{
    auto search = SolvedEngine();
    EXPECT_EQ(search->SaveSolution(&dc), 1);
    EXPECT_TRUE(dc.Calls().empty());
    const std::string bytes = ReadWholeFile("solfile.puz");
    ASSERT_EQ(bytes.size(), 2340u);
    EXPECT_EQ(bytes.substr(0, 20), std::string(kStart.data(), 20));
    EXPECT_EQ(bytes[2320 + 13], '4');
    for (std::size_t k = 0; k + 20 < bytes.size(); k += 20) {
        Board a, b;
        std::memcpy(a.data(), bytes.data() + k, 20);
        std::memcpy(b.data(), bytes.data() + k + 20, 20);
        EXPECT_TRUE(IsOneLegalMove(a, b)) << "record " << k / 20;
    }
    EXPECT_EQ(directory.Entries(), std::vector<std::string>{"solfile.puz"});
}

TEST_F(SolutionFileTest, SavingAgainReplacesTheWholeFile)
{
    auto search = SolvedEngine();
    WriteWholeFile("solfile.puz", std::string(4000, '7'));
    ASSERT_EQ(search->SaveSolution(&dc), 1);
    const std::string first = ReadWholeFile("solfile.puz");
    EXPECT_EQ(first.size(), 2340u);
    ASSERT_EQ(search->SaveSolution(&dc), 1);
    EXPECT_EQ(ReadWholeFile("solfile.puz"), first);
}

TEST_F(SolutionFileTest, NothingIsSavedBeforeTheSearchEnds)
{
    auto search = MakeEngine();
    EXPECT_EQ(search->SaveSolution(&dc), -1);
    EXPECT_TRUE(dc.Calls().empty());
    EXPECT_TRUE(directory.Entries().empty());
}

TEST_F(SolutionFileTest, ANameTakenByADirectoryCannotBeOpenedForWriting)
{
    auto search = SolvedEngine();
    std::filesystem::create_directory("solfile.puz");
    EXPECT_EQ(search->SaveSolution(&dc), -1);
    ASSERT_EQ(dc.Texts().size(), 1u);
    EXPECT_EQ(dc.Texts()[0].text, "solfile.puz could not be opened.");
    EXPECT_EQ(dc.Texts()[0].x, 100);
    EXPECT_EQ(dc.Texts()[0].y, 300);
    EXPECT_TRUE(std::filesystem::is_directory("solfile.puz"));
}

TEST_F(SolutionFileTest, LoadGivesBackTheSavedPath)
{
    auto saved = SolvedEngine();
    ASSERT_EQ(saved->SaveSolution(&dc), 1);
    auto loaded = MakeEngine();
    EXPECT_EQ(loaded->LoadSolution(&dc), 116);
    EXPECT_EQ(loaded->IsDone(), 1);
    EXPECT_EQ(loaded->GetPathSteps(), 116);
    for (std::int32_t k = 0; k <= 116; ++k)
        EXPECT_EQ(loaded->PathBoard(k), saved->PathBoard(k)) << k;
    ASSERT_EQ(dc.Texts().size(), 1u);
    EXPECT_EQ(dc.Texts()[0].text, "Uploaded Length = 116");
    EXPECT_EQ(dc.Texts()[0].x, 200);
    // The store is untouched by a load: only the root.
    EXPECT_EQ(loaded->Last(), 0);
}

// A file whose last record is incomplete: its bytes land in the next Board, uncounted.
TEST_F(SolutionFileTest, IncompleteLastRecordIsReadButNotCounted)
{
    auto saved = SolvedEngine();
    std::string bytes = PathBytes(*saved).substr(0, 50);
    WriteWholeFile("solfile.puz", bytes);
    auto loaded = MakeEngine();
    EXPECT_EQ(loaded->LoadSolution(&dc), 1);
    EXPECT_EQ(std::string(loaded->PathBoard(2).data(), 10), bytes.substr(40, 10));
}

TEST_F(SolutionFileTest, WriteFailureKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    auto search = SolvedEngine();
    const std::string old(60, '1');
    WriteWholeFile("solfile.puz", old);
    std::string failure;
    {
        // A file-size limit makes the write fail after a successful open.
        ScopedFileSizeLimit limit(1000);
        ASSERT_TRUE(limit.Applied());
        try {
            search->SaveSolution(&dc);
        } catch (const CFileException& e) {
            failure = e.Description();
        }
    }
    EXPECT_NE(failure.find("solfile.puz"), std::string::npos) << failure;
    EXPECT_NE(failure.find(std::strerror(EFBIG)), std::string::npos) << failure;
    EXPECT_EQ(ReadWholeFile("solfile.puz"), old);
    EXPECT_EQ(directory.Entries(), std::vector<std::string>{"solfile.puz"});
}

// A temporary left by a save killed between naming and renaming goes with the next save;
// one that a live save holds locked stays, and so does a file that merely looks alike.
TEST_F(SolutionFileTest, SaveRemovesOnlyTemporariesNoSaveHolds)
{
    auto search = SolvedEngine();
    WriteWholeFile("solfile.puz.Stale1", "left by a killed save");
    WriteWholeFile("solfile.puz.Held22", "being saved right now");
    WriteWholeFile("solfile.puz.notes", "the user's own");
    const int held = open("solfile.puz.Held22", O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    // Another open file description, as another process would have.
    const pid_t holder = fork();
    if (holder == 0) {
        pause();
        _exit(0);
    }
    close(held);
    ASSERT_EQ(search->SaveSolution(&dc), 1);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    auto entries = directory.Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"solfile.puz", "solfile.puz.Held22", "solfile.puz.notes"}));
}

// One process saves two different paths in turn while this one loads: every load is
// one of the two files, whole.
TEST_F(SolutionFileTest, LoadsWhileAnotherProcessSavesAreWhole)
{
    auto longPath = SolvedEngine();
    const std::string longBytes = PathBytes(*longPath);
    const std::string shortBytes = longBytes.substr(0, 60);
    WriteWholeFile("solfile.puz", shortBytes);
    auto shortPath = MakeEngine();
    ASSERT_EQ(shortPath->LoadSolution(&dc), 2);
    ASSERT_EQ(longPath->SaveSolution(&dc), 1);

    const pid_t saver = fork();
    ASSERT_GE(saver, 0);
    if (saver == 0) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
        CRecordingDC quiet(false);
        for (int i = 0; std::chrono::steady_clock::now() < end; ++i)
            (i % 2 ? shortPath : longPath)->SaveSolution(&quiet);
        _exit(0);
    }
    auto loader = MakeEngine();
    CRecordingDC quiet(false);
    int loads = 0, longs = 0, shorts = 0;
    for (int status = 0; waitpid(saver, &status, WNOHANG) == 0;) {
        loader->Reset();
        const std::int32_t steps = loader->LoadSolution(&quiet);
        const std::string got = steps >= 0 ? PathBytes(*loader) : std::string();
        ASSERT_TRUE(got == longBytes || got == shortBytes) << "load " << loads << " gave " << steps << " steps";
        ++loads;
        (steps == 116 ? longs : shorts) += 1;
    }
    EXPECT_GT(longs, 0);
    EXPECT_GT(shorts, 0);
}

} // namespace
