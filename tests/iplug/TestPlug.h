// A plug-in base with recording host slots, and a recording editor, for the core's tests.
#pragma once

#include "IGraphics.h"
#include "IPlugBase.h"

#include <utility>
#include <vector>

class TestPlug : public IPlugBase
{
public:
  explicit TestPlug(int nParams = 3, const char* channelIO = "1-2 2-2", int nPresets = 4,
                    const char* effectName = "Test Effect", int version = 0x00010300)
    : IPlugBase(nParams, channelIO, nPresets, effectName, "", "Test Vendor", version, 0x54657374,
                0x56656e64, 0, false, false, false)
  {
  }

  void ParameterChanged(int index) override
  {
    changed.push_back(index);
    IPlugBase::ParameterChanged(index);
  }

  void HostBeginEdit(int index) override { begun.push_back(index); }
  void HostAutomate(int index, double normalized) override { automated.emplace_back(index, normalized); }
  void HostEndEdit(int index) override { ended.push_back(index); }
  int HostSamplePosition() override { return 0; }
  double HostTempo() override { return 0.0; }
  void HostTimeSignature(int* numerator, int* denominator) override { *numerator = *denominator = 0; }
  void ResizeEditorRect(int, int) override {}
  void HostSpecificSetup() override {}
  bool SendMidiToHost(const MidiMessage& message) override
  {
    midiSent.push_back(message);
    return true;
  }
  bool SendMidiListToHost(const MidiMessage* messages, int count) override
  {
    for (int i = 0; i < count; ++i) SendMidiToHost(messages[i]);
    return true;
  }

  std::vector<int> changed, begun, ended;
  std::vector<std::pair<int, double>> automated;
  std::vector<MidiMessage> midiSent;
};

struct PushRecord
{
  int index;
  double value;
  bool normalized;
};

class RecordingEditor : public IGraphics
{
public:
  explicit RecordingEditor(bool* destroyed = nullptr) : mDestroyed(destroyed) {}
  ~RecordingEditor() override
  {
    if (mDestroyed) *mDestroyed = true;
  }
  void PushParameterToControls(int index, double value, bool isNormalized) override
  {
    pushes.push_back({index, value, isNormalized});
  }
  void CreateDrawSurface() override { ++surfacesCreated; }
  void* OpenEditorWindow(void*) override { return nullptr; }
  void CloseEditorWindow() override {}
  int EditorWidth() const override { return 0; }
  int EditorHeight() const override { return 0; }

  std::vector<PushRecord> pushes;
  int surfacesCreated = 0;

private:
  bool* mDestroyed;
};
