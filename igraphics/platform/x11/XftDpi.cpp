#include "XftDpi.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {
constexpr double kMinDpi = 24.0, kMaxDpi = 960.0;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The dpi of one Xft.dpi value, or 0 unless it is a plain decimal number in range.
double DpiOfValue(std::string value)
{
  while (!value.empty() && IsBlank(value.back())) value.pop_back();
  if (value.empty() || value.find_first_not_of("0123456789.") != std::string::npos) return 0.0;
  char* end = nullptr;
  const double dpi = std::strtod(value.c_str(), &end);
  if (end != value.c_str() + value.size() || !(dpi >= kMinDpi && dpi <= kMaxDpi)) return 0.0;
  return dpi;
}
}  // namespace

double ScaleForXResources(const char* resources, size_t length)
{
  if (!resources) return 0.0;
  double dpi = 0.0;
  const char* const stop = resources + length;
  for (const char* line = resources; line < stop;)
  {
    const char* newline = static_cast<const char*>(std::memchr(line, '\n', size_t(stop - line)));
    const char* end = newline ? newline : stop;
    // "name : value", blanks allowed around the name and before the value; a later line
    // of the same name wins, as in the server's database.
    const char* p = line;
    while (p < end && IsBlank(*p)) ++p;
    static const char kName[] = "Xft.dpi";
    const size_t nameLength = sizeof(kName) - 1;
    if (size_t(end - p) > nameLength && std::memcmp(p, kName, nameLength) == 0)
    {
      p += nameLength;
      while (p < end && IsBlank(*p)) ++p;
      if (p < end && *p == ':')
      {
        ++p;
        while (p < end && IsBlank(*p)) ++p;
        dpi = DpiOfValue(std::string(p, end));
      }
    }
    line = end + 1;
  }
  return dpi / 96.0;
}
