// The board renderer's pixels, on the image-backed surface the window uses.
#include "engine_test_access.h"

#include "board_colours.h"
#include "raster_dc.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

QRgb Qt(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

QImage WhiteImage()
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
}

// Smallest rectangle holding every pixel that is not white.
QRect PaintedArea(const QImage& image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                area = area.united(QRect(x, y, 1, 1));
    return area;
}

const QRgb kYellow = qRgb(255, 255, 0), kRed = qRgb(150, 0, 0), kGreen = qRgb(0, 150, 0),
           kGrey = qRgb(100, 100, 100), kDarkRed = qRgb(100, 0, 0), kDarkGreen = qRgb(0, 100, 0),
           kDarkGrey = qRgb(50, 50, 50);

TEST(BoardRendererTest, StartLayoutShowsTheListedColourRows)
{
    auto search = MakeEngine();
    QImage image = WhiteImage();
    {
        CRasterDC dc(image);
        search->DrawBoard(25, 55, 35, kStart, &dc);
    }
    EXPECT_EQ(PaintedArea(image), QRect(25, 55, 175, 140));
    const QRgb rows[4][5] = {
        {kGreen, kDarkGreen, kGreen, kDarkGreen, kYellow},
        {kRed, kDarkRed, kGrey, kYellow, kBlack},
        {kDarkRed, kDarkRed, kDarkGrey, kYellow, kBlack},
        {kGreen, kDarkGreen, kGreen, kDarkGreen, kYellow},
    };
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 5; ++column) {
            const int left = 25 + column * 35, top = 55 + row * 35;
            const QRgb fill = rows[row][column];
            // Every pixel inside the frame has the fill; the frame is one black pixel.
            for (int y = top; y < top + 35; ++y) {
                for (int x = left; x < left + 35; ++x) {
                    const bool frame = x == left || y == top || x == left + 34 || y == top + 34;
                    ASSERT_EQ(image.pixel(x, y), frame ? kBlack : fill)
                        << "square row " << row << " column " << column << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(BoardRendererTest, NeighboursTouchWithTwoBlackPixelsBetweenThem)
{
    auto search = MakeEngine();
    QImage image = WhiteImage();
    CRasterDC dc(image);
    search->DrawBoard(3, 200, 10, kStart, &dc);
    EXPECT_EQ(PaintedArea(image), QRect(3, 200, 50, 40));
    // Along the middle of picture row 0: white, border, fill ... fill, black, black, fill.
    const int y = 205;
    EXPECT_EQ(image.pixel(2, y), kWhite);
    EXPECT_EQ(image.pixel(3, y), kBlack);
    EXPECT_EQ(image.pixel(4, y), kGreen);
    EXPECT_EQ(image.pixel(11, y), kGreen);
    EXPECT_EQ(image.pixel(12, y), kBlack);
    EXPECT_EQ(image.pixel(13, y), kBlack);
    EXPECT_EQ(image.pixel(14, y), kDarkGreen);
    EXPECT_EQ(image.pixel(52, y), kBlack);
    EXPECT_EQ(image.pixel(53, y), kWhite);
}

TEST(BoardRendererTest, UnknownCodeKeepsTheBrushDrawnBefore)
{
    auto search = MakeEngine();
    Board odd = kStart;
    odd[0] = 'x'; // first square drawn: the fresh surface's white brush
    odd[4] = '?'; // second square drawn, after element 0: still white
    odd[5] = '#'; // after element 1 ('4', red) in drawing order
    QImage image = WhiteImage();
    CRasterDC dc(image);
    search->DrawBoard(0, 0, 10, odd, &dc);
    EXPECT_EQ(image.pixel(5, 5), kWhite);
    EXPECT_EQ(image.pixel(15, 5), kWhite);
    EXPECT_EQ(image.pixel(15, 15), kRed);
    EXPECT_EQ(image.pixel(0, 0), kBlack); // the frame is still drawn

    // On a surface that already drew a picture, the first unknown square takes its last brush.
    QImage second = WhiteImage();
    CRasterDC reused(second);
    search->DrawBoard(0, 0, 10, kStart, &reused); // ends on element 19, '1'
    search->DrawBoard(100, 0, 10, odd, &reused);
    EXPECT_EQ(second.pixel(105, 5), kYellow);
}

TEST(BoardRendererTest, SurfaceKeepsTheLastSquaresBrush)
{
    auto search = MakeEngine();
    QImage image = WhiteImage();
    CRasterDC dc(image);
    Board board = kStart;
    board[19] = '3';
    search->DrawBoard(0, 0, 10, board, &dc);
    EXPECT_EQ(Qt(SelectedBrushColourOf(dc)), kDarkGreen);
}

TEST(BoardRendererTest, DrawingTwiceGivesTheSamePixels)
{
    auto search = MakeEngine();
    QImage once = WhiteImage();
    QImage twice = WhiteImage();
    {
        CRasterDC a(once);
        search->DrawBoard(10, 250, 30, kStart, &a);
        CRasterDC b(twice);
        search->DrawBoard(10, 250, 30, kStart, &b);
        search->DrawBoard(10, 250, 30, kStart, &b);
    }
    EXPECT_EQ(once, twice);
}

TEST(BoardRendererTest, BrushColoursAreTheListedColourRefs)
{
    EXPECT_EQ(kBrushColours.front(), 65535u);
    EXPECT_EQ(kBrushColours.back(), 3289650u);
}

} // namespace
