#include "IPlugStateFrame.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "IPlugBase.h"
#include "IPlugTrace.h"

namespace
{
const uint8_t kMagic[4] = {'B', 'r', 'C', 'S'};
constexpr uint32_t kStreamVersion = 2;
constexpr uint32_t kVersionWithoutProgram = 1;
constexpr uint32_t kMaxStateBytes = 1u << 20; // far above any real state; guards the allocation
constexpr size_t kHeaderBytes = 8;            // magic and version; the rest depends on the version

constexpr uint32_t kFnvStart = 2166136261u;
uint32_t Fnv1a(const uint8_t* data, size_t size, uint32_t hash = kFnvStart)
{
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash;
}

void PutU32(uint8_t* out, uint32_t value)
{
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetU32(const uint8_t* in)
{
  return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 | static_cast<uint32_t>(in[2]) << 16 |
         static_cast<uint32_t>(in[3]) << 24;
}
} // namespace

bool IPlugStateFrame::Save(IPlugBase& plug, WriteAll write, void* stream)
{
  const void* data = nullptr;
  const int size = plug.SaveStateForHost(true, &data);
  if (size <= 0 || !data) return false;
  // The bytes stay as they are until the next save, which comes on this (main) thread.
  const uint8_t* state = static_cast<const uint8_t*>(data);
  const int program = plug.CurrentProgramForHost();
  uint8_t header[kHeaderBytes + 8];
  std::memcpy(header, kMagic, 4);
  PutU32(header + 4, kStreamVersion);
  PutU32(header + 8, static_cast<uint32_t>(program > 0 ? program : 0));
  PutU32(header + 12, static_cast<uint32_t>(size));
  uint8_t check[4];
  PutU32(check, Fnv1a(state, static_cast<size_t>(size), Fnv1a(header + 8, 4)));
  return write(stream, header, sizeof(header)) && write(stream, state, static_cast<size_t>(size)) &&
         write(stream, check, sizeof(check));
}

bool IPlugStateFrame::Load(IPlugBase& plug, ReadAll read, void* stream)
{
  uint8_t header[kHeaderBytes + 8];
  const uint32_t version = read(stream, header, kHeaderBytes) && std::memcmp(header, kMagic, 4) == 0 ? GetU32(header + 4) : 0;
  const bool hasProgram = version == kStreamVersion;
  if ((!hasProgram && version != kVersionWithoutProgram) ||
      !read(stream, header + kHeaderBytes, hasProgram ? 8 : 4))
  {
    EmitTrace("IPlugStateFrame::Load", __LINE__, "state refused: empty, cut short, or not this plug-in's");
    return false;
  }
  const uint8_t* programWord = hasProgram ? header + kHeaderBytes : nullptr;
  const uint32_t size = GetU32(header + kHeaderBytes + (hasProgram ? 4 : 0));
  if (size == 0 || size > kMaxStateBytes)
  {
    EmitTrace("IPlugStateFrame::Load", __LINE__, "state refused: %u bytes announced", size);
    return false;
  }
  std::vector<uint8_t> state(size + 4);
  const uint32_t hashStart = programWord ? Fnv1a(programWord, 4) : kFnvStart;
  if (!read(stream, state.data(), state.size()) || GetU32(state.data() + size) != Fnv1a(state.data(), size, hashStart))
  {
    EmitTrace("IPlugStateFrame::Load", __LINE__, "state refused: cut short or damaged");
    return false;
  }
  const uint32_t program = programWord ? GetU32(programWord) : 0;
  if (program > 0 && program >= static_cast<uint32_t>(plug.PresetCount()))
  {
    EmitTrace("IPlugStateFrame::Load", __LINE__, "state refused: program %u does not exist", program);
    return false;
  }
  if (!plug.LoadStateFromHost(true, state.data(), size)) return false;
  plug.SetCurrentProgramFromHost(static_cast<int>(program));
  return true;
}
