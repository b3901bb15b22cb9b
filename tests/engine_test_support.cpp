#include "engine_test_access.h"

#include "recording_dc.h"

#include <cstring>

const Board kStart = MakeBoard("2452", "3553", "2672", "3113", "1001");

std::int32_t RunSearchToEnd(CBoardSearch& search)
{
    CRecordingDC discard(false);
    std::int32_t last = -1;
    while (search.IsDone() == 0)
        last = search.Step(&discard);
    return last;
}

Board MakeBoard(const char* row0, const char* row1, const char* row2, const char* row3, const char* row4)
{
    Board board{};
    const char* rows[] = {row0, row1, row2, row3, row4};
    for (int r = 0; r < kRows; ++r)
        std::memcpy(board.data() + r * kColumns, rows[r], kColumns);
    return board;
}

Board FillerBoard(std::int32_t n)
{
    Board board;
    board.fill('0');
    board[0] = '7';
    for (int element = kCells - 1; element > 0 && n > 0; --element, n /= 8)
        board[static_cast<std::size_t>(element)] = static_cast<char>('0' + n % 8);
    return board;
}
