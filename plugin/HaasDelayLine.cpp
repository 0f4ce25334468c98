#include "HaasDelayLine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace
{
// On x86-64 Linux these loops are also built for AVX-512 and AVX2 and the loader
// picks the version the processor runs; a multiplication or conversion rounds the
// same either way.
#if defined(__x86_64__) && defined(__linux__) && defined(__GNUC__) && !defined(__clang__)
#define BRINDLOW_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define BRINDLOW_VECTOR_CLONES
#endif

// out[k] = src[k] * gain
BRINDLOW_VECTOR_CLONES void Scale(const double* src, double* out, int32_t n, double gain)
{
  for (int32_t k = 0; k < n; ++k)
    out[k] = src[k] * gain;
}

// The 32-bit helpers. Where a sample has to be widened and narrowed again, as the
// 64-bit route does it, the two conversions happen in separate functions through
// memory: the compiler cannot fold them into a plain copy, which would differ for
// signalling NaNs, and for denormals when the host has the processor treat them
// as zero.

// out[k] = in[k] widened
BRINDLOW_VECTOR_CLONES void Widen(const float* src, double* out, int32_t n)
{
  for (int32_t k = 0; k < n; ++k)
    out[k] = static_cast<double>(src[k]);
}

// Widening a float and narrowing it back gives its own bits, except for NaNs (a
// signalling one comes back quiet) and denormals (which come back as zero when the
// host has the processor treat them so). Both are told from the magnitude bits,
// since the processor's own comparisons may take a denormal for zero: a denormal's
// magnitude lies in 1 ... 0x7fffff, a NaN's above that of infinity.
constexpr uint32_t kMagnitudeMask = 0x7fffffffu;
constexpr uint32_t kLargestDenormal = 0x007fffffu;
constexpr uint32_t kInfinity = 0x7f800000u;

// The same as Widen, also copying src to copy unless that is null (it must not
// overlap src); answers whether any sample may change on a round trip.
BRINDLOW_VECTOR_CLONES bool WidenAndCopy(const float* src, double* out, float* copy, int32_t n)
{
  // Smallest magnitude - 1 (zero wraps round to the largest) and largest magnitude.
  uint32_t lowest = UINT32_MAX, highest = 0;
  for (int32_t k = 0; k < n; ++k) {
    const float x = src[k];
    out[k] = static_cast<double>(x);
    if (copy) copy[k] = x;
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const uint32_t magnitude = bits & kMagnitudeMask;
    lowest = std::min(lowest, magnitude - 1);
    highest = std::max(highest, magnitude);
  }
  return lowest < kLargestDenormal || highest > kInfinity;
}

// out[k] = src[k] narrowed
BRINDLOW_VECTOR_CLONES void Narrow(const double* src, float* out, int32_t n)
{
  for (int32_t k = 0; k < n; ++k)
    out[k] = static_cast<float>(src[k]);
}

// lead[k] = stored[k] narrowed, lag[k] = delayed[k] * gain narrowed
BRINDLOW_VECTOR_CLONES void NarrowBoth(const double* stored, const double* delayed, float* lead, float* lag,
                                       int32_t n, double gain)
{
  for (int32_t k = 0; k < n; ++k) {
    lead[k] = static_cast<float>(stored[k]);
    lag[k] = static_cast<float>(delayed[k] * gain);
  }
}

// out[k] = src[k] * gain, narrowed
BRINDLOW_VECTOR_CLONES void ScaleNarrow(const double* src, float* out, int32_t n, double gain)
{
  for (int32_t k = 0; k < n; ++k)
    out[k] = static_cast<float>(src[k] * gain);
}
} // namespace

HaasDelayLine::~HaasDelayLine()
{
  Release();
}

void HaasDelayLine::Release()
{
  delete[] mBuffer;
  mBuffer = nullptr;
  mLength = 0;
  mWriteIndex = 0;
}

int32_t HaasDelayLine::LengthFor(double sampleRate, double maxDelayMs)
{
  // NaN fails every comparison, so it is refused along with the rest.
  if (!(sampleRate > 0.0 && sampleRate < kMaxSampleRate)) return 0;
  if (!(maxDelayMs >= 0.0 && std::isfinite(maxDelayMs))) return 0;
  const double length = std::trunc(sampleRate / 1000.0 * maxDelayMs) + 2.0;
  // The byte count has to fit 32 bits, like any block this plug-in allocates.
  const double maxLength = static_cast<double>(std::numeric_limits<uint32_t>::max() / sizeof(double));
  if (!(length <= maxLength)) return 0;
  return static_cast<int32_t>(length);
}

