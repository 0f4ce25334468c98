// IPlugHostCalls: everything the plug-in asks of its host, in the host's own format.
// Each format adapter implements it and hands it to the plug-in base. The core calls
// none of these with the plug-in's lock held (debug builds assert it), so a host that
// takes a lock of its own in them (one its audio thread holds while it calls the
// plug-in) cannot deadlock.
#pragma once

#include "IPlugStructs.h"

class IPlugHostCalls
{
public:
  virtual ~IPlugHostCalls() = default;

  // GUI thread: an edit gesture on a parameter begins, moves it (normalised 0 ... 1), ends.
  virtual void BeginEdit(int index) = 0;
  virtual void Automate(int index, double normalized) = 0;
  virtual void EndEdit(int index) = 0;

  // GUI thread: the editor's panel changed size.
  virtual void EditorResized(int /*width*/, int /*height*/) {}

  // Main thread, once, when the host opens the plug-in: the host's product name (written
  // into product, size bytes, terminated) and its version as a decimal number
  // (a * 10000 + b * 100 + c, 0 when unknown). False when the format cannot tell.
  virtual bool HostProduct(char* /*product*/, int /*size*/, int* /*version*/) { return false; }

  // Audio thread, just before a block takes the lock (or any thread with the lock free):
  // the host's transport. Zero when unknown.
  virtual int SamplePosition() { return 0; }
  virtual double Tempo() { return 0.0; }
  virtual void TimeSignature(int* numerator, int* denominator)
  {
    if (numerator) *numerator = 0;
    if (denominator) *denominator = 0;
  }

  // The thread that ran the call which produced them (a block, or events from the host),
  // once the lock is free: MIDI messages the plug-in sends. Answers whether all went out.
  virtual bool SendMidi(const MidiMessage* /*messages*/, int /*count*/) { return false; }

  // Main thread: the plug-in's latency in samples changed.
  virtual void LatencyChanged(int /*samples*/) {}
};
