// Text written into a buffer the caller owns, never onto the heap: what does not fit is cut
// off and the text stays terminated. The shell builds its titles, messages and paths this
// way, so running out of memory can never stop a message from being shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pictornx {

class TextWriter {
 public:
  // `capacity` counts the terminating zero; a capacity of 0 writes nothing at all.
  TextWriter(wchar_t* buffer, size_t capacity) noexcept : buffer_(buffer), capacity_(buffer ? capacity : 0) {
    if (capacity_) buffer_[0] = L'\0';
  }
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  TextWriter& Add(std::wstring_view text) noexcept {
    for (wchar_t c : text) Add(c);
    return *this;
  }
  TextWriter& Add(wchar_t c) noexcept {
    if (length_ + 1 < capacity_) {
      buffer_[length_++] = c;
      buffer_[length_] = L'\0';
    } else {
      truncated_ = true;
    }
    return *this;
  }
  // Decimal digits, with a minus sign for a negative value; at least `minDigits` digits
  // (zeros in front).
  TextWriter& AddNumber(int64_t value, int minDigits = 1) noexcept {
    wchar_t digits[24];
    int count = 0;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
      digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude || (count < minDigits && count < 20));
    if (value < 0) Add(L'-');
    while (count > 0) Add(digits[--count]);
    return *this;
  }
  void Clear() noexcept {
    length_ = 0;
    truncated_ = false;
    if (capacity_) buffer_[0] = L'\0';
  }

  const wchar_t* Text() const noexcept { return capacity_ ? buffer_ : L""; }
  std::wstring_view View() const noexcept { return {Text(), length_}; }
  size_t Length() const noexcept { return length_; }
  size_t Capacity() const noexcept { return capacity_; }
  // Something did not fit and was left out.
  bool Truncated() const noexcept { return truncated_; }

 private:
  wchar_t* buffer_;
  size_t capacity_;
  size_t length_ = 0;
  bool truncated_ = false;
};

template <size_t N>
struct TextStorage {
  wchar_t storage[N];
};

// A TextWriter with its own N characters (the terminating zero among them).
template <size_t N>
class FixedText : private TextStorage<N>, public TextWriter {
 public:
  FixedText() noexcept : TextWriter(this->storage, N) {}
  explicit FixedText(std::wstring_view text) noexcept : FixedText() { Add(text); }
};

}  // namespace pictornx
