#include "KyvBrindlowEditor.h"

#include "IBitmapControls.h"
#include "IControl.h"
#include "IEditorDelegate.h"
#include "IGraphicsWindow.h"
#include "IParam.h"
#include "IPlugHost.h"
#include "ITextControl.h"
#include "ITextStyle.h"
#include "IValueReadout.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowLayout.h"
#include "KyvISplashScreen.h"
#include "KyvMonoCheckView.h"

namespace
{
namespace L = KyvBrindlowLayout;
const IRgba kLabelColour(255, 33, 37, 40);
const IRgba kVersionColour(255, 57, 64, 70);
// While hidden, the splash is shown again by a click in this strip along the top.
const IBounds kSplashHiddenArea(0, 0, L::kPanelWidth, L::kHeaderHeight);

// Where a knob group's controls went: the knob, and the labels of the line under it.
struct KnobGroup
{
  int32_t knob = -1;
  int32_t low = -1, high = -1;
  IBounds under;
};

// A film-strip knob for one parameter with its scale labels: low and high share one
// rectangle under the knob, aligned to its ends; the middle one sits above it.
KnobGroup AddKnobGroup(IGraphicsLice* editor, IEditorDelegate* plug, int32_t param, int32_t x, int32_t y,
                       const ITextStyle& labelStyle, bool showName, const char* low, const char* middle,
                       const char* high)
{
  KnobGroup group;
  const IBitmapStrip strip =
    editor->LoadImageStrip(KyvBrindlowEditor::kKnobId, KyvBrindlowEditor::kKnobName, KyvBrindlowEditor::kKnobFrames);
  IKnobMultiControl* knob = new IKnobMultiControl(plug, x, y, param, strip, kKnobVertical, 4.0);
  group.knob = editor->AddControl(knob);
  knob->SetNoInPlaceEdit(true);

  ITextStyle style(labelStyle);
  if (showName)
  {
    if (IParameter* parameter = plug->ParameterAt(param))
      editor->AddControl(new ITextControl(plug, IBounds(x, y + L::kNameTop, x + L::kKnobSize, y + L::kNameBottom),
                                          style, parameter->HostName()));
  }
  const IBounds under(x + L::kScaleUnderLeft, y + L::kScaleUnderTop, x + L::kScaleUnderRight, y + L::kScaleUnderBottom);
  group.under = under;
  if (low)
  {
    style.mAlignment = kAlignLeft;
    group.low = editor->AddControl(new ITextControl(plug, under, style, low));
  }
  if (middle)
  {
    style.mAlignment = kAlignCentre;
    editor->AddControl(
      new ITextControl(plug, IBounds(x, y + L::kScaleMiddleTop, x + L::kKnobSize, y + L::kScaleMiddleBottom), style, middle));
  }
  if (high)
  {
    style.mAlignment = kAlignRight;
    group.high = editor->AddControl(new ITextControl(plug, under, style, high));
  }
  return group;
}

// The knob's value, in place of the scale line under it while the knob is worked.
void AddKnobReadout(IGraphicsLice* editor, IEditorDelegate* plug, const KnobGroup& group, const ITextStyle& style)
{
  auto* readout = new IValueReadout(plug, group.under, group.knob, style);
  readout->StandInFor(group.low);
  readout->StandInFor(group.high);
  editor->AddControl(readout);
}
} // namespace

