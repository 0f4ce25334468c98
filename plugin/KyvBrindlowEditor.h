// The product's editor panel: background, two knobs with scale labels, the side switch,
// the read-outs of their values while they are worked, the splash screen and the version
// line. Built from the product's description only, so the same panel runs beside the DSP
// (VST, CLAP) or in an editor-only binary (LV2).
#pragma once

#include <cstdint>
#include <memory>

#include "IGraphicsWindow.h"
#include "KyvBrindlowLayout.h"

class IEditorDelegate;
class IGraphicsLice;
class IMonoCheckSource;
class KyvBrindlow;

// Where the panel's pieces are, and how many more openings show the splash.
class KyvBrindlowEditor
{
public:
  // Artwork resources (PNG) and their names.
  enum EImage : int32_t
  {
    kBackgroundId = 100,
    kSwitchId = 101,
    kKnobId = 102,
    kSplashId = 103,
  };
  static constexpr const char* kBackgroundName = "img/kyvBrindlow.png";
  static constexpr const char* kSwitchName = "img/switch.png";
  static constexpr const char* kKnobName = "img/knob.png";
  static constexpr const char* kSplashName = "img/splash.png";
  static constexpr int32_t kKnobFrames = KyvBrindlowLayout::kKnobFrames;
  static constexpr int32_t kSwitchFrames = KyvBrindlowLayout::kSwitchFrames;
  // How many openings of the editor show the splash.
  static constexpr int32_t kSplashShowings = 3;
  static constexpr int32_t kFrameRate = 30;

  // GUI thread: adds the panel's images and controls to editor, whose controls edit
  // plug's parameters; with |monoCheck| (not owned) the mono-check strip under the panel
  // too, the editor then as much taller.
  void Build(IGraphicsLice* editor, IEditorDelegate* plug, IMonoCheckSource* monoCheck = nullptr);
  // GUI thread, each opening of the editor window: the first kSplashShowings show the splash.
  void Opened(IGraphicsLice* editor);

  int32_t SplashShowsLeft() const { return mSplashShowsLeft; }
  // For an editor that lives shorter than its plug-in (one per opening): the count
  // carried over from the one before.
  void SetSplashShowsLeft(int32_t left) { mSplashShowsLeft = left; }
  int32_t SplashIndex() const { return mSplashIndex; }
  const char* VersionText() const { return mVersionText; }

private:
  char mVersionText[32] = {};
  int32_t mSplashShowsLeft = kSplashShowings;
  int32_t mSplashIndex = -1;
};

// The product's editor: the toolkit's window with the panel in it.
class KyvBrindlowGraphics : public IGraphicsWindow
{
public:
  // GUI thread (or construction): the panel for plug, at the editor size.
  explicit KyvBrindlowGraphics(IEditorDelegate* plug);
  ~KyvBrindlowGraphics() override;
  // GUI thread: opens the window; a window that opened counts towards the splash.
  void* OpenEditorWindow(void* parentWindow) override;

  void CloseEditorWindow() override;
  // The backdrop's menu: the editor's sizes, then "Show mono check" or "Hide mono check"
  // (where the plug-in gives the strip a source).
  bool OpenBackdropMenu(int32_t x, int32_t y) override;
  static constexpr const char* kShowMonoCheck = "Show mono check";
  static constexpr const char* kHideMonoCheck = "Hide mono check";

  KyvBrindlowEditor& Layout() { return mLayout; }

  // GUI thread: what the mono-check strip reads of the plug-in (the editor owns it); the
  // strip cannot be shown without one.
  void SetMonoCheckSource(std::unique_ptr<IMonoCheckSource> source);
  // GUI thread: shows the mono-check strip under the panel, or hides it; the editor grows
  // or shrinks by it and tells the host. The choice holds for the editor's life.
  void ShowMonoCheck(bool show);
  bool MonoCheckShown() const { return mMonoCheckShown; }

private:
  // The meter gathers only while the strip is shown in an open window.
  void UpdateMeter();

  KyvBrindlowEditor mLayout;
  std::unique_ptr<IMonoCheckSource> mMonoCheckSource;
  bool mMonoCheckShown = false;
};

// The plug-in with its editor attached, as the formats that carry the editor in the
// plug-in's own module (VST 2.4, CLAP) make it.
KyvBrindlow* MakeKyvBrindlow();
