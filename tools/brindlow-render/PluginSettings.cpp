#include "PluginSettings.h"

#include "IParam.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{
// Points at which the normalised range is sampled when looking for a display text.
constexpr int kScanSteps = 1000;
constexpr int kBisectSteps = 40;

std::string TrimSpaces(const std::string& text)
{
  size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::string JoinQuoted(const std::vector<std::string>& items)
{
  std::string out;
  for (const std::string& item : items) {
    if (!out.empty()) out += ", ";
    out += "\"" + item + "\"";
  }
  return out;
}

std::string ParameterNames(PluginHost& host)
{
  std::vector<std::string> names;
  for (int i = 0; i < host.NumParams(); ++i) names.push_back(host.ParamName(i));
  return names.empty() ? "(the plug-in has no parameters)" : JoinQuoted(names);
}

struct NumericRange
{
  bool known = false;
  double low = 0.0, high = 0.0;
  std::string lowText, highText;
};

NumericRange RangeOf(PluginHost& host, int index)
{
  NumericRange range;
  const std::string at0 = TrimSpaces(host.DisplayForNormalized(index, 0.0f));
  const std::string at1 = TrimSpaces(host.DisplayForNormalized(index, 1.0f));
  double v0 = 0.0, v1 = 0.0;
  int d = 0;
  if (ParseDisplayNumber(at0, v0, d) && ParseDisplayNumber(at1, v1, d) && v0 != v1) {
    range.known = true;
    range.low = std::min(v0, v1);
    range.high = std::max(v0, v1);
    range.lowText = v0 < v1 ? at0 : at1;
    range.highText = v0 < v1 ? at1 : at0;
  }
  return range;
}

std::string RangeText(PluginHost& host, int index, const NumericRange& range)
{
  const std::string label = host.ParamLabel(index);
  return range.lowText + " to " + range.highText + (label.empty() ? "" : " " + label);
}

// The number shown at normalised x, or NaN when the display is not a number.
double NumberAt(PluginHost& host, int index, double x)
{
  double value = 0.0;
  int decimals = 0;
  if (!ParseDisplayNumber(TrimSpaces(host.DisplayForNormalized(index, static_cast<float>(x))), value, decimals))
    return std::nan("");
  return value;
}

// Finds the normalised value whose display shows `target`, assuming the display
// rises (or falls) steadily over the range: bisects to both edges of the band of
// values that display as the target and takes its middle.
bool SearchNumber(PluginHost& host, int index, double target, float& found)
{
  const double at0 = NumberAt(host, index, 0.0), at1 = NumberAt(host, index, 1.0);
  if (std::isnan(at0) || std::isnan(at1) || at0 == at1) return false;
  const bool rising = at1 > at0;
  auto below = [&](double x, bool inclusive) {
    const double v = NumberAt(host, index, x);
    if (std::isnan(v)) return false;
    const double signedV = rising ? v : -v, signedT = rising ? target : -target;
    return inclusive ? signedV <= signedT : signedV < signedT;
  };
  // Lower edge: the first x that no longer displays below the target.
  double lo = 0.0, hi = 1.0;
  for (int i = 0; i < kBisectSteps; ++i) {
    const double mid = 0.5 * (lo + hi);
    (below(mid, false) ? lo : hi) = mid;
  }
  const double lowerEdge = hi;
  // Upper edge: the last x that still displays at most the target.
  lo = 0.0;
  hi = 1.0;
  for (int i = 0; i < kBisectSteps; ++i) {
    const double mid = 0.5 * (lo + hi);
    (below(mid, true) ? lo : hi) = mid;
  }
  const double upperEdge = lo;
  const double candidates[] = {0.5 * (lowerEdge + upperEdge), lowerEdge, upperEdge, 0.0, 1.0};
  for (double x : candidates) {
    const double v = NumberAt(host, index, x);
    if (!std::isnan(v) && DisplayShows(TrimSpaces(host.DisplayForNormalized(index, static_cast<float>(x))), target)) {
      found = static_cast<float>(x);
      return true;
    }
  }
  return false;
}

// Finds the normalised value whose display is `text` (exact, else ignoring case):
// the middle of the first band of sampled values that show it.
bool SearchText(PluginHost& host, int index, const std::string& text, float& found)
{
  for (int pass = 0; pass < 2; ++pass) {
    int first = -1, last = -1;
    for (int k = 0; k <= kScanSteps; ++k) {
      const std::string shown = TrimSpaces(host.DisplayForNormalized(index, static_cast<float>(k) / kScanSteps));
      const bool match = pass == 0 ? shown == text : EqualIgnoringCase(shown, text);
      if (match) {
        if (first < 0) first = k;
        last = k;
      } else if (first >= 0) {
        break;
      }
    }
    if (first >= 0) {
      found = static_cast<float>(0.5 * (first + last) / kScanSteps);
      return true;
    }
  }
  return false;
}

bool CurrentDisplayIs(PluginHost& host, int index, const std::string& text)
{
  return EqualIgnoringCase(TrimSpaces(host.ParamDisplay(index)), text);
}
} // namespace

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool ParseNumber(const std::string& text, double& value)
{
  // The plug-in's own reading of a typed number (IParameter), asked to take the whole text.
  const std::string trimmed = TrimSpaces(text);
  const char* end = nullptr;
  const double v = IParameter::ReadLeadingDecimal(trimmed.c_str(), &end);
  if (trimmed.empty() || end != trimmed.c_str() + trimmed.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool ParseDisplayNumber(const std::string& display, double& value, int& decimals)
{
  const char* text = display.c_str();
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  // Only plain decimal numbers: "inf", "nan" and hexadecimal are not displays of a value.
  const char* digits = text + ((*text == '-' || *text == '+') ? 1 : 0);
  if (!std::isdigit(static_cast<unsigned char>(*digits)) &&
      !(*digits == '.' && std::isdigit(static_cast<unsigned char>(digits[1]))))
    return false;
  if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) return false;
  const char* end = nullptr;
  const double v = IParameter::ReadLeadingDecimal(text, &end);
  if (end == text || !std::isfinite(v)) return false;
  const char* dot = std::strchr(text, '.');
  decimals = (dot && dot < end) ? static_cast<int>(end - dot - 1) : 0;
  value = v;
  return true;
}

bool DisplayShows(const std::string& display, double value)
{
  double shown = 0.0;
  int decimals = 0;
  if (!ParseDisplayNumber(display, shown, decimals)) return false;
  // Half a unit of the last decimal shown, and a little room for binary rounding.
  const double halfUnit = 0.5 * std::pow(10.0, -decimals);
  return std::fabs(shown - value) <= halfUnit * (1.0 + 1e-9) + 1e-12 * std::fabs(value);
}

int FindParameter(PluginHost& host, const std::string& name)
{
  const std::string wanted = TrimSpaces(name);
  for (int i = 0; i < host.NumParams(); ++i)
    if (TrimSpaces(host.ParamName(i)) == wanted) return i;
  for (int i = 0; i < host.NumParams(); ++i)
    if (EqualIgnoringCase(TrimSpaces(host.ParamName(i)), wanted)) return i;
  return -1;
}

std::vector<std::string> DisplayChoices(PluginHost& host, int index)
{
  std::vector<std::string> choices;
  for (int k = 0; k <= kScanSteps; k += 5) {
    const std::string shown = TrimSpaces(host.DisplayForNormalized(index, static_cast<float>(k) / kScanSteps));
    double v = 0.0;
    int d = 0;
    if (shown.empty() || ParseDisplayNumber(shown, v, d)) continue;
    if (std::find(choices.begin(), choices.end(), shown) == choices.end()) choices.push_back(shown);
  }
  return choices;
}

bool SelectProgram(PluginHost& host, const std::string& wanted, std::string& error)
{
  const int count = host.NumPrograms();
  const std::vector<std::string> names = host.ProgramNames();
  auto listing = [&] {
    std::string list;
    for (int i = 0; i < count; ++i) list += "\n  " + std::to_string(i) + "  " + names[static_cast<size_t>(i)];
    return list;
  };
  const std::string trimmed = TrimSpaces(wanted);
  const bool isNumber = !trimmed.empty() && std::all_of(trimmed.begin(), trimmed.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
  int program = -1;
  if (isNumber) {
    errno = 0;
    const long n = std::strtol(trimmed.c_str(), nullptr, 10);
    if (errno != ERANGE && n >= 0 && n < count) program = static_cast<int>(n);
    if (program < 0) {
      error = count == 0 ? "the plug-in has no programs"
                         : "program " + trimmed + " does not exist; programs are 0 to " + std::to_string(count - 1) +
                               ":" + listing();
      return false;
    }
  } else {
    for (int i = 0; i < count && program < 0; ++i)
      if (names[static_cast<size_t>(i)] == trimmed) program = i;
    for (int i = 0; i < count && program < 0; ++i)
      if (EqualIgnoringCase(names[static_cast<size_t>(i)], trimmed)) program = i;
    if (program < 0) {
      error = count == 0 ? "the plug-in has no programs"
                         : "no program is called \"" + trimmed + "\"; the programs are:" + listing();
      return false;
    }
  }
  host.SetProgram(program);
  return true;
}

bool ApplySetting(PluginHost& host, const std::string& name, const std::string& value, std::string& error)
{
  const int index = FindParameter(host, name);
  if (index < 0) {
    error = "the plug-in has no parameter \"" + TrimSpaces(name) + "\"; its parameters are " + ParameterNames(host);
    return false;
  }
  const std::string paramName = host.ParamName(index);
  const std::string text = TrimSpaces(value);
  double number = 0.0;
  if (ParseNumber(text, number)) {
    const NumericRange range = RangeOf(host, index);
    if (range.known) {
      const double slack = 1e-9 * std::max(1.0, range.high - range.low);
      if (number < range.low - slack || number > range.high + slack) {
        error = "\"" + text + "\" is outside the range of \"" + paramName + "\": " + RangeText(host, index, range);
        return false;
      }
    }
    // The plug-in's own conversion is exact when it takes the text and then
    // displays the value asked for.
    if (host.SetParamFromString(index, text) && DisplayShows(TrimSpaces(host.ParamDisplay(index)), number)) return true;
    float x = 0.0f;
    if (SearchNumber(host, index, number, x)) {
      host.SetParamValue(index, x);
      if (DisplayShows(TrimSpaces(host.ParamDisplay(index)), number)) return true;
    }
  } else {
    if (host.SetParamFromString(index, text) && CurrentDisplayIs(host, index, text)) return true;
    float x = 0.0f;
    if (SearchText(host, index, text, x)) {
      host.SetParamValue(index, x);
      if (CurrentDisplayIs(host, index, text)) return true;
    }
  }

  const std::vector<std::string> choices = DisplayChoices(host, index);
  if (!choices.empty()) {
    error = "\"" + text + "\" is not a value of \"" + paramName + "\"; its values are " + JoinQuoted(choices);
    return false;
  }
  const NumericRange range = RangeOf(host, index);
  error = "\"" + paramName + "\" cannot be set to \"" + text + "\"" +
          (range.known ? "; it takes a number from " + RangeText(host, index, range) : std::string());
  return false;
}
