// IProgram: one preset slot, holding a name and the parameter values it recalls.
#pragma once

#include "IByteChunk.h"

class IProgram
{
public:
  static constexpr int kNameSize = 256; // at most 255 characters plus the terminator

  // A slot not yet initialised, named "- n -" with its slot number counted from 1.
  explicit IProgram(int slotNumber);

  // Copies name, cut to 255 characters; a null name leaves the old one.
  void SetName(const char* name);
  const char* Name() const { return mName; }

  bool mInitialized = false;
  IByteChunk mState;

private:
  char mName[kNameSize];
};
