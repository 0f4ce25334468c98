#include "MonoCheckReport.h"

#include <cmath>
#include <cstdio>

namespace
{
// Parameters named in the settings line; a plug-in with more gets a count.
constexpr int kNamedParameters = 8;
constexpr double kFlatDb = 0.005; // a level range narrower than this is shown as one value

std::string Format(const char* format, double value)
{
  char text[64];
  std::snprintf(text, sizeof(text), format, value);
  return text;
}

std::string Db(double db)
{
  return std::isinf(db) ? (db < 0 ? "-inf dB" : "inf dB") : Format("%.2f dB", db);
}

std::string Hz(double frequency)
{
  return Format("%.2f Hz", frequency);
}

std::string LevelRangeText(double minDb, double maxDb)
{
  if (std::isinf(minDb) && std::isinf(maxDb) && minDb == maxDb) return Db(minDb);
  if (maxDb - minDb < kFlatDb) return Db(0.5 * (minDb + maxDb)) + " (flat)";
  return Db(minDb) + " to " + Db(maxDb);
}

std::string Trimmed(std::string text)
{
  while (!text.empty() && text.back() == ' ') text.pop_back();
  size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  return text.substr(start);
}

void Line(std::ostream& out, const char* label, const std::string& value)
{
  char padded[32];
  std::snprintf(padded, sizeof(padded), "%-24s", label);
  out << padded << value << "\n";
}

std::string JsonString(const std::string& text)
{
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

// Finite numbers as they are; -inf, inf and NaN have no JSON form and read null.
std::string JsonNumber(double value, const char* format = "%.6g")
{
  return std::isfinite(value) ? Format(format, value) : "null";
}

std::string JsonPoint(const SpectrumPoint& p)
{
  return "{\"frequency_hz\": " + JsonNumber(p.frequency) + ", \"db\": " + JsonNumber(p.db) + "}";
}

std::string JsonRange(double minDb, double maxDb)
{
  return "{\"min_db\": " + JsonNumber(minDb) + ", \"max_db\": " + JsonNumber(maxDb) + "}";
}
} // namespace

MonoCheckSubject DescribeSubject(PluginHost& host)
{
  MonoCheckSubject subject;
  subject.plugin = Trimmed(host.EffectName());
  if (subject.plugin.empty()) subject.plugin = Trimmed(host.ProductName());
  if (subject.plugin.empty()) subject.plugin = "(unnamed plug-in)";
  std::string settings;
  if (host.NumPrograms() > 0) {
    const std::vector<std::string> names = host.ProgramNames();
    const int current = host.CurrentProgram();
    if (current >= 0 && current < static_cast<int>(names.size()) && !Trimmed(names[static_cast<size_t>(current)]).empty())
      settings = "\"" + Trimmed(names[static_cast<size_t>(current)]) + "\": ";
  }
  const int shown = std::min(host.NumParams(), kNamedParameters);
  for (int i = 0; i < shown; ++i) {
    const std::string label = Trimmed(host.ParamLabel(i));
    settings += (i ? ", " : "") + Trimmed(host.ParamName(i)) + " " + Trimmed(host.ParamDisplay(i)) +
                (label.empty() ? "" : " " + label);
  }
  if (host.NumParams() > shown) settings += " and " + std::to_string(host.NumParams() - shown) + " more";
  if (host.NumParams() == 0 && settings.size() >= 2) settings.resize(settings.size() - 2);
  subject.settings = settings.empty() ? "(no parameters)" : settings;
  return subject;
}

void PrintMonoCheck(std::ostream& out, const MonoCheckSubject& subject, const MonoCheckResult& result,
                    const RenderedFoldDown* rendered)
{
  Line(out, "Plug-in:", subject.plugin);
  Line(out, "Settings:", subject.settings);
  Line(out, "Sample rate:", Format("%.0f Hz", result.sampleRate));
  Line(out, "Impulse response:", result.lengthNote);
  Line(out, "Left output:", LevelRangeText(result.leftMinDb, result.leftMaxDb));
  Line(out, "Right output:", LevelRangeText(result.rightMinDb, result.rightMaxDb));
  Line(out, "Mono sum peak:", Db(result.monoPeak.db) + " at " + Hz(result.monoPeak.frequency));
  if (result.notches.empty()) {
    Line(out, "Mono sum notches:", "none below 20 kHz");
  } else {
    std::string deepest = Db(result.deepestNotch.db) + " at " + Hz(result.deepestNotch.frequency);
    if (std::isinf(result.deepestNotch.db)) deepest += " (the two sides cancel completely)";
    Line(out, "Mono sum deepest notch:", deepest);
    Line(out, "Notches below 20 kHz:", std::to_string(result.notches.size()));
    std::string first;
    for (size_t i = 0; i < result.notches.size() && i < kListedNotches; ++i)
      first += (i ? " " : "") + Format("%.2f", result.notches[i].frequency);
    Line(out, "First notches:", first + " Hz");
    if (result.notches.size() >= 2) Line(out, "Notch spacing:", Hz(result.notchSpacing));
  }
  if (result.endEnergyDb > kRingingDb)
    Line(out, "Warning:", "the plug-in was still ringing when the response was cut (" + Db(result.endEnergyDb) +
                              " of its energy in the last tenth); figures below " +
                              Hz(result.sampleRate / static_cast<double>(std::max<int64_t>(result.responseFrames, 1))) +
                              " are rough");
  if (!rendered) return;
  const FoldDownStats& s = rendered->stats;
  Line(out, "Rendered file:", rendered->path);
  Line(out, "RMS left:", Format("%.2f dBFS", s.leftRmsDb));
  Line(out, "RMS right:", Format("%.2f dBFS", s.rightRmsDb));
  Line(out, "RMS mono sum:", Format("%.2f dBFS", s.monoRmsDb));
  Line(out, "L/R correlation:", std::isnan(s.correlation) ? "undefined (a side is silent)" : Format("%.4f", s.correlation));
  Line(out, "Mono sum loss:", std::isnan(s.monoLossDb) ? "undefined (the file is silent)" : Db(s.monoLossDb));
}

void PrintMonoCheckJson(std::ostream& out, const MonoCheckSubject& subject, const MonoCheckResult& result,
                        const RenderedFoldDown* rendered)
{
  std::string first;
  for (size_t i = 0; i < result.notches.size() && i < kListedNotches; ++i)
    first += (i ? ", " : "") + JsonNumber(result.notches[i].frequency, "%.4f");
  out << "{\n"
      << "  \"plugin\": " << JsonString(subject.plugin) << ",\n"
      << "  \"settings\": " << JsonString(subject.settings) << ",\n"
      << "  \"sample_rate\": " << JsonNumber(result.sampleRate) << ",\n"
      << "  \"response_frames\": " << result.responseFrames << ",\n"
      << "  \"response_end_energy_db\": " << JsonNumber(result.endEnergyDb) << ",\n"
      << "  \"left\": " << JsonRange(result.leftMinDb, result.leftMaxDb) << ",\n"
      << "  \"right\": " << JsonRange(result.rightMinDb, result.rightMaxDb) << ",\n"
      << "  \"mono_peak\": " << JsonPoint(result.monoPeak) << ",\n"
      << "  \"deepest_notch\": " << (result.notches.empty() ? "null" : JsonPoint(result.deepestNotch)) << ",\n"
      << "  \"notch_count\": " << result.notches.size() << ",\n"
      << "  \"first_notches_hz\": [" << first << "],\n"
      << "  \"notch_spacing_hz\": " << (result.notches.size() >= 2 ? JsonNumber(result.notchSpacing) : "null");
  if (rendered) {
    const FoldDownStats& s = rendered->stats;
    out << ",\n  \"rendered\": {\"file\": " << JsonString(rendered->path) << ", \"frames\": " << s.frames
        << ", \"rms_left_dbfs\": " << JsonNumber(s.leftRmsDb) << ", \"rms_right_dbfs\": " << JsonNumber(s.rightRmsDb)
        << ", \"rms_mono_dbfs\": " << JsonNumber(s.monoRmsDb) << ", \"correlation\": " << JsonNumber(s.correlation)
        << ", \"mono_loss_db\": " << JsonNumber(s.monoLossDb) << "}";
  }
  out << "\n}\n";
}
