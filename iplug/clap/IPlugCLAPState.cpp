// The state extension's stream: the plug-in's state framed by IPlugStateFrame. Hosts
// move few bytes per call, so both directions loop.
#include "IPlugCLAP.h"

#include "IPlugStateFrame.h"

namespace
{
// Writes all size bytes; a write of 0 bytes counts as failure rather than a reason to spin.
bool WriteAll(void* context, const void* data, size_t size)
{
  const auto* stream = static_cast<const clap_ostream_t*>(context);
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
bool ReadAll(void* context, void* data, size_t size)
{
  const auto* stream = static_cast<const clap_istream_t*>(context);
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
  return stream && stream->write &&
         IPlugStateFrame::Save(*mPlug, WriteAll, const_cast<void*>(static_cast<const void*>(stream)));
}

bool IPlugCLAP::LoadState(const clap_istream_t* stream)
{
  AssertMainThread();
  return stream && stream->read &&
         IPlugStateFrame::Load(*mPlug, ReadAll, const_cast<void*>(static_cast<const void*>(stream)));
}
