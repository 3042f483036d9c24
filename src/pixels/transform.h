// Mirrors and quarter turns of a whole picture, from one view into another. The shell owns
// both buffers: it copies the picture aside, shapes a view of the destination for the
// result (TransformedView) and lets TransformImage move every pixel once.
#pragma once

#include <cstdint>

#include "pixels/image.h"

namespace pictornx {

// Numbered as the viewer's menu commands store them.
enum class Transform : int {
  kMirrorLeftRight = 1,
  kMirrorTopBottom = 2,
  kRotateClockwise = 3,
  kRotateCounterClockwise = 4,
};

// The quarter turns exchange width and height (and with them the row size).
constexpr bool SwapsAxes(Transform transform) {
  return transform == Transform::kRotateClockwise ||
         transform == Transform::kRotateCounterClockwise;
}

// A view of `bits` shaped for the result of transforming a width x height picture: the
// same size for the mirrors, height x width with the row size of the new width for the
// quarter turns. The caller makes sure `bits` holds ImageBytes of that shape.
ImageView TransformedView(Transform transform, uint8_t* bits, int width, int height);

// Writes `source` transformed into `destination`, which must have the transformed size,
// rows of at least three bytes per pixel, and must not overlap `source`. Only pixel bytes
// are written; the destination's row padding keeps whatever it held. Returns false, having
// written nothing, for an unknown transform, an empty or wrongly sized view, or views that
// overlap.
bool TransformImage(Transform transform, ConstImageView source, ImageView destination);

}  // namespace pictornx
