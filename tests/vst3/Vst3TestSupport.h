// Shared by the VST 3 tests: the built bundle, UTF-16 text, and blocks of audio.
#pragma once

#include <string>
#include <vector>

#include "Vst3HostKit.h"

inline std::string Text(const vst3::char16* text)
{
  std::string out;
  for (int i = 0; i < 128 && text[i]; ++i) out += static_cast<char>(text[i] < 0x80 ? text[i] : '?');
  return out;
}

inline void ToChar16(const std::string& text, vst3::String128 out)
{
  size_t i = 0;
  for (; i < text.size() && i < 127; ++i) out[i] = static_cast<vst3::char16>(text[i]);
  out[i] = 0;
}

// Two channels of frames samples in, two out.
template <class Sample>
struct StereoBlock
{
  explicit StereoBlock(int frames) : in(2, std::vector<Sample>(frames)), out(2, std::vector<Sample>(frames))
  {
    for (int c = 0; c < 2; ++c)
    {
      inPtr[c] = in[c].data();
      outPtr[c] = out[c].data();
    }
  }
  std::vector<std::vector<Sample>> in, out;
  Sample* inPtr[2];
  Sample* outPtr[2];
};
