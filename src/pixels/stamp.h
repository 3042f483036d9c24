// Copying a small picture into an image, whole or skipping a key colour: the sprites of the
// painted windows (cells of resource strips, keyed on pure blue) and the cursor stamp (a
// cursor or icon drawn on a tile filled with a key colour).
#pragma once

#include "pixels/image.h"

namespace pictornx {

// The colour the art paints where a sprite is transparent.
inline constexpr Rgb kSpriteKey{0, 0, 255};

// Copies the `source` rectangle of `from` so that its top-left lands on picture position
// (x, y) of `to`; when `key` is given, pixels of that colour are skipped. The rectangle is
// clipped to `from`, and pixels falling outside `to` are skipped. Nothing happens when a
// view is empty.
void CopySprite(ConstImageView from, PixelRect source, ImageView to, int x, int y, const Rgb* key);

// Copies into `image` every pixel of `tile` that differs in any byte from the tile's first
// pixel in memory (its bottom-left, which the picture never covers, so it holds the key
// colour). The tile's top-left lands on the picture position (left, top) of the image,
// counted from its top-left corner; tile pixels that fall outside the image are skipped.
// Nothing happens when either view is empty.
void StampTile(ConstImageView tile, ImageView image, int left, int top);

}  // namespace pictornx
