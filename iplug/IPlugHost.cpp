#include "IPlugHost.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace
{
struct KnownHost
{
  const char* text;
  int id;
};

// Tried in this order; the first text found decides.
const KnownHost kKnownHosts[] = {
  {"cubase", kHostCubase},     {"reaper", kHostReaper},       {"nuendo", kHostNuendo},
  {"cakewalk", kHostSonar},    {"samplitude", kHostSamplitude}, {"fruity", kHostFL},
  {"live", kHostAbletonLive},  {"melodyne", kHostMelodyneStudio}, {"vstmanlib", kHostVSTScanner},
  {"aulab", kHostAULab},       {"forte", kHostForte},         {"chainer", kHostChainer},
  {"audition", kHostAudition}, {"orion", kHostOrion},         {"sawstudio", kHostSAWStudio},
  {"logic", kHostLogic},       {"digital", kHostDigitalPerformer},
};
} // namespace

int LookUpHost(const char* productString)
{
  if (!productString) return kHostUnknown;
  char lower[256];
  size_t i = 0;
  for (; productString[i] && i + 1 < sizeof lower; ++i)
  {
    const char c = productString[i];
    lower[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  lower[i] = '\0';
  for (const KnownHost& host : kKnownHosts)
  {
    if (std::strstr(lower, host.text)) return host.id;
  }
  return kHostUnknown;
}

int PackDecimalVersion(int v)
{
  const int major = v / 10000;
  const int minor = (v % 10000) / 100;
  const int revision = v % 100;
  const int64_t packed = static_cast<int64_t>(major) * 65536 + minor * 256 + revision;
  return static_cast<int>(static_cast<uint32_t>(packed));
}

void FormatVersionText(int versionWord, char* out, int outSize)
{
  if (!out || outSize <= 0) return;
  const unsigned word = static_cast<unsigned>(versionWord);
  const int major = static_cast<int>(word >> 16);
  const int minor = static_cast<int>((word >> 8) & 0xFF);
  const int revision = static_cast<int>(word & 0xFF);
  if (revision)
    std::snprintf(out, static_cast<size_t>(outSize), "v%d.%d.%02d", major, minor, revision);
  else
    std::snprintf(out, static_cast<size_t>(outSize), "v%d.%02d", major, minor);
}
