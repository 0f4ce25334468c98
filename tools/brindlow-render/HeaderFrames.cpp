#include "HeaderFrames.h"

#include <cstdio>
#include <cstring>

namespace
{
constexpr int kMaxChunks = 64; // a header has a handful; anything past this is not one

uint32_t Le32(const unsigned char* p)
{
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Be32(const unsigned char* p)
{
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

class File
{
public:
  explicit File(const std::string& path) : mFile(std::fopen(path.c_str(), "rb")) {}
  ~File()
  {
    if (mFile) std::fclose(mFile);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool Read(void* out, size_t n) { return mFile && std::fread(out, 1, n, mFile) == n; }
  bool Skip(uint64_t n) { return mFile && n <= 0x7fffffff && std::fseek(mFile, static_cast<long>(n), SEEK_CUR) == 0; }

private:
  std::FILE* mFile;
};

// RIFF WAVE: the data chunk's size over the block alignment of integer or float PCM.
int64_t WavFrames(File& file)
{
  uint32_t blockAlign = 0;
  for (int i = 0; i < kMaxChunks; ++i)
  {
    unsigned char chunk[8];
    if (!file.Read(chunk, sizeof chunk)) return -1;
    const uint32_t size = Le32(chunk + 4);
    if (!std::memcmp(chunk, "fmt ", 4))
    {
      unsigned char fmt[16];
      if (size < sizeof fmt || !file.Read(fmt, sizeof fmt)) return -1;
      const uint16_t tag = Le16(fmt);
      // PCM, IEEE float, extensible: one block is one frame. Compressed encodings
      // pack several frames per block.
      if (tag != 1 && tag != 3 && tag != 0xFFFE) return -1;
      blockAlign = Le16(fmt + 12);
      if (!file.Skip(size - sizeof fmt + (size & 1))) return -1;
    }
    else if (!std::memcmp(chunk, "data", 4))
    {
      if (blockAlign == 0 || size == 0 || size == 0xFFFFFFFFu) return -1;
      return size / blockAlign;
    }
    else if (!file.Skip(uint64_t(size) + (size & 1)))
    {
      return -1;
    }
  }
  return -1;
}

// AIFF and AIFF-C: the frame count of the COMM chunk.
int64_t AiffFrames(File& file)
{
  for (int i = 0; i < kMaxChunks; ++i)
  {
    unsigned char chunk[8];
    if (!file.Read(chunk, sizeof chunk)) return -1;
    const uint32_t size = Be32(chunk + 4);
    if (!std::memcmp(chunk, "COMM", 4))
    {
      unsigned char comm[6];
      if (size < sizeof comm || !file.Read(comm, sizeof comm)) return -1;
      return Be32(comm + 2); // after the 16-bit channel count
    }
    if (!file.Skip(uint64_t(size) + (size & 1))) return -1;
  }
  return -1;
}
} // namespace

int64_t HeaderFrameCount(const std::string& path)
{
  File file(path);
  unsigned char head[12];
  if (!file.Read(head, sizeof head)) return -1;
  if (!std::memcmp(head, "RIFF", 4) && !std::memcmp(head + 8, "WAVE", 4)) return WavFrames(file);
  if (!std::memcmp(head, "FORM", 4) && (!std::memcmp(head + 8, "AIFF", 4) || !std::memcmp(head + 8, "AIFC", 4)))
    return AiffFrames(file);
  return -1;
}
