#pragma once

#include <cstdint>
#include <string>

// How a stereo signal survives the fold-down to mono (L+R)/2, measured on its samples.
struct FoldDownStats
{
  int64_t frames = 0;
  double leftRmsDb = 0.0, rightRmsDb = 0.0, monoRmsDb = 0.0; // dBFS; -inf for silence
  // Sum of L*R over the root of sum L^2 times sum R^2: 1 for identical sides, 0 for
  // unrelated ones, -1 for opposite ones. NaN when a side is silent.
  double correlation = 0.0;
  // How far the mono sum's power lies below the mean power of the two sides, in dB:
  // 0 for identical sides, about 3 dB for unrelated ones. NaN when both are silent.
  double monoLossDb = 0.0;
};

// Running sums over interleaved stereo frames.
class FoldDownMeter
{
public:
  void Add(const double* interleaved, int64_t frames);
  FoldDownStats Result() const;

private:
  int64_t mFrames = 0;
  double mLeft = 0.0, mRight = 0.0, mCross = 0.0; // sums of L*L, R*R and L*R
};

// Reads a stereo audio file through and measures it; false with a message in `error`.
bool MeasureFoldDown(const std::string& path, FoldDownStats& stats, std::string& error);
