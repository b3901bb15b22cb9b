// Files on POSIX calls: reads that never wait, and saves that replace a file only the way
// it can be replaced unchanged.
#include "file.h"

#include "exceptions.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr int kMaxLinkHops = 40; // as the kernel's own limit
constexpr std::size_t kTempSuffixLength = 6;

// The file a save writes: a name in a folder, after following symbolic links.
struct SaveTarget {
    std::string folder;
    std::string name;
    bool exists = false;
    struct stat info {};
};

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The kernel's rule for shared folders (fs.protected_symlinks), applied whether or not it
// is switched on: in a sticky world-writable folder, a link is followed only when it
// belongs to the user or to the folder's owner.
bool MayFollowLink(const struct stat& link, const std::string& folder)
{
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0)
        return false;
    const bool shared = (folderInfo.st_mode & S_ISVTX) != 0 && (folderInfo.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folderInfo.st_uid;
}

// Follows links from `path` to the file a plain open would write. False where a link
// may not be followed or there are too many.
bool ResolveSaveTarget(const std::string& path, SaveTarget& target)
{
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return false;
            target = {FolderOf(current), NameOf(current), false, {}};
            return true;
        }
        if (!S_ISLNK(info.st_mode)) {
            target = {FolderOf(current), NameOf(current), true, info};
            return true;
        }
        const std::string folder = FolderOf(current);
        if (!MayFollowLink(info, folder))
            return false;
        std::array<char, 4096> link{};
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size() - 1);
        if (length <= 0)
            return false;
        const std::string pointsTo(link.data(), static_cast<std::size_t>(length));
        current = pointsTo.front() == '/' ? pointsTo : folder + "/" + pointsTo;
    }
    return false;
}

bool InGroup(gid_t group)
{
    if (group == ::getegid())
        return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    for (int i = 0; i < count; ++i)
        if (groups[static_cast<std::size_t>(i)] == group)
            return true;
    return false;
}

// A new file can stand in for the old one only if nobody could tell them apart: one
// link, and owner and group the user can give the new file.
bool ReplacementKeepsIdentity(const struct stat& old)
{
    if (old.st_nlink != 1)
        return false;
    if (::geteuid() == 0)
        return true;
    return old.st_uid == ::geteuid() && InGroup(old.st_gid);
}

std::string RandomSuffix()
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::array<unsigned char, kTempSuffixLength> random{};
    if (::getrandom(random.data(), random.size(), 0) != static_cast<ssize_t>(random.size()))
        random.fill(static_cast<unsigned char>(::getpid()));
    std::string suffix;
    for (unsigned char byte : random)
        suffix += kLetters[byte % (sizeof kLetters - 1)];
    return suffix;
}

bool IsTemporaryOf(const std::string& entry, const std::string& name)
{
    return entry.size() == name.size() + 1 + kTempSuffixLength && entry.compare(0, name.size(), name) == 0 &&
           entry[name.size()] == '.';
}

