#include "HaasDelayLine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace
{
// On x86-64 Linux the scaling loop is also built for AVX2 and the loader picks
// the version the processor runs; a multiplication rounds the same either way.
#if defined(__x86_64__) && defined(__linux__) && defined(__GNUC__) && !defined(__clang__)
#define BRINDLOW_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define BRINDLOW_VECTOR_CLONES
#endif

// out[k] = src[k] * gain
BRINDLOW_VECTOR_CLONES void Scale(const double* src, double* out, int32_t n, double gain)
{
  for (int32_t k = 0; k < n; ++k)
    out[k] = src[k] * gain;
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
  Release();
  const int32_t length = LengthFor(sampleRate, maxDelayMs);
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
  const int32_t delay = mDelaySamples;
  const int32_t maxChunk = length - delay;
  int32_t done = 0;
  while (done < frames) {
    // Logical write index of the chunk's first frame, after its downward step,
    // and the logical slot that frame reads.
    int32_t first = mWriteIndex - 1;
    if (first < 0) first = length - 1;
    int32_t read = first + delay;
    if (read >= length) read -= length;

    // Both indices walk down to 0 before they wrap.
    int32_t n = std::min(frames - done, maxChunk);
    n = std::min(n, first + 1);
    n = std::min(n, read + 1);

    const double* src = in + done;
    const size_t bytes = sizeof(double) * static_cast<size_t>(n);
    std::memcpy(mBuffer + (length - 1 - first), src, bytes);
    if (lead + done != src) std::memmove(lead + done, src, bytes);
    Scale(mBuffer + (length - 1 - read), lag + done, n, gain);

    mWriteIndex = first - (n - 1);
    done += n;
  }
}
