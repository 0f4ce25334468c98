#include "EditorSnapshot.h"

#include <cstdio>

#include "HeadlessWindowBackend.h"
#include "IGraphicsLice.h"
#include "IGraphicsPlug.h"
#include "IPlugVST.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"
#include "Options.h"
#include "PluginHost.h"
#include "png_write.h"

namespace
{
VstIntPtr VSTCALLBACK SnapshotHostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? 2400 : 0;
}

int Fail(const std::string& message)
{
  std::fprintf(stderr, "brindlow-render: %s\n", message.c_str());
  return kExitFailure;
}
} // namespace

bool WriteBrindlowEditorSnapshot(const std::vector<float>& normalized, bool showSplash, const std::string& path,
                                 std::string& error, double scale)
{
  if (!(scale >= 1.0 && scale <= 3.0))
  {
    error = "the scale must be from 1 to 3";
    return false;
  }
  // The panel is painted off screen: no window system is asked for anything.
  SetWindowBackendFactory(&CreateHeadlessWindowBackend);
  AEffect* effect = CreateVSTPlugin(&SnapshotHostCallback, []() -> IPlugBase* { return MakeKyvBrindlow(); });
  if (!effect)
  {
    error = "cannot make the editor";
    return false;
  }
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  for (size_t i = 0; i < normalized.size() && static_cast<int>(i) < effect->numParams; ++i)
    effect->setParameter(effect, static_cast<VstInt32>(i), normalized[i]);

  IGraphicsLice* editor = EditorOf(IPlugVST::PlugOf(effect));
  bool ok = editor != nullptr;
  if (ok)
  {
    editor->SetHostScale(scale);
    if (showSplash) static_cast<KyvBrindlowGraphics*>(editor)->Layout().Opened(editor);
    // The window's first paint: every control, the whole panel.
    editor->PaintArea(IBounds(0, 0, editor->Width(), editor->Height()));
    ok = PngFile::Write(path, *editor->DrawBitmap(), false, &error);
  }
  else
  {
    error = "the plug-in has no editor";
  }
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  return ok;
}

int RunEditorSnapshot(PluginHost& host, const RenderOptions& options)
{
  if (host.UniqueId() != KyvBrindlow::kUniqueID)
    return Fail("editor snapshots show Brindlow's own panel; \"" + host.EffectName() + "\" is another plug-in");
  std::vector<float> values;
  for (int i = 0; i < host.NumParams(); ++i) values.push_back(host.ParamValue(i));
  std::string error;
  if (!WriteBrindlowEditorSnapshot(values, options.showSplash, options.editorSnapshotPath, error, options.editorScale))
    return Fail(error);
  return kExitOk;
}
