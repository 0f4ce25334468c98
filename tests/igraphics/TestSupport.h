#pragma once
// A small plug-in with recording host slots, a graphics object without a
// window, and a probe control, shared by the toolkit's tests.

#include <cstring>
#include <string>
#include <vector>

#include "IControl.h"
#include "IGraphicsLice.h"
#include "IPlugBase.h"
#include "ITextStyle.h"
#include "lice.h"

// Every call that reaches the host or a probe, in order.
using EventLog = std::vector<std::string>;

class TestPlug : public IPlugBase
{
public:
  explicit TestPlug(int nParams = 3, EventLog* log = nullptr)
    : IPlugBase(nParams, "1-2 2-2", 1, "Test", "", "Tester", 0x00010000, 1234, 5678, 0, false, false, false),
      mLog(log)
  {
  }

  void HostBeginEdit(int index) override { Record("begin " + std::to_string(index)); }
  void HostAutomate(int index, double normalized) override
  {
    automated.push_back({index, normalized});
    Record("automate " + std::to_string(index));
  }
  void HostEndEdit(int index) override { Record("end " + std::to_string(index)); }
  int HostSamplePosition() override { return 0; }
  double HostTempo() override { return 120.0; }
  void HostTimeSignature(int* numerator, int* denominator) override
  {
    *numerator = 4;
    *denominator = 4;
  }
  void ResizeEditorRect(int width, int height) override
  {
    resizedTo.push_back({width, height});
  }
  void HostSpecificSetup() override {}
  bool SendMidiToHost(const MidiMessage&) override { return false; }
  bool SendMidiListToHost(const MidiMessage*, int) override { return false; }

  void Record(const std::string& event)
  {
    if (mLog) mLog->push_back(event);
  }

  struct Automation
  {
    int index;
    double value;
  };
  std::vector<Automation> automated;
  std::vector<std::pair<int, int>> resizedTo;

private:
  EventLog* mLog;
};

// A graphics object without a window: presenting only records the area, text
// is recorded, and embedded images are generated on demand.
class TestGraphics : public IGraphicsLice
{
public:
  TestGraphics(IPlugBase* plug, int width, int height) : IGraphicsLice(plug, width, height, 30) {}

  bool PresentRect(const IBounds& area) override
  {
    presented.push_back(area);
    return true;
  }
  bool RenderText(const ITextStyle&, const char* text, const IBounds&) override
  {
    texts.push_back(text ? text : "");
    return true;
  }
  void EditParameterInPlace(IControl* control, IParameter* param) override
  {
    editRequests.push_back({control, param});
  }
  void HostDirectory(std::string& out) override { out.clear(); }
  void ModuleDirectory(std::string& out) override { out.clear(); }
  void AskForFile(std::string& out, int32_t, const char*, const char*) override { out.clear(); }
  bool AskForColour(IRgba&, const char*) override { return false; }
  bool OpenWebAddress(const char*, const char*, const char*, const char*) override { return false; }
  void* OpenEditorWindow(void*) override { return nullptr; }
  void CloseEditorWindow() override {}
  void* NativeWindow() override { return nullptr; }

  // Images are generated: resource id r decodes to an (r % 100 + 1) x 2 opaque bitmap,
  // except ids listed in |missing|.
  LICE_IBitmap* LoadImageResource(int32_t resourceId, const char* name) override
  {
    decodes.push_back(resourceId);
    lastName = name ? name : "";
    for (int id : missing)
      if (id == resourceId) return nullptr;
    auto* bitmap = new LICE_MemBitmap(resourceId % 100 + 1, 2, 4);
    LICE::FillArea(bitmap, 0, 0, bitmap->Width(), bitmap->Height(), 0xFF102030u, 1.0f, LICE::kOpCopy);
    return bitmap;
  }

  std::vector<IBounds> presented;
  std::vector<std::string> texts;
  std::vector<std::pair<IControl*, IParameter*>> editRequests;
  std::vector<int> decodes;
  std::vector<int> missing;
  std::string lastName;
};

// A control that records what it is asked to do.
class ProbeControl : public IControl
{
public:
  ProbeControl(IPlugBase* plug, const IBounds& bounds, int paramIdx, const char* name, EventLog* log)
    : IControl(plug, bounds, paramIdx), mName(name), mLog(log)
  {
  }

  void MouseDown(int32_t x, int32_t y, const IMouseKeys& keys) override
  {
    Record("down", x, y);
    IControl::MouseDown(x, y, keys);
  }
  void MouseUp(int32_t x, int32_t y, const IMouseKeys&) override { Record("up", x, y); }
  void MouseDrag(int32_t x, int32_t y, int32_t dX, int32_t dY, const IMouseKeys&) override
  {
    Record("drag", dX, dY);
    (void)x;
    (void)y;
  }
  void DoubleClick(int32_t x, int32_t y, const IMouseKeys& keys) override
  {
    Record("double", x, y);
    IControl::DoubleClick(x, y, keys);
  }
  void Wheel(int32_t x, int32_t y, const IMouseKeys&, int32_t steps) override
  {
    Record("wheel", steps, 0);
    (void)x;
    (void)y;
  }
  void KeyDown(int32_t, int32_t, int32_t key) override { Record("key", key, 0); }
  void MouseOver(int32_t x, int32_t y, const IMouseKeys&) override { Record("over", x, y); }
  void MouseLeave() override { mLog->push_back(mName + " leave"); }
  bool Paint(IGraphicsLice*) override
  {
    mLog->push_back(mName + " paint");
    return true;
  }

private:
  void Record(const char* what, int a, int b)
  {
    mLog->push_back(mName + " " + what + " " + std::to_string(a) + "," + std::to_string(b));
  }

  std::string mName;
  EventLog* mLog;
};

// An opaque strip of |frames| frames, |width| wide and |frameHeight| high each,
// whose every pixel holds its own row number in the blue and green bytes
// (row = G * 256 + B), so that a painted pixel tells which row it came from.
inline LICE_MemBitmap* MakeRowCodedStrip(int width, int height)
{
  auto* bitmap = new LICE_MemBitmap(width, height, 4);
  for (int y = 0; y < height; ++y)
    LICE::FillArea(bitmap, 0, y, width, 1, 0xFF000000u | uint32_t(y & 0xFFFF), 1.0f, LICE::kOpCopy);
  return bitmap;
}

inline int RowOf(uint32_t pixel) { return int(pixel & 0xFFFF); }
