// IPlugStateFrame: the plug-in's state (SaveStateForHost's bytes) framed for hosts that
// store it as a stream (CLAP's state extension, VST 3's IBStream), so that the stream
// delimits itself and a foreign, cut or damaged one is refused before anything changes:
//   "BrCS"  u32 format version (2)  u32 current program  u32 length n  n bytes of state
//   u32 FNV-1a of the program's 4 bytes and the state's n
// All numbers little-endian. Version 1 had no program word (and hashed the state alone);
// it still loads, as program 0. Each format hands over its stream as two functions that
// move exactly the bytes asked for (looping over short transfers) or fail.
#pragma once

#include <cstddef>

class IPlugBase;

namespace IPlugStateFrame
{
using WriteAll = bool (*)(void* stream, const void* data, size_t size);
using ReadAll = bool (*)(void* stream, void* data, size_t size);

// Main thread (the state is copied before it is written). False when nothing could be
// saved or the stream failed.
bool Save(IPlugBase& plug, WriteAll write, void* stream);
// Main thread. False, with the plug-in unchanged, for a stream that is not a whole,
// intact state of this plug-in, or names a program it does not have.
bool Load(IPlugBase& plug, ReadAll read, void* stream);
} // namespace IPlugStateFrame
