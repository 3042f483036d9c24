// libFuzzer target: arbitrary bytes through ReadPng (see fuzz_reader.h).
#include "codecs/png_codec.h"
#include "fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzReader([](std::span<const uint8_t> file, pictornx::ImageSink& sink) { return pictornx::ReadPng(file, sink); },
                    data, size);
}
