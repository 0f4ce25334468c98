// IPlugVST3View: the editor as an IPlugView. The host's content scale and its resizing
// (checkSizeConstraint, onSize, within the panel's aspect ratio) go to the editor; a
// size the editor takes on the host's scale or by itself (the user's choice) goes to the
// host as IPlugFrame::resizeView, which calls onSize from inside itself with the size the
// editor already has, a call that changes nothing. On Linux the host's IRunLoop
// (asked of the IPlugFrame) drives it: the window connection's descriptor as an event
// handler and a timer for the tick, both on the UI thread; the view has no thread of
// its own. On Windows the window keeps its own timer and the host's message loop serves it.
// Every call comes on the host's UI thread.
#pragma once

#include <atomic>

#include "vst3_abi.h"

class IPlugVST3;

class IPlugVST3View : public vst3::IPlugView,
                      public vst3::IPlugViewContentScaleSupport,
                      public vst3::IEventHandler,
                      public vst3::ITimerHandler
{
public:
  static constexpr vst3::TimerInterval kTimerMs = 33;

  explicit IPlugVST3View(IPlugVST3* owner); // keeps a reference to owner
  virtual ~IPlugVST3View();
  IPlugVST3View(const IPlugVST3View&) = delete;
  IPlugVST3View& operator=(const IPlugVST3View&) = delete;

  vst3::tresult VST3_API queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::uint32 VST3_API addRef() override { return ++mRefCount; }
  vst3::uint32 VST3_API release() override;

  vst3::tresult VST3_API isPlatformTypeSupported(vst3::FIDString type) override;
  vst3::tresult VST3_API attached(void* parent, vst3::FIDString type) override;
  vst3::tresult VST3_API removed() override;
  vst3::tresult VST3_API onWheel(float) override { return vst3::kResultFalse; }
  vst3::tresult VST3_API onKeyDown(vst3::char16 key, vst3::int16 keyCode, vst3::int16 modifiers) override;
  vst3::tresult VST3_API onKeyUp(vst3::char16 key, vst3::int16 keyCode, vst3::int16 modifiers) override;
  vst3::tresult VST3_API getSize(vst3::ViewRect* size) override;
  vst3::tresult VST3_API onSize(vst3::ViewRect* newSize) override;
  vst3::tresult VST3_API onFocus(vst3::TBool) override { return vst3::kResultOk; }
  vst3::tresult VST3_API setFrame(vst3::IPlugFrame* frame) override;
  vst3::tresult VST3_API canResize() override;
  vst3::tresult VST3_API checkSizeConstraint(vst3::ViewRect* rect) override;

  // The host's scale to the editor (kResultFalse for one it ignores); when the editor's
  // size changed, the frame is asked to resize to it.
  vst3::tresult VST3_API setContentScaleFactor(float factor) override;

  // Run-loop callbacks: the window's events and the editor's tick.
  void VST3_API onFDIsSet(vst3::FileDescriptor) override;
  void VST3_API onTimer() override;

  // Closes the window (the owner is terminated while the view is still attached).
  void Close();
  // Asks the frame to resize the view to width x height (the size the editor now has).
  // Never with the plug-in's lock held: the host calls onSize from inside.
  void RequestResize(int width, int height);

private:
  bool Key(vst3::char16 key, vst3::int16 keyCode, vst3::int16 modifiers, bool down);

  std::atomic<vst3::uint32> mRefCount{1};
  IPlugVST3* mOwner;
  vst3::IPlugFrame* mFrame = nullptr;
  vst3::IRunLoop* mRunLoop = nullptr; // registered with while open
  bool mOpen = false;
};
