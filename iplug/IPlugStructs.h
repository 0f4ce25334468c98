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

// A parameter value that takes effect at a frame of the block it comes with, real or
// normalised (0 ... 1). A plain record: a host's batch of them is filled, not cleared.
struct IParameterChange
{
  int32_t frame;
  int32_t index;
  double value;
  bool normalized;
};

// The host's transport as a block sees it: read from the host before the block takes the
// lock, zero where the host does not tell.
struct ITransport
{
  int samplePosition = 0;
  double tempo = 0.0;
  int numerator = 0;   // time signature
  int denominator = 0;
};

// Four characters packed big-endian into one number, as plug-in IDs are written:
// IFourCC('k', 'y', 'v', 'h') == 0x6b797668.
constexpr int32_t IFourCC(char a, char b, char c, char d)
{
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
                              static_cast<uint32_t>(static_cast<unsigned char>(d)));
}
