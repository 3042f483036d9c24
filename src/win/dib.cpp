#include "win/dib.h"

namespace pictornx {

#ifdef PICTORNX_TEST_SEAMS
namespace {
int g_dibsBeforeFailure = -1;
int g_dibsRequested = 0;
}  // namespace

void testing::FailDibSectionsAfter(int successes) { g_dibsBeforeFailure = successes; }
int testing::DibSectionsRequested() { return g_dibsRequested; }
#endif

void SetImageHeader(BITMAPINFOHEADER& header, int width, int height) {
  header = {};
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = height;  // positive: bottom-up rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const int64_t bytes = ImageBytes(width, height);
  header.biSizeImage = bytes > 0 ? static_cast<DWORD>(bytes) : 0;
}

DibSection CreateDib24(int width, int height) {
  DibSection dib;
  if (ImageBytes(width, height) < 0) return dib;
#ifdef PICTORNX_TEST_SEAMS
  ++g_dibsRequested;
  if (g_dibsBeforeFailure == 0) return dib;
  if (g_dibsBeforeFailure > 0) --g_dibsBeforeFailure;
#endif
  BITMAPINFO info{};
  SetImageHeader(info.bmiHeader, width, height);
  void* bits = nullptr;
  dib.bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib.bitmap || !bits) {
    dib.Reset();
    return dib;
  }
  dib.view = {static_cast<uint8_t*>(bits), width, height, static_cast<int>(RowBytes(width))};
  return dib;
}

}  // namespace pictornx
