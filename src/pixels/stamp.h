// Stamping a small picture into an image. The cursor stamp draws a cursor or icon on a
// tile filled with a key colour and then copies every tile pixel that is not that colour.
#pragma once

#include "pixels/image.h"

namespace pictornx {

// Copies into `image` every pixel of `tile` that differs in any byte from the tile's first
// pixel in memory (its bottom-left, which the picture never covers, so it holds the key
// colour). The tile's top-left lands on the picture position (left, top) of the image,
// counted from its top-left corner; tile pixels that fall outside the image are skipped.
// Nothing happens when either view is empty.
void StampTile(ConstImageView tile, ImageView image, int left, int top);

}  // namespace pictornx
