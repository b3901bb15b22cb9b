// Save in the setups users meet: shared and foreign folders, other users' files, hard
// and symbolic links, read-only files, a full disk, a file-size limit. The user's side runs
// in a child process that drops to the unprivileged user `nobody`; setting a case up
// needs root, and a case that cannot be set up fails.
#include "engine_test_access.h"

#include "exceptions.h"
#include "recording_dc.h"
#include "scoped_working_directory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;
constexpr uid_t kRoot = 0;

const std::string& NewBytes()
{
    static const std::string bytes = [] {
        auto search = MakeEngine();
        RunSearchToEnd(*search);
        std::string path;
        for (std::int32_t k = 0; k <= search->GetPathSteps(); ++k)
            path.append(search->PathBoard(k).data(), kCells);
        return path;
    }();
    return bytes;
}
const std::string kOldBytes(60, '1');

// An engine in the done state holding `bytes` as its path, loaded the way a user would.
std::unique_ptr<CBoardSearch> EngineHolding(const std::string& bytes)
{
    const fs::path scratch = fs::temp_directory_path() / ("puzzle-engine-" + std::to_string(getpid()));
    fs::create_directory(scratch);
    WriteWholeFile((scratch / "solfile.puz").string(), bytes);
    const fs::path previous = fs::current_path();
    fs::current_path(scratch);
    auto search = MakeEngine();
    CRecordingDC quiet(false);
    search->LoadSolution(&quiet);
    fs::current_path(previous);
    fs::remove_all(scratch);
    return search;
}

struct SaveOutcome {
    int result = 0;
    std::string failure; // the platform's report, when the save raised one
    std::vector<std::string> texts;
};

