#include "PluginInfo.h"

#include "PluginSettings.h"

#include <cstdio>

std::string FourCharText(int id)
{
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((static_cast<unsigned>(id) >> shift) & 0xFF);
    if (c < 0x20 || c > 0x7E) return "";
    text += c;
  }
  return text;
}

namespace
{
std::string WithLabel(const std::string& display, const std::string& label)
{
  return label.empty() ? display : display + " " + label;
}

const char* CategoryName(int category)
{
  switch (category) {
  case 1: return "effect";
  case 2: return "instrument";
  case 3: return "metering";
  case 4: return "mastering";
  case 5: return "spatialiser";
  case 6: return "room effect";
  case 7: return "surround effect";
  case 8: return "restoration";
  case 9: return "offline processing";
  case 10: return "shell";
  case 11: return "generator";
  default: return "unknown";
  }
}
} // namespace

void PrintPluginInfo(PluginHost& host, const std::string& path, std::ostream& out)
{
  char hex[16];
  std::snprintf(hex, sizeof(hex), "0x%08X", static_cast<unsigned>(host.UniqueId()));
  const std::string fourChars = FourCharText(host.UniqueId());

  out << "Plug-in:    " << path << "\n";
  out << "Name:       " << host.EffectName() << "\n";
  out << "Vendor:     " << host.VendorName() << "\n";
  const std::string product = host.ProductName();
  if (!product.empty()) out << "Product:    " << product << "\n";
  // The entry object's version is what every host shows; the vendor version is optional.
  const int version = host.Version();
  out << "Version:    " << version << " (" << version / 10000 << "." << version / 100 % 100 << "." << version % 100
      << ")\n";
  const int vendorVersion = host.VendorVersion();
  if (vendorVersion != 0 && vendorVersion != version) out << "Vendor ver: " << vendorVersion << "\n";
  out << "Unique ID:  " << hex << (fourChars.empty() ? "" : " '" + fourChars + "'") << "\n";
  out << "Category:   " << CategoryName(host.Category()) << "\n";
  out << "I/O:        " << host.NumInputs() << (host.NumInputs() == 1 ? " input, " : " inputs, ")
      << host.NumOutputs() << (host.NumOutputs() == 1 ? " output" : " outputs") << "\n";
  out << "Processing: " << (host.CanReplacing() ? "32-bit" : "") << (host.CanReplacing() && host.CanDoubleReplacing() ? " and " : "")
      << (host.CanDoubleReplacing() ? "64-bit" : "") << "\n";
  out << "Editor:     " << (host.HasEditor() ? "yes" : "no") << "\n";
  out << "Latency:    " << host.LatencySamples() << " samples\n";

  out << "\nParameters (" << host.NumParams() << "):\n";
  for (int i = 0; i < host.NumParams(); ++i) {
    const std::string label = host.ParamLabel(i);
    const std::string current = WithLabel(host.ParamDisplay(i), label);
    const float normalized = host.ParamValue(i);
    const std::vector<std::string> choices = DisplayChoices(host, i);
    std::string range;
    if (!choices.empty()) {
      for (const std::string& c : choices) range += (range.empty() ? "" : " | ") + c;
    } else {
      range = host.DisplayForNormalized(i, 0.0f) + " to " + WithLabel(host.DisplayForNormalized(i, 1.0f), label);
    }
    char norm[32];
    std::snprintf(norm, sizeof(norm), "%.6g", static_cast<double>(normalized));
    out << "  " << i << "  " << host.ParamName(i) << "\n"
        << "       range:   " << range << "\n"
        << "       default: " << current << " (normalised " << norm << ")\n"
        << "       label:   " << (label.empty() ? "(none)" : label) << "\n";
  }

  const std::vector<std::string> names = host.ProgramNames();
  out << "\nPrograms (" << names.size() << "):\n";
  for (size_t i = 0; i < names.size(); ++i) out << "  " << i << "  " << names[i] << "\n";
}
