#pragma once
// While the user works a control (drags it, turns the wheel over it, clicks it, or rests the
// pointer on it), the value of its parameter in its units ("23.400 ms", "-4.1 dB", "Left"),
// drawn in place of what the panel shows there at rest. It stays about a second after the
// gesture ends or the pointer leaves; then the panel is painted exactly as before.
//
// GUI thread only. The value shown is the editor's own (IGraphicsLice::ParameterValue, the
// latest the host set or the user's gesture since), never one read from the parameter
// object, whose value host threads may be changing; the parameter lends only its
// definition (range, display texts, label).

#include <string>
#include <vector>

#include "IControl.h"
#include "ITextStyle.h"

class IParameter;

class IValueReadout : public IControl
{
public:
  // |source|: the index in the editor of the control whose parameter is shown. The text is
  // drawn in |bounds| with |style| (its alignment included). Add the read-out after the
  // controls it is drawn over.
  IValueReadout(IEditorDelegate* plug, const IBounds& bounds, int32_t source, const ITextStyle& style);

  // A control (by its index) hidden while the value shows: the one whose place it takes.
  void StandInFor(int32_t controlIndex);
  // For text printed into the backdrop itself: the value's rectangle is first covered with
  // the part of |backdrop| |offsetY| rows below it (plain panel face, no print on it).
  void CoverWith(const IBitmapStrip& backdrop, int32_t offsetY);

  // Follows the gesture and counts the ticks since it ended.
  void IdleHook() override;
  bool Paint(IGraphicsLice* graphics) override;
  // Never under the pointer: the controls beneath keep their clicks and hover.
  bool HitTest(int32_t, int32_t) override { return false; }

  bool Showing() const { return !mText.empty(); }
  // The text shown; empty while nothing is.
  const char* Text() const { return mText.c_str(); }
  int32_t Source() const { return mSource; }
  const std::vector<int32_t>& StandIns() const { return mStandIns; }
  const ITextStyle& Style() const { return mStyle; }
  // How many ticks the value stays once the gesture has ended: a second's worth.
  int32_t LingerTicks() const;

  // The parameter's text for the normalised value, with its label when it has one
  // ("23.400 ms"; a display text such as "Left" stands alone).
  static std::string TextFor(const IParameter& param, double normalized);

private:
  bool GestureUnderWay(int32_t paramIdx);
  void Show(const std::string& text);
  void Hide();
  void HideStandIns(bool hidden);

  int32_t mSource;
  ITextStyle mStyle;
  std::vector<int32_t> mStandIns;
  IBitmapStrip mCover;
  int32_t mCoverOffsetY = 0;
  std::string mText;
  int32_t mTicksLeft = 0;
  bool mEditsKnown = false;
  uint32_t mEditsSeen = 0;
};
