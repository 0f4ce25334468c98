// Per-channel routing state of IPlugBase (private to the plug-in base).
#pragma once

#include "GrowBuffer.h"
#include "IPlugBase.h"

struct IPlugBase::InputChannel
{
  bool mConnected = false;
  double** mSlot = nullptr;          // this channel's entry in the input pointers
  GrowBuffer mScratch{4096};         // block-size doubles: converted input, or silence
  const double* mHostDouble = nullptr; // host buffer attached for the current block
  const float* mHostFloat = nullptr;

  double* ScratchData() const { return static_cast<double*>(mScratch.Get()); }
};

struct IPlugBase::OutputChannel
{
  bool mConnected = false;
  double** mSlot = nullptr;
  float* mFloatDest = nullptr;       // host's 32-bit buffer for the current block
  GrowBuffer mScratch{4096};         // block-size doubles: output before narrowing, or dropped
  double* mHostDouble = nullptr;

  double* ScratchData() const { return static_cast<double*>(mScratch.Get()); }
};
