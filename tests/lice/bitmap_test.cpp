#include "lice.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace
{
bool Aligned64(const void* p) { return (reinterpret_cast<std::uintptr_t>(p) & 63) == 0; }

TEST(MemBitmap, StrideFollowsLowestBitOfLineAlignment)
{
  EXPECT_EQ(LICE_MemBitmap(5, 2, 4).RowStride(), 8);
  EXPECT_EQ(LICE_MemBitmap(5, 2, 12).RowStride(), 8); // only the lowest set bit (4) counts
  EXPECT_EQ(LICE_MemBitmap(5, 2, 8).RowStride(), 8);
  EXPECT_EQ(LICE_MemBitmap(9, 2, 8).RowStride(), 16);
  EXPECT_EQ(LICE_MemBitmap(5, 2, 1).RowStride(), 5);
  EXPECT_EQ(LICE_MemBitmap(5, 2, 0).RowStride(), 5);
}

TEST(MemBitmap, GrowsBy25PercentAndNeverShrinks)
{
  LICE_MemBitmap bm(5, 2, 4);
  EXPECT_EQ(bm.Capacity(), 64);
  ASSERT_NE(bm.PixelData(), nullptr);
  EXPECT_TRUE(Aligned64(bm.PixelData()));

  EXPECT_TRUE(bm.SetSize(8, 3)); // 96 bytes
  EXPECT_EQ(bm.Capacity(), 120);
  EXPECT_TRUE(Aligned64(bm.PixelData()));
  EXPECT_TRUE(bm.SetSize(8, 4)); // 128 bytes
  EXPECT_EQ(bm.Capacity(), 160);

  PixelWord* before = bm.PixelData();
  EXPECT_TRUE(bm.SetSize(2, 2)); // fits: the block stays
  EXPECT_EQ(bm.Capacity(), 160);
  EXPECT_EQ(bm.PixelData(), before);
  EXPECT_EQ(bm.Width(), 2);
  EXPECT_EQ(bm.Height(), 2);
  EXPECT_EQ(bm.RowStride(), 4);
}

TEST(MemBitmap, SameSizeChangesNothing)
{
  LICE_MemBitmap bm(7, 3, 4);
  bm.PixelData()[0] = 0x12345678;
  PixelWord* before = bm.PixelData();
  EXPECT_FALSE(bm.SetSize(7, 3));
  EXPECT_EQ(bm.PixelData(), before);
  EXPECT_EQ(bm.PixelData()[0], 0x12345678u);
  EXPECT_EQ(bm.RowStride(), 8);
}

TEST(MemBitmap, ZeroSideFreesPixels)
{
  LICE_MemBitmap bm(4, 4, 4);
  EXPECT_TRUE(bm.SetSize(0, 9));
  EXPECT_EQ(bm.PixelData(), nullptr);
  EXPECT_EQ(bm.Width(), 0);
  EXPECT_EQ(bm.Height(), 0);
  EXPECT_EQ(bm.Capacity(), 0);

  LICE_MemBitmap empty(0, 0, 4);
  EXPECT_EQ(empty.PixelData(), nullptr);
  EXPECT_TRUE(empty.SetSize(3, 3));
  EXPECT_NE(empty.PixelData(), nullptr);
}

TEST(MemBitmap, NegativeOrHugeSizesLeaveAnEmptyBitmap)
{
  // Two negative sides must not multiply into a positive allocation.
  LICE_MemBitmap bm(4, 4, 4);
  EXPECT_TRUE(bm.SetSize(-5, -5));
  EXPECT_EQ(bm.PixelData(), nullptr);
  EXPECT_EQ(bm.Width(), 0);
  EXPECT_EQ(bm.Height(), 0);

  // More bytes than the capacity can count fails like an allocation: empty, still true.
  EXPECT_TRUE(bm.SetSize(50000, 50000));
  EXPECT_EQ(bm.PixelData(), nullptr);
  EXPECT_EQ(bm.Width(), 0);
  EXPECT_EQ(bm.Height(), 0);
  EXPECT_TRUE(bm.SetSize(INT_MAX, 1));
  EXPECT_EQ(bm.PixelData(), nullptr);
  EXPECT_EQ(bm.RowStride(), 0);

  // The bitmap recovers with the next sensible size.
  EXPECT_TRUE(bm.SetSize(3, 3));
  ASSERT_NE(bm.PixelData(), nullptr);
  EXPECT_EQ(bm.RowStride(), 4);
}

TEST(MemBitmap, HugeAlignmentKeepsStrideRepresentable)
{
  LICE_MemBitmap bm(0, 0, INT_MIN); // lowest set bit 2^31
  EXPECT_TRUE(bm.SetSize(3, 1));
  EXPECT_EQ(bm.PixelData(), nullptr); // rows that wide cannot be allocated
  EXPECT_EQ(bm.Width(), 0);
}

TEST(MemBitmap, DeletesThroughTheInterface)
{
  LICE_IBitmap* bm = new LICE_MemBitmap(10, 10, 4);
  EXPECT_FALSE(bm->IsBottomUp());
  EXPECT_EQ(bm->DeviceContext(), nullptr);
  EXPECT_EQ(bm->ExtensionQuery(1, 2), 0);
  delete bm; // ASan reports a leak or a mismatch otherwise
}

TEST(SysBitmap, ReusesAllocationWhenShrinking)
{
  LICE_SysBitmap bm(366, 212);
  EXPECT_EQ(bm.Width(), 366);
  EXPECT_EQ(bm.Height(), 212);
  EXPECT_EQ(bm.RowStride(), 368);
  ASSERT_NE(bm.PixelData(), nullptr);
  bm.PixelData()[367 + 211 * 368] = 1; // the whole allocated area is writable

  PixelWord* before = bm.PixelData();
  EXPECT_TRUE(bm.SetSize(100, 100));
  EXPECT_EQ(bm.RowStride(), 368);
  EXPECT_EQ(bm.PixelData(), before);
  EXPECT_EQ(bm.Width(), 100);

  EXPECT_FALSE(bm.SetSize(100, 100));
  EXPECT_TRUE(bm.SetSize(400, 212));
  EXPECT_EQ(bm.RowStride(), 400);
  EXPECT_EQ(bm.Width(), 400);
  ASSERT_NE(bm.PixelData(), nullptr);
  bm.PixelData()[399 + 211 * 400] = 1;

  EXPECT_TRUE(bm.SetSize(400, 213)); // taller than allocated: a new allocation
  EXPECT_EQ(bm.RowStride(), 400);
}

TEST(SysBitmap, ZeroSizeReleasesPixels)
{
  LICE_SysBitmap bm(10, 10);
  EXPECT_EQ(bm.RowStride(), 12);
  EXPECT_FALSE(bm.SetSize(0, 0));
  EXPECT_EQ(bm.PixelData(), nullptr);
  EXPECT_EQ(bm.RowStride(), 0);
  EXPECT_TRUE(bm.SetSize(5, 1));
  EXPECT_EQ(bm.RowStride(), 8);
  EXPECT_NE(bm.PixelData(), nullptr);

  LICE_SysBitmap empty;
  EXPECT_EQ(empty.PixelData(), nullptr);
  EXPECT_EQ(empty.Width(), 0);
}

TEST(SysBitmap, NegativeOrHugeSizesLeaveAnEmptyBitmap)
{
  LICE_SysBitmap bm(10, 10);
  EXPECT_TRUE(bm.SetSize(-4, 10));
  EXPECT_EQ(bm.PixelData(), nullptr);
  EXPECT_EQ(bm.Width(), 0);
  EXPECT_EQ(bm.Height(), 0);
  EXPECT_TRUE(bm.SetSize(INT_MAX, 2));
  EXPECT_EQ(bm.PixelData(), nullptr);
  EXPECT_EQ(bm.Width(), 0);
  EXPECT_TRUE(bm.SetSize(6, 6));
  EXPECT_NE(bm.PixelData(), nullptr);
  EXPECT_EQ(bm.RowStride(), 8);
}
} // namespace
