// Times the dialog-free save (a temporary file beside the target, then the replace) beside
// the bare writer on the same 1920 x 1080 pixels, for BMP, JPEG and PNG. Run under Wine:
// make bench-wine.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "codecs/bmp.h"
#include "codecs/jpeg_codec.h"
#include "codecs/png_codec.h"
#include "files/save_image.h"
#include "pixels/image_buffer.h"
#include "timing.h"

namespace {

using namespace pictornx;

// The median time of a write; a failed write ends the program.
template <typename Fn>
double MedianMs(int rounds, Fn run) {
  return timing::MedianMs(rounds, [&] {
    if (!run()) {
      std::fprintf(stderr, "a write failed\n");
      std::exit(1);
    }
  });
}

}  // namespace

int main() {
  constexpr int kWidth = 1920, kHeight = 1080;
  ImageBuffer image(kWidth, kHeight);
  // A screen-like picture: flat areas, gradients and some fine detail.
  uint32_t seed = 12345;
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = image.View().TopRow(y);
    for (int x = 0; x < kWidth; ++x) {
      seed = seed * 1664525 + 1013904223;
      const bool detail = (x / 64 + y / 64) % 5 == 0;
      row[x * 3] = static_cast<uint8_t>(detail ? seed >> 24 : x / 8);
      row[x * 3 + 1] = static_cast<uint8_t>(y / 5);
      row[x * 3 + 2] = static_cast<uint8_t>((x + y) / 12);
    }
  }
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring base = std::wstring(temp) + L"pnx-save-timing";
  const JpegOptions jpeg;
  std::printf("save of a %d x %d image, median of the rounds (ms)\n", kWidth, kHeight);
  std::printf("%-5s %10s %10s %7s\n", "type", "writer", "save path", "ratio");
  struct Kind {
    const char* name;
    SaveType type;
    const wchar_t* extension;
  };
  for (const Kind& kind : {Kind{"BMP", SaveType::kBmp, L".bmp"}, Kind{"JPEG", SaveType::kJpeg, L".jpg"},
                           Kind{"PNG", SaveType::kPng, L".png"}}) {
    const std::wstring bare = base + L"-bare" + kind.extension;
    const std::wstring saved = base + kind.extension;
    const int rounds = kind.type == SaveType::kPng ? 7 : 15;
    const ConstImageView view = image.View();
    auto writer = [&] {
      switch (kind.type) {
        case SaveType::kJpeg:
          return WriteJpeg(bare.c_str(), view, jpeg).Ok();
        case SaveType::kPng:
          return WritePng(bare.c_str(), view).Ok();
        default:
          return WriteBmp(bare.c_str(), view).Ok();
      }
    };
    auto savePath = [&] {
      return WriteImageFile(saved.c_str(), view, kind.type, jpeg).status == FileWriteStatus::kWritten;
    };
    writer();  // warm the file cache and the codec's tables
    savePath();
    const double writerMs = MedianMs(rounds, writer);
    const double saveMs = MedianMs(rounds, savePath);
    std::printf("%-5s %10.2f %10.2f %7.2f\n", kind.name, writerMs, saveMs, saveMs / writerMs);
    DeleteFileW(bare.c_str());
    DeleteFileW(saved.c_str());
  }
  return 0;
}