void KyvBrindlowEditor::Build(IGraphicsLice* editor, IEditorDelegate* plug, IMonoCheckSource* monoCheck)
{
  // The editor comes first: its window back-end brings the text renderer the styles need.
  // The background sets the editor's size; controls come after the last size change.
  const IBitmapStrip background = editor->LoadImageStrip(kBackgroundId, kBackgroundName, 1);
  editor->SetEditorSize(background.width, background.height + (monoCheck ? L::kMonoStripHeight : 0));
  editor->AttachBackdrop(kBackgroundId, kBackgroundName);
  if (monoCheck)
  {
    const int32_t top = background.height, bottom = top + L::kMonoStripHeight;
    editor->AddControl(new KyvMonoCheckPlot(plug, IBounds(0, top, L::kMonoPlotRight, bottom), monoCheck));
    editor->AddControl(new KyvCorrelationMeter(plug, IBounds(L::kMonoPlotRight, top, background.width, bottom), monoCheck));
  }

  ITextStyle labelStyle(11, &kLabelColour, "Tahoma", kTextNormal, kAlignCentre, 0);
  const KnobGroup delay = AddKnobGroup(editor, plug, KyvBrindlow::kDelay, L::kDelayKnobX, L::kKnobY, labelStyle, false,
                                       "1ms", "20ms", "40ms");
  const KnobGroup mix = AddKnobGroup(editor, plug, KyvBrindlow::kWetMix, L::kMixKnobX, L::kKnobY, labelStyle, false,
                                     "-10dB", "0dB", "+10dB");

  const IBitmapStrip switchStrip = editor->LoadImageStrip(kSwitchId, kSwitchName, kSwitchFrames);
  const int32_t side = editor->AddControl(
    new ISwitchControl(plug, L::kSwitchX, L::kSwitchY, KyvBrindlow::kPan, switchStrip, kBlendThroughAlpha));

  // The values read out while the user works a control (it follows the pointer for that),
  // under the splash, which lies over the whole panel.
  editor->SetTrackHover(true);
  AddKnobReadout(editor, plug, delay, labelStyle);
  AddKnobReadout(editor, plug, mix, labelStyle);
  auto* sideReadout = new IValueReadout(
    plug, IBounds(L::kSideReadoutLeft, L::kSideReadoutTop, L::kSideReadoutRight, L::kSideReadoutBottom), side, labelStyle);
  sideReadout->CoverWith(background, L::kSideReadoutCoverOffset);
  editor->AddControl(sideReadout);

  const IBitmapStrip splash = editor->LoadImageStrip(kSplashId, kSplashName, 1);
  const int32_t splashX = (editor->Width() - splash.width) / 2;
  const int32_t splashY = (editor->Height() - splash.height) / 2;
  mSplashIndex = editor->AddControl(new KyvISplashScreen(plug, splashX, splashY, splash, kSplashHiddenArea));

  ITextStyle versionStyle(12, nullptr, "Tahoma", kTextBold, kAlignCentre, 0);
  versionStyle.mColour = kVersionColour;
  FormatVersionText(KyvBrindlowInfo().vendorVersion, mVersionText, sizeof mVersionText);
  const IBounds versionLine(L::kVersionLeft, L::kVersionTop, L::kVersionRight, L::kVersionBottom);
  editor->AddControl(new ITextControl(plug, versionLine, versionStyle, mVersionText));

  // Every text control holds its own font.
  labelStyle.ReleaseFont();
  versionStyle.ReleaseFont();
}

void KyvBrindlowEditor::Opened(IGraphicsLice* editor)
{
  if (mSplashShowsLeft <= 0) return;
  --mSplashShowsLeft;
  if (IControl* splash = editor ? editor->GetControl(mSplashIndex) : nullptr) splash->ValueFromPlugin(1.0);
}

KyvBrindlowGraphics::KyvBrindlowGraphics(IEditorDelegate* plug) : IGraphicsWindow(plug, 1, 1, KyvBrindlowEditor::kFrameRate)
{
  mLayout.Build(this, plug);
  SetSizeMenu(true);  // a right click on the backdrop offers the editor's sizes
}

KyvBrindlowGraphics::~KyvBrindlowGraphics() = default;

void* KyvBrindlowGraphics::OpenEditorWindow(void* parentWindow)
{
  void* window = IGraphicsWindow::OpenEditorWindow(parentWindow);
  if (window) mLayout.Opened(this);
  UpdateMeter();
  return window;
}

void KyvBrindlowGraphics::CloseEditorWindow()
{
  IGraphicsWindow::CloseEditorWindow();
  UpdateMeter();
}

bool KyvBrindlowGraphics::OpenBackdropMenu(int32_t x, int32_t y)
{
  std::vector<std::string> items = SizeMenuItems();
  const int32_t sizes = int32_t(items.size());
  if (mMonoCheckSource) items.emplace_back(mMonoCheckShown ? kHideMonoCheck : kShowMonoCheck);
  return OpenMenu(x, y, items, SizeMenuMarked(), [this, sizes](int32_t index) {
    if (index < sizes)
      ChooseSizeMenuEntry(index);
    else
      ShowMonoCheck(!mMonoCheckShown);
  });
}

void KyvBrindlowGraphics::SetMonoCheckSource(std::unique_ptr<IMonoCheckSource> source)
{
  if (mMonoCheckShown) ShowMonoCheck(false);
  mMonoCheckSource = std::move(source);
}

void KyvBrindlowGraphics::ShowMonoCheck(bool show)
{
  if (show && !mMonoCheckSource) return;
  if (show == mMonoCheckShown) return;
  mMonoCheckShown = show;
  // Rebuilt at the new size: the splash keeps its count, the new controls learn their
  // parameter's default (for a double click) and then the editor's value.
  mLayout.Build(this, Plug(), show ? mMonoCheckSource.get() : nullptr);
  for (int32_t i = 0; i < ControlCount(); ++i)
  {
    IControl* control = GetControl(i);
    const IParameter* param = Plug() ? Plug()->ParameterAt(control->ParamIdx()) : nullptr;
    if (!param) continue;
    control->ValueFromPlugin(param->ToNormalized(param->DefaultValue()));
    control->ValueFromPlugin(ParameterValue(control->ParamIdx()));
  }
  MarkAllDirty();
  UpdateMeter();
}

void KyvBrindlowGraphics::UpdateMeter()
{
  if (mMonoCheckSource) mMonoCheckSource->SetMeterActive(mMonoCheckShown && EditorWindowOpen());
}
