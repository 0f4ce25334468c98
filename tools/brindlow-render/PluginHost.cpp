#include "PluginHost.h"

#include <sys/stat.h>

#include "ClapPluginHost.h"
#include "Vst3PluginHost.h"
#include "VstPluginHost.h"
#if BRINDLOW_RENDER_LV2
#include "Lv2PluginHost.h"
#endif

namespace
{
bool IsDirectory(const std::string& path)
{
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool EndsWith(const std::string& text, const std::string& end)
{
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
} // namespace

std::unique_ptr<PluginHost> PluginHost::Open(const std::string& path, std::string& error)
{
  if (EndsWith(path, ".vst3") || EndsWith(path, ".vst3/"))
  {
    auto host = std::make_unique<Vst3PluginHost>();
    if (!host->Load(path, error)) return nullptr;
    return host;
  }
  if (IsDirectory(path) || path.find("://") != std::string::npos || path.rfind("urn:", 0) == 0)
  {
#if BRINDLOW_RENDER_LV2
    auto host = std::make_unique<Lv2PluginHost>();
    if (!host->Load(path, error)) return nullptr;
    return host;
#else
    error = "cannot load \"" + path + "\": this build hosts no LV2 plug-ins (lilv was not found when it was built)";
    return nullptr;
#endif
  }
  if (EndsWith(path, ".clap"))
  {
    auto host = std::make_unique<ClapPluginHost>();
    if (!host->Load(path, error)) return nullptr;
    return host;
  }
  auto host = std::make_unique<VstPluginHost>();
  if (!host->Load(path, error)) return nullptr;
  return host;
}
