// A small VST 2.4 plug-in for testing the render tool's generic paths: it has
// no text-to-parameter conversion and no display-for-value query, so the tool
// has to search the displays. Output 0 = input 0 scaled by "Level" (dB),
// output 1 = input 1 times the "Side" choice number (0, 1 or 2).
// Built with FAKE_CHUNKS it also keeps its state in chunks: the tag "FKST",
// both values and the program number, read field by field the way a careless
// plug-in does, so that a short chunk changes what it read before refusing.
#include "vst24.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
struct FakePlugin
{
  AEffect effect;
  float level = 0.5f; // normalised: -10 ... +10 dB
  float side = 0.0f;  // normalised: thirds choose A, B, C
  int program = 0;
  unsigned char chunk[16];
};

#ifdef FAKE_CHUNKS
constexpr char kChunkTag[4] = {'F', 'K', 'S', 'T'};

VstIntPtr GetChunk(FakePlugin* p, void** out)
{
  std::memcpy(p->chunk, kChunkTag, 4);
  std::memcpy(p->chunk + 4, &p->level, 4);
  std::memcpy(p->chunk + 8, &p->side, 4);
  std::memcpy(p->chunk + 12, &p->program, 4);
  *out = p->chunk;
  return sizeof(p->chunk);
}

VstIntPtr SetChunk(FakePlugin* p, const unsigned char* data, VstIntPtr size)
{
  if (size < 4 || std::memcmp(data, kChunkTag, 4) != 0) return 0;
  if (size >= 8) std::memcpy(&p->level, data + 4, 4);
  if (size >= 12) std::memcpy(&p->side, data + 8, 4);
  if (size < 16) return 0;
  std::memcpy(&p->program, data + 12, 4);
  return 1;
}
#endif

double LevelDb(const FakePlugin* p)
{
  return -10.0 + 20.0 * p->level;
}

int SideIndex(const FakePlugin* p)
{
  return p->side < 1.0f / 3.0f ? 0 : p->side < 2.0f / 3.0f ? 1 : 2;
}

FakePlugin* Self(AEffect* e)
{
  return static_cast<FakePlugin*>(e->object);
}

VstIntPtr VSTCALLBACK Dispatcher(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float)
{
  FakePlugin* p = Self(e);
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
  case effClose: delete p; return 0;
  case effGetParamName:
    std::strcpy(text, index == 0 ? "Level" : "Side");
    return 0;
  case effGetParamLabel:
    std::strcpy(text, index == 0 ? "dB" : "");
    return 0;
  case effGetParamDisplay:
    if (index == 0)
      std::snprintf(text, 16, "%.2f", LevelDb(p));
    else
      std::strcpy(text, SideIndex(p) == 0 ? "A" : SideIndex(p) == 1 ? "B" : "C");
    return 0;
  case effGetEffectName: std::strcpy(text, "Fake Level"); return 1;
  case effGetVendorString: std::strcpy(text, "Test Bench"); return 1;
  case effSetProgram: p->program = static_cast<int>(value); return 0;
  case effGetProgram: return p->program;
#ifdef FAKE_CHUNKS
  case effGetChunk: return GetChunk(p, static_cast<void**>(ptr));
  case effSetChunk: return SetChunk(p, static_cast<const unsigned char*>(ptr), value);
#endif
  case effGetProgramName: // no indexed names: the tool has to select each program
    std::strcpy(text, p->program == 0 ? "Flat" : "Loud");
    return 0;
  default: return 0;
  }
}

void VSTCALLBACK SetParameter(AEffect* e, VstInt32 index, float value)
{
  (index == 0 ? Self(e)->level : Self(e)->side) = value;
}

float VSTCALLBACK GetParameter(AEffect* e, VstInt32 index)
{
  return index == 0 ? Self(e)->level : Self(e)->side;
}

void VSTCALLBACK ProcessFloat(AEffect* e, float** in, float** out, VstInt32 frames)
{
  const FakePlugin* p = Self(e);
  const double gain = std::pow(10.0, LevelDb(p) / 20.0);
  for (VstInt32 i = 0; i < frames; ++i) {
    out[0][i] = static_cast<float>(in[0][i] * gain);
    out[1][i] = in[1][i] * static_cast<float>(SideIndex(p));
  }
}
} // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback)
{
  FakePlugin* p = new FakePlugin();
  std::memset(&p->effect, 0, sizeof(p->effect));
  p->effect.magic = kEffectMagic;
  p->effect.dispatcher = Dispatcher;
  p->effect.setParameter = SetParameter;
  p->effect.getParameter = GetParameter;
  p->effect.numPrograms = 2;
  p->effect.numParams = 2;
  p->effect.numInputs = 2;
  p->effect.numOutputs = 2;
  p->effect.flags = effFlagsCanReplacing;
#ifdef FAKE_CHUNKS
  p->effect.flags |= effFlagsProgramChunks;
#endif
  p->effect.object = p;
  p->effect.uniqueID = VstFourCC('f', 'a', 'k', 'e');
  p->effect.version = 100;
  p->effect.processReplacing = ProcessFloat;
  return &p->effect;
}
