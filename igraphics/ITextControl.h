#pragma once
// A line of text drawn in its own copy of a text style.

#include <string>

#include "IControl.h"
#include "ITextStyle.h"

class ITextControl : public IControl
{
public:
  ITextControl(IEditorDelegate* plug, const IBounds& bounds, const ITextStyle& style, const char* text);

  bool Paint(IGraphicsLice* graphics) override;

  void SetText(const char* text);
  const char* Text() const { return mText.c_str(); }
  const ITextStyle& Style() const { return mStyle; }

protected:
  ITextStyle mStyle;
  std::string mText;
};
