// Small records shared by the plug-in base and its host adapters.
#pragma once

#include <cstdint>

// One legal pair of input and output channel counts.
struct IChannelConfig
{
  int32_t mNIn = 0;
  int32_t mNOut = 0;
};

// One MIDI message: frame offset within the block, then status and two data bytes.
struct MidiMessage
{
  int32_t mOffset = 0;
  uint8_t mStatus = 0;
  uint8_t mData1 = 0;
  uint8_t mData2 = 0;
};
