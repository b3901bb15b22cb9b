// Engine lifecycle, the search step, the end test and the solution path.
#include "board_search.h"

#include "board_colours.h"

#include <algorithm>

namespace {

constexpr Board kStartLayout = {
    '2', '4', '5', '2', //
    '3', '5', '5', '3', //
    '2', '6', '7', '2', //
    '3', '1', '1', '3', //
    '1', '0', '0', '1', //
};

// Where a step draws its boards.
constexpr int kPreviousX = 110, kPreviousY = 5, kPreviousCell = 10;
constexpr int kCurrentX = 25, kCurrentY = 55, kCurrentCell = 35;
constexpr int kChildX = 3, kChildSpacing = 65, kChildY = 200, kChildCell = 10;
constexpr int kPathX = 10, kPathY = 250, kPathCell = 30;

} // namespace

CBoardSearch::CBoardSearch()
{
    MakeRoot();
    for (std::size_t i = 0; i < m_brushes.size(); ++i)
        m_brushes[i].CreateSolidBrush(kBrushColours[i]);
}

CBoardSearch::~CBoardSearch()
{
    FreeNodes();
    for (auto brush = m_brushes.rbegin(); brush != m_brushes.rend(); ++brush)
        brush->DeleteObject();
}

void CBoardSearch::MakeRoot()
{
    m_nHead = 0;
    m_nLast = 0;
    m_bDone = 0;
    auto* root = new BoardNode{};
    root->serial = m_nHead;
    SetStartBoard(root);
    m_nodes[0] = root;
    m_sorted[0] = 0;
    StoreKey(root);
    m_hashed.fill(nullptr);
    HashInsert(root);
}

void CBoardSearch::FreeNodes()
{
    for (std::int32_t i = 0; i <= m_nLast; ++i) {
        delete m_nodes[static_cast<std::size_t>(i)];
        m_nodes[static_cast<std::size_t>(i)] = nullptr;
    }
}

void CBoardSearch::Reset()
{
    FreeNodes();
    MakeRoot();
}

void CBoardSearch::SetStartBoard(BoardNode* node) { node->cells = kStartLayout; }

void CBoardSearch::CopyBoard(Board& destination, const Board& source)
{
    std::copy(source.begin(), source.end(), destination.begin());
}

std::int32_t CBoardSearch::Step(CDC* dc)
{
    if (m_nHead > m_nLast) {
        // Every stored position has been expanded without reaching the goal: end the
        // search at the last node, as the node limit does.
        m_nHead = m_nLast;
        m_bDone = 1;
        BuildPath();
        return m_nHead;
    }
    BoardNode* node = m_nodes[static_cast<std::size_t>(m_nHead)];
    if (m_nLast > kSoftNodeLimit)
        m_bDone = 1;
    ExpandNode(node);

    if (m_bShowPrevious && node->parent != nullptr)
        DrawBoard(kPreviousX, kPreviousY, kPreviousCell, node->parent->cells, dc);
    if (m_bShowCurrent)
        DrawBoard(kCurrentX, kCurrentY, kCurrentCell, node->cells, dc);
    if (m_bShowPossible) {
        for (int slot = 0; slot < kChildSlots; ++slot) {
            const BoardNode* child = node->children[static_cast<std::size_t>(slot)];
            if (child != nullptr)
                DrawBoard(slot * kChildSpacing + kChildX, kChildY, kChildCell, child->cells, dc);
        }
    }

    if (IsFinished(node) == 1)
        BuildPath();
    else
        ++m_nHead;
    return m_nHead;
}

std::int32_t CBoardSearch::IsFinished(const BoardNode* node)
{
    if (node->cells[kGoalCell] == kBigTopLeft)
        m_bDone = 1;
    if (m_nLast >= kNodeCapacity)
        m_bDone = 1;
    return m_bDone;
}

std::int32_t CBoardSearch::BuildPath()
{
    std::array<Board, kPathCapacity> reversed;
    int collected = 0;
    const BoardNode* node = m_nodes[static_cast<std::size_t>(m_nHead)];
    while (node->parent != nullptr && collected < kPathCapacity - 1) {
        CopyBoard(reversed[static_cast<std::size_t>(collected++)], node->cells);
        node = node->parent;
    }
    CopyBoard(reversed[static_cast<std::size_t>(collected++)], node->cells);

    const int steps = collected - 1;
    for (int k = 0; k <= steps; ++k)
        m_path[static_cast<std::size_t>(k)] = reversed[static_cast<std::size_t>(steps - k)];
    m_nPathSteps = steps;
    return m_nPathSteps;
}

std::int32_t CBoardSearch::ShowPathStep(std::int32_t step, CDC* dc)
{
    if (step < 0 || step > m_nPathSteps || m_bDone != 1)
        return -1;
    DrawBoard(kPathX, kPathY, kPathCell, m_path[static_cast<std::size_t>(step)], dc);
    return step;
}
