// A KyvBrindlow made the way a host makes it, with a host callback that records every
// call, and short-cuts to its editor.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "IControl.h"
#include "IGraphicsLice.h"
#include "IGraphicsPlug.h"
#include "IPlugVST.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"

struct HostCall
{
  VstInt32 opcode;
  VstInt32 index;
  float opt;
};

class EditorFixture : public ::testing::Test
{
protected:
  void SetUp() override
  {
    Calls().clear();
    mEffect = CreateVSTPlugin(&EditorFixture::HostCallback, []() -> IPlugBase* { return MakeKyvBrindlow(); });
    ASSERT_NE(mEffect, nullptr);
    mPlug = static_cast<KyvBrindlow*>(IPlugVST::PlugOf(mEffect));
    mEditor = EditorOf(mPlug);
    ASSERT_NE(mEditor, nullptr);
  }

  void TearDown() override
  {
    if (mEffect) Dispatch(effClose);
  }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0)
  {
    return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
  }

  // Opens the plug-in as a host does before it plays audio.
  void StartAudio(float rate = 44100.0f, int block = 512)
  {
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    Dispatch(effSetBlockSize, 0, block);
    Dispatch(effMainsChanged, 0, 1);
  }

  // Paints the whole panel, as the window's first paint does.
  void PaintAll() { mEditor->PaintArea(IBounds(0, 0, mEditor->Width(), mEditor->Height())); }

  IControl* Control(int index) const { return mEditor->GetControl(index); }
  // The panel's layout record: splash showings, splash control index.
  KyvBrindlowEditor& Layout() const { return static_cast<KyvBrindlowGraphics*>(mEditor)->Layout(); }
  IControl* Splash() const { return Control(Layout().SplashIndex()); }
  // One opening of the editor window, as the window layer counts it.
  void Opened() { Layout().Opened(mEditor); }

  static std::vector<HostCall>& Calls()
  {
    static std::vector<HostCall> calls;
    return calls;
  }

  // The calls with this opcode, in order.
  static std::vector<HostCall> CallsOf(VstInt32 opcode)
  {
    std::vector<HostCall> out;
    for (const HostCall& call : Calls())
      if (call.opcode == opcode) out.push_back(call);
    return out;
  }

  static VstIntPtr VSTCALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt)
  {
    Calls().push_back(HostCall{opcode, index, opt});
    if (opcode == audioMasterVersion) return 2400;
    return 0;
  }

  AEffect* mEffect = nullptr;
  KyvBrindlow* mPlug = nullptr;
  IGraphicsLice* mEditor = nullptr;
  const IMouseKeys kLeft{true, false, false, false, false};
  const IMouseKeys kRight{false, true, false, false, false};
};
