// The solution file: the path's Boards, start first, 20 bytes each, nothing else.
#include "board_search.h"

#include "file.h"

namespace {

constexpr const char* kFileName = "solfile.puz";
constexpr std::uint64_t kMaxFileBytes = sizeof(Board) * kPathCapacity; // 4000
constexpr int kMessageX = 100, kMessageY = 300;
constexpr int kLengthX = 200, kLengthY = 300;

} // namespace

std::int32_t CBoardSearch::SaveSolution(CDC* dc)
{
    if (m_bDone == 0)
        return -1;
    CFile file;
    if (!file.Open(kFileName, CFile::modeCreate | CFile::modeWrite)) {
        dc->TextOut(kMessageX, kMessageY, "solfile.puz could not be opened.");
        return -1;
    }
    for (std::int32_t k = 0; k <= m_nPathSteps; ++k)
        file.Write(m_path[static_cast<std::size_t>(k)].data(), sizeof(Board));
    file.Close(); // the new file replaces the old one only here, whole
    return 1;
}

std::int32_t CBoardSearch::LoadSolution(CDC* dc)
{
    if (m_bDone != 0) {
        dc->TextOut(kMessageX, kMessageY, "Puzzle was solved by program");
        return m_nPathSteps;
    }
    CFile file;
    const bool opened = file.Open(kFileName, CFile::modeRead);
    const std::uint64_t length = opened ? file.GetLength() : 0;
    // More than a path's 200 Boards was not written by this program: refused unread.
    if (!opened || length > kMaxFileBytes) {
        dc->TextOut(kMessageX, kMessageY, "solfile.puz wasn't opened for read.");
        return -1;
    }
    // Counted from what the read delivered: a file that shrank since its length was
    // taken yields only the Boards really read.
    const UINT bytesRead = file.Read(m_path.data(), static_cast<UINT>(length));
    m_nPathSteps = static_cast<std::int32_t>(bytesRead / sizeof(Board)) - 1;
    CString text;
    text.Format("Uploaded Length = %d", m_nPathSteps);
    dc->TextOut(kLengthX, kLengthY, text);
    m_bDone = 1;
    file.Close();
    return m_nPathSteps;
}
