// A host's calls in any order and with any arguments: the input is read as a list of
// dispatcher, setParameter, getParameter and processing calls on one instance. Every
// pointer argument points at a buffer of the size the interface promises (heap blocks of
// exactly that size, so that a write past them is caught), and the sanitizers watch
// for everything else. Outputs of every processing call must be finite.
#include "FuzzPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace
{
using fuzz::Input;

// Opcodes a host uses, drawn more often than the rest of the byte range.
const VstInt32 kKnownOpcodes[] = {
    effOpen, effSetProgram, effGetProgram, effSetProgramName, effGetProgramName, effGetParamLabel,
    effGetParamDisplay, effGetParamName, effSetSampleRate, effSetBlockSize, effMainsChanged,
    effEditGetRect, effEditOpen, effEditClose, effEditIdle, effGetChunk, effSetChunk, effProcessEvents,
    effCanBeAutomated, effString2Parameter, effGetProgramNameIndexed, effGetInputProperties,
    effGetOutputProperties, effGetPlugCategory, effSetSpeakerArrangement, effGetEffectName,
    effGetVendorString, effGetProductString, effVendorSpecific, effCanDo, effGetVstVersion,
    effGetMidiKeyName, effGetSpeakerArrangement};

const char* const kHostNames[] = {"", "Fuzz Host", "REAPER", "Cubase VST", "FL Studio", "Forte", "Audition",
                                  "Orion", "SAWStudio", "Ableton Live", "energyXT"};

// A heap block of exactly n bytes; the plug-in may use all of it and nothing more.
struct Block
{
  explicit Block(size_t n) : bytes(new unsigned char[n ? n : 1]()), size(n) {}
  std::unique_ptr<unsigned char[]> bytes;
  size_t size;
  void* get() { return bytes.get(); }
};

// A NUL-terminated text from the input, in a block exactly its length.
Block Text(Input& in)
{
  size_t n = 0;
  const uint8_t* p = in.Bytes(in.Range(0, 80), &n);
  Block b(n + 1);
  std::memcpy(b.get(), p, n);
  b.bytes[n] = 0;
  return b;
}

VstInt32 Index(Input& in)
{
  return in.Bool() ? in.Range(-2, 20) : in.Raw<VstInt32>();
}

VstIntPtr Value(Input& in)
{
  switch (in.Range(0, 3))
  {
    case 0: return in.Range(-2, 20);
    case 1: return in.Range(0, 5000);
    case 2: return VstIntPtr(in.Raw<VstInt32>());
    default: return in.Raw<VstIntPtr>();
  }
}

float Opt(Input& in)
{
  const float rates[] = {44100.0f, 48000.0f, 96000.0f, 8000.0f, 1.0f, 0.0f, -44100.0f, 1e7f, 9.99e6f};
  if (in.Bool()) return rates[in.Range(0, 8)];
  return in.Raw<float>();
}

// Fills an event list of up to eight events of the input's choosing; the block holds
// exactly as many pointers as the list says it has.
void CallProcessEvents(AEffect* effect, Input& in)
{
  const int count = in.Range(0, 8);
  std::vector<VstMidiEvent> events(static_cast<size_t>(count));
  const size_t header = offsetof(VstEvents, events);
  Block list(header + sizeof(VstEvent*) * size_t(count));
  VstEvents* head = static_cast<VstEvents*>(list.get());
  head->numEvents = in.Range(0, 15) == 0 ? -in.Range(0, 3) : count;
  VstEvent** slots = reinterpret_cast<VstEvent**>(list.bytes.get() + header);
  for (int i = 0; i < count; ++i)
  {
    VstMidiEvent& e = events[size_t(i)];
    e.type = in.Range(0, 3) ? kVstMidiType : in.Range(0, 7);
    e.byteSize = sizeof(VstMidiEvent);
    e.deltaFrames = in.Bool() ? in.Range(0, 511) : in.Raw<VstInt32>();
    for (char& c : e.midiData) c = char(in.Byte());
    slots[i] = in.Range(0, 7) == 0 ? nullptr : reinterpret_cast<VstEvent*>(&e);
  }
  fuzz::Dispatch(effect, effProcessEvents, 0, 0, list.get());
}

// What the host has told the instance so far, where the checks depend on it.
struct HostState
{
  std::vector<unsigned char> lastChunk; // the last chunk the plug-in saved
  int connectedOutputs = -1;            // from the last output arrangement; -1 all
};

void CallDispatcher(AEffect* effect, Input& in, HostState& host)
{
  const VstInt32 opcode = in.Range(0, 3) ? kKnownOpcodes[in.Range(0, sizeof(kKnownOpcodes) / sizeof(*kKnownOpcodes) - 1)]
                                         : VstInt32(in.Byte());
  const VstInt32 index = Index(in);
  VstIntPtr value = Value(in);
  const float opt = Opt(in);
  FUZZ_TRACE("dispatcher(opcode %d, index %d, value %lld, opt %g)", opcode, index, (long long)value, double(opt));
  switch (opcode)
  {
    case effClose: return; // ends the instance: the caller closes it at the end
    case effSetProgramName:
    case effString2Parameter:
    case effCanDo:
    {
      Block text = Text(in);
      FUZZ_TRACE("  text \"%s\"", static_cast<const char*>(text.get()));
      fuzz::Dispatch(effect, opcode, index, value, in.Range(0, 9) ? text.get() : nullptr, opt);
      return;
    }
    case effEditGetRect:
    {
      ERect* rect = nullptr;
      if (fuzz::Dispatch(effect, opcode, index, value, in.Range(0, 9) ? &rect : nullptr, opt) && rect)
        FUZZ_CHECK(rect->right >= rect->left && rect->bottom >= rect->top, "editor rectangle upside down");
      return;
    }
    case effGetChunk:
    {
      void* data = nullptr;
      const VstIntPtr size = fuzz::Dispatch(effect, opcode, index, value, in.Range(0, 9) ? &data : nullptr, opt);
      if (size > 0 && data)
        host.lastChunk.assign(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
      return;
    }
    case effSetChunk:
    {
      // A chunk saved earlier with some bytes changed, or bytes from the input.
      std::vector<unsigned char> bytes;
      if (in.Bool() && !host.lastChunk.empty())
      {
        bytes = host.lastChunk;
        for (int n = in.Range(0, 4); n > 0; --n)
        {
          const size_t at = size_t(in.Range(0, int(bytes.size()) - 1));
          bytes[at] = in.Byte();
        }
        bytes.resize(size_t(in.Range(0, int(bytes.size()) + 8)));
      }
      else
      {
        size_t n = 0;
        const uint8_t* p = in.Bytes(in.Range(0, 64), &n);
        bytes.assign(p, p + n);
      }
      Block block(bytes.size());
      if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());
      fuzz::Dispatch(effect, opcode, index, VstIntPtr(bytes.size()), in.Range(0, 9) ? block.get() : nullptr, opt);
      return;
    }
    case effProcessEvents: CallProcessEvents(effect, in); return;
    case effGetInputProperties:
    case effGetOutputProperties:
    {
      Block pin(sizeof(VstPinProperties));
      fuzz::Dispatch(effect, opcode, index, value, in.Range(0, 9) ? pin.get() : nullptr, opt);
      return;
    }
    case effSetSpeakerArrangement:
    {
      VstSpeakerArrangement inputs{}, outputs{};
      inputs.type = in.Range(-2, 3);
      inputs.numChannels = in.Bool() ? in.Range(-2, 8) : in.Raw<VstInt32>();
      outputs.type = in.Range(-2, 3);
      outputs.numChannels = in.Bool() ? in.Range(-2, 8) : in.Raw<VstInt32>();
      FUZZ_TRACE("  inputs: type %d, %d channels; outputs: type %d, %d channels", inputs.type, inputs.numChannels,
                 outputs.type, outputs.numChannels);
      value = in.Range(0, 3) ? reinterpret_cast<VstIntPtr>(&inputs) : 0;
      const bool withOutputs = in.Range(0, 3) != 0;
      fuzz::Dispatch(effect, opcode, index, value, withOutputs ? &outputs : nullptr, opt);
      // The first n outputs stay connected; the host keeps the buffers of the rest.
      if (withOutputs)
        host.connectedOutputs = outputs.numChannels < 0 ? 0 : std::min(outputs.numChannels, effect->numOutputs);
      return;
    }
    case effGetSpeakerArrangement:
    {
      VstSpeakerArrangement* inputs = nullptr;
      VstSpeakerArrangement* outputs = nullptr;
      value = in.Bool() ? reinterpret_cast<VstIntPtr>(&inputs) : 0;
      fuzz::Dispatch(effect, opcode, index, value, in.Bool() ? &outputs : nullptr, opt);
      if (inputs) FUZZ_CHECK(inputs->numChannels >= 0, "input arrangement with %d channels", inputs->numChannels);
      if (outputs) FUZZ_CHECK(outputs->numChannels >= 0, "output arrangement with %d channels", outputs->numChannels);
      return;
    }
    case effGetMidiKeyName:
    {
      Block name(sizeof(MidiKeyName));
      static_cast<MidiKeyName*>(name.get())->thisKeyNumber = in.Range(-1, 128);
      fuzz::Dispatch(effect, opcode, index, value, in.Range(0, 9) ? name.get() : nullptr, opt);
      return;
    }
    case effEditOpen:
    {
      // No window system here: the parent is an opaque handle the plug-in must not read.
      fuzz::Dispatch(effect, opcode, index, value, in.Bool() ? reinterpret_cast<void*>(0x1234) : nullptr, opt);
      return;
    }
    default:
    {
      // Texts and anything an unknown opcode might write: the largest buffer hosts give.
      Block buffer(256);
      fuzz::Dispatch(effect, opcode, index, value, in.Range(0, 9) ? buffer.get() : nullptr, opt);
      return;
    }
  }
}

void CallProcess(AEffect* effect, Input& in, bool doublePath, const HostState& host)
{
  const int frames = in.Range(0, 7) ? in.Range(0, 600) : in.Range(0, 5000);
  std::vector<std::vector<double>> inputs(2, std::vector<double>(size_t(frames)));
  const int kind = in.Range(0, 3);
  for (auto& channel : inputs)
    for (int k = 0; k < frames; ++k)
    {
      if (kind == 0) channel[size_t(k)] = std::sin(0.01 * k);
      else if (kind == 1) channel[size_t(k)] = k == 0 ? 1.0 : 0.0;
      else if (k < 32) channel[size_t(k)] = doublePath ? in.Raw<double>() : double(in.Raw<float>());
    }
  FUZZ_TRACE("%s(%d frames, %s input)", doublePath ? "processDoubleReplacing" : "processReplacing", frames,
             kind == 0 ? "sine" : kind == 1 ? "click" : "raw");
  // Infinite or NaN input may come out as it went in; only clean input must stay clean.
  bool clean = true;
  for (auto& channel : inputs)
    for (double x : channel) clean = clean && std::isfinite(x) && std::fabs(x) < 1e30;
  if (clean)
    fuzz::ProcessChecked(effect, doublePath, inputs, frames, host.connectedOutputs);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  Input in(data, size);
  const char* hostName = kHostNames[in.Range(0, sizeof(kHostNames) / sizeof(*kHostNames) - 1)];
  FUZZ_TRACE("host \"%s\"", hostName);
  fuzz::SetHostProductString(hostName);
  AEffect* effect = fuzz::CreateInstance();
  HostState host;
  for (int call = 0; call < 64 && !in.Empty(); ++call)
  {
    switch (in.Range(0, 5))
    {
      case 0:
      case 1: CallDispatcher(effect, in, host); break;
      case 2:
      {
        const VstInt32 index = Index(in);
        const float value = in.Bool() ? float(in.Range(0, 100)) / 100.0f : in.Raw<float>();
        FUZZ_TRACE("setParameter(%d, %g)", index, double(value));
        effect->setParameter(effect, index, value);
        break;
      }
      case 3:
      {
        const VstInt32 index = Index(in);
        const float v = effect->getParameter(effect, index);
        FUZZ_CHECK(v >= 0.0f && v <= 1.0f, "getParameter(%d) = %g", index, double(v));
        break;
      }
      case 4: CallProcess(effect, in, false, host); break;
      default: CallProcess(effect, in, true, host); break;
    }
  }
  fuzz::Dispatch(effect, effClose);
  return 0;
}
