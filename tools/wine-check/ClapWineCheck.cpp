// A minimal Windows CLAP host that checks a built Brindlow.clap the way a host first
// meets it: load the DLL, find the clap_entry data export, read the descriptor, make an
// instance, process an impulse, and save, load and save its state again; then the
// editor, opened in a window of the host's and driven with mouse messages
// (ClapEditorWineCheck.cpp). Run under Wine, once per width the machine can run, by
// tools/test-windows.sh.
//
//   ClapWineCheck.exe path\to\Brindlow.clap reference.png
//
// reference.png: the Linux headless snapshot of the editor at its defaults, splash
// hidden (brindlow-render --editor-snapshot). Exits 0 when every check passes.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ClapWineHost.h"
#include "WineCheck.h"

using namespace winecheck;

namespace
{
constexpr double kSampleRate = 44100.0;
constexpr uint32_t kFrames = 2048;
constexpr uint32_t kDefaultDelayFrames = 882; // the default 20 ms at 44.1 kHz
} // namespace

int main(int argc, char** argv)
{
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 3)
  {
    std::printf("usage: ClapWineCheck.exe Brindlow.clap reference.png\n");
    return 2;
  }
  const char* path = argv[1];
  // Loaded, clap_entry found and its version checked, but not initialised: init is
  // checked here.
  hostkit::ClapModule module;
  std::string error;
  const bool loaded = module.Load(path, error, false);
  Check(loaded, "the module loads, clap_entry is exported, its CLAP version is 1.x" + (loaded ? "" : ": " + error));
  if (!loaded) return 1;
  const clap_plugin_entry_t* entry = module.Entry();
  Check(entry->init(path), "init");
  Check(entry->init(path), "init again (counted)");
  entry->deinit();
  const clap_plugin_factory_t* factory = module.PluginFactory();
  Check(factory && factory->get_plugin_count(factory) == 1, "one plug-in in the factory");
  Check(entry->get_factory("clap.invented-factory") == nullptr, "unknown factories are null");
  const clap_plugin_descriptor_t* desc = factory ? factory->get_plugin_descriptor(factory, 0) : nullptr;
  Check(desc && !std::strcmp(desc->id, "com.ardelnu.brindlow"), "descriptor id");
  Check(desc && !std::strcmp(desc->name, "Brindlow-Mono/Stereo Delay"), "descriptor name");
  Check(desc && !std::strcmp(desc->version, "1.3.0"), "descriptor version");
  if (!desc) return 1;

  {
    ClapWineHost host;
    hostkit::ClapInstance instance;
    Check(instance.Create(module, host.Host(), desc->id), "create and init an instance");
    const clap_plugin_t* plugin = instance.Plugin();
    if (!plugin) return 1;
    Check(instance.Extension<clap_plugin_gui_t>(CLAP_EXT_GUI) != nullptr, "an editor is offered");
    Check(instance.Activate(kSampleRate, 1, kFrames) && instance.StartProcessing(), "activate");

    // An impulse: the leading (left) side passes it at once, the lagging one after 20 ms.
    std::vector<float> in0(kFrames), in1(kFrames), out0(kFrames, 9.0f), out1(kFrames, 9.0f);
    in0[0] = in1[0] = 1.0f;
    float* ins[2] = {in0.data(), in1.data()};
    float* outs[2] = {out0.data(), out1.data()};
    hostkit::ClapProcessCall call;
    call.SetAudio(ins, 2, outs, 2);
    Check(call.Run(plugin, kFrames) == CLAP_PROCESS_CONTINUE, "process");
    bool shape = out0[0] == 1.0f && out1[kDefaultDelayFrames] == 1.0f;
    for (uint32_t i = 1; i < kFrames; ++i) shape = shape && out0[i] == 0.0f;
    for (uint32_t i = 0; i < kFrames; ++i)
      if (i != kDefaultDelayFrames) shape = shape && out1[i] == 0.0f;
    Check(shape, "the impulse leads on the left and lags 882 frames on the right");
    instance.Deactivate();

    // A few bytes per call, as some hosts move them: five out, three in.
    std::vector<uint8_t> first, second;
    Check(instance.SaveState(first, 5) && !first.empty(), "state saved");
    Check(instance.LoadState(first, 3), "state loaded, three bytes at a time");
    Check(instance.SaveState(second, 5) && first == second, "saved again: the same bytes");
  }

  RunClapEditorChecks(module, desc->id, argv[2]);
  entry->deinit();
  std::printf("%s: %d check(s) failed\n", Failures() ? "FAILED" : "PASSED", Failures());
  return Failures() ? 1 : 0;
}
