// File > Save and File > Open in the real window: texts, fields, menu states, and
// every kind of file a user can leave under the name.
#include "solver_window_fixture.h"

#include "scoped_working_directory.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

class FileCommandsTest : public SolverWindowTest {
protected:
    void SetUp() override
    {
        directory = std::make_unique<ScopedWorkingDirectory>();
        SolverWindowTest::SetUp();
    }
    void TearDown() override
    {
        SolverWindowTest::TearDown();
        directory.reset();
    }
    // The solved path's bytes, made once by a search in this window and then reset.
    std::string SolvedFileBytes()
    {
        FinishSearch();
        frame->OnCommand(ID_FILE_SAVE);
        std::string bytes = ReadWholeFile("solfile.puz");
        frame->OnCommand(ID_FILE_RESET);
        std::filesystem::remove("solfile.puz");
        texts.clear();
        return bytes;
    }
    std::vector<std::string> FileTexts() const
    {
        std::vector<std::string> out;
        for (const WrittenText& t : texts)
            if (t.y == 300 && (t.x == 100 || t.x == 200 || t.x == 400))
                out.push_back(t.text);
        return out;
    }
    bool MenuItemEnabled(const QString& caption)
    {
        QMenu* file = OpenMenu("File");
        const bool enabled = MenuAction("File", caption)->isEnabled();
        file->hide();
        return enabled;
    }

    std::unique_ptr<ScopedWorkingDirectory> directory;
};

TEST_F(FileCommandsTest, SaveThenOpenInAFreshWindowReplaysTheSamePath)
{
    FinishSearch();
    texts.clear();
    ChooseFromMenu("File", "Save");
    EXPECT_EQ(TextsAt(kStatusX, kStatusY).back().text, kTextFileSaved);
    const std::string bytes = ReadWholeFile("solfile.puz");
    ASSERT_EQ(bytes.size(), 2340u);

    // A later run: a new window that has not searched.
    delete frame;
    SolverWindowTest::SetUp();
    texts.clear();
    ChooseFromMenu("File", "Open");
    EXPECT_TRUE(Wrote("Uploaded Length = 116", 200, 300));
    EXPECT_EQ(TextsAt(kStatusX, kStatusY).back().text, kTextFileRetrieved);
    EXPECT_EQ(Access::SolutionSteps(*frame), 116);
    EXPECT_EQ(Access::ShownStep(*frame), -1);
    EXPECT_TRUE(MenuItemEnabled("Show Solution"));
    EXPECT_TRUE(MenuItemEnabled("Save"));
    // Stepping through shows the file's boards, 0 to 116, then wraps to 0.
    for (int step = 0; step <= 116; ++step) {
        PressRight();
        ASSERT_EQ(Access::ShownStep(*frame), step);
        ASSERT_EQ(std::string(Search().PathBoard(step).data(), 20), bytes.substr(static_cast<std::size_t>(step) * 20, 20));
    }
    PressRight();
    EXPECT_EQ(Access::ShownStep(*frame), 0);
}

struct FileCase {
    const char* name;
    std::function<void(const std::string& solved)> make;
    std::vector<std::string> texts; // at (100|200|400, 300), in order
    std::int32_t solutionSteps;
    std::int32_t done;
    bool boardShown;
    std::int32_t cursor; // the replay cursor after Open, from kCursorBefore
};

// The cursor stands here before each Open: a load rewinds it, a failure leaves it.
constexpr std::int32_t kCursorBefore = 5;

