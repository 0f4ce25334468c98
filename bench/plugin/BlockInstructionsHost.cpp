// A bare VST 2.4 host for counting the instructions of a 32-bit block under callgrind:
// loads the plug-in module through the VST 2.4 host kit, opens it at 44100 Hz with blocks of 512 frames,
// and runs processReplacing on stereo 512-frame blocks for the frames asked for. Two
// runs (1024000 and 2048000 frames) differ by 2000 blocks: the difference of their
// totals over 2000 is what one block costs, set-up and loading cancelled out.
//   block_instructions_host <module.so> <frames>
#include "VstHostKit.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
  if (argc != 3)
  {
    std::fprintf(stderr, "usage: %s <module.so> <frames>\n", argv[0]);
    return 2;
  }
  hostkit::VstModule module;
  std::string error;
  AEffect* effect = module.Load(argv[1], error) ? module.MakeEffect(hostkit::PlainHostCallback, error) : nullptr;
  if (!effect)
  {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  constexpr int kBlock = 512;
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  effect->dispatcher(effect, effSetBlockSize, 0, kBlock, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);

  static float in[2][kBlock], out[2][kBlock];
  for (int i = 0; i < kBlock; ++i) in[0][i] = in[1][i] = (i % 64) / 64.0f - 0.5f;
  float* inputs[] = {in[0], in[1]};
  float* outputs[] = {out[0], out[1]};
  const long frames = std::strtol(argv[2], nullptr, 10);
  for (long done = 0; done < frames; done += kBlock) effect->processReplacing(effect, inputs, outputs, kBlock);

  effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  return out[0][kBlock - 1] == out[0][kBlock - 1] ? 0 : 1; // the output is used
}
