#include "IPlugVST3View.h"

#include <cstdint>
#include <cstring>

#include "IGraphics.h"
#include "IKeyPress.h"
#include "IPlugTrace.h"
#include "IPlugVST3.h"

using namespace vst3;

namespace
{
#if defined(_WIN32)
const char* const kPlatformType = kPlatformTypeHWND;
#else
const char* const kPlatformType = kPlatformTypeX11EmbedWindowID;
#endif

bool IsOurPlatform(FIDString type)
{
  return type && !std::strcmp(type, kPlatformType);
}
} // namespace

IPlugVST3View::IPlugVST3View(IPlugVST3* owner) : mOwner(owner)
{
  static_cast<IComponent*>(mOwner)->addRef();
}

IPlugVST3View::~IPlugVST3View()
{
  Close();
  setFrame(nullptr);
  static_cast<IComponent*>(mOwner)->release();
}

tresult VST3_API IPlugVST3View::queryInterface(const TUID iid, void** obj)
{
  if (!obj) return kInvalidArgument;
  void* found = nullptr;
  if (SameUid(iid, FUnknown_iid.bytes) || SameUid(iid, IPlugView_iid.bytes))
    found = static_cast<IPlugView*>(this);
  else if (SameUid(iid, IPlugViewContentScaleSupport_iid.bytes))
    found = static_cast<IPlugViewContentScaleSupport*>(this);
#if !defined(_WIN32)
  else if (SameUid(iid, IEventHandler_iid.bytes))
    found = static_cast<IEventHandler*>(this);
  else if (SameUid(iid, ITimerHandler_iid.bytes))
    found = static_cast<ITimerHandler*>(this);
#endif
  *obj = found;
  if (!found) return kNoInterface;
  addRef();
  return kResultOk;
}

uint32 VST3_API IPlugVST3View::release()
{
  const uint32 count = --mRefCount;
  if (count == 0) delete this;
  return count;
}

tresult VST3_API IPlugVST3View::isPlatformTypeSupported(FIDString type)
{
  return IsOurPlatform(type) ? kResultTrue : kResultFalse;
}

tresult VST3_API IPlugVST3View::attached(void* parent, FIDString type)
{
  IPlugBase* plug = mOwner->Plug();
  if (!parent || !IsOurPlatform(type) || !plug || !plug->Editor()) return kResultFalse;
  if (mOpen) Close(); // attached again without removed: the window moves to the new parent
  if (mOwner->OpenView()) return kResultFalse; // the plug-in's one editor is open in another view
  if (!plug->OpenEditorFromHost(parent)) return kResultFalse;
  mOpen = true;
  mOwner->SetOpenView(this);
#if !defined(_WIN32)
  // The host's run loop serves the window: without one nothing would tick the editor.
  IRunLoop* loop = nullptr;
  if (mFrame && mFrame->queryInterface(IRunLoop_iid.bytes, reinterpret_cast<void**>(&loop)) == kResultOk && loop)
  {
    mRunLoop = loop; // the reference queryInterface gave, released in Close
    const int fd = plug->Editor()->EventFileDescriptor();
    if (fd >= 0 && loop->registerEventHandler(this, fd) != kResultTrue)
      EmitTrace("IPlugVST3View::attached", __LINE__, "the host's run loop takes no descriptor");
    if (loop->registerTimer(this, kTimerMs) != kResultTrue)
      EmitTrace("IPlugVST3View::attached", __LINE__, "the host's run loop takes no timer");
  }
  else
    EmitTrace("IPlugVST3View::attached", __LINE__, "the host offers no run loop: the editor will not update");
#endif
  return kResultOk;
}

tresult VST3_API IPlugVST3View::removed()
{
  Close();
  return kResultOk;
}

void IPlugVST3View::Close()
{
  if (!mOpen) return;
  if (mRunLoop)
  {
    // Unregistered before the window and its connection go.
    mRunLoop->unregisterEventHandler(this);
    mRunLoop->unregisterTimer(this);
    mRunLoop->release();
    mRunLoop = nullptr;
  }
  if (IPlugBase* plug = mOwner->Plug()) plug->CloseEditorFromHost();
  mOpen = false;
  if (mOwner->OpenView() == this) mOwner->SetOpenView(nullptr);
}

bool IPlugVST3View::Key(char16 key, int16, int16, bool down)
{
  IPlugBase* plug = mOwner->Plug();
  if (!mOpen || !plug) return false;
  IKeyPress press;
  if (key == ' ') press = IKeyPress(kKeySpace, ' ');
  else if (key >= '0' && key <= '9') press = IKeyPress(kKeyDigit0 + (key - '0'), static_cast<char>(key));
  else if (key >= 'a' && key <= 'z') press = IKeyPress(kKeyLetterA + (key - 'a'), static_cast<char>(key));
  else if (key >= 'A' && key <= 'Z') press = IKeyPress(kKeyLetterA + (key - 'A'), static_cast<char>(key));
  else return false; // left to the host's shortcuts
  return plug->EditorKeyFromHost(press, down);
}

