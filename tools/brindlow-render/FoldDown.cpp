#include "FoldDown.h"

#include "AudioFile.h"

#include <cmath>
#include <limits>
#include <vector>

namespace
{
constexpr int64_t kReadFrames = 8192;

double RmsDb(double sumOfSquares, int64_t frames)
{
  if (frames <= 0 || sumOfSquares <= 0.0) return -std::numeric_limits<double>::infinity();
  return 10.0 * std::log10(sumOfSquares / static_cast<double>(frames));
}
} // namespace

void FoldDownMeter::Add(const double* interleaved, int64_t frames)
{
  for (int64_t i = 0; i < frames; ++i) {
    const double l = interleaved[2 * i], r = interleaved[2 * i + 1];
    mLeft += l * l;
    mRight += r * r;
    mCross += l * r;
  }
  mFrames += frames;
}

FoldDownStats FoldDownMeter::Result() const
{
  FoldDownStats stats;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double mono = 0.25 * (mLeft + mRight + 2.0 * mCross);
  stats.frames = mFrames;
  stats.leftRmsDb = RmsDb(mLeft, mFrames);
  stats.rightRmsDb = RmsDb(mRight, mFrames);
  stats.monoRmsDb = RmsDb(mono, mFrames);
  stats.correlation = mLeft > 0.0 && mRight > 0.0 ? mCross / std::sqrt(mLeft * mRight) : nan;
  const double stereo = 0.5 * (mLeft + mRight);
  if (stereo <= 0.0)
    stats.monoLossDb = nan;
  else if (mono <= 0.0)
    stats.monoLossDb = std::numeric_limits<double>::infinity();
  else
    stats.monoLossDb = 10.0 * std::log10(stereo / mono);
  return stats;
}

bool MeasureFoldDown(const std::string& path, FoldDownStats& stats, std::string& error)
{
  AudioInput file;
  if (!file.Open(path, error)) return false;
  if (file.Channels() != 2) {
    error = "\"" + path + "\" is not a stereo file";
    return false;
  }
  FoldDownMeter meter;
  std::vector<double> frames(static_cast<size_t>(2 * kReadFrames));
  for (;;) {
    const int64_t n = file.Read(frames.data(), kReadFrames);
    if (n > 0) meter.Add(frames.data(), n);
    if (n < kReadFrames) break;
  }
  if (file.HasError()) {
    error = "reading \"" + path + "\" back failed: " + file.LastError();
    return false;
  }
  stats = meter.Result();
  return true;
}
