#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/SaverError.h"
#include "raster/DibSurface.h"

namespace {

void Make(DibSurface& s, int w, int h)
{
    s.SetBitCount(24);
    s.SetWidth(w);
    s.SetHeight(h);
}

TEST(DibSurface, NewSurfaceAtTwentyFourBits)
{
    DibSurface s;
    EXPECT_TRUE(s.Empty());
    s.SetBitCount(24);
    EXPECT_EQ(s.Width(), 1);
    EXPECT_EQ(s.Height(), 1);
    EXPECT_EQ(s.BitCount(), 24);
}

TEST(DibSurface, RowStridePadsToFourBytes)
{
    DibSurface s;
    Make(s, 4, 2);
    EXPECT_EQ(s.RowStride(), 12);
    s.SetWidth(5);
    EXPECT_EQ(s.RowStride(), 16);
}

TEST(DibSurface, PixelBytesBottomUpBlueFirst)
{
    DibSurface s;
    Make(s, 4, 2);
    s.SetPixel(0, 0, ColourValue(1, 2, 3));
    const uint8_t* lastRow = s.Bits() + s.RowStride() * 1;
    EXPECT_EQ(lastRow[0], 3);
    EXPECT_EQ(lastRow[1], 2);
    EXPECT_EQ(lastRow[2], 1);
    EXPECT_EQ(s.Row(0), lastRow);
    s.SetPixel(3, 1, ColourValue(9, 8, 7));
    EXPECT_EQ(s.Bits()[9], 7);
    EXPECT_EQ(s.Bits()[11], 9);
}

TEST(DibSurface, WritesOutsideAreIgnored)
{
    DibSurface s;
    Make(s, 5, 3);
    s.Fill(ColourValue(10, 20, 30));
    std::vector<uint8_t> before(s.Bits(), s.Bits() + s.RowStride() * 3);
    for (auto [x, y] : {std::pair{5, 0}, {-1, 0}, {0, 3}, {0, -1}, {INT32_MIN, INT32_MAX}})
        s.SetPixel(x, y, 0xFFFFFF);
    EXPECT_EQ(0, std::memcmp(before.data(), s.Bits(), before.size()));
}

TEST(DibSurface, SameSizeKeepsPixelsOtherSizeIsBlank)
{
    DibSurface s;
    Make(s, 4, 2);
    s.SetPixel(1, 1, ColourValue(50, 60, 70));
    s.SetWidth(4);
    s.SetHeight(2);
    EXPECT_EQ(s.Row(1)[3], 70);
    s.SetWidth(6);
    EXPECT_EQ(s.Row(1)[3], 0);
    s.SetWidth(0);
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(s.Height(), 0);
}

TEST(DibSurface, InvalidBitCountFails)
{
    DibSurface s;
    for (int n : {2, 7, 25, 33}) {
        try {
            s.SetBitCount(n);
            ADD_FAILURE() << n;
        } catch (const SaverError& e) {
            EXPECT_EQ(std::string(e.what()), "Bitcount in invalid (" + std::to_string(n) + ")");
        }
    }
    EXPECT_TRUE(s.Empty());
    s.SetBitCount(0); // below 1 empties without error
    EXPECT_TRUE(s.Empty());
}

} // namespace
