#include "Progress.h"

#include <unistd.h>

namespace
{
constexpr int kBarWidth = 40;
constexpr double kShortestShownSeconds = 5.0;
} // namespace

ProgressBar::ProgressBar(std::FILE* stream, int64_t total, bool enabled)
  : mStream(stream), mTotal(total > 0 ? total : 1), mEnabled(enabled)
{
}

void ProgressBar::Update(int64_t done)
{
  if (!mEnabled) return;
  const int percent = static_cast<int>(done >= mTotal ? 100 : done * 100 / mTotal);
  if (percent == mShownPercent) return;
  mShownPercent = percent;
  char bar[kBarWidth + 1];
  const int filled = percent * kBarWidth / 100;
  for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kBarWidth] = '\0';
  std::fprintf(mStream, "\rRendering [%s] %3d%%", bar, percent);
  std::fflush(mStream);
}

void ProgressBar::Finish()
{
  if (!mEnabled || mShownPercent < 0) return;
  Update(mTotal);
  std::fputc('\n', mStream);
  std::fflush(mStream);
}

bool WantsProgressBar(std::FILE* stream, double seconds, bool quiet)
{
  return !quiet && seconds > kShortestShownSeconds && isatty(fileno(stream));
}