bool HaasDelayLine::Rebuild(double sampleRate, double delayMs, double maxDelayMs)
{
  const int32_t length = LengthFor(sampleRate, maxDelayMs);
  if (mBuffer && length == mLength) {
    // Same length: cleared in place, so a reset at an unchanged rate allocates
    // nothing (some hosts reset from their audio thread).
    std::fill(mBuffer, mBuffer + length, 0.0);
    mWriteIndex = 0;
    SetDelay(sampleRate, delayMs);
    return true;
  }
  Release();
  if (length > 0) {
    mBuffer = new (std::nothrow) double[static_cast<size_t>(length)];
    if (mBuffer) {
      std::fill(mBuffer, mBuffer + length, 0.0);
      mLength = length;
    }
  }
  mWriteIndex = 0;
  SetDelay(sampleRate, delayMs);
  return mBuffer != nullptr;
}

void HaasDelayLine::SetDelay(double sampleRate, double delayMs)
{
  if (!mBuffer) {
    mDelaySamples = 0; // nothing to read from until a buffer is built
    return;
  }
  const double samples = std::trunc(sampleRate / 1000.0 * delayMs);
  if (std::isnan(samples)) return;
  mDelaySamples = static_cast<int32_t>(std::clamp(samples, 0.0, static_cast<double>(mLength - 2)));
}

void HaasDelayLine::Process(const double* in, double* lead, double* lag, int32_t frames, double gain)
{
  if (!in || !lead || !lag || frames <= 0) return;

  if (!mBuffer) {
    // The input is copied before the lagging output is cleared, in case they share memory.
    if (lead != in) std::memmove(lead, in, sizeof(double) * static_cast<size_t>(frames));
    std::fill(lag, lag + frames, 0.0);
    return;
  }

  for (int32_t done = 0; done < frames;) {
    const Chunk chunk = NextChunk(frames - done);
    const double* src = in + done;
    const size_t bytes = sizeof(double) * static_cast<size_t>(chunk.frames);
    std::memcpy(chunk.store, src, bytes);
    if (lead + done != src) std::memmove(lead + done, src, bytes);
    Scale(chunk.read, lag + done, chunk.frames, gain);
    done += chunk.frames;
  }
}

void HaasDelayLine::ProcessFloat(const float* in, float* lead, float* lag, int32_t frames, double gain)
{
  if (!in || !lead || !lag || frames <= 0) return;

  if (!mBuffer) {
    // Through a small widened copy, element by element, so in may be lead; the
    // lagging output is cleared last, in case it shares memory with the others.
    constexpr int32_t kStep = 256;
    double widened[kStep];
    for (int32_t done = 0; done < frames; done += kStep) {
      const int32_t n = std::min(kStep, frames - done);
      Widen(in + done, widened, n);
      Narrow(widened, lead + done, n);
    }
    std::fill(lag, lag + frames, 0.0f);
    return;
  }

  // The same chunks as Process(): each stores all its input before it writes the
  // lagging output. The leading output is a plain copy of the input, which saves a
  // conversion, unless the chunk holds a sample that the round trip may change: then
  // it is narrowed from what was stored, as the 64-bit route does.
  for (int32_t done = 0; done < frames;) {
    const Chunk chunk = NextChunk(frames - done);
    const float* src = in + done;
    const bool unusual = WidenAndCopy(src, chunk.store, lead + done != src ? lead + done : nullptr, chunk.frames);
    if (unusual)
      NarrowBoth(chunk.store, chunk.read, lead + done, lag + done, chunk.frames, gain);
    else
      ScaleNarrow(chunk.read, lag + done, chunk.frames, gain);
    done += chunk.frames;
  }
}

HaasDelayLine::Chunk HaasDelayLine::NextChunk(int32_t remaining)
{
  // The buffer is stored mirrored: logical slot i lives at mBuffer[length - 1 - i].
  // The logical write index moves downwards, so the stored samples run forwards
  // and each chunk is a plain forward copy in and a forward scaled copy out.
  //
  // Works in chunks so that every chunk can first store all its input, then copy
  // the leading output, then read the lagging output, and still give the samples
  // of the frame-by-frame loop:
  //  - a chunk never crosses a wrap of the write index or of the read index, so
  //    both move over one contiguous run of the buffer;
  //  - a chunk is at most Length() - delay frames long, so no slot stored in the
  //    chunk is one that an earlier frame of the same chunk still has to read;
  //  - all input of the chunk is read before any output of it is written, so
  //    the input may share memory with either output.
  const int32_t length = mLength;

  // Logical write index of the chunk's first frame, after its downward step,
  // and the logical slot that frame reads.
  int32_t first = mWriteIndex - 1;
  if (first < 0) first = length - 1;
  int32_t read = first + mDelaySamples;
  if (read >= length) read -= length;

  // Both indices walk down to 0 before they wrap.
  int32_t n = std::min(remaining, length - mDelaySamples);
  n = std::min(n, first + 1);
  n = std::min(n, read + 1);

  mWriteIndex = first - (n - 1);
  return Chunk{n, mBuffer + (length - 1 - first), mBuffer + (length - 1 - read)};
}
