// The LV2 UI binary's one exported symbol, lv2ui_descriptor: Brindlow's editor panel for
// both plug-ins of the bundle, with no DSP behind it: the mono-check view reads the DSP's
// read-out ports.
#include <atomic>
#include <memory>

#include "IPlugLV2UI.h"
#include "KyvBrindlowEditor.h"
#include "KyvBrindlowLV2.h"
#include "KyvBrindlowLV2MonoCheck.h"

namespace
{
// An LV2 UI lives only while its window is open, so what the editor keeps across
// openings is kept here, for the process: the splash's count of showings (the first
// three openings in a host's run show it), the user's choice of size (0: none) and
// whether the mono-check view shows.
std::atomic<int32_t> gSplashShowsLeft{KyvBrindlowEditor::kSplashShowings};
std::atomic<double> gUserScale{0.0};
std::atomic<bool> gMonoCheckShown{false};

IGraphics* MakeEditor(IEditorDelegate* delegate, IPlugLV2UIReadouts* readouts)
{
  auto* editor = new KyvBrindlowGraphics(delegate);
  editor->Layout().SetSplashShowsLeft(gSplashShowsLeft.load());
  editor->SetUserScale(gUserScale.load());
  if (readouts)
  {
    editor->SetMonoCheckSource(std::make_unique<KyvBrindlowLV2MonoCheckSource>(*readouts));
    editor->ShowMonoCheck(gMonoCheckShown.load());
  }
  return editor;
}

void ReleaseEditor(IGraphics* editor)
{
  auto* brindlow = static_cast<KyvBrindlowGraphics*>(editor);
  gSplashShowsLeft.store(brindlow->Layout().SplashShowsLeft());
  gUserScale.store(brindlow->UserScale());
  gMonoCheckShown.store(brindlow->MonoCheckShown());
  delete brindlow;
}

IPlugLV2UIEntry* Entry()
{
  static IPlugLV2UIEntry entry;
  static const bool filled = [] {
    entry.lv2 = &KyvBrindlowLV2Info();
    entry.hooks = {&MakeEditor, &ReleaseEditor};
    FillLV2UIDescriptor(entry);
    return true;
  }();
  (void)filled;
  return &entry;
}
} // namespace

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index)
{
  return index == 0 ? &Entry()->descriptor : nullptr;
}
