// What the mono-check view's meter needs of the plug-in's output: the correlation of the
// two outputs and the level their mono sum (L + R) / 2 loses against them, over the last
// few hundred milliseconds.
//
// The audio thread sums L*L, R*R and L*R over chunks of about 10 ms and publishes each
// finished chunk into a ring; a reader adds up the newest chunks that cover its window.
// Everything else follows from the three sums: the mono sum's energy is
// (LL + RR + 2 LR) / 4.
//
// Threads:
// - Add and SetSampleRate run on the audio thread or under the plug-in's lock (never two
//   at once). They allocate nothing and take no lock; while the meter is off Add returns
//   after one relaxed atomic load.
// - SetActive and Read may run on any thread at any time; Read never waits for the audio
//   thread (a chunk being rewritten while it is read is left out).
#pragma once

#include <atomic>
#include <cstdint>

struct CorrelationReading
{
  bool valid = false;        // false while nothing (or only silence) was measured
  double correlation = 0.0;  // -1 ... +1
  double monoLossDb = 0.0;   // level of (L + R) / 2 against the mean level of L and R; <= +3 dB
  double seconds = 0.0;      // how much audio the reading covers
};

class OutputCorrelationMeter
{
public:
  // Chunks of about 10 ms, a whole number of 32-frame runs.
  static constexpr double kChunkSeconds = 0.01;
  static constexpr int32_t kChunkGrain = 32;
  // The running chunk's sums: four lanes each of L*L, R*R and L*R.
  static constexpr int kLanes = 12;
  static constexpr int kChunks = 128; // 1.28 s of history
  // Mono losses below this read as this (the sides cancel).
  static constexpr double kFloorDb = -100.0;

  // Any thread: starts or stops the metering (the view shown or hidden). Stopping forgets
  // what was gathered, so a view shown again starts from fresh audio.
  void SetActive(bool active);
  bool Active() const { return mActive.load(std::memory_order_relaxed); }

  // Audio thread or under the plug-in's lock: the chunk length for a new sample rate.
  void SetSampleRate(double sampleRate);
  // Any thread: the rate last set, 0 while none (or none usable) was.
  double SampleRate() const { return mSampleRate.load(std::memory_order_relaxed); }
  // Audio thread: one block of the two outputs (null pointers or frames <= 0: nothing).
  void Add(const double* left, const double* right, int32_t frames);
  void Add(const float* left, const float* right, int32_t frames);

  // Any thread: the newest published chunks covering at least |seconds| (or all there are).
  CorrelationReading Read(double seconds) const;

private:
  struct Chunk
  {
    // 2n + 2 once chunk n is complete in this slot, odd while it is being written.
    std::atomic<uint64_t> sequence{0};
    std::atomic<double> ll{0.0}, rr{0.0}, lr{0.0};
    std::atomic<int32_t> frames{0};
  };
  template <typename Sample>
  void AddBlock(const Sample* left, const Sample* right, int32_t frames);
  void StartChunk();
  void Publish();

  std::atomic<bool> mActive{false};
  // Each start of the metering is a new epoch: the writer drops a chunk begun before it,
  // and readers take only chunks published from mFirstChunk on.
  std::atomic<uint32_t> mEpoch{0};
  std::atomic<uint64_t> mFirstChunk{0};
  std::atomic<uint64_t> mPublished{0};
  std::atomic<double> mSampleRate{0.0};
  Chunk mChunks[kChunks];
  // The writer's own: the running chunk.
  uint32_t mWriterEpoch = 0;
  int32_t mChunkFrames = 448;
  int32_t mFrames = 0;
  double mLanes[kLanes] = {};
};

// The lowest correlation of the last few seconds, for the meter's peak-hold mark. GUI
// thread; the caller gives the time, so that tests drive it.
class CorrelationLowHold
{
public:
  static constexpr double kHoldSeconds = 3.0;
  // A reading at time |now| (seconds, never decreasing); answers the lowest held value.
  double Update(double now, double correlation);
  double Value() const { return mValue; }
  void Reset() { mCount = 0; }

private:
  // The lowest value of each tenth of a second within the hold.
  static constexpr double kBucketSeconds = 0.1;
  static constexpr int kBuckets = 31;
  struct Bucket
  {
    int64_t index;
    double lowest;
  };
  Bucket mBuckets[kBuckets] = {};
  int mCount = 0;
  double mValue = 1.0;
};
