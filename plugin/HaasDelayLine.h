#pragma once

#include <cstdint>

// The delay line behind the lagging output: a ring buffer of past input samples
// whose write index moves downwards, so the sample `delay` frames old sits at
// write index + delay (wrapped once).
//
// Rebuild() is the only place that allocates; Process() and ProcessFloat() never
// do, and never touch a missing buffer: without one they copy the input to the
// leading output and write silence to the lagging one.
class HaasDelayLine
{
public:
  // Longest delay the buffer is sized for, in milliseconds.
  static constexpr double kDefaultMaxDelayMs = 40.0;
  // Sample rates from here on are refused: they would only come from a broken host.
  static constexpr double kMaxSampleRate = 10000000.0;

  HaasDelayLine() = default;
  ~HaasDelayLine();
  HaasDelayLine(const HaasDelayLine&) = delete;
  HaasDelayLine& operator=(const HaasDelayLine&) = delete;

  // Frees the old buffer and allocates a zeroed one of
  // trunc(sampleRate / 1000 * maxDelayMs) + 2 samples (a buffer of that length already
  // held is zeroed instead, allocating nothing), sets the write index to 0 and
  // recomputes the delay from delayMs. Returns false, leaving no buffer, for a
  // sample rate or maximum that is not a sane positive number, or when the
  // allocation fails.
  bool Rebuild(double sampleRate, double delayMs, double maxDelayMs = kDefaultMaxDelayMs);

  // delay in samples = trunc(sampleRate / 1000 * delayMs), kept within
  // 0 ... Length() - 2 (0 without a buffer). A value that is not a number leaves
  // the delay unchanged.
  void SetDelay(double sampleRate, double delayMs);

  // For each frame: stores in[i], lead[i] = in[i], lag[i] = the sample stored
  // DelaySamples() frames earlier times gain. Any of the three pointers may be the
  // same memory. Null pointers or frames <= 0 do nothing.
  void Process(const double* in, double* lead, double* lag, int32_t frames, double gain);

  // The same for 32-bit samples, exactly as if in were widened to 64 bits, run
  // through Process() and both outputs narrowed back: the buffer stores the widened
  // input (so 32-bit and 64-bit blocks may follow each other), lead[i] is in[i]
  // widened and narrowed, lag[i] is the stored sample times gain, narrowed. Any of
  // the three pointers may be the same memory; nothing is allocated.
  void ProcessFloat(const float* in, float* lead, float* lag, int32_t frames, double gain);

  // Frees the buffer; Process() then passes the input through with a silent lagging output.
  void Release();

  bool HasBuffer() const { return mBuffer != nullptr; }
  int32_t Length() const { return mLength; }
  int32_t WriteIndex() const { return mWriteIndex; }
  int32_t DelaySamples() const { return mDelaySamples; }

  // Buffer length for a sample rate and maximum delay, or 0 when no buffer can be made.
  static int32_t LengthFor(double sampleRate, double maxDelayMs);

private:
  // The next run of at most `remaining` frames that one forward copy in and one
  // forward read out can handle (see Process()); advances the write index past it.
  struct Chunk
  {
    int32_t frames;
    double* store;      // where the run's input goes
    const double* read; // what its lagging output reads
  };
  Chunk NextChunk(int32_t remaining);

  double* mBuffer = nullptr;
  int32_t mWriteIndex = 0;
  int32_t mLength = 0;
  int32_t mDelaySamples = 1;
};
