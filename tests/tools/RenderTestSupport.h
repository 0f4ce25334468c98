#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

// Runs brindlow-render and reads and writes the audio files it works on.

struct ToolResult
{
  int exitCode = -1;
  std::string out; // standard output
  std::string err; // standard error
};

// Runs the tool with these arguments (each passed as one word).
ToolResult RunTool(const std::vector<std::string>& args);

struct AudioData
{
  int sampleRate = 0;
  int channels = 0;
  int format = 0;
  std::vector<double> samples; // interleaved
  size_t Frames() const { return channels ? samples.size() / static_cast<size_t>(channels) : 0; }
  double At(size_t frame, int channel) const { return samples[frame * static_cast<size_t>(channels) + static_cast<size_t>(channel)]; }
};

void WriteAudio(const std::string& path, int format, int sampleRate, int channels, const std::vector<double>& interleaved);
AudioData ReadAudio(const std::string& path);

// A fresh directory for one test.
std::string MakeTestDir();

// An impulse of `value` at `at` in otherwise silent mono samples.
std::vector<double> Impulse(size_t frames, size_t at, double value = 1.0);

// Wet Mix gain the way the plug-in computes it.
double GainFromDecibels(double dB);
