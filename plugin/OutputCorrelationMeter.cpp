#include "OutputCorrelationMeter.h"

#include <cmath>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define BRINDLOW_METER_AVX2 1
#include <immintrin.h>
#else
#define BRINDLOW_METER_AVX2 0
#endif

void OutputCorrelationMeter::SetActive(bool active)
{
  if (active == Active()) return;
  if (active)
  {
    // Published before the meter turns on, so the writer that sees it on sees the new epoch.
    mFirstChunk.store(mPublished.load(std::memory_order_acquire), std::memory_order_relaxed);
    mEpoch.fetch_add(1, std::memory_order_relaxed);
  }
  mActive.store(active, std::memory_order_release);
}

void OutputCorrelationMeter::SetSampleRate(double sampleRate)
{
  // Chunks of whole 32-frame runs: blocks of the usual sizes then fall into runs the
  // vector sums take without a remainder.
  const double runs = std::round(sampleRate * kChunkSeconds / kChunkGrain);
  const bool usable = runs >= 1.0 && runs <= 1.0e5;
  // A rate that is no rate keeps chunks of some length: the meter then just reads late.
  mChunkFrames = usable ? int32_t(runs) * kChunkGrain : 448;
  mSampleRate.store(usable ? sampleRate : 0.0, std::memory_order_relaxed);
  StartChunk();
}

void OutputCorrelationMeter::StartChunk()
{
  mFrames = 0;
  for (double& lane : mLanes) lane = 0.0;
}

namespace
{
using Lanes = double[OutputCorrelationMeter::kLanes];

// Adds the run's L*L, R*R and L*R to lanes 0 ... 3, 4 ... 7 and 8 ... 11: four sums of
// each kind, so that the additions do not wait on one another.
template <typename Sample>
void AddPortable(const Sample* left, const Sample* right, int32_t frames, Lanes& lanes)
{
  int32_t i = 0;
  for (; i + 4 <= frames; i += 4)
  {
    for (int j = 0; j < 4; ++j)
    {
      const double l = double(left[i + j]), r = double(right[i + j]);
      lanes[j] += l * l;
      lanes[4 + j] += r * r;
      lanes[8 + j] += l * r;
    }
  }
  for (; i < frames; ++i)
  {
    const double l = double(left[i]), r = double(right[i]);
    lanes[0] += l * l;
    lanes[4] += r * r;
    lanes[8] += l * r;
  }
}

#if BRINDLOW_METER_AVX2
// Eight (float) or four (double) samples at a time with fused multiply-adds: the meter
// must cost the block little more than the delay line's own copy does. A run holds at
// most a chunk, a few thousand frames, so float sums per lane stay exact enough.
#define BRINDLOW_AVX2 __attribute__((target("avx2,fma")))
BRINDLOW_AVX2 inline __m256 Load(const float* p) { return _mm256_loadu_ps(p); }
BRINDLOW_AVX2 inline __m256d Load(const double* p) { return _mm256_loadu_pd(p); }
BRINDLOW_AVX2 inline __m256 MulAdd(__m256 a, __m256 b, __m256 c) { return _mm256_fmadd_ps(a, b, c); }
BRINDLOW_AVX2 inline __m256d MulAdd(__m256d a, __m256d b, __m256d c) { return _mm256_fmadd_pd(a, b, c); }
BRINDLOW_AVX2 inline __m256 Add(__m256 a, __m256 b) { return _mm256_add_ps(a, b); }
BRINDLOW_AVX2 inline __m256d Add(__m256d a, __m256d b) { return _mm256_add_pd(a, b); }
// Adds a register of sums into four double lanes.
BRINDLOW_AVX2 inline void AddInto(double* lanes, __m256 v)
{
  const __m256d wide = _mm256_add_pd(_mm256_cvtps_pd(_mm256_castps256_ps128(v)), _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1)));
  _mm256_storeu_pd(lanes, _mm256_add_pd(_mm256_loadu_pd(lanes), wide));
}
BRINDLOW_AVX2 inline void AddInto(double* lanes, __m256d v)
{
  _mm256_storeu_pd(lanes, _mm256_add_pd(_mm256_loadu_pd(lanes), v));
}

