#include "IParam.h"

#include "IPlugText.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
struct DisplayTextEntry
{
  int value;
  char text[IParameter::kMaxNameLen];
};

void CopyName(char* dst, const char* src)
{
  CopyBoundedText(dst, src, IParameter::kMaxNameLen);
}

// Truncates toward zero; out-of-range values and NaN become a value no text is defined for.
bool TruncateToInt(double v, int* out)
{
  if (!(v > -2147483649.0 && v < 2147483648.0)) return false;
  *out = static_cast<int>(v);
  return true;
}
} // namespace

IParameter::IParameter() : mDisplayTexts(4096)
{
  mName[0] = '\0';
  mLabel[0] = '\0';
}

IParameter::~IParameter() = default;

void IParameter::DefineContinuous(const char* name, double defaultValue, double minimum,
                                  double maximum, double step, const char* label)
{
  if (mKind == kTypeNone) mKind = kTypeContinuous;
  CopyName(mName, name);
  CopyName(mLabel, label);
  mMin = minimum;
  mMax = std::max(maximum, minimum + step);
  mStep = step;
  mValue = defaultValue;
  mDefault = defaultValue;

  int precision = 0;
  double s = step;
  while (std::isfinite(s) && s != std::floor(s) && precision < 6)
  {
    ++precision;
    s *= 10.0;
  }
  mDisplayPrecision = precision;
}

void IParameter::DefineChoice(const char* name, int defaultValue, int count)
{
  if (mKind == kTypeNone) mKind = kTypeChoice;
  DefineContinuous(name, defaultValue, 0.0, static_cast<double>(count) - 1.0, 1.0, "");
}

void IParameter::AddDisplayText(int value, const char* text)
{
  const int n = DisplayTextCount();
  if (!mDisplayTexts.Resize((n + 1) * static_cast<int>(sizeof(DisplayTextEntry)), false)) return;
  DisplayTextEntry* entry = static_cast<DisplayTextEntry*>(mDisplayTexts.Get()) + n;
  entry->value = value;
  CopyName(entry->text, text);
}

int IParameter::DisplayTextCount() const
{
  return mDisplayTexts.GetSize() / static_cast<int>(sizeof(DisplayTextEntry));
}

const char* IParameter::DisplayTextFor(int value) const
{
  const DisplayTextEntry* entries = static_cast<const DisplayTextEntry*>(mDisplayTexts.Get());
  for (int i = 0, n = DisplayTextCount(); i < n; ++i)
  {
    if (entries[i].value == value) return entries[i].text;
  }
  return "";
}

bool IParameter::ValueForDisplayText(const char* text, int* value) const
{
  if (!text) return false;
  const DisplayTextEntry* entries = static_cast<const DisplayTextEntry*>(mDisplayTexts.Get());
  for (int i = 0, n = DisplayTextCount(); i < n; ++i)
  {
    if (std::strcmp(entries[i].text, text) == 0)
    {
      if (value) *value = entries[i].value;
      return true;
    }
  }
  return false;
}

bool IParameter::IsIntegerKind() const
{
  return mKind == kTypeEnumList || mKind == kTypeInt || mKind == kTypeChoice;
}

double IParameter::Clamped(double value) const
{
  return std::min(std::max(value, mMin), mMax);
}

void IParameter::SetValue(double value)
{
  if (std::isnan(value)) return;
  mValue = Clamped(value);
}

namespace
{
// x raised to the parameter's shape; a linear parameter (shape 1, the common case, on the
// audio thread for every host value) skips the pow, whose result would be x itself.
inline double Shaped(double x, double shape)
{
  return shape == 1.0 ? x : std::pow(x, shape);
}
} // namespace

double IParameter::FromHostFloat(float value)
{
  if (!std::isfinite(value)) return static_cast<double>(value);
  // Both conversions ignore the locale: a host's comma as decimal separator changes nothing.
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof(text), value);
  double result = static_cast<double>(value);
  if (written.ec == std::errc()) std::from_chars(text, written.ptr, result);
  return result;
}

void IParameter::SetFromNormalized(double normalized)
{
  if (std::isnan(normalized)) return;
  SetValue(FromNormalized(normalized));
}

