#pragma once

#include "AudioFile.h"

#include <cstdint>
#include <string>

// Input sample rates the tool renders. Brindlow's shortest delay, 1 ms, needs at least
// one sample per millisecond, and from 10 MHz on it has no delay line: outside this
// range it would pass its input on with a lagging side that lags by nothing, or not at all.
constexpr int kMinRenderRate = 1000;
constexpr int kMaxRenderRate = 9999999;

// Refuses an input that holds no audio or whose sample rate is outside the range above;
// the message names the file (and the range).
bool CheckInputRenderable(const AudioInput& input, const std::string& path, std::string& error);

// The message for an input from which fewer frames could be read than it announced
// (cut short, or damaged from some point on): how much is missing, in seconds, and why
// reading stopped when libsndfile said. Empty when nothing is missing.
std::string ShortInputWarning(const std::string& path, int64_t announced, int64_t read, int sampleRate,
                              const std::string& readError);