// Four sets of sums, so that the multiply-adds run at their throughput, not their latency.
template <typename Sample>
BRINDLOW_AVX2 void AddAvx2(const Sample* left, const Sample* right, int32_t frames, Lanes& lanes)
{
  using Vector = decltype(Load(left));
  constexpr int kWidth = int(sizeof(Vector) / sizeof(Sample));
  static_assert(kWidth == 32 / sizeof(Sample), "one 256-bit register of samples");
  const Vector zero = Vector{};
  Vector ll[4] = {zero, zero, zero, zero}, rr[4] = {zero, zero, zero, zero}, lr[4] = {zero, zero, zero, zero};
  int32_t i = 0;
  for (; i + 4 * kWidth <= frames; i += 4 * kWidth)
  {
    for (int j = 0; j < 4; ++j)
    {
      const Vector l = Load(left + i + j * kWidth), r = Load(right + i + j * kWidth);
      ll[j] = MulAdd(l, l, ll[j]);
      rr[j] = MulAdd(r, r, rr[j]);
      lr[j] = MulAdd(l, r, lr[j]);
    }
  }
  for (; i + kWidth <= frames; i += kWidth)
  {
    const Vector l = Load(left + i), r = Load(right + i);
    ll[0] = MulAdd(l, l, ll[0]);
    rr[0] = MulAdd(r, r, rr[0]);
    lr[0] = MulAdd(l, r, lr[0]);
  }
  AddInto(lanes, Add(Add(ll[0], ll[1]), Add(ll[2], ll[3])));
  AddInto(lanes + 4, Add(Add(rr[0], rr[1]), Add(rr[2], rr[3])));
  AddInto(lanes + 8, Add(Add(lr[0], lr[1]), Add(lr[2], lr[3])));
  AddPortable(left + i, right + i, frames - i, lanes);
}

const bool gHasAvx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#endif

template <typename Sample>
void AddRun(const Sample* left, const Sample* right, int32_t frames, Lanes& lanes)
{
#if BRINDLOW_METER_AVX2
  if (gHasAvx2) return AddAvx2(left, right, frames, lanes);
#endif
  AddPortable(left, right, frames, lanes);
}

double SumOf(const double* four) { return (four[0] + four[1]) + (four[2] + four[3]); }
}  // namespace

template <typename Sample>
void OutputCorrelationMeter::AddBlock(const Sample* left, const Sample* right, int32_t frames)
{
  if (!mActive.load(std::memory_order_acquire) || !left || !right || frames <= 0) return;
  const uint32_t epoch = mEpoch.load(std::memory_order_relaxed);
  if (epoch != mWriterEpoch)
  {
    mWriterEpoch = epoch;
    StartChunk();
  }
  int32_t i = 0;
  while (i < frames)
  {
    const int32_t run = frames - i < mChunkFrames - mFrames ? frames - i : mChunkFrames - mFrames;
    AddRun(left + i, right + i, run, mLanes);
    mFrames += run;
    i += run;
    if (mFrames >= mChunkFrames) Publish();
  }
}

void OutputCorrelationMeter::Add(const double* left, const double* right, int32_t frames)
{
  AddBlock(left, right, frames);
}

void OutputCorrelationMeter::Add(const float* left, const float* right, int32_t frames)
{
  AddBlock(left, right, frames);
}

