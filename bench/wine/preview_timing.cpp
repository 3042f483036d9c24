// Times one refresh of the JPEG preview end to end (the processing notice, the temporary
// file written, read back into a new DIB section, measured and deleted, difference A, the
// view copy, the channel panels and the face) beside libjpeg-turbo alone encoding and
// decoding the same 1920 x 1080 pixels in memory. Run under Wine: make bench-wine.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "imagestore/image_buffers.h"
#include "codecs/jpeg_codec.h"
#include "jpegpreview/channel_panels.h"
#include "jpegpreview/jpeg_preview.h"
#include "pixels/jpeg_diff.h"
#include "pixels/image_buffer.h"
#include "timing.h"

namespace {

using namespace pictornx;

using timing::MedianMs;

void BareEncodeDecode(ConstImageView image, ImageView decoded) {
  jpeg_compress_struct c;
  jpeg_error_mgr cerr;
  c.err = jpeg_std_error(&cerr);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&c, &out, &outSize);
  c.image_width = static_cast<JDIMENSION>(image.width);
  c.image_height = static_cast<JDIMENSION>(image.height);
  c.input_components = 3;
  c.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 65, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(image.TopRow(static_cast<int>(c.next_scanline)));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  jpeg_decompress_struct d;
  jpeg_error_mgr derr;
  d.err = jpeg_std_error(&derr);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, out, outSize);
  jpeg_read_header(&d, TRUE);
  d.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&d);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = decoded.TopRow(static_cast<int>(d.output_scanline));
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  std::free(out);
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main() {
  constexpr int kWidth = 1920, kHeight = 1080;
  ImageBuffersState& images = Images();
  if (!images.workImage.Create(kWidth, kHeight)) return 1;
  images.viewSize = {kWidth, kHeight};
  const ImageView work = images.workImage.View();
  uint32_t seed = 12345;
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = work.TopRow(y);
    for (int x = 0; x < kWidth; ++x) {
      seed = seed * 1664525 + 1013904223;
      const bool detail = (x / 64 + y / 64) % 5 == 0;
      row[x * 3] = static_cast<uint8_t>(detail ? seed >> 24 : x / 8);
      row[x * 3 + 1] = static_cast<uint8_t>(y / 5);
      row[x * 3 + 2] = static_cast<uint8_t>((x + y) / 12);
    }
  }
  WNDCLASSW cls{};
  cls.lpfnWndProc = OwnerProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"pnx-preview-timing";
  RegisterClassW(&cls);
  HWND owner = CreateWindowW(cls.lpszClassName, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                             cls.hInstance, nullptr);
  OpenJpegPreview(owner);
  if (!JpegPreviewWindow()) {
    std::fprintf(stderr, "the preview did not open\n");
    return 1;
  }
  ImageBuffer decoded(kWidth, kHeight);
  const int rounds = 11;
  const double bare = MedianMs(rounds, [&] { BareEncodeDecode(work, decoded.View()); });
  const double refresh = MedianMs(rounds, [&] {
    if (RefreshJpegPreview() != kRefreshDone) std::exit(1);
  });
  const double bareAgain = MedianMs(rounds, [&] { BareEncodeDecode(work, decoded.View()); });
  const double baseline = std::min(bare, bareAgain);
  // Some of the refresh's steps alone, to see where its time goes.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring file = std::wstring(temp) + L"pnx-preview-timing.jpg";
  const double writeRead = MedianMs(rounds, [&] {
    WriteJpeg(file.c_str(), work, {});
    BufferSink sink;
    ReadJpegFile(file.c_str(), sink);
    DeleteFileW(file.c_str());
  });
  const double writeOnly = MedianMs(rounds, [&] { WriteJpeg(file.c_str(), work, {}); });
  BufferSink kept;
  const double readOnly = MedianMs(rounds, [&] { ReadJpegFile(file.c_str(), kept); kept = BufferSink(); });
  const double encodeOnly = MedianMs(rounds, [&] {
    ByteBlock bytes;
    EncodeJpeg(work, {}, &bytes);
  });
  std::printf("write %.2f read %.2f encode in memory %.2f\n", writeOnly, readOnly, encodeOnly);
  const double diff = MedianMs(rounds, [&] { BuildDiffImage(work, decoded.View(), decoded.View(), 1); });
  Surface panels[3];
  for (Surface& panel : panels) panel.Create(owner, 128, 135);
  const double traces = MedianMs(rounds, [&] { DrawChannelPanels(panels, work, decoded.View(), nullptr, false); });
  std::printf("JPEG preview refresh of a %d x %d image, median of %d rounds (ms)\n", kWidth, kHeight, rounds);
  std::printf("bare encode + decode in memory %8.2f\nrefresh end to end            %8.2f\nratio %.2f\n", baseline,
              refresh, refresh / baseline);
  std::printf("steps alone: file write + read %.2f, difference A %.2f, channel panels %.2f\n", writeRead, diff, traces);
  SendMessageW(JpegPreviewWindow(), WM_CLOSE, 0, 0);
  DestroyWindow(owner);
  return 0;
}
