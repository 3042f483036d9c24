// libFuzzer target: arbitrary bytes through ReadPng into a buffer sink, every output byte
// read afterwards. The sink refuses images above 8 MiB (the reader then reports out of
// memory, as when the shell's DIB section cannot be created), so the fuzzer spends its time
// parsing rather than zero-filling large buffers.
#include <cstddef>
#include <cstdint>

#include "codecs/png_codec.h"
#include "codecs/image_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pictornx::BufferSink sink(int64_t{8} << 20);
  const pictornx::CodecResult result = pictornx::ReadPng({data, size}, sink);
  if (result.reason == nullptr || sink.Allocations() > 1) __builtin_trap();
  if (result.Ok()) {
    if (sink.Allocations() != 1) __builtin_trap();
    unsigned sum = 0;
    for (uint8_t v : sink.Image().Bytes()) sum += v;
    volatile unsigned keep = sum;
    (void)keep;
  }
  return 0;
}