double IParameter::FromNormalized(double normalized) const
{
  if (std::isnan(normalized)) return mMin;
  // A position outside 0 ... 1 never drives the value outside the range.
  const double x = std::min(std::max(normalized, 0.0), 1.0);
  double v = mMin + Shaped(x, mShape) * (mMax - mMin);
  if (mKind != kTypeContinuous && mStep > 0.0) v = std::floor(v / mStep + 0.5) * mStep;
  return Clamped(v);
}

double IParameter::ToNormalized(double value) const
{
  const double width = mMax - mMin;
  if (std::isnan(value) || !(width > 0.0) || !std::isfinite(width)) return 0.0;
  return Shaped((Clamped(value) - mMin) / width, 1.0 / mShape);
}

void IParameter::Bounds(double* minimum, double* maximum) const
{
  if (minimum) *minimum = mMin;
  if (maximum) *maximum = mMax;
}

const char* IParameter::LabelFor(double value) const
{
  int v;
  if (TruncateToInt(value, &v) && DisplayTextFor(v)[0]) return "";
  return mLabel;
}

void IParameter::HostDisplayText(double value, bool isNormalized, char* out, int outSize) const
{
  if (!out || outSize <= 0) return;
  const size_t size = static_cast<size_t>(outSize);
  double v = value;
  if (isNormalized) v = mMin + Shaped(v, mShape) * (mMax - mMin);

  int asInt;
  const bool integral = TruncateToInt(v, &asInt);
  if (integral)
  {
    const char* text = DisplayTextFor(asInt);
    if (text[0])
    {
      std::snprintf(out, size, "%s", text);
      return;
    }
  }
  if (mNegateDisplay) v = -v;

  if (v == 0.0)
    std::snprintf(out, size, "0");
  else if (mDisplayPrecision == 0 && TruncateToInt(v, &asInt))
    std::snprintf(out, size, "%d", asInt);
  else if (mDisplayPrecision == 0)
    std::snprintf(out, size, "%.0f", std::trunc(v)); // beyond int: same digits, no overflow
  else
    std::snprintf(out, size, "%.*f", mDisplayPrecision, v);
}

double IParameter::GainForDecibels(double decibels)
{
  return std::exp(decibels * 0.1151292546497);
}

bool IParameter::ValueFromText(const char* text, double* value) const
{
  if (!text || !value) return false;
  if (DisplayTextCount() != 0)
  {
    int textValue = 0;
    if (!ValueForDisplayText(text, &textValue)) return false;
    *value = textValue;
    return true;
  }
  // Infinity and not-a-number, spelt out ("inf", "-NaN") or overflowing ("1e999"), are no
  // value a parameter can take: refused rather than read as 0.
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  if (*p == '+' || *p == '-') ++p;
  auto startsWith = [p](const char* word) {
    for (size_t i = 0; word[i]; ++i)
      if (std::tolower(static_cast<unsigned char>(p[i])) != word[i]) return false;
    return true;
  };
  if (startsWith("inf") || startsWith("nan")) return false;
  const double number = ReadLeadingDecimal(text);
  if (!std::isfinite(number)) return false;
  *value = mNegateDisplay ? -number : number;
  return true;
}

double IParameter::ReadLeadingDecimal(const char* text, const char** end)
{
  if (end) *end = text;
  if (!text) return 0.0;
  auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v') ++p;
  const char* start = p;
  if (*p == '+' || *p == '-') ++p;
  size_t digits = 0;
  while (isDigit(*p)) ++p, ++digits;
  if (*p == '.' && (digits > 0 || isDigit(p[1])))
  {
    ++p;
    while (isDigit(*p)) ++p, ++digits;
  }
  if (digits == 0) return 0.0;
  if (*p == 'e' || *p == 'E')
  {
    // The exponent counts only when at least one digit follows it.
    const char* q = p + 1;
    if (*q == '+' || *q == '-') ++q;
    if (isDigit(*q))
    {
      while (isDigit(*q)) ++q;
      p = q;
    }
  }
  // Only the plain decimal characters found above reach strtod.
  const std::string number(start, p);
  if (end) *end = p;
  return std::strtod(number.c_str(), nullptr);
}
