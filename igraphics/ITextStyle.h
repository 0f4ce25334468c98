#pragma once
// Text appearance shared by text controls and the text back-end.

#include "IGraphicsTypes.h"

class IPlatformFont;

enum ITextWeight : int32_t { kTextNormal = 0, kTextBold = 1, kTextItalic = 2 };
enum ITextAlign : int32_t { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

class ITextStyle
{
public:
  static constexpr int kFaceBytes = 32;

  // |colour| null means opaque black, |face| null or empty means "Arial".
  // The platform font is made at once.
  ITextStyle(int32_t size = 14, const IRgba* colour = nullptr, const char* face = nullptr,
             int32_t style = kTextNormal, int32_t alignment = kAlignLeft, int32_t orientation = 0);
  // A copy takes every setting but never shares the source's font: it makes its own.
  ITextStyle(const ITextStyle& other);
  ITextStyle& operator=(const ITextStyle& other);
  ~ITextStyle();

  // Rebuilds the platform font from the current settings (the old one is deleted).
  void MakeFont();
  // Deletes the platform font early; the style stays usable for copies.
  void ReleaseFont();
  // This style drawn at an editor scale: its font is mSize * scale pixels (a fractional
  // size where the renderer has them). The copy is kept, with its font, until the style
  // is asked for another scale, changed by assignment, or its font is released.
  const ITextStyle& AtScale(double scale) const;

  const char* Face() const { return mFace; }
  void SetFace(const char* face);

  char mFace[kFaceBytes];
  IPlatformFont* mFont = nullptr;
  int32_t mSize;
  IRgba mColour;
  int32_t mStyle;
  int32_t mAlignment;
  int32_t mOrientation;
  // The scale the font is made for (see AtScale); 1 for a style of the panel.
  double mDeviceScale = 1.0;

private:
  mutable ITextStyle* mScaled = nullptr;

  void CopySettings(const ITextStyle& other);
};
