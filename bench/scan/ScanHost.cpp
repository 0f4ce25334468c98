// What a host's scan does with a plug-in module, once, in this fresh process: load it, make
// one instance, destroy it, unload. scan_bench starts it once per timed iteration.
//   scan_host vst2|clap|vst3|lv2 PATH
// Exits 0 when every step worked, 1 (with the reason on stderr) when one did not.
#include <cstdio>
#include <cstring>
#include <string>

#include "ClapHostKit.h"
#include "Lv2HostKit.h"
#include "Vst3HostKit.h"
#include "VstHostKit.h"

namespace
{
bool ScanVst2(const char* path, std::string& error)
{
  hostkit::VstModule module;
  if (!module.Load(path, error)) return false;
  AEffect* effect = module.MakeEffect(&hostkit::PlainHostCallback, error);
  if (!effect) return false;
  hostkit::Dispatch(effect, effOpen);
  hostkit::Dispatch(effect, effClose);
  return true;
}

bool ScanClap(const char* path, std::string& error)
{
  hostkit::ClapModule module;
  if (!module.Load(path, error)) return false;
  hostkit::ClapHost host("scan_host", "1");
  hostkit::ClapInstance instance;
  if (!instance.Create(module, host.Host()))
  {
    error = "no instance";
    return false;
  }
  instance.Destroy();
  return true;
}

bool ScanVst3(const char* path, std::string& error)
{
  vst3host::Module module(path);
  if (!module.Loaded())
  {
    error = module.Error();
    return false;
  }
  vst3host::Instance instance(module);
  if (!instance.Ok()) error = "no component, processor or controller";
  return instance.Ok();
}

bool ScanLv2(const char* path, std::string& error)
{
  hostkit::Lv2Binary binary;
  if (!binary.Load(path, error)) return false;
  const LV2_Descriptor* descriptor = binary.Descriptor("urn:ardelnu:brindlow:stereo");
  hostkit::Lv2UridMap urids;
  const LV2_Feature* const features[] = {urids.MapFeature(), nullptr};
  LV2_Handle instance = descriptor ? descriptor->instantiate(descriptor, 44100.0, "", features) : nullptr;
  if (!instance)
  {
    error = "no stereo descriptor, or it refused to instantiate";
    return false;
  }
  descriptor->cleanup(instance);
  return true;
}
} // namespace

int main(int argc, char** argv)
{
  if (argc != 3)
  {
    std::fprintf(stderr, "usage: scan_host vst2|clap|vst3|lv2 PATH\n");
    return 1;
  }
  const char* format = argv[1];
  const char* path = argv[2];
  std::string error = "unknown format";
  bool ok = false;
  if (!std::strcmp(format, "vst2")) ok = ScanVst2(path, error);
  else if (!std::strcmp(format, "clap")) ok = ScanClap(path, error);
  else if (!std::strcmp(format, "vst3")) ok = ScanVst3(path, error);
  else if (!std::strcmp(format, "lv2")) ok = ScanLv2(path, error);
  if (!ok) std::fprintf(stderr, "scan_host: %s %s: %s\n", format, path, error.c_str());
  return ok ? 0 : 1;
}
