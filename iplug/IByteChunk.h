// IByteChunk: the byte buffer that carries parameter values and presets.
// Values are stored little-endian, unaligned, without padding.
#pragma once

#include "GrowBuffer.h"

#include <cstdint>

class IByteChunk
{
public:
  // Chunk header written before the state handed to a host: magic, then format version.
  static constexpr int32_t kMagic = 0x70666674;
  static constexpr int32_t kFormatVersion = 0x00010000;

  IByteChunk() : mBytes(4096) {}

  // Appends a value; answers the new size, or 0 when memory ran out (chunk unchanged).
  int PutDouble(double value);
  int PutInt32(int32_t value);
  // Appends raw bytes; answers the new size, or 0 on failure.
  int PutBytes(const void* data, int size);

  // Reads a value at pos; answers pos + its size, or -1 (target untouched) when the
  // value does not lie wholly inside the chunk.
  int GetDouble(double* value, int pos) const;
  int GetInt32(int32_t* value, int pos) const;

  void Clear();
  // Sets the size; bytes added by growing are zero. False when size is negative or memory ran out.
  bool Resize(int size);

  uint8_t* GetBytes() const { return static_cast<uint8_t*>(mBytes.Get()); }
  int Size() const { return mBytes.GetSize(); }

private:
  GrowBuffer mBytes;
};

// Writes the 8-byte header (magic, format version) at the chunk's end.
bool WriteChunkHeader(IByteChunk& chunk);

// Reads the header at the chunk's start and answers where the state begins:
// 8 after a complete header; 0 when the magic is missing or the chunk is shorter than
// 4 bytes (a bare state, version 0); -1 when the magic is there but the version is cut
// short. version (optional) receives the format version, 0 when there is none.
int ReadChunkHeader(const IByteChunk& chunk, int32_t* version);