// A save killed in the instant between naming its new file and renaming it leaves that
// temporary behind. A live save holds a lock on its temporary, so one that can be locked
// belongs to nobody any more and goes.
void RemoveStaleTemporaries(int folderFd, const std::string& name)
{
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return;
    DIR* folder = ::fdopendir(listFd);
    if (folder == nullptr) {
        ::close(listFd);
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(folder))
        if (IsTemporaryOf(entry->d_name, name))
            stale.emplace_back(entry->d_name);
    ::closedir(folder);
    for (const std::string& entry : stale) {
        const int fd = ::openat(folderFd, entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {}, named {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(folderFd, entry.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == info.st_ino &&
            named.st_dev == info.st_dev)
            ::unlinkat(folderFd, entry.c_str(), 0);
        ::close(fd);
    }
}

// Gives an unnamed file a name in the folder; false with errno set.
bool LinkUnnamed(int fd, const char* self, int folderFd, const char* name)
{
    if (::linkat(AT_FDCWD, self, folderFd, name, AT_SYMLINK_FOLLOW) == 0)
        return true;
    // Without /proc; needs a privilege ordinary users lack.
    return errno == ENOENT && ::linkat(fd, "", folderFd, name, AT_EMPTY_PATH) == 0;
}

// Names an unnamed file and renames it over `target`, in a child process: the kernel
// cannot name a file over another in one step, and a kill of this process between the
// two steps would leave the temporary name behind; the child finishes them all the same.
// The child shares this memory (vfork) and makes only system calls. Returns 0, or the
// errno of the step that failed (the temporary name then gone again).
int LinkOver(int fd, const std::string& self, int folderFd, const std::string& temp, const std::string& target)
{
    const pid_t child = ::vfork();
    if (child == 0) {
        if (!LinkUnnamed(fd, self.c_str(), folderFd, temp.c_str()))
            ::_exit(errno & 0xFF);
        if (::renameat(folderFd, temp.c_str(), folderFd, target.c_str()) != 0) {
            const int error = errno;
            ::unlinkat(folderFd, temp.c_str(), 0);
            ::_exit(error & 0xFF);
        }
        ::_exit(0);
    }
    if (child < 0)
        return errno;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return errno;
    return WIFEXITED(status) ? WEXITSTATUS(status) : EIO;
}

} // namespace

CFile::~CFile()
{
    Discard();
}

void CFile::Discard()
{
    if (m_fd >= 0)
        ::close(m_fd); // an unnamed replacement vanishes with it
    if (!m_tempName.empty())
        ::unlinkat(m_folderFd, m_tempName.c_str(), 0);
    if (m_folderFd >= 0)
        ::close(m_folderFd);
    m_fd = m_folderFd = -1;
    m_tempName.clear();
    m_mode = Mode::Closed;
}

void CFile::Fail(const std::string& what, const std::string& reason) const
{
    const char* outcome = m_mode == Mode::Replacing ? "; the file under that name was left as it was"
                          : m_mode == Mode::InPlace ? "; the file may hold only part of the solution"
                                                    : "";
    throw CFileException(what + " " + m_name + " failed: " + reason + outcome + ".");
}

BOOL CFile::Open(const char* fileName, UINT openFlags, void*)
{
    Discard();
    m_name = fileName;
    m_bytesWritten = 0;
    return (openFlags & modeWrite) == 0 ? OpenForReading(fileName) : OpenForWriting(fileName);
}

BOOL CFile::OpenForReading(const char* fileName)
{
    // Non-blocking, so that a FIFO does not wait for a writer; then only a regular file
    // is accepted.
    const int fd = ::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return 0;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return 0;
    }
    m_fd = fd;
    m_mode = Mode::Reading;
    return 1;
}

