#include "imageops/picture_commands.h"

#include <utility>

#include "pixels/effects.h"
#include "imagestore/image_buffers.h"
#include "ui/popup.h"
#include "viewer/render_view.h"
#include "pixels/transform.h"
#include "viewer/viewer.h"

namespace pictornx {
namespace {

// The view after the picture changed: a byte copy at 100 %, else a resampling.
void RebuildView() {
  ImageBuffersState& images = Images();
  if (Viewer().zoomPreset == 3) {
    CopyImage(images.workImage, images.screenImage);
    images.viewSize = images.sourceSize;
  } else {
    RenderView(0);
  }
  ResetViewerView();
}

int ApplyEffect(void (*effect)(ImageView)) {
  effect(Images().screenImage.View());
  RenderView(1);
  return 0;
}

}  // namespace

int FlipRotate() {
  ImageBuffersState& images = Images();
  ViewerState& viewer = Viewer();
  HWND window = ViewerWindow();
  const auto kind = static_cast<Transform>(viewer.transformKind);
  const int width = images.sourceSize.cx;
  const int height = images.sourceSize.cy;

  // WorkImage becomes the untouched copy the transform reads; ScreenImage receives it.
  if (!images.workImage.Create(width, height)) {
    ShowMemoryError(window);
    return -1;
  }
  CopyImage(images.workImage, images.screenImage);
  const bool turn = SwapsAxes(kind);
  const int newWidth = turn ? height : width;
  const int newHeight = turn ? width : height;
  // A turn needs more bytes than the section holds when the new rows pad more.
  if (turn && ImageBytes(newWidth, newHeight) > images.screenImage.CapacityBytes() &&
      !images.screenImage.Create(newWidth, newHeight)) {
    ShowMemoryError(window);
    SendMessageW(window, WM_CLOSE, 0, 0);
    return -1;
  }
  TransformImage(kind, images.workImage.View(), TransformedView(kind, images.screenImage.Bits(), width, height));

  if (turn) SwapZoomAxes();
  images.sourceSize = {newWidth, newHeight};
  images.viewSize = images.sourceSize;
  if (!images.workImage.Reserve(newWidth, newHeight)) {
    ShowMemoryError(window);
    return -1;
  }
  images.screenImage.SetSize(newWidth, newHeight);
  RebuildView();
  return 0;
}

int InvertColours() { return ApplyEffect(InvertImage); }
int Sepia() { return ApplyEffect(SepiaImage); }
int Grey() { return ApplyEffect(GreyImage); }

}  // namespace pictornx
