// Reads that fail or come up short after the file was opened. This binary is linked
// with --wrap=read, so the file layer's read() goes through __wrap_read below.
#include "solver_window_fixture.h"

#include "exceptions.h"
#include "engine_test_access.h"
#include "scoped_working_directory.h"

#include <unistd.h>

#include <cerrno>

namespace {

enum class ReadMode { Normal, Short, Fail };
ReadMode g_mode = ReadMode::Normal;
constexpr std::size_t kShortReadBytes = 100;

} // namespace

extern "C" ssize_t __real_read(int fd, void* buffer, size_t count);
extern "C" ssize_t __wrap_read(int fd, void* buffer, size_t count)
{
    static std::size_t delivered = 0;
    switch (g_mode) {
    case ReadMode::Normal:
        return __real_read(fd, buffer, count);
    case ReadMode::Short: // the file shrank after its length was taken
        if (delivered >= kShortReadBytes)
            return 0;
        count = std::min(count, kShortReadBytes - delivered);
        delivered += count;
        return __real_read(fd, buffer, count);
    case ReadMode::Fail:
        errno = EIO;
        return -1;
    }
    return -1;
}

namespace {

class ReadFailureTest : public SolverWindowTest {
protected:
    void SetUp() override
    {
        directory = std::make_unique<ScopedWorkingDirectory>();
        SolverWindowTest::SetUp();
        std::string bytes;
        for (int k = 0; k < 117; ++k)
            bytes.append(kStart.data(), kCells);
        WriteWholeFile("solfile.puz", bytes);
    }
    void TearDown() override
    {
        g_mode = ReadMode::Normal;
        SolverWindowTest::TearDown();
        directory.reset();
    }
    std::unique_ptr<ScopedWorkingDirectory> directory;
};

TEST_F(ReadFailureTest, ShortReadCountsOnlyTheBoardsRead)
{
    g_mode = ReadMode::Short;
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_TRUE(Wrote("Uploaded Length = 4", 200, 300)); // 100 bytes: five Boards
    EXPECT_EQ(Access::SolutionSteps(*frame), 4);
    EXPECT_EQ(Search().GetPathSteps(), 4);
}

TEST_F(ReadFailureTest, FailedReadIsReportedAndChangesNoCount)
{
    g_mode = ReadMode::Fail;
    ClearReportedFailure();
    texts.clear();
    MenuAction("File", "Open")->trigger();
    const std::string& told = LastReportedFailure();
    EXPECT_NE(told.find("solfile.puz"), std::string::npos) << told;
    EXPECT_NE(told.find(std::strerror(EIO)), std::string::npos) << told;
    EXPECT_EQ(Search().IsDone(), 0);
    EXPECT_EQ(Search().GetPathSteps(), -1);
    EXPECT_EQ(Access::SolutionSteps(*frame), 0);
    EXPECT_TRUE(texts.empty()); // no text of the load
    g_mode = ReadMode::Normal;
    PressRight(); // the program goes on searching
    EXPECT_EQ(Access::Expanded(*frame), 1);
}

} // namespace