// How to write is decided here, before anything is written, and never changed after a
// failure: a failed replacement must leave the old file as it was.
BOOL CFile::OpenForWriting(const char* fileName)
{
    SaveTarget target;
    if (!ResolveSaveTarget(fileName, target) || (target.exists && !S_ISREG(target.info.st_mode)))
        return 0;
    m_folderFd = ::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0)
        return 0;
    m_target = target.name;
    const char* name = m_target.c_str();
    // A file the user may not write is not replaced either.
    if (target.exists && ::faccessat(m_folderFd, name, W_OK, AT_EACCESS) != 0) {
        Discard();
        return 0;
    }
    const bool folderTakesRename = ::faccessat(m_folderFd, ".", W_OK | X_OK, AT_EACCESS) == 0;

    if (folderTakesRename && (!target.exists || ReplacementKeepsIdentity(target.info))) {
        RemoveStaleTemporaries(m_folderFd, m_target);
        m_fd = ::openat(m_folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (m_fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
            // This file system has no unnamed files: a named temporary, removed on failure.
            for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
                m_tempName = m_target + "." + RandomSuffix();
                m_fd = ::openat(m_folderFd, m_tempName.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
                if (m_fd < 0)
                    m_tempName.clear();
                if (m_fd < 0 && errno != EEXIST)
                    break;
            }
        }
        const auto& old = target.info;
        const bool ready = m_fd >= 0 && ::flock(m_fd, LOCK_EX) == 0 &&
                           (!target.exists || ((old.st_uid == ::geteuid() && old.st_gid == ::getegid()) ||
                                               ::fchown(m_fd, old.st_uid, old.st_gid) == 0)) &&
                           (!target.exists || ::fchmod(m_fd, old.st_mode & 07777) == 0);
        if (!ready) {
            Discard();
            return 0;
        }
        m_mode = Mode::Replacing;
        return 1;
    }

    if (!target.exists) {
        Discard();
        return 0;
    }
    // In place: the folder refuses a new file, or a new file would not be this one. No
    // O_CREAT, which shared sticky folders refuse (fs.protected_regular) for others' files.
    m_fd = ::openat(m_folderFd, name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat opened {};
    if (m_fd < 0 || ::fstat(m_fd, &opened) != 0 || opened.st_ino != target.info.st_ino ||
        opened.st_dev != target.info.st_dev) {
        Discard();
        return 0;
    }
    m_mode = Mode::InPlace;
    return 1;
}

std::uint64_t CFile::GetLength() const
{
    struct stat info {};
    if (m_mode != Mode::Reading)
        Fail("Finding the length of", "the file is not open for reading");
    if (::fstat(m_fd, &info) != 0)
        Fail("Finding the length of", std::strerror(errno));
    return static_cast<std::uint64_t>(info.st_size);
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (m_mode != Mode::Reading)
        Fail("Reading", "the file is not open for reading");
    auto* bytes = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t got = ::read(m_fd, bytes + done, count - done);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            Fail("Reading", std::strerror(errno));
        }
        done += static_cast<UINT>(got);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (m_mode != Mode::Replacing && m_mode != Mode::InPlace)
        Fail("Writing", "the file is not open for writing");
    const auto* bytes = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t put = ::write(m_fd, bytes + done, count - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            Fail("Writing", put < 0 ? std::strerror(errno) : "nothing could be written");
        done += static_cast<UINT>(put);
    }
    m_bytesWritten += count;
}

void CFile::Close()
{
    switch (m_mode) {
    case Mode::Closed:
        return;
    case Mode::Reading: {
        const int fd = m_fd;
        m_fd = -1;
        m_mode = Mode::Closed;
        if (::close(fd) != 0)
            Fail("Closing", std::strerror(errno));
        return;
    }
    case Mode::InPlace:
        if (::ftruncate(m_fd, static_cast<off_t>(m_bytesWritten)) != 0)
            Fail("Saving", std::strerror(errno));
        if (::fsync(m_fd) != 0)
            Fail("Saving", std::strerror(errno));
        break;
    case Mode::Replacing:
        CommitReplacement();
        break;
    case Mode::Named:
        break;
    }
    const int fd = m_fd;
    m_fd = -1;
    const bool closed = ::close(fd) == 0;
    const int closeError = errno;
    Discard();
    if (!closed)
        Fail("Closing", std::strerror(closeError));
}

// The new file reaches the disk before it takes the name, and the folder after, so that
// a power cut after a reported save keeps the new file.
void CFile::CommitReplacement()
{
    if (::fsync(m_fd) != 0)
        Fail("Saving", std::strerror(errno));
    if (m_tempName.empty()) {
        // Where no file stands under the name, the new one takes it in one step.
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
        if (LinkUnnamed(m_fd, self.c_str(), m_folderFd, m_target.c_str()))
            return FlushFolder();
        if (errno != EEXIST)
            Fail("Saving", std::strerror(errno));
        int error = EEXIST;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt)
            error = LinkOver(m_fd, self, m_folderFd, m_target + "." + RandomSuffix(), m_target);
        if (error != 0)
            Fail("Saving", std::strerror(error));
        return FlushFolder();
    }
    if (::renameat(m_folderFd, m_tempName.c_str(), m_folderFd, m_target.c_str()) != 0)
        Fail("Saving", std::strerror(errno));
    m_tempName.clear();
    FlushFolder();
}

void CFile::FlushFolder()
{
    m_mode = Mode::Named; // the new file has the name now, whatever follows
    if (::fsync(m_folderFd) != 0)
        Fail("Saving", std::strerror(errno));
}
