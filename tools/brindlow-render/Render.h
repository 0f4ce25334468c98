#pragma once

#include "AudioFile.h"
#include "Options.h"
#include "PluginHost.h"

#include <cstdint>
#include <functional>
#include <string>

struct RenderStats
{
  int64_t frames = 0;        // frames written, tail included
  int64_t overFullScale = 0; // output samples beyond ±1.0
  int64_t inputFrames = 0;   // frames read from the input
  std::string readError;     // why reading the input stopped early, if libsndfile said
};

// Streams the input through the prepared plug-in block by block (then the tail
// of silence) into the stereo output: mains on, process, mains off. An input that
// cannot be read to its end ends where reading stopped: the rest is left out and
// stats say how far it got and why. The plug-in
// must have been prepared for the input's rate, the block size and channel count.
// `onBlock`, when given, hears of every block's frames as they are written.
bool RenderAudio(PluginHost& host, AudioInput& input, AudioOutput& output, const RenderOptions& options,
                 RenderStats& stats, std::string& error, const std::function<void(int64_t)>& onBlock = nullptr);
