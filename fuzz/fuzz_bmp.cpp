// libFuzzer target: arbitrary bytes through ReadBmp (see fuzz_reader.h).
#include "codecs/bmp.h"
#include "fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzReader([](std::span<const uint8_t> file, pictornx::ImageSink& sink) { return pictornx::ReadBmp(file, sink); },
                    data, size);
}
