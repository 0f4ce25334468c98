#pragma once

#include <cstdint>
#include <cstdio>

// A one-line progress bar on a terminal, redrawn only when the shown percentage changes.
class ProgressBar
{
public:
  // Shows nothing unless `enabled`; `total` is the number of frames to render.
  ProgressBar(std::FILE* stream, int64_t total, bool enabled);
  void Update(int64_t done);
  void Finish();

private:
  std::FILE* mStream;
  int64_t mTotal;
  bool mEnabled;
  int mShownPercent = -1;
};

// Whether a render of this many seconds to this stream deserves a progress bar.
bool WantsProgressBar(std::FILE* stream, double seconds, bool quiet);
