#include "capture/capture_modes.h"
#include "capture/capture_rules.h"
#include "imagestore/image_buffers.h"
#include "pixels/crop.h"

namespace pictornx {

int CropScreenRect(int x1, int y1, int x2, int y2) {
  ImageBuffersState& images = Images();
  SharedImage& work = images.workImage;
  SharedImage& screen = images.screenImage;
  const CropPlan plan = PlanScreenCrop(x1, y1, x2, y2, images.screenSize.cx, images.screenSize.cy);
  if (plan.result != kCropDone) return plan.result;
  if (!work || !screen) return kCropEmpty;
  // WorkImage holds the frozen screen; clipping to its own size as well keeps every read
  // inside it even if it were smaller than ScreenSize says.
  const PixelRect rect = ClipToScreen(plan.rect, work.Width(), work.Height());
  if (rect.Empty()) return kCropEmpty;
  // The rectangle is never larger than the screen ScreenImage was made for, so this keeps
  // its section and only sets the header.
  if (!screen.Reserve(rect.Width(), rect.Height())) return kCropLargerThanScreen;
  if (!CopyRectangle(work.View(), rect.left, rect.top, rect.Width(), rect.Height(), screen.View()))
    return kCropEmpty;
  images.sourceSize = {rect.Width(), rect.Height()};
  return kCropDone;
}

}  // namespace pictornx
