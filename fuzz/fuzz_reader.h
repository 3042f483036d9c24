// What every reader's libFuzzer target does: arbitrary bytes through the reader into a
// buffer sink, every output byte read afterwards. The sink refuses images above 8 MiB (the
// reader then reports out of memory, as when the shell's DIB section cannot be created), so
// the fuzzer spends its time parsing rather than zero-filling large buffers. A failure
// without a reason, or a sink asked twice, is a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "codecs/image_sink.h"

template <typename Reader>
int FuzzReader(Reader read, const uint8_t* data, size_t size) {
  pictornx::BufferSink sink(int64_t{8} << 20);
  const pictornx::CodecResult result = read(std::span<const uint8_t>(data, size), sink);
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
