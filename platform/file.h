// Files. Open reports failure by its result; Read, Write, GetLength and Close raise
// CFileException, which the message dispatch reports to the user.
#pragma once

#include "gdi.h"

#include <cstdint>
#include <string>

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
    };

    CFile() = default;
    // Closes a file still open. A replacement that was not closed is discarded, leaving
    // whatever stood under the name before untouched.
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Reading opens an existing regular file only, and never waits: a pipe or device
    // under the name counts as a file that cannot be opened.
    // Writing replaces the file whole where the replacement can take the old file's
    // place unchanged (same owner, group and mode, no other link to it): the new file
    // gets the name only when Close succeeds. Otherwise, when the user may write the
    // file itself, it is written in place. A symbolic link is followed to its target,
    // except one that another user planted in a shared sticky folder.
    BOOL Open(const char* fileName, UINT openFlags, void* error = nullptr);
    std::uint64_t GetLength() const;
    // Reads until `count` bytes or the end of the file; returns the bytes read.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    // A replacement is flushed to disk, named, and its folder flushed; a file written in
    // place is cut to what was written and flushed.
    void Close();

private:
    enum class Mode { Closed, Reading, InPlace, Replacing, Named };

    BOOL OpenForReading(const char* fileName);
    BOOL OpenForWriting(const char* fileName);
    void CommitReplacement();
    void FlushFolder();
    void Discard();
    [[noreturn]] void Fail(const std::string& what, const std::string& reason) const;

    std::string m_name;      // as the user gave it, for messages
    Mode m_mode = Mode::Closed;
    int m_fd = -1;
    int m_folderFd = -1;     // the folder of the file being replaced
    std::string m_target;    // that file's name in its folder
    std::string m_tempName;  // a named temporary, where the folder has no unnamed files
    std::uint64_t m_bytesWritten = 0;
};
