#pragma once
// Reads a fuzzer's input as a stream of small values. Reading past the end yields zeros,
// so every input, however short, is a complete program of calls.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz
{
class Input
{
public:
  Input(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

  bool Empty() const { return mPos >= mSize; }
  size_t Remaining() const { return mPos < mSize ? mSize - mPos : 0; }

  uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }
  bool Bool() { return Byte() & 1; }

  template <class T>
  T Raw()
  {
    T value{};
    unsigned char bytes[sizeof(T)] = {};
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = Byte();
    std::memcpy(&value, bytes, sizeof(T));
    return value;
  }

  // An integer in lo..hi (inclusive), taken from as few bytes as the range needs.
  int Range(int lo, int hi)
  {
    const uint32_t span = uint32_t(int64_t(hi) - lo) + 1u;
    uint32_t v = span <= 0x100 ? Byte() : span <= 0x10000 ? Raw<uint16_t>() : Raw<uint32_t>();
    return span ? int(int64_t(lo) + v % span) : int(int64_t(lo) + v);
  }

  // Up to `max` bytes; the span stays valid as long as the input does.
  const uint8_t* Bytes(size_t max, size_t* got)
  {
    const size_t n = max < Remaining() ? max : Remaining();
    const uint8_t* p = mData + mPos;
    mPos += n;
    *got = n;
    return p;
  }

private:
  const uint8_t* mData;
  size_t mSize;
  size_t mPos = 0;
};
} // namespace fuzz

namespace fuzz
{
// With BRINDLOW_FUZZ_TRACE set, the targets print every call they make, so that a
// finding replayed alone shows what led to it.
inline bool Tracing()
{
  static const bool on = std::getenv("BRINDLOW_FUZZ_TRACE") != nullptr;
  return on;
}
} // namespace fuzz

#define FUZZ_TRACE(...)                 \
  do                                    \
  {                                     \
    if (fuzz::Tracing())                \
    {                                   \
      std::fprintf(stderr, __VA_ARGS__); \
      std::fprintf(stderr, "\n");       \
    }                                   \
  } while (0)

// A property every input must keep; a violation aborts so that libFuzzer and the replay
// driver both report the input.
#define FUZZ_CHECK(cond, ...)                                                    \
  do                                                                             \
  {                                                                              \
    if (!(cond))                                                                 \
    {                                                                            \
      std::fprintf(stderr, "%s:%d: check failed: %s: ", __FILE__, __LINE__, #cond); \
      std::fprintf(stderr, __VA_ARGS__);                                         \
      std::fprintf(stderr, "\n");                                                \
      std::abort();                                                              \
    }                                                                            \
  } while (0)
