// The product's editor panel: background, two knobs with scale labels, the side switch,
// the splash screen and the version line, built once by the KyvBrindlow constructor.
#pragma once

#include <cstdint>

class KyvBrindlow;

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
  static constexpr int32_t kKnobFrames = 65;
  static constexpr int32_t kSwitchFrames = 2;
  // How many openings of the editor show the splash.
  static constexpr int32_t kSplashShowings = 3;

  // Builds the editor object, its images and controls, and attaches it to |plug|.
  void Build(KyvBrindlow* plug);
  // Each opening of the editor window: the first kSplashShowings show the splash.
  void Opened(KyvBrindlow* plug);

  int32_t SplashShowsLeft() const { return mSplashShowsLeft; }
  int32_t SplashIndex() const { return mSplashIndex; }
  const char* VersionText() const { return mVersionText; }

private:
  char mVersionText[32] = {};
  int32_t mSplashShowsLeft = kSplashShowings;
  int32_t mSplashIndex = -1;
};
