// IParameter: one automatable plug-in value with its range, step, texts and the
// conversion to and from the normalised range 0 ... 1 used by hosts and controls.
#pragma once

#include "GrowBuffer.h"

class IParameter
{
public:
  enum EKind
  {
    kTypeNone = 0,
    kTypeEnumList = 1, // integer values offered as a list
    kTypeInt = 2,
    kTypeChoice = 3,   // one of count values 0 ... count - 1
    kTypeContinuous = 4,
  };

  static constexpr int kMaxNameLen = 32;          // name, label and display texts: 31 characters
  static constexpr int kDisplayTextBufferSize = 64; // room enough for HostDisplayText

  IParameter();
  ~IParameter();
  IParameter(const IParameter&) = delete;
  IParameter& operator=(const IParameter&) = delete;

  void DefineContinuous(const char* name, double defaultValue, double minimum, double maximum,
                        double step, const char* label = "");
  void DefineChoice(const char* name, int defaultValue, int count);

  // Appends a text shown for value; the first text defined for a value wins.
  void AddDisplayText(int value, const char* text);
  int DisplayTextCount() const;
  // The first text defined for value, or the empty text.
  const char* DisplayTextFor(int value) const;
  // The value of the first entry whose text equals text exactly (case-sensitive).
  bool ValueForDisplayText(const char* text, int* value) const;

  // Reads a typed or host-given text as a real value of this parameter. With display texts,
  // the value of the text that equals it exactly; otherwise the longest leading decimal
  // number (ReadLeadingDecimal; 0 when there is none), negated for a negated display. Not
  // clamped. False when no display text matches, or the text spells or overflows to an
  // infinity or not-a-number ("inf", "nan", "1e999").
  bool ValueFromText(const char* text, double* value) const;

  // The longest leading part of |text| that reads as a decimal number: blanks skipped, an
  // optional sign, digits with an optional fraction, an optional exponent. Hexadecimal,
  // "inf" and "nan" are not decimal numbers ("0x1A" reads as 0). Answers 0 when there is
  // none; |end| (optional) receives the first character not read (|text| when none was).
  static double ReadLeadingDecimal(const char* text, const char** end = nullptr);

  // The real value a host's 32-bit number stands for: the shortest decimal that reads
  // back as that float ("-4.1" for the float nearest -4.1), as a double. Formats whose
  // values travel as floats (LV2 control ports, preset files) thereby reach the same
  // value as one given in full precision. Allocates nothing; NaN and infinities stay so.
  static double FromHostFloat(float value);

  // Sets the value from a normalised position; integer kinds snap to the step. The result
  // always lies inside the range; NaN leaves the value unchanged.
  void SetFromNormalized(double normalized);
  double ToNormalized(double value) const;
  // The value a normalised position sets (as SetFromNormalized would), without setting it.
  double FromNormalized(double normalized) const;
  double Normalized() const { return ToNormalized(mValue); }

  void Bounds(double* minimum, double* maximum) const;
  const char* HostName() const { return mName; }
  // The label, or the empty text when the current value has a display text of its own.
  const char* HostLabel() const { return LabelFor(mValue); }
  // The same for a real value of this parameter, read from nothing but its definition (an
  // editor's read-out shows values it holds itself, never the parameter's own).
  const char* LabelFor(double value) const;
  // The text a host shows for value (normalised or real), written into out (outSize bytes,
  // always terminated; kDisplayTextBufferSize holds any value of a sensible range).
  void HostDisplayText(double value, bool isNormalized, char* out, int outSize) const;
  // The current value read as decibels, as a linear gain factor.
  double GainFromDecibels() const { return GainForDecibels(mValue); }
  // Any value in decibels as a linear gain factor, the way GainFromDecibels reads it.
  static double GainForDecibels(double decibels);

  int Kind() const { return mKind; }
  void SetKind(int kind) { mKind = kind; }
  double Value() const { return mValue; }
  // The value the parameter was defined with (DefineContinuous, DefineChoice).
  double DefaultValue() const { return mDefault; }
  // Sets the real value clamped to the range; NaN leaves the value unchanged.
  void SetValue(double value);
  double Minimum() const { return mMin; }
  double Maximum() const { return mMax; }
  double Step() const { return mStep; }
  double Shape() const { return mShape; }
  int DisplayPrecision() const { return mDisplayPrecision; }
  bool NegatedDisplay() const { return mNegateDisplay; }
  void SetNegatedDisplay(bool negated) { mNegateDisplay = negated; }
  // True for the kinds whose values travel as 32-bit integers in preset definitions.
  bool IsIntegerKind() const;

private:
  double Clamped(double value) const;

  int mKind = kTypeNone;
  double mValue = 0.0;
  double mDefault = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  int mDisplayPrecision = 0;
  char mName[kMaxNameLen];
  char mLabel[kMaxNameLen];
  bool mNegateDisplay = false;
  GrowBuffer mDisplayTexts; // DisplayTextEntry records in definition order
};
