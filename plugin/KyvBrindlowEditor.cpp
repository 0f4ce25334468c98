#include "KyvBrindlowEditor.h"

#include "IBitmapControls.h"
#include "IControl.h"
#include "IEditorDelegate.h"
#include "IGraphicsWindow.h"
#include "IParam.h"
#include "IPlugHost.h"
#include "ITextControl.h"
#include "ITextStyle.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowLayout.h"
#include "KyvISplashScreen.h"

namespace
{
namespace L = KyvBrindlowLayout;
const IRgba kLabelColour(255, 33, 37, 40);
const IRgba kVersionColour(255, 57, 64, 70);
// While hidden, the splash is shown again by a click in this strip along the top.
const IBounds kSplashHiddenArea(0, 0, L::kPanelWidth, L::kHeaderHeight);

// A film-strip knob for one parameter with its scale labels: low and high share one
// rectangle under the knob, aligned to its ends; the middle one sits above it.
void AddKnobGroup(IGraphicsLice* editor, IEditorDelegate* plug, int32_t param, int32_t x, int32_t y,
                  const ITextStyle& labelStyle, bool showName, const char* low, const char* middle,
                  const char* high)
{
  const IBitmapStrip strip =
    editor->LoadImageStrip(KyvBrindlowEditor::kKnobId, KyvBrindlowEditor::kKnobName, KyvBrindlowEditor::kKnobFrames);
  IKnobMultiControl* knob = new IKnobMultiControl(plug, x, y, param, strip, kKnobVertical, 4.0);
  editor->AddControl(knob);
  knob->SetNoInPlaceEdit(true);

  ITextStyle style(labelStyle);
  if (showName)
  {
    if (IParameter* parameter = plug->ParameterAt(param))
      editor->AddControl(new ITextControl(plug, IBounds(x, y + L::kNameTop, x + L::kKnobSize, y + L::kNameBottom),
                                          style, parameter->HostName()));
  }
  const IBounds under(x + L::kScaleUnderLeft, y + L::kScaleUnderTop, x + L::kScaleUnderRight, y + L::kScaleUnderBottom);
  if (low)
  {
    style.mAlignment = kAlignLeft;
    editor->AddControl(new ITextControl(plug, under, style, low));
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
    editor->AddControl(new ITextControl(plug, under, style, high));
  }
}
} // namespace

void KyvBrindlowEditor::Build(IGraphicsLice* editor, IEditorDelegate* plug)
{
  // The editor comes first: its window back-end brings the text renderer the styles need.
  // The background sets the editor's size; controls come after the last size change.
  const IBitmapStrip background = editor->LoadImageStrip(kBackgroundId, kBackgroundName, 1);
  editor->SetEditorSize(background.width, background.height);
  editor->AttachBackdrop(kBackgroundId, kBackgroundName);

  ITextStyle labelStyle(11, &kLabelColour, "Tahoma", kTextNormal, kAlignCentre, 0);
  AddKnobGroup(editor, plug, KyvBrindlow::kDelay, L::kDelayKnobX, L::kKnobY, labelStyle, false, "1ms", "20ms", "40ms");
  AddKnobGroup(editor, plug, KyvBrindlow::kWetMix, L::kMixKnobX, L::kKnobY, labelStyle, false, "-10dB", "0dB", "+10dB");

  const IBitmapStrip switchStrip = editor->LoadImageStrip(kSwitchId, kSwitchName, kSwitchFrames);
  editor->AddControl(new ISwitchControl(plug, L::kSwitchX, L::kSwitchY, KyvBrindlow::kPan, switchStrip, kBlendThroughAlpha));

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

void* KyvBrindlowGraphics::OpenEditorWindow(void* parentWindow)
{
  void* window = IGraphicsWindow::OpenEditorWindow(parentWindow);
  if (window) mLayout.Opened(this);
  return window;
}