TEST_F(FileCommandsTest, OpenOfEveryKindOfFile)
{
    const std::string solved = SolvedFileBytes();
    const auto bytes = [](std::size_t n) { return [n](const std::string& s) { WriteWholeFile("solfile.puz", s.substr(0, n)); }; };
    const std::string refused = "solfile.puz wasn't opened for read.";
    const std::vector<FileCase> cases = {
        {"no file", [](const std::string&) {}, {refused, kTextFileNotRetrieved}, -1, 0, false, kCursorBefore},
        {"empty", bytes(0), {"Uploaded Length = -1", kTextFileNotRetrieved}, -1, 1, false, kCursorBefore},
        {"19 bytes", bytes(19), {"Uploaded Length = -1", kTextFileNotRetrieved}, -1, 1, false, kCursorBefore},
        {"20 bytes", bytes(20), {"Uploaded Length = 0", kTextFileNotRetrieved}, 0, 1, true, kCursorBefore},
        {"39 bytes", bytes(39), {"Uploaded Length = 0", kTextFileNotRetrieved}, 0, 1, true, kCursorBefore},
        {"40 bytes", bytes(40), {"Uploaded Length = 1", kTextFileRetrieved}, 1, 1, true, -1},
        {"41 bytes", bytes(41), {"Uploaded Length = 1", kTextFileRetrieved}, 1, 1, true, -1},
        {"the solved path", bytes(2340), {"Uploaded Length = 116", kTextFileRetrieved}, 116, 1, true, -1},
        {"4000 bytes", [](const std::string& s) { WriteWholeFile("solfile.puz", (s + s).substr(0, 4000)); },
         {"Uploaded Length = 199", kTextFileRetrieved}, 199, 1, true, -1},
        {"4001 bytes", [](const std::string& s) { WriteWholeFile("solfile.puz", (s + s).substr(0, 4001)); },
         {refused, kTextFileNotRetrieved}, -1, 0, false, kCursorBefore},
        {"a sparse file of 8 GB",
         [](const std::string&) {
             WriteWholeFile("solfile.puz", "");
             std::filesystem::resize_file("solfile.puz", 8ULL << 30);
         },
         {refused, kTextFileNotRetrieved}, -1, 0, false, kCursorBefore},
        {"a directory", [](const std::string&) { std::filesystem::create_directory("solfile.puz"); },
         {refused, kTextFileNotRetrieved}, -1, 0, false, kCursorBefore},
        {"a FIFO", [](const std::string&) { ASSERT_EQ(mkfifo("solfile.puz", 0600), 0); },
         {refused, kTextFileNotRetrieved}, -1, 0, false, kCursorBefore},
        {"a symbolic link to the solved path",
         [](const std::string& s) {
             WriteWholeFile("real.puz", s);
             std::filesystem::create_symlink("real.puz", "solfile.puz");
         },
         {"Uploaded Length = 116", kTextFileRetrieved}, 116, 1, true, -1},
        {"bytes outside 0 to 7", [](const std::string&) { WriteWholeFile("solfile.puz", std::string(40, 'x') + "\xff\x01"); },
         {"Uploaded Length = 1", kTextFileRetrieved}, 1, 1, true, -1},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        frame->OnCommand(ID_FILE_RESET);
        std::error_code ignored;
        std::filesystem::remove_all("solfile.puz", ignored);
        std::filesystem::remove("real.puz", ignored);
        c.make(solved);
        Access::SetShownStep(*frame, kCursorBefore);
        texts.clear();
        const auto started = std::chrono::steady_clock::now();
        frame->OnCommand(ID_FILE_OPEN);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)); // nothing waits
        EXPECT_EQ(FileTexts(), c.texts);
        EXPECT_EQ(Access::SolutionSteps(*frame), c.solutionSteps);
        EXPECT_EQ(Search().IsDone(), c.done);
        EXPECT_EQ(Access::ShownStep(*frame), c.cursor);
        CRecordingDC dc;
        EXPECT_EQ(Search().ShowPathStep(0, &dc) == 0, c.boardShown);
        if (c.boardShown) {
            PressRight(); // draws a board of the file on the window without failing
            EXPECT_EQ(Access::ShownStep(*frame), 0);
        }
        if (!c.done) {
            PressRight(); // the engine can still search
            EXPECT_EQ(Access::Expanded(*frame), 1);
        }
        EXPECT_TRUE(LastReportedFailure().empty()) << LastReportedFailure();
    }
}

TEST_F(FileCommandsTest, EmptyFileLoadsAsDoneAndSavesAsEmpty)
{
    WriteWholeFile("solfile.puz", "");
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(Search().IsDone(), 1);
    texts.clear();
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(TextsAt(kStatusX, kStatusY).back().text, kTextFileSaved);
    EXPECT_EQ(ReadWholeFile("solfile.puz"), "");
}

TEST_F(FileCommandsTest, OpenWhileDoneReadsNothingAndRewinds)
{
    FinishSearch();
    PressRight();
    PressRight();
    texts.clear();
    frame->OnCommand(ID_FILE_OPEN); // no file exists: none is read
    EXPECT_EQ(FileTexts(), (std::vector<std::string>{"Puzzle was solved by program", kTextFileRetrieved}));
    EXPECT_EQ(Access::SolutionSteps(*frame), 116);
    EXPECT_EQ(Access::ShownStep(*frame), -1);
}

TEST_F(FileCommandsTest, SaveBeforeTheSearchEndsTouchesNoFile)
{
    texts.clear();
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(FileTexts(), std::vector<std::string>{kTextFileNotSaved});
    EXPECT_TRUE(directory->Entries().empty());
}

TEST_F(FileCommandsTest, SaveWhereTheNameIsADirectoryIsReported)
{
    FinishSearch();
    std::filesystem::create_directory("solfile.puz");
    texts.clear();
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(FileTexts(), (std::vector<std::string>{"solfile.puz could not be opened.", kTextFileNotSaved}));
}

TEST_F(FileCommandsTest, OpenAfterAnInterruptedSearchKeepsItsNodesUntilReset)
{
    const std::string solved = SolvedFileBytes();
    WriteWholeFile("solfile.puz", solved);
    for (int i = 0; i < 300; ++i)
        PressRight();
    const std::int32_t head = Search().Head(), last = Search().Last();
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(Search().IsDone(), 1);
    EXPECT_EQ(Search().Head(), head);
    EXPECT_EQ(Search().Last(), last);
    frame->OnCommand(ID_FILE_RESET);
    EXPECT_EQ(Search().Last(), 0); // the sanitizer run checks they were freed
}

TEST_F(FileCommandsTest, FailedWriteIsReportedAndKeepsTheOldFile)
{
    FinishSearch();
    const std::string old(60, '1');
    WriteWholeFile("solfile.puz", old);
    ClearReportedFailure();
    texts.clear();
    {
        ScopedFileSizeLimit limit(1000);
        ASSERT_TRUE(limit.Applied());
        ChooseFromMenu("File", "Save");
    }

    const std::string& told = LastReportedFailure();
    EXPECT_NE(told.find("solfile.puz"), std::string::npos) << told;
    EXPECT_NE(told.find(std::strerror(EFBIG)), std::string::npos) << told;
    EXPECT_EQ(ReadWholeFile("solfile.puz"), old);
    EXPECT_EQ(directory->Entries(), std::vector<std::string>{"solfile.puz"});
    // No text of the save is written, and the program goes on.
    for (const std::string& text : FileTexts())
        EXPECT_EQ(text, kTextDisplayStopped); // only the menu's own halt
    PressRight();
    EXPECT_EQ(Access::ShownStep(*frame), 0);
}

} // namespace
