#include "IPlugTrace.h"

#include <ctime>
#include <mutex>

void EmitTrace(const char*, int, const char*, ...)
{
  // Tracing is switched off in this product: every record is discarded.
}

const char* TraceTimestamp()
{
  static char sTimestamp[128];
  static std::mutex sMutex;
  std::lock_guard<std::mutex> guard(sMutex);

  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (!local)
  {
    sTimestamp[0] = '\0';
    return sTimestamp;
  }
  char zone[64];
  size_t len = std::strftime(sTimestamp, sizeof sTimestamp, "%Y%m%d %H:%M ", local);
  if (std::strftime(zone, sizeof zone, "%Z", local) == 0) zone[0] = '\0';
  // Keep only the capitals of the zone name: "W. Europe Standard Time" becomes "WEST".
  for (const char* c = zone; *c && len + 1 < sizeof sTimestamp; ++c)
  {
    if (*c >= 'A' && *c <= 'Z') sTimestamp[len++] = *c;
  }
  sTimestamp[len] = '\0';
  return sTimestamp;
}
