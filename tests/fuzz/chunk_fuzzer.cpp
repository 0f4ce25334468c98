// State chunks from a host: every input is offered to a fresh instance as a bank chunk
// and as a program chunk. Whatever it held, both processing callbacks then write
// finite samples, and the state the instance ends in survives a save and restore
// byte for byte.
#include "FuzzPlugin.h"

#include <algorithm>
#include <cmath>

namespace
{
// A click and a sine on the two inputs, so the delay line holds real signal.
std::vector<std::vector<double>> TestSignal(int frames)
{
  std::vector<std::vector<double>> in(2, std::vector<double>(size_t(frames)));
  for (int k = 0; k < frames; ++k)
  {
    in[0][size_t(k)] = k % 64 == 0 ? 1.0 : 0.0;
    in[1][size_t(k)] = std::sin(0.05 * k);
  }
  return in;
}

void ProcessBoth(AEffect* effect)
{
  const auto signal = TestSignal(256);
  fuzz::ProcessChecked(effect, false, signal, 256);
  fuzz::ProcessChecked(effect, true, signal, 256);
}

// Saving, restoring what was saved and saving again gives the same bytes.
void CheckRoundTrip(AEffect* effect, bool bank)
{
  std::vector<unsigned char> first = fuzz::GetChunk(effect, bank);
  FUZZ_CHECK(!first.empty(), "no %s chunk", bank ? "bank" : "program");
  std::vector<unsigned char> copy = first;
  const VstIntPtr accepted =
      fuzz::Dispatch(effect, effSetChunk, bank ? 0 : 1, VstIntPtr(copy.size()), copy.data());
  FUZZ_CHECK(accepted == 1, "the plug-in refused its own %s chunk", bank ? "bank" : "program");
  const std::vector<unsigned char> second = fuzz::GetChunk(effect, bank);
  FUZZ_CHECK(first == second, "%s chunk changed on a round trip (%zu -> %zu bytes)", bank ? "bank" : "program",
             first.size(), second.size());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  AEffect* effect = fuzz::CreateInstance();
  fuzz::Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  fuzz::Dispatch(effect, effSetBlockSize, 0, 256);
  fuzz::Dispatch(effect, effOpen);
  fuzz::Dispatch(effect, effMainsChanged, 0, 1);

  // The host's bytes are its own: the plug-in gets a copy it may not write to or past.
  std::vector<unsigned char> bytes(data, data + size);
  fuzz::Dispatch(effect, effSetChunk, 0, VstIntPtr(bytes.size()), bytes.empty() ? nullptr : bytes.data());
  ProcessBoth(effect);
  fuzz::Dispatch(effect, effSetChunk, 1, VstIntPtr(bytes.size()), bytes.empty() ? nullptr : bytes.data());
  ProcessBoth(effect);
  FUZZ_CHECK(std::equal(bytes.begin(), bytes.end(), data), "the plug-in wrote into the host's chunk");

  CheckRoundTrip(effect, true);
  CheckRoundTrip(effect, false);
  ProcessBoth(effect);

  fuzz::Dispatch(effect, effClose);
  return 0;
}