// Saves from `folder` as `user` in a child process, with umask 022 and, if asked,
// a file-size limit.
SaveOutcome SaveAs(uid_t user, const fs::path& folder, std::optional<rlim_t> sizeLimit = {})
{
    auto search = EngineHolding(NewBytes());
    int channel[2];
    if (pipe(channel) != 0)
        return {0, "no pipe", {}};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        int status = 0;
        if (user != kRoot) {
            const gid_t groups[] = {kNogroup};
            status |= setgroups(1, groups) | setgid(kNogroup) | setuid(user);
        }
        umask(022);
        status |= chdir(folder.c_str());
        if (sizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{*sizeLimit, *sizeLimit};
            status |= setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::ostringstream out;
        if (status != 0) {
            out << "0\nthe child could not become the user\n";
        } else {
            CRecordingDC dc;
            std::string failure;
            int result = 0;
            try {
                result = search->SaveSolution(&dc);
            } catch (const CFileException& e) {
                failure = e.Description();
            }
            out << result << "\n" << failure << "\n";
            for (const auto& text : dc.Texts())
                out << text.text << "\n";
        }
        const std::string report = out.str();
        const ssize_t written = write(channel[1], report.data(), report.size());
        _exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    close(channel[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(got));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    std::istringstream in(report);
    SaveOutcome outcome;
    std::string line;
    std::getline(in, line);
    outcome.result = line.empty() ? 0 : std::stoi(line);
    std::getline(in, outcome.failure);
    while (std::getline(in, line))
        outcome.texts.push_back(line);
    return outcome;
}

std::vector<std::string> SortedEntries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct stat StatOf(const fs::path& path)
{
    struct stat info {};
    stat(path.c_str(), &info);
    return info;
}

// Fails the test (never skips) when root cannot set something up.
void Require(bool done, const std::string& what)
{
    if (!done)
        ADD_FAILURE() << "cannot set the case up: " << what << " (" << std::strerror(errno) << ")";
}

void MakeFolder(const fs::path& path, uid_t owner, mode_t mode)
{
    Require(mkdir(path.c_str(), 0700) == 0 || errno == EEXIST, "mkdir " + path.string());
    Require(chown(path.c_str(), owner, owner == kRoot ? 0 : kNogroup) == 0, "chown " + path.string());
    Require(chmod(path.c_str(), mode) == 0, "chmod " + path.string());
}

void MakeFile(const fs::path& path, const std::string& bytes, uid_t owner, gid_t group, mode_t mode)
{
    WriteWholeFile(path.string(), bytes);
    Require(fs::file_size(path) == bytes.size(), "write " + path.string());
    Require(chown(path.c_str(), owner, group) == 0, "chown " + path.string());
    Require(chmod(path.c_str(), mode) == 0, "chmod " + path.string());
}

void MakeLink(const fs::path& path, const fs::path& target, uid_t owner)
{
    Require(symlink(target.c_str(), path.c_str()) == 0, "symlink " + path.string());
    Require(lchown(path.c_str(), owner, owner == kRoot ? 0 : kNogroup) == 0, "lchown " + path.string());
}

// What one case must leave: `file` (relative to the case's base) with its content and
// identity, the case folder's entries, and what the user was told.
struct Expected {
    int result;                       // 1 saved, -1 refused, 0 failure raised
    std::string failureHas;           // part of the raised report
    std::vector<std::string> texts;
    std::string file = "case/solfile.puz";
    std::optional<std::string> content;  // empty: the file does not exist
    uid_t owner = kNobody;
    gid_t group = kNogroup;
    mode_t mode = 0644;
    nlink_t links = 1;
    bool inodeKept = false;
    std::vector<std::string> entries;
};

struct SaveCase {
    const char* name;
    uid_t saver;
    std::function<void(const fs::path& base)> setUp; // folder "case" under base is where the save runs
    Expected expected;
    std::optional<rlim_t> sizeLimit = {};
};

const std::vector<std::string> kRefused = {"solfile.puz could not be opened."};

std::vector<SaveCase> Cases()
{
    const std::string& fresh = NewBytes();
    return {
        {"PlainFolder", kNobody,
         [](const fs::path& b) {
             MakeFolder(b / "case", kNobody, 0755);
             MakeFile(b / "case/solfile.puz", kOldBytes, kNobody, kNogroup, 0644);
         },
         {1, "", {}, "case/solfile.puz", fresh, kNobody, kNogroup, 0644, 1, false, {"solfile.puz"}}},
        {"WritableFileInAFolderTheUserMayNotWrite", kNobody,
         [](const fs::path& b) {
             MakeFolder(b / "case", kRoot, 0755);
             MakeFile(b / "case/solfile.puz", kOldBytes, kRoot, 0, 0666);
         },
         {1, "", {}, "case/solfile.puz", fresh, kRoot, 0, 0666, 1, true, {"solfile.puz"}}},
        {"AnotherUsersWorldWritableFileInAStickyFolder", kNobody,
         [](const fs::path& b) {
             MakeFolder(b / "case", kRoot, 01777);
             MakeFile(b / "case/solfile.puz", kOldBytes, kRoot, 0, 0666);
         },
         {1, "", {}, "case/solfile.puz", fresh, kRoot, 0, 0666, 1, true, {"solfile.puz"}}},
        {"FileWithASecondHardLink", kNobody,
         [](const fs::path& b) {
             MakeFolder(b / "case", kNobody, 0755);
             MakeFile(b / "case/solfile.puz", kOldBytes, kNobody, kNogroup, 0644);
             Require(link((b / "case/solfile.puz").c_str(), (b / "case/other.puz").c_str()) == 0, "link");
         },
         {1, "", {}, "case/other.puz", fresh, kNobody, kNogroup, 0644, 2, true, {"other.puz", "solfile.puz"}}},
        {"AnotherUsersFileSavedByRoot", kRoot,
         [](const fs::path& b) {
             MakeFolder(b / "case", kNobody, 0755);
             MakeFile(b / "case/solfile.puz", kOldBytes, kNobody, kNogroup, 0640);
         },
         {1, "", {}, "case/solfile.puz", fresh, kNobody, kNogroup, 0640, 1, false, {"solfile.puz"}}},
        {"SymbolicLinkToAFile", kNobody,
         [](const fs::path& b) {
             MakeFolder(b / "case", kNobody, 0755);
             MakeFolder(b / "case/data", kNobody, 0755);
             MakeFile(b / "case/data/real.puz", kOldBytes, kNobody, kNogroup, 0600);
             MakeLink(b / "case/solfile.puz", "data/real.puz", kNobody);
         },
         {1, "", {}, "case/data/real.puz", fresh, kNobody, kNogroup, 0600, 1, false, {"data", "solfile.puz"}}},
        {"LinkPlantedByAnotherUserInAStickyFolder", kRoot,
         [](const fs::path& b) {
             MakeFolder(b / "case", kRoot, 01777);
             MakeFile(b / "victim", kOldBytes, kRoot, 0, 0644);
             MakeLink(b / "case/solfile.puz", b / "victim", kNobody);
         },
         {-1, "", kRefused, "victim", kOldBytes, kRoot, 0, 0644, 1, true, {"solfile.puz"}}},
        {"DanglingLinkPlantedByAnotherUserInAStickyFolder", kRoot,
         [](const fs::path& b) {
             MakeFolder(b / "case", kRoot, 01777);
             MakeLink(b / "case/solfile.puz", b / "created-by-root", kNobody);
         },
         {-1, "", kRefused, "created-by-root", std::nullopt, 0, 0, 0, 0, false, {"solfile.puz"}}},
        {"ReadOnlyFile", kNobody,
         [](const fs::path& b) {
             MakeFolder(b / "case", kNobody, 0755);
             MakeFile(b / "case/solfile.puz", kOldBytes, kNobody, kNogroup, 0444);
         },
         {-1, "", kRefused, "case/solfile.puz", kOldBytes, kNobody, kNogroup, 0444, 1, true, {"solfile.puz"}}},
        {"MissingFileInAWritableFolder", kNobody, [](const fs::path& b) { MakeFolder(b / "case", kNobody, 0755); },
         {1, "", {}, "case/solfile.puz", fresh, kNobody, kNogroup, 0644, 1, false, {"solfile.puz"}}},
        {"MissingFileInAReadOnlyFolder", kNobody, [](const fs::path& b) { MakeFolder(b / "case", kRoot, 0755); },
         {-1, "", kRefused, "case/solfile.puz", std::nullopt, 0, 0, 0, 0, false, {}}},
        {"FullFileSystem", kNobody,
         [](const fs::path& b) {
             MakeFolder(b / "case", kRoot, 0755);
             Require(mount("tmpfs", (b / "case").c_str(), "tmpfs", 0, "size=64k,mode=0755,uid=65534,gid=65534") == 0,
                     "mount a small tmpfs");
             MakeFile(b / "case/solfile.puz", kOldBytes, kNobody, kNogroup, 0644);
             // Fill what is left, as the user.
             const int fd = open((b / "case/filler").c_str(), O_CREAT | O_WRONLY, 0644);
             const std::string block(4096, 'x');
             while (write(fd, block.data(), block.size()) > 0) {
             }
             Require(errno == ENOSPC, "fill the file system");
             close(fd);
             Require(chown((b / "case/filler").c_str(), kNobody, kNogroup) == 0, "chown filler");
         },
         {0, std::strerror(ENOSPC), {}, "case/solfile.puz", kOldBytes, kNobody, kNogroup, 0644, 1, true,
          {"filler", "solfile.puz"}}},
        {"FileSizeLimit", kNobody,
         [](const fs::path& b) {
             MakeFolder(b / "case", kNobody, 0755);
             MakeFile(b / "case/solfile.puz", kOldBytes, kNobody, kNogroup, 0644);
         },
         {0, std::strerror(EFBIG), {}, "case/solfile.puz", kOldBytes, kNobody, kNogroup, 0644, 1, true, {"solfile.puz"}},
         1000},
    };
}

class SaveSetupTest : public ::testing::TestWithParam<SaveCase> {
protected:
    void SetUp() override
    {
        ASSERT_EQ(geteuid(), 0u) << "these cases set up other users' files and need root";
        // The base lets `nobody` pass through to the case folder.
        ASSERT_EQ(chmod(fs::current_path().c_str(), 0755), 0);
    }
    void TearDown() override { umount2((base / "case").c_str(), MNT_DETACH); }

    ScopedWorkingDirectory directory;
    const fs::path base = fs::current_path();
};

TEST_P(SaveSetupTest, KeepsWhatAPlainWriteWouldKeep)
{
    const SaveCase& c = GetParam();
    c.setUp(base);
    ASSERT_FALSE(HasFailure());
    const fs::path file = base / c.expected.file;
    const struct stat before = StatOf(file);
    const bool wasLink = fs::is_symlink(base / "case/solfile.puz");

    const SaveOutcome outcome = SaveAs(c.saver, base / "case", c.sizeLimit);

    const Expected& e = c.expected;
    EXPECT_EQ(outcome.result, e.result) << outcome.failure;
    if (e.failureHas.empty())
        EXPECT_EQ(outcome.failure, "");
    else
        EXPECT_NE(outcome.failure.find(e.failureHas), std::string::npos) << outcome.failure;
    EXPECT_EQ(outcome.texts, e.texts);
    EXPECT_EQ(SortedEntries(base / "case"), e.entries);
    EXPECT_EQ(fs::is_symlink(base / "case/solfile.puz"), wasLink) << "a link stays a link";
    if (!e.content) {
        EXPECT_FALSE(fs::exists(file));
        return;
    }
    ASSERT_TRUE(fs::exists(file));
    EXPECT_TRUE(ReadWholeFile(file.string()) == *e.content) << "content of " << e.file;
    const struct stat after = StatOf(file);
    EXPECT_EQ(after.st_uid, e.owner);
    EXPECT_EQ(after.st_gid, e.group);
    EXPECT_EQ(after.st_mode & 07777, e.mode);
    EXPECT_EQ(after.st_nlink, e.links);
    EXPECT_EQ(after.st_ino == before.st_ino, e.inodeKept);
}

INSTANTIATE_TEST_SUITE_P(Setups, SaveSetupTest, ::testing::ValuesIn(Cases()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// A program killed at any moment of a save leaves the old file or the new one, whole,
// and nothing else.
TEST(SaveCrashTest, KilledDuringSavesLeavesOneWholeFile)
{
    ScopedWorkingDirectory directory;
    const std::string shortBytes = NewBytes().substr(0, 60);
    auto longPath = EngineHolding(NewBytes());
    auto shortPath = EngineHolding(shortBytes);
    WriteWholeFile("solfile.puz", shortBytes);
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> delayUs(0, 6000);
    // A save killed as it names its file leaves a short-lived helper to finish the
    // rename; it becomes our child, so that we can wait for it before looking.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    int longs = 0, shorts = 0;
    for (int kill = 0; kill < 60; ++kill) {
        const pid_t saver = fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            CRecordingDC quiet(false);
            for (int i = 0;; ++i)
                (i % 2 ? shortPath : longPath)->SaveSolution(&quiet);
        }
        usleep(static_cast<useconds_t>(500 + delayUs(random)));
        ::kill(saver, SIGKILL);
        while (waitpid(-1, nullptr, 0) > 0) {
        }
        ASSERT_EQ(directory.Entries(), std::vector<std::string>{"solfile.puz"}) << "after kill " << kill;
        const std::string left = ReadWholeFile("solfile.puz");
        ASSERT_TRUE(left == NewBytes() || left == shortBytes) << "after kill " << kill << ": " << left.size() << " bytes";
        (left == shortBytes ? shorts : longs) += 1;
    }
    EXPECT_GT(longs, 0);
    EXPECT_GT(shorts, 0);
}

} // namespace
