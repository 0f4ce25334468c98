// The state extension's stream: the plug-in's own state (header and parameter values,
// as SaveStateForHost writes it) wrapped so that the stream delimits itself and a
// foreign, cut or damaged one is refused before anything changes:
//   "BrCS"  u32 format version  u32 length n  n bytes of state  u32 FNV-1a of those bytes
// All numbers little-endian. Hosts move few bytes per call, so both directions loop.
#include "IPlugCLAP.h"

#include <cstring>
#include <vector>

#include "IPlugTrace.h"

namespace
{
const uint8_t kMagic[4] = {'B', 'r', 'C', 'S'};
constexpr uint32_t kStreamVersion = 1;
constexpr uint32_t kMaxStateBytes = 1u << 20; // far above any real state; guards the allocation
constexpr size_t kHeaderBytes = 12;

uint32_t Fnv1a(const uint8_t* data, size_t size)
{
  uint32_t hash = 2166136261u;
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

// Writes all size bytes; a write of 0 bytes counts as failure rather than a reason to spin.
bool WriteAll(const clap_ostream_t* stream, const void* data, size_t size)
{
  const uint8_t* p = static_cast<const uint8_t*>(data);
  while (size > 0)
  {
    const int64_t n = stream->write(stream, p, size);
    if (n <= 0 || static_cast<uint64_t>(n) > size) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Reads exactly size bytes; false at an early end of stream or an error.
bool ReadAll(const clap_istream_t* stream, void* data, size_t size)
{
  uint8_t* p = static_cast<uint8_t*>(data);
  while (size > 0)
  {
    const int64_t n = stream->read(stream, p, size);
    if (n <= 0 || static_cast<uint64_t>(n) > size) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}
} // namespace

bool IPlugCLAP::SaveState(const clap_ostream_t* stream)
{
  AssertMainThread();
  const void* data = nullptr;
  const int size = mPlug->SaveStateForHost(true, &data);
  if (size <= 0 || !data) return false;
  // The bytes stay as they are until the next save, which comes on this (main) thread.
  const uint8_t* state = static_cast<const uint8_t*>(data);
  uint8_t header[kHeaderBytes];
  std::memcpy(header, kMagic, 4);
  PutU32(header + 4, kStreamVersion);
  PutU32(header + 8, static_cast<uint32_t>(size));
  uint8_t check[4];
  PutU32(check, Fnv1a(state, static_cast<size_t>(size)));
  return WriteAll(stream, header, sizeof(header)) && WriteAll(stream, state, static_cast<size_t>(size)) &&
         WriteAll(stream, check, sizeof(check));
}

bool IPlugCLAP::LoadState(const clap_istream_t* stream)
{
  AssertMainThread();
  uint8_t header[kHeaderBytes];
  if (!ReadAll(stream, header, sizeof(header)) || std::memcmp(header, kMagic, 4) != 0 ||
      GetU32(header + 4) != kStreamVersion)
  {
    EmitTrace("IPlugCLAP::LoadState", __LINE__, "state refused: empty, cut short, or not this plug-in's");
    return false;
  }
  const uint32_t size = GetU32(header + 8);
  if (size == 0 || size > kMaxStateBytes)
  {
    EmitTrace("IPlugCLAP::LoadState", __LINE__, "state refused: %u bytes announced", size);
    return false;
  }
  std::vector<uint8_t> state(size + 4);
  if (!ReadAll(stream, state.data(), state.size()) || GetU32(state.data() + size) != Fnv1a(state.data(), size))
  {
    EmitTrace("IPlugCLAP::LoadState", __LINE__, "state refused: cut short or damaged");
    return false;
  }
  if (!mPlug->LoadStateFromHost(true, state.data(), size)) return false;
  return true;
}