void OutputCorrelationMeter::Publish()
{
  double ll = SumOf(mLanes), rr = SumOf(mLanes + 4), lr = SumOf(mLanes + 8);
  // A sample that is no number would poison every reading it is part of: its chunk is
  // published as silence instead (the host is at fault; the meter just skips it).
  if (!std::isfinite(ll + rr + lr)) ll = rr = lr = 0.0;
  const uint64_t n = mPublished.load(std::memory_order_relaxed);
  Chunk& chunk = mChunks[n % kChunks];
  chunk.sequence.store(2 * n + 1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  chunk.ll.store(ll, std::memory_order_relaxed);
  chunk.rr.store(rr, std::memory_order_relaxed);
  chunk.lr.store(lr, std::memory_order_relaxed);
  chunk.frames.store(mFrames, std::memory_order_relaxed);
  chunk.sequence.store(2 * n + 2, std::memory_order_release);
  mPublished.store(n + 1, std::memory_order_release);
  StartChunk();
}

CorrelationReading OutputCorrelationMeter::Read(double seconds) const
{
  CorrelationReading reading;
  const uint64_t published = mPublished.load(std::memory_order_acquire);
  const uint64_t first = mFirstChunk.load(std::memory_order_relaxed);
  const double rate = SampleRate() > 0.0 ? SampleRate() : 44800.0;
  const double wanted = seconds > 0.0 ? seconds * rate : 1.0; // frames
  double ll = 0.0, rr = 0.0, lr = 0.0;
  int64_t frames = 0;
  int chunks = 0;
  // Newest first, at most the ring minus a few slots the writer may be refilling.
  for (uint64_t n = published; n > first && chunks < kChunks - 4 && double(frames) < wanted;)
  {
    --n;
    const Chunk& chunk = mChunks[n % kChunks];
    const uint64_t before = chunk.sequence.load(std::memory_order_acquire);
    if (before != 2 * n + 2) break;
    const double cll = chunk.ll.load(std::memory_order_relaxed);
    const double crr = chunk.rr.load(std::memory_order_relaxed);
    const double clr = chunk.lr.load(std::memory_order_relaxed);
    const int32_t cframes = chunk.frames.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (chunk.sequence.load(std::memory_order_relaxed) != before) break;
    ll += cll;
    rr += crr;
    lr += clr;
    frames += cframes;
    ++chunks;
  }
  reading.seconds = double(frames) / rate;
  const double mean = 0.5 * (ll + rr);
  if (chunks == 0 || !(mean > 1e-20)) return reading;
  reading.valid = true;
  // One silent side: no correlation to speak of; 0 reads as "unrelated".
  const double product = ll * rr;
  reading.correlation = product > 0.0 ? lr / std::sqrt(product) : 0.0;
  if (reading.correlation > 1.0) reading.correlation = 1.0;
  if (reading.correlation < -1.0) reading.correlation = -1.0;
  const double mono = (ll + rr + 2.0 * lr) / 4.0;
  const double db = mono > 0.0 ? 10.0 * std::log10(mono / mean) : kFloorDb;
  reading.monoLossDb = db < kFloorDb ? kFloorDb : db;
  return reading;
}

double CorrelationLowHold::Update(double now, double correlation)
{
  const int64_t index = int64_t(std::floor(now / kBucketSeconds));
  if (std::isfinite(correlation))
  {
    Bucket* bucket = mCount > 0 ? &mBuckets[(mCount - 1) % kBuckets] : nullptr;
    if (!bucket || bucket->index != index)
    {
      bucket = &mBuckets[mCount % kBuckets];
      *bucket = Bucket{index, correlation};
      ++mCount;
    }
    else if (correlation < bucket->lowest)
    {
      bucket->lowest = correlation;
    }
  }
  const int64_t oldest = index - int64_t(kHoldSeconds / kBucketSeconds + 0.5);
  const int held = mCount < kBuckets ? mCount : kBuckets;
  bool any = false;
  for (int i = 0; i < held; ++i)
  {
    const Bucket& bucket = mBuckets[i];
    if (bucket.index <= oldest || bucket.index > index) continue;
    mValue = any && mValue < bucket.lowest ? mValue : bucket.lowest;
    any = true;
  }
  if (!any) mValue = std::isfinite(correlation) ? correlation : 1.0;
  return mValue;
}