tresult VST3_API IPlugVST3View::onKeyDown(char16 key, int16 keyCode, int16 modifiers)
{
  return Key(key, keyCode, modifiers, true) ? kResultTrue : kResultFalse;
}

tresult VST3_API IPlugVST3View::onKeyUp(char16 key, int16 keyCode, int16 modifiers)
{
  return Key(key, keyCode, modifiers, false) ? kResultTrue : kResultFalse;
}

tresult VST3_API IPlugVST3View::getSize(ViewRect* size)
{
  IPlugBase* plug = mOwner->Plug();
  if (!size || !plug || !plug->Editor()) return kInvalidArgument;
  *size = ViewRect{0, 0, plug->Editor()->EditorWidth(), plug->Editor()->EditorHeight()};
  return kResultTrue;
}

tresult VST3_API IPlugVST3View::onSize(ViewRect* newSize)
{
  IPlugBase* plug = mOwner->Plug();
  if (!newSize || !plug || !plug->Editor()) return kInvalidArgument;
  IGraphics* editor = plug->Editor();
  const int width = newSize->right - newSize->left, height = newSize->bottom - newSize->top;
  // The size the editor has (what the frame answers resizeView with) changes nothing. A
  // size the editor cannot take exactly is taken as the nearest one; the host learnt
  // the sizes it may give from checkSizeConstraint.
  if (width != editor->EditorWidth() || height != editor->EditorHeight())
    editor->SetEditorSizeFromHost(width, height);
  return kResultTrue;
}

tresult VST3_API IPlugVST3View::canResize()
{
  IPlugBase* plug = mOwner->Plug();
  return plug && plug->Editor() && plug->Editor()->CanResizeEditor() ? kResultTrue : kResultFalse;
}

tresult VST3_API IPlugVST3View::checkSizeConstraint(ViewRect* rect)
{
  IPlugBase* plug = mOwner->Plug();
  if (!rect || !plug || !plug->Editor()) return kInvalidArgument;
  const IGraphics* editor = plug->Editor();
  const int width = rect->right - rect->left, height = rect->bottom - rect->top;
  int w = width, h = height;
  if (!editor->AdjustEditorSize(w, h))
  {
    w = editor->EditorWidth(); // a fixed editor, or no size at all: the one it has
    h = editor->EditorHeight();
  }
  rect->right = rect->left + w;
  rect->bottom = rect->top + h;
  // The SDK host takes the rewritten rect only when the answer is not kResultTrue.
  return w == width && h == height ? kResultTrue : kResultFalse;
}

tresult VST3_API IPlugVST3View::setContentScaleFactor(float factor)
{
  IPlugBase* plug = mOwner->Plug();
  if (!plug || !plug->Editor()) return kResultFalse;
  IGraphics* editor = plug->Editor();
  const int width = editor->EditorWidth(), height = editor->EditorHeight();
  if (!editor->SetHostScale(factor)) return kResultFalse;
  if (editor->EditorWidth() != width || editor->EditorHeight() != height)
    RequestResize(editor->EditorWidth(), editor->EditorHeight());
  return kResultTrue;
}

void IPlugVST3View::RequestResize(int width, int height)
{
  // Before attached (or without a frame) the host reads getSize when it opens the view.
  if (!mFrame || !mOpen) return;
  ViewRect rect{0, 0, width, height};
  if (mFrame->resizeView(this, &rect) != kResultTrue)
    EmitTrace("IPlugVST3View::RequestResize", __LINE__, "the host did not resize the view to %dx%d", width, height);
}

tresult VST3_API IPlugVST3View::setFrame(IPlugFrame* frame)
{
  if (frame == mFrame) return kResultOk;
  if (frame) frame->addRef();
  if (mFrame) mFrame->release();
  mFrame = frame;
  return kResultOk;
}

void VST3_API IPlugVST3View::onFDIsSet(FileDescriptor)
{
  if (mOpen && mOwner->Plug()) mOwner->Plug()->EditorIdleFromHost();
}

void VST3_API IPlugVST3View::onTimer()
{
  if (mOpen && mOwner->Plug()) mOwner->Plug()->EditorIdleFromHost();
}

void IPlugVST3::EditorResized(int width, int height)
{
  if (mOpenView) mOpenView->RequestResize(width, height);
}

// The controller's view factory. A null name is taken as the editor (a host retries so).
IPlugView* VST3_API IPlugVST3::createView(FIDString name)
{
  if (!mPlug || !mPlug->Editor() || (name && std::strcmp(name, kEditorViewType) != 0)) return nullptr;
  return new IPlugVST3View(this);
}
