#include "IByteChunk.h"

#include <cstring>

namespace
{
void StoreLE(uint8_t* out, uint64_t bits, int bytes)
{
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

uint64_t LoadLE(const uint8_t* in, int bytes)
{
  uint64_t bits = 0;
  for (int i = 0; i < bytes; ++i) bits |= static_cast<uint64_t>(in[i]) << (8 * i);
  return bits;
}

// True when [pos, pos + size) lies inside a chunk of chunkSize bytes.
bool Fits(int pos, int size, int chunkSize)
{
  return pos >= 0 && static_cast<int64_t>(pos) + size <= chunkSize;
}
} // namespace

int IByteChunk::PutBytes(const void* data, int size)
{
  const int oldSize = Size();
  if (size < 0 || static_cast<int64_t>(oldSize) + size > INT32_MAX) return 0;
  if (!mBytes.Resize(oldSize + size)) return 0;
  if (size > 0) std::memcpy(GetBytes() + oldSize, data, static_cast<size_t>(size));
  return Size();
}

int IByteChunk::PutDouble(double value)
{
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  uint8_t bytes[8];
  StoreLE(bytes, bits, 8);
  return PutBytes(bytes, 8);
}

int IByteChunk::PutInt32(int32_t value)
{
  uint8_t bytes[4];
  StoreLE(bytes, static_cast<uint32_t>(value), 4);
  return PutBytes(bytes, 4);
}

int IByteChunk::GetDouble(double* value, int pos) const
{
  if (!Fits(pos, 8, Size())) return -1;
  const uint64_t bits = LoadLE(GetBytes() + pos, 8);
  std::memcpy(value, &bits, sizeof bits);
  return pos + 8;
}

int IByteChunk::GetInt32(int32_t* value, int pos) const
{
  if (!Fits(pos, 4, Size())) return -1;
  *value = static_cast<int32_t>(static_cast<uint32_t>(LoadLE(GetBytes() + pos, 4)));
  return pos + 4;
}

void IByteChunk::Clear()
{
  mBytes.Resize(0, true);
}

bool IByteChunk::Resize(int size)
{
  const int oldSize = Size();
  if (!mBytes.Resize(size)) return false;
  if (size > oldSize) std::memset(GetBytes() + oldSize, 0, static_cast<size_t>(size - oldSize));
  return true;
}

bool WriteChunkHeader(IByteChunk& chunk)
{
  return chunk.PutInt32(IByteChunk::kMagic) > 0 && chunk.PutInt32(IByteChunk::kFormatVersion) > 0;
}

int ReadChunkHeader(const IByteChunk& chunk, int32_t* version)
{
  int32_t magic = 0;
  int32_t readVersion = 0;
  int pos = chunk.GetInt32(&magic, 0);
  if (pos < 0 || magic != IByteChunk::kMagic)
  {
    pos = 0; // a bare parameter state
  }
  else
  {
    pos = chunk.GetInt32(&readVersion, pos);
    if (pos < 0) readVersion = 0;
  }
  if (version) *version = readVersion;
  return pos;
}
