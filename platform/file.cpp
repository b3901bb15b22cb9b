// Files on POSIX calls for reading and on Qt's commit-or-discard save for writing.
#include "file.h"

#include "exceptions.h"

#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CFile::CFile() = default;

CFile::~CFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    // An uncommitted QSaveFile removes its temporary file as it goes.
}

void CFile::Fail(const std::string& what, const std::string& reason) const
{
    throw CFileException(what + " " + m_name + " failed: " + reason + ".");
}

BOOL CFile::Open(const char* fileName, UINT openFlags, void*)
{
    m_name = fileName;
    if ((openFlags & modeWrite) == 0) {
        // Non-blocking, so that a FIFO does not wait for a writer; then only a regular
        // file is accepted.
        const int fd = ::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            return 0;
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd);
            return 0;
        }
        m_fd = fd;
        return 1;
    }
    // Only a regular file (or none) is replaced.
    struct stat info {};
    if (::stat(fileName, &info) == 0 && !S_ISREG(info.st_mode))
        return 0;
    m_writing = std::make_unique<QSaveFile>(QString::fromLocal8Bit(fileName));
    // Unbuffered: a buffered save can take a partial write at commit for success and
    // keep a cut file; this way each write reports its own failure.
    m_bytesWritten = 0;
    if (!m_writing->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_writing.reset();
        return 0;
    }
    return 1;
}

std::uint64_t CFile::GetLength() const
{
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        Fail("Finding the length of", m_fd < 0 ? "the file is not open for reading" : std::strerror(errno));
    return static_cast<std::uint64_t>(info.st_size);
}

UINT CFile::Read(void* buffer, UINT count)
{
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
    if (!m_writing || m_writing->write(static_cast<const char*>(buffer), count) != static_cast<qint64>(count))
        Fail("Writing", m_writing ? m_writing->errorString().toStdString() + "; the file under that name was left as it was"
                                  : "the file is not open for writing");
    m_bytesWritten += count;
}

void CFile::Close()
{
    if (m_fd >= 0) {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            Fail("Closing", std::strerror(errno));
    }
    if (m_writing) {
        // Nothing short of every byte takes the name.
        const bool complete = m_writing->size() == static_cast<qint64>(m_bytesWritten);
        if (!complete)
            m_writing->cancelWriting();
        const bool committed = m_writing->commit();
        const std::string reason = complete ? m_writing->errorString().toStdString() : "not every byte reached the disk";
        m_writing.reset();
        if (!committed)
            Fail("Saving", reason + "; the file under that name was left as it was");
    }
}
