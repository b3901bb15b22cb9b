// Files. Open reports failure by its result; Read, Write, GetLength and Close raise
// CFileException, which the message dispatch reports to the user.
#pragma once

#include "gdi.h"

#include <cstdint>
#include <memory>
#include <string>

class QSaveFile;

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
    };

    CFile();
    // Closes a file still open; a file being written and not closed is discarded,
    // leaving whatever stood under its name before untouched.
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Reading opens an existing regular file only, and never waits: a pipe or device
    // under the name counts as a file that cannot be opened. Writing goes to a new file
    // that takes the name only when Close succeeds.
    BOOL Open(const char* fileName, UINT openFlags, void* error = nullptr);
    std::uint64_t GetLength() const;
    // Reads until `count` bytes or the end of the file; returns the bytes read.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    void Close();

private:
    [[noreturn]] void Fail(const std::string& what, const std::string& reason) const;

    std::string m_name;
    int m_fd = -1;                          // reading
    std::unique_ptr<QSaveFile> m_writing;   // writing
    std::uint64_t m_bytesWritten = 0;
};
