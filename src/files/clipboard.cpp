#include "files/clipboard.h"

#include <cstring>
#include <utility>

#include "files/clipboard_rules.h"
#include "imagestore/image_buffers.h"
#include "viewer/render_view.h"
#include "pixels/crop.h"
#include "resources/resource_ids.h"
#include "ui/host_link.h"
#include "ui/popup.h"
#include "viewer/viewer.h"
#include "win/module.h"

namespace pictornx {
namespace {

// A box captioned with the host's name, three spaces and `captionId`.
void ShowHostBox(HWND owner, UINT textId, UINT captionId) {
  FixedText<kTitleChars> text;
  AddResString(text, textId);
  FixedText<kTitleChars> caption;
  AddResString(caption, HostNameStringId()).Add(L"   ");
  AddResString(caption, captionId);
  MessageBoxW(owner, text.Text(), caption.Text(), MB_ICONQUESTION | MB_TOPMOST);
}

// The block is made and filled before the clipboard is touched, so a failure leaves the
// user's clipboard as it was.
int CopyToClipboard(HWND viewer, const SharedImage& work, PixelRect range) {
  const int width = range.Width();
  const int height = range.Height();
  const int64_t bytes = ClipboardBlockBytes(width, height);
  HGLOBAL block = bytes > 0 ? GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, static_cast<SIZE_T>(bytes)) : nullptr;
  auto* memory = block ? static_cast<uint8_t*>(GlobalLock(block)) : nullptr;
  if (!memory) {
    if (block) GlobalFree(block);
    ShowMemoryError(viewer);
    return -1;
  }
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(bytes - sizeof(header));
  std::memcpy(memory, &header, sizeof(header));
  const ImageView rows{memory + sizeof(header), width, height, static_cast<int>(RowBytes(width))};
  CopyRectangle(work.View(), range.left, range.top, width, height, rows);
  GlobalUnlock(block);

  if (!OpenClipboard(nullptr)) {
    GlobalFree(block);
    ShowHostBox(viewer, IDS_CLIPBOARD_BUSY, IDS_ERROR_CAPTION);
    return -1;
  }
  EmptyClipboard();
  const bool placed = SetClipboardData(CF_DIB, block) != nullptr;  // the clipboard owns it now
  CloseClipboard();
  if (!placed) {
    GlobalFree(block);
    ShowMemoryError(viewer);
    return -1;
  }
  return 0;
}

// The range becomes the new 100 % image. A larger ScreenImage is made before the old one
// goes, so running out of memory leaves the picture unchanged.
int ShowRangeAsImage(HWND viewer, PixelRect range) {
  ImageBuffersState& images = Images();
  const int width = range.Width();
  const int height = range.Height();
  if (images.screenImage.CapacityBytes() < ImageBytes(width, height)) {
    SharedImage fresh;
    if (!fresh.Create(width, height)) {
      ShowMemoryError(viewer);
      return -1;
    }
    images.screenImage = std::move(fresh);
  }
  images.screenImage.SetSize(width, height);
  CopyRectangle(images.workImage.View(), range.left, range.top, width, height, images.screenImage.View());
  CopyImage(images.workImage, images.screenImage);
  images.sourceSize = images.viewSize = {width, height};
  SetZoomFactors(1.0, 1.0, 3);
  SetResampleMode(0);
  RefreshZoomMenu();
  SetRatioLock(true);
  ResetViewerView();
  return 0;
}

}  // namespace

int CopyOut(HWND viewer, CopyTarget target, PixelRect range) {
  const SharedImage& work = Images().workImage;
  if (!work) return -1;
  const PixelRect inside = ClipRangeToImage(range, work.Width(), work.Height());
  if (inside.Empty()) return -1;
  if (ExceedsClipboardGuard(inside.Width(), inside.Height(), GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN))) {
    ShowHostBox(viewer, IDS_CLIPBOARD_TOO_LARGE, IDS_CAUTION_CAPTION);
    return -1;
  }
  return target == CopyTarget::kClipboard ? CopyToClipboard(viewer, work, inside) : ShowRangeAsImage(viewer, inside);
}

void CopyWholeImageCommand(HWND viewer) {
  const SharedImage& work = Images().workImage;
  if (CopyOut(viewer, CopyTarget::kClipboard, {0, 0, work.Width(), work.Height()}) == 0)
    ShowPopupStrings(viewer, IDS_WHOLE_IMAGE_COPIED, IDS_COPIED_TO_CLIPBOARD, 3);
}

}  // namespace pictornx
