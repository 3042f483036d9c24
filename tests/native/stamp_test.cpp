#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "pixels/image_buffer.h"
#include "pixels/stamp.h"

namespace pictornx {
namespace {

constexpr uint8_t kKey[3] = {0x55, 0x01, 0x87};  // B, G, R
constexpr uint8_t kGround = 0x40;

ImageBuffer KeyTile() {
  ImageBuffer tile(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) std::memcpy(tile.View().Row(y) + x * 3, kKey, 3);
  }
  return tile;
}

// A picture pixel of the tile (x, y from its top-left) given one byte value.
void Paint(ImageBuffer& tile, int x, int y, uint8_t b, uint8_t g, uint8_t r) {
  uint8_t* p = tile.View().TopRow(y) + x * 3;
  p[0] = b;
  p[1] = g;
  p[2] = r;
}

// Black with the key colour in the bottom-left pixel only: every other pixel is stamped.
ImageBuffer BlackTile() {
  ImageBuffer tile(64, 64);
  Paint(tile, 0, 63, kKey[0], kKey[1], kKey[2]);
  return tile;
}

ImageBuffer Ground(int width, int height) {
  ImageBuffer image(width, height);
  std::memset(image.Bytes().data(), kGround, image.Bytes().size());
  return image;
}

const uint8_t* At(const ImageBuffer& image, int x, int y) { return image.View().TopRow(y) + x * 3; }

// Count of image bytes (padding included) that are no longer the ground value.
int Changed(const ImageBuffer& image) {
  int n = 0;
  for (uint8_t byte : image.Bytes()) n += byte != kGround;
  return n;
}

TEST(StampTile, CopiesAllButKeyColouredPixelsToTheTopLeftPosition) {
  ImageBuffer tile = KeyTile();
  Paint(tile, 0, 0, 1, 2, 3);
  Paint(tile, 63, 63, 4, 5, 6);
  Paint(tile, 10, 20, 0x55, 0x01, 0x86);  // differs from the key in red only
  Paint(tile, 11, 20, 0x55, 0x01, 0x87);  // the key colour itself
  ImageBuffer image = Ground(100, 90);
  StampTile(tile.View(), image.View(), 5, 7);
  EXPECT_EQ(std::vector<uint8_t>(At(image, 5, 7), At(image, 5, 7) + 3),
            (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(At(image, 68, 70)[2], 6);
  EXPECT_EQ(At(image, 15, 27)[2], 0x86);
  EXPECT_EQ(At(image, 16, 27)[2], kGround);
  EXPECT_EQ(Changed(image), 9);
}

TEST(StampTile, ClipsAtTheBottomAndRightEdges) {
  const ImageBuffer tile = BlackTile();
  // Rows of 70 pixels have two padding bytes, which must stay.
  ImageBuffer image = Ground(70, 50);
  StampTile(tile.View(), image.View(), 40, 30);
  EXPECT_EQ(Changed(image), 30 * 20 * 3);
  EXPECT_EQ(At(image, 69, 49)[0], 0);
  EXPECT_EQ(At(image, 39, 49)[0], kGround);
  EXPECT_EQ(At(image, 69, 29)[0], kGround);
}

TEST(StampTile, ClipsAtTheTopAndLeftAndIgnoresPositionsOutside) {
  const ImageBuffer tile = BlackTile();
  ImageBuffer image = Ground(30, 20);
  StampTile(tile.View(), image.View(), -60, -50);
  EXPECT_EQ(Changed(image), 4 * 14 * 3);
  EXPECT_EQ(At(image, 3, 13)[0], 0);
  EXPECT_EQ(At(image, 4, 13)[0], kGround);

  ImageBuffer untouched = Ground(30, 20);
  for (const auto& [x, y] : {std::pair{30, 0}, std::pair{0, 20}, std::pair{-64, 0},
                             std::pair{0, -64}, std::pair{2147483600, 2147483600}}) {
    StampTile(tile.View(), untouched.View(), x, y);
  }
  EXPECT_EQ(Changed(untouched), 0);
}

TEST(StampTile, TheTransparentColourIsTheTilesFirstPixel) {
  ImageBuffer tile(4, 4);
  std::memset(tile.Bytes().data(), 0xFF, tile.Bytes().size());
  Paint(tile, 1, 1, 0x55, 0x01, 0x87);  // the usual key, here an ordinary colour
  ImageBuffer image = Ground(4, 4);
  StampTile(tile.View(), image.View(), 0, 0);
  EXPECT_EQ(Changed(image), 3);
  EXPECT_EQ(At(image, 1, 1)[2], 0x87);
}

}  // namespace
}  // namespace pictornx
