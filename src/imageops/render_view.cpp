#include "render_view.h"

#include "image_buffers.h"
#include "popup.h"
#include "viewer.h"

namespace pictornx {

int RenderView(int reset) {
  // Only the 100 % view exists so far: WorkImage is a copy of ScreenImage.
  ImageBuffersState& images = Images();
  const SIZE source = images.sourceSize;
  if (!images.workImage.Create(source.cx, source.cy)) {
    ShowMemoryError(ViewerWindow());
    return -1;
  }
  CopyImage(images.workImage, images.screenImage);
  images.viewSize = source;
  if (reset) ResetViewerView();
  return 0;
}

}  // namespace pictornx
