// vst3-moduleinfo: a bundle's Contents/Resources/moduleinfo.json, read from the built
// module's factory, so that the file says what the factory says.
//   vst3-moduleinfo MODULE BUNDLE_NAME OUT.json [--snapshot]   (--snapshot: list
//       Snapshots/<CID>_snapshot.png for each class)
//   vst3-moduleinfo --cid MODULE                               (the first audio class's id)
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "Vst3HostKit.h"

using namespace vst3;

namespace
{
std::string Quoted(const std::string& text)
{
  std::string out = "\"";
  for (char c : text)
  {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) continue;
    out += c;
  }
  return out + "\"";
}

std::string Flag(bool on)
{
  return on ? "true" : "false";
}

// "Fx|Delay" as ["Fx", "Delay"].
std::string SubCategories(const char* text)
{
  std::string out = "[", part;
  for (const char* c = text;; ++c)
  {
    if (*c == '|' || *c == '\0')
    {
      if (!part.empty()) out += (out.size() > 1 ? ", " : "") + Quoted(part);
      part.clear();
      if (*c == '\0') break;
    }
    else
      part += *c;
  }
  return out + "]";
}
} // namespace

int main(int argc, char** argv)
{
  if (argc == 3 && !std::strcmp(argv[1], "--cid"))
  {
    vst3host::Module module(argv[2]);
    PClassInfo2 info{};
    if (!module.FirstAudioClass(&info))
    {
      std::fprintf(stderr, "vst3-moduleinfo: %s\n", module.Loaded() ? "no audio class" : module.Error().c_str());
      return 1;
    }
    std::printf("%s\n", vst3host::UidText(info.cid).c_str());
    return 0;
  }
  if (argc < 4 || argc > 5 || (argc == 5 && std::strcmp(argv[4], "--snapshot")))
  {
    std::fprintf(stderr, "usage: vst3-moduleinfo MODULE BUNDLE_NAME OUT.json [--snapshot] | --cid MODULE\n");
    return 2;
  }
  const bool snapshot = argc == 5;
  vst3host::Module module(argv[1]);
  IPluginFactory2* factory = nullptr;
  PFactoryInfo factoryInfo{};
  if (!module.Loaded() ||
      module.Factory()->queryInterface(IPluginFactory2_iid.bytes, reinterpret_cast<void**>(&factory)) != kResultOk ||
      factory->getFactoryInfo(&factoryInfo) != kResultOk)
  {
    std::fprintf(stderr, "vst3-moduleinfo: %s\n", module.Loaded() ? "no IPluginFactory2" : module.Error().c_str());
    return 1;
  }
  std::string classes, version;
  for (int32 i = 0; i < factory->countClasses(); ++i)
  {
    PClassInfo2 info{};
    if (factory->getClassInfo2(i, &info) != kResultOk) continue;
    const std::string cid = vst3host::UidText(info.cid);
    if (version.empty()) version = info.version;
    classes += std::string(classes.empty() ? "" : ",\n") + "    {\n      \"CID\": " + Quoted(cid) +
               ",\n      \"Category\": " + Quoted(info.category) + ",\n      \"Name\": " + Quoted(info.name) +
               ",\n      \"Vendor\": " + Quoted(info.vendor) + ",\n      \"Version\": " + Quoted(info.version) +
               ",\n      \"SDKVersion\": " + Quoted(info.sdkVersion) + ",\n      \"Sub Categories\": " +
               SubCategories(info.subCategories) + ",\n      \"Class Flags\": " + std::to_string(info.classFlags) +
               ",\n      \"Cardinality\": " + std::to_string(info.cardinality);
    if (snapshot && !std::strcmp(info.category, kVstAudioEffectClass))
      classes += ",\n      \"Snapshots\": [{\"Scale Factor\": 1.0, \"Path\": " +
                 Quoted("Snapshots/" + cid + "_snapshot.png") + "}]";
    classes += "\n    }";
  }
  factory->release();
  const std::string json = "{\n  \"Name\": " + Quoted(argv[2]) + ",\n  \"Version\": " + Quoted(version) +
                           ",\n  \"Factory Info\": {\n    \"Vendor\": " + Quoted(factoryInfo.vendor) +
                           ",\n    \"URL\": " + Quoted(factoryInfo.url) + ",\n    \"E-Mail\": " +
                           Quoted(factoryInfo.email) + ",\n    \"Flags\": {\n      \"Unicode\": " +
                           Flag(factoryInfo.flags & kFactoryFlagUnicode) + ",\n      \"Classes Discardable\": " +
                           Flag(factoryInfo.flags & kFactoryFlagClassesDiscardable) +
                           ",\n      \"Component Non Discardable\": " +
                           Flag(factoryInfo.flags & kFactoryFlagComponentNonDiscardable) +
                           "\n    }\n  },\n  \"Classes\": [\n" + classes + "\n  ]\n}\n";
  std::ofstream out(argv[3], std::ios::binary);
  out << json;
  if (!out.good())
  {
    std::fprintf(stderr, "vst3-moduleinfo: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
