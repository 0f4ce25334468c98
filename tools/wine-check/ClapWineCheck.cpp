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
#include "clap_abi.h"

using namespace winecheck;

namespace
{
constexpr double kSampleRate = 44100.0;
constexpr uint32_t kFrames = 2048;
constexpr uint32_t kDefaultDelayFrames = 882; // the default 20 ms at 44.1 kHz

uint32_t CLAP_ABI NoEvents(const clap_input_events_t*) { return 0; }
const clap_event_header_t* CLAP_ABI NoEvent(const clap_input_events_t*, uint32_t) { return nullptr; }
bool CLAP_ABI DropEvent(const clap_output_events_t*, const clap_event_header_t*) { return true; }

int64_t CLAP_ABI Write(const clap_ostream_t* stream, const void* buffer, uint64_t size)
{
  auto* bytes = static_cast<std::vector<uint8_t>*>(stream->ctx);
  const uint64_t n = size < 5 ? size : 5; // a few bytes per call, as some hosts move them
  bytes->insert(bytes->end(), static_cast<const uint8_t*>(buffer), static_cast<const uint8_t*>(buffer) + n);
  return static_cast<int64_t>(n);
}

struct Reader
{
  const std::vector<uint8_t>* bytes;
  size_t pos;
};

int64_t CLAP_ABI Read(const clap_istream_t* stream, void* buffer, uint64_t size)
{
  auto* reader = static_cast<Reader*>(stream->ctx);
  uint64_t n = reader->bytes->size() - reader->pos;
  if (n > size) n = size;
  if (n > 3) n = 3;
  std::memcpy(buffer, reader->bytes->data() + reader->pos, static_cast<size_t>(n));
  reader->pos += static_cast<size_t>(n);
  return static_cast<int64_t>(n);
}
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
  HMODULE module = LoadLibraryA(path);
  Check(module != nullptr, "the module loads");
  if (!module) return 1;
  const auto* entry = reinterpret_cast<const clap_plugin_entry_t*>(GetProcAddress(module, "clap_entry"));
  Check(entry != nullptr, "clap_entry is exported");
  if (!entry) return 1;
  Check(clap_version_is_compatible(entry->clap_version), "the entry's CLAP version is 1.x");
  Check(entry->init(path), "init");
  Check(entry->init(path), "init again (counted)");
  entry->deinit();
  auto factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
  Check(factory && factory->get_plugin_count(factory) == 1, "one plug-in in the factory");
  Check(entry->get_factory("clap.invented-factory") == nullptr, "unknown factories are null");
  const clap_plugin_descriptor_t* desc = factory ? factory->get_plugin_descriptor(factory, 0) : nullptr;
  Check(desc && !std::strcmp(desc->id, "com.ardelnu.brindlow"), "descriptor id");
  Check(desc && !std::strcmp(desc->name, "Brindlow-Mono/Stereo Delay"), "descriptor name");
  Check(desc && !std::strcmp(desc->version, "1.3.0"), "descriptor version");
  if (!desc) return 1;

  ClapWineHost host;
  const clap_plugin_t* plugin = factory->create_plugin(factory, host.Host(), desc->id);
  Check(plugin && plugin->init(plugin), "create and init an instance");
  if (!plugin) return 1;
  Check(plugin->get_extension(plugin, CLAP_EXT_GUI) != nullptr, "an editor is offered");
  Check(plugin->activate(plugin, kSampleRate, 1, kFrames) && plugin->start_processing(plugin), "activate");

  // An impulse: the leading (left) side passes it at once, the lagging one after 20 ms.
  std::vector<float> in0(kFrames), in1(kFrames), out0(kFrames, 9.0f), out1(kFrames, 9.0f);
  in0[0] = in1[0] = 1.0f;
  float* ins[2] = {in0.data(), in1.data()};
  float* outs[2] = {out0.data(), out1.data()};
  clap_audio_buffer_t input{ins, nullptr, 2, 0, 0}, output{outs, nullptr, 2, 0, 0};
  clap_input_events_t events{nullptr, NoEvents, NoEvent};
  clap_output_events_t sink{nullptr, DropEvent};
  clap_process_t process{};
  process.steady_time = 0;
  process.frames_count = kFrames;
  process.audio_inputs = &input;
  process.audio_outputs = &output;
  process.audio_inputs_count = process.audio_outputs_count = 1;
  process.in_events = &events;
  process.out_events = &sink;
  Check(plugin->process(plugin, &process) == CLAP_PROCESS_CONTINUE, "process");
  bool shape = out0[0] == 1.0f && out1[kDefaultDelayFrames] == 1.0f;
  for (uint32_t i = 1; i < kFrames; ++i) shape = shape && out0[i] == 0.0f;
  for (uint32_t i = 0; i < kFrames; ++i)
    if (i != kDefaultDelayFrames) shape = shape && out1[i] == 0.0f;
  Check(shape, "the impulse leads on the left and lags 882 frames on the right");
  plugin->stop_processing(plugin);
  plugin->deactivate(plugin);

  auto state = static_cast<const clap_plugin_state_t*>(plugin->get_extension(plugin, CLAP_EXT_STATE));
  std::vector<uint8_t> first, second;
  clap_ostream_t out1Stream{&first, Write}, out2Stream{&second, Write};
  Reader reader{&first, 0};
  clap_istream_t inStream{&reader, Read};
  Check(state && state->save(plugin, &out1Stream) && !first.empty(), "state saved");
  Check(state && state->load(plugin, &inStream), "state loaded, three bytes at a time");
  Check(state && state->save(plugin, &out2Stream) && first == second, "saved again: the same bytes");
  plugin->destroy(plugin);

  RunClapEditorChecks(module, factory, desc->id, argv[2]);
  entry->deinit();
  FreeLibrary(module);
  std::printf("%s: %d check(s) failed\n", Failures() ? "FAILED" : "PASSED", Failures());
  return Failures() ? 1 : 0;
}
