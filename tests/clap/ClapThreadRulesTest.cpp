// The CLAP adapter never calls its host with the plug-in's lock held: a host of its own
// here, every callback of which (the host's, its extensions', its event lists' and
// streams') goes to the shared recorder.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "HostCallRecorder.h"
#include "IGraphicsPlug.h"
#include "IPlugCLAP.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"

namespace
{
HostCallRecorder gHost;

#define RECORDED(name, result, ...)                                                                                   \
  [](__VA_ARGS__) -> result {                                                                                          \
    gHost.Record(name);                                                                                                \
    return result();                                                                                                   \
  }

const clap_host_params_t kParams = {RECORDED("params.rescan", void, const clap_host_t*, clap_param_rescan_flags),
                                    RECORDED("params.clear", void, const clap_host_t*, clap_id, clap_param_clear_flags),
                                    RECORDED("params.request_flush", void, const clap_host_t*)};
const clap_host_state_t kState = {RECORDED("state.mark_dirty", void, const clap_host_t*)};
const clap_host_tail_t kTail = {RECORDED("tail.changed", void, const clap_host_t*)};
const clap_host_latency_t kLatency = {RECORDED("latency.changed", void, const clap_host_t*)};
const clap_host_log_t kLog = {RECORDED("log.log", void, const clap_host_t*, clap_log_severity, const char*)};
const clap_host_preset_load_t kPresetLoad = {
  RECORDED("preset_load.on_error", void, const clap_host_t*, uint32_t, const char*, const char*, int32_t, const char*),
  RECORDED("preset_load.loaded", void, const clap_host_t*, uint32_t, const char*, const char*)};
const clap_host_thread_check_t kThreadCheck = {
  [](const clap_host_t*) { gHost.Record("thread_check.is_main_thread"); return true; },
  [](const clap_host_t*) { gHost.Record("thread_check.is_audio_thread"); return false; }};
const clap_host_timer_support_t kTimer = {
  [](const clap_host_t*, uint32_t, clap_id* id) { gHost.Record("timer.register"); *id = 1; return true; },
  [](const clap_host_t*, clap_id) { gHost.Record("timer.unregister"); return true; }};
const clap_host_posix_fd_support_t kFd = {
  [](const clap_host_t*, int, clap_posix_fd_flags_t) { gHost.Record("fd.register"); return true; },
  [](const clap_host_t*, int, clap_posix_fd_flags_t) { gHost.Record("fd.modify"); return true; },
  [](const clap_host_t*, int) { gHost.Record("fd.unregister"); return true; }};

// As hosts may, the host sets the size it accepts from inside request_resize.
const clap_plugin_t* gPlugin = nullptr;
uint32_t gRequestedWidth = 0, gRequestedHeight = 0;
const clap_host_gui_t kGui = {
  RECORDED("gui.resize_hints_changed", void, const clap_host_t*),
  [](const clap_host_t*, uint32_t width, uint32_t height) {
    gHost.Record("gui.request_resize");
    gRequestedWidth = width;
    gRequestedHeight = height;
    static_cast<const clap_plugin_gui_t*>(gPlugin->get_extension(gPlugin, CLAP_EXT_GUI))->set_size(gPlugin, width, height);
    return true;
  },
  RECORDED("gui.request_show", bool, const clap_host_t*), RECORDED("gui.request_hide", bool, const clap_host_t*),
  RECORDED("gui.closed", void, const clap_host_t*, bool)};

const void* CLAP_ABI HostExtension(const clap_host_t*, const char* id)
{
  gHost.Record("get_extension");
  const struct { const char* id; const void* table; } tables[] = {
    {CLAP_EXT_PARAMS, &kParams}, {CLAP_EXT_STATE, &kState}, {CLAP_EXT_TAIL, &kTail},
    {CLAP_EXT_LATENCY, &kLatency}, {CLAP_EXT_LOG, &kLog}, {CLAP_EXT_PRESET_LOAD, &kPresetLoad},
    {CLAP_EXT_THREAD_CHECK, &kThreadCheck}, {CLAP_EXT_TIMER_SUPPORT, &kTimer}, {CLAP_EXT_POSIX_FD_SUPPORT, &kFd},
    {CLAP_EXT_GUI, &kGui}};
  for (const auto& t : tables)
    if (!std::strcmp(id, t.id)) return t.table;
  return nullptr;
}

const clap_host_t kHost = {CLAP_VERSION_INIT, nullptr, "Recording Host", "", "", "1.0", HostExtension,
                           RECORDED("request_restart", void, const clap_host_t*),
                           RECORDED("request_process", void, const clap_host_t*),
                           RECORDED("request_callback", void, const clap_host_t*)};

// The host's input events: parameter values, handed out through recorded callbacks.
struct Events
{
  std::vector<clap_event_param_value_t> values;
  clap_input_events_t in{this, [](const clap_input_events_t* list) {
                           gHost.Record("in_events.size");
                           return static_cast<uint32_t>(static_cast<Events*>(list->ctx)->values.size());
                         },
                         [](const clap_input_events_t* list, uint32_t i) -> const clap_event_header_t* {
                           gHost.Record("in_events.get");
                           return &static_cast<Events*>(list->ctx)->values[i].header;
                         }};
  clap_output_events_t out{this, [](const clap_output_events_t*, const clap_event_header_t*) {
                             gHost.Record("out_events.try_push");
                             return true;
                           }};

  void Add(uint32_t time, clap_id id, double value)
  {
    clap_event_param_value_t v{};
    v.header = {sizeof(v), time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    v.param_id = id;
    v.note_id = -1;
    v.port_index = v.channel = v.key = -1;
    v.value = value;
    values.push_back(v);
  }
};

// The host's streams: bytes kept in a vector.
struct Stream
{
  std::vector<uint8_t> bytes;
  size_t read = 0;
  clap_ostream_t out{this, [](const clap_ostream_t* s, const void* data, uint64_t size) -> int64_t {
                       gHost.Record("ostream.write");
                       auto& bytes = static_cast<Stream*>(s->ctx)->bytes;
                       bytes.insert(bytes.end(), static_cast<const uint8_t*>(data),
                                    static_cast<const uint8_t*>(data) + size);
                       return static_cast<int64_t>(size);
                     }};
  clap_istream_t in{this, [](const clap_istream_t* s, void* data, uint64_t size) -> int64_t {
                      gHost.Record("istream.read");
                      Stream& self = *static_cast<Stream*>(s->ctx);
                      const size_t n = std::min<size_t>(size, self.bytes.size() - self.read);
                      std::memcpy(data, self.bytes.data() + self.read, n);
                      self.read += n;
                      return static_cast<int64_t>(n);
                    }};
};

const char* const kNoFeatures[] = {nullptr};
const IPlugCLAPProduct kProduct = {"test.brindlow", &KyvBrindlowInfo, [] { return static_cast<IPlugBase*>(MakeKyvBrindlow()); },
                                   kNoFeatures};

template <class T>
const T* Ext(const clap_plugin_t* p, const char* id)
{
  return static_cast<const T*>(p->get_extension(p, id));
}
} // namespace

TEST(ClapThreadRules, NoHostCallbackRunsUnderThePlugInsLock)
{
  clap_plugin_descriptor_t desc{};
  auto* adapter = new IPlugCLAP(&desc, &kHost, MakeKyvBrindlow(), &kProduct);
  IPlugBase* plug = adapter->Plug();
  gHost.Watch(plug);
  const clap_plugin_t* p = adapter->ClapPlugin();
  gPlugin = p;

  gHost.During("init");
  ASSERT_TRUE(p->init(p));
  const auto* params = Ext<clap_plugin_params_t>(p, CLAP_EXT_PARAMS);
  const auto* state = Ext<clap_plugin_state_t>(p, CLAP_EXT_STATE);
  const auto* presets = Ext<clap_plugin_preset_load_t>(p, CLAP_EXT_PRESET_LOAD);
  ASSERT_TRUE(params && state && presets);

  gHost.During("parameter info and values");
  clap_param_info_t info;
  ASSERT_TRUE(params->get_info(p, 0, &info));
  double value = 0.0;
  ASSERT_TRUE(params->get_value(p, 0, &value));

  gHost.During("a knob drag in the editor");
  IGraphicsLice* editor = EditorOf(plug);
  ASSERT_NE(editor, nullptr);
  editor->PaintArea(IBounds(0, 0, editor->Width(), editor->Height())); // the hidden splash steps aside
  const IMouseKeys left{true, false, false, false, false};
  editor->DispatchMouseDown(95, 112, left); // the Delay knob
  editor->DispatchMouseDrag(95, 100, left);
  editor->DispatchMouseUp(95, 100, left);
  EXPECT_GE(gHost.CountOf("params.request_flush"), 1) << "outside processing the gesture asks for a flush";

  gHost.During("the host's scale and the user's choice of size");
  const auto* gui = Ext<clap_plugin_gui_t>(p, CLAP_EXT_GUI);
#if defined(_WIN32)
  ASSERT_TRUE(gui->create(p, CLAP_WINDOW_API_WIN32, false));
#else
  ASSERT_TRUE(gui->create(p, CLAP_WINDOW_API_X11, false));
#endif
  EXPECT_TRUE(gui->set_scale(p, 1.5));
  EXPECT_EQ(gHost.CountOf("gui.request_resize"), 0) << "a size the host asked for is not asked of it again";
  editor->SetUserScale(2.0);
  EXPECT_EQ(gHost.CountOf("gui.request_resize"), 1);
  EXPECT_EQ(gRequestedWidth, 732u);
  EXPECT_EQ(gRequestedHeight, 424u);
  uint32_t width = 0, height = 0;
  ASSERT_TRUE(gui->get_size(p, &width, &height));
  EXPECT_EQ(width, 732u);
  EXPECT_EQ(height, 424u);
  gui->destroy(p);

  gHost.During("flush");
  Events flushEvents;
  flushEvents.Add(0, KyvBrindlow::kPan, 1.0);
  params->flush(p, &flushEvents.in, &flushEvents.out);
  EXPECT_GE(gHost.CountOf("out_events.try_push"), 3) << "the gesture went out";

  gHost.During("a block with parameter changes");
  ASSERT_TRUE(p->activate(p, 44100.0, 1, 64));
  ASSERT_TRUE(p->start_processing(p));
  float in[2][64] = {}, out[2][64] = {};
  float* inputs[] = {in[0], in[1]};
  float* outputs[] = {out[0], out[1]};
  clap_audio_buffer_t inBuffer{inputs, nullptr, 2, 0, 0}, outBuffer{outputs, nullptr, 2, 0, 0};
  Events blockEvents;
  blockEvents.Add(10, KyvBrindlow::kDelay, 30.0); // a longer tail: the host is told
  blockEvents.Add(40, KyvBrindlow::kWetMix, -6.0);
  clap_process_t process{};
  process.steady_time = -1;
  process.frames_count = 64;
  process.audio_inputs = &inBuffer;
  process.audio_outputs = &outBuffer;
  process.audio_inputs_count = process.audio_outputs_count = 1;
  process.in_events = &blockEvents.in;
  process.out_events = &blockEvents.out;
  EXPECT_EQ(p->process(p, &process), CLAP_PROCESS_CONTINUE);
  EXPECT_GE(gHost.CountOf("in_events.get"), 2);
  EXPECT_EQ(gHost.CountOf("tail.changed"), 1);
  p->reset(p);
  p->stop_processing(p);
  p->deactivate(p);

  gHost.During("state");
  Stream stream;
  ASSERT_TRUE(state->save(p, &stream.out));
  ASSERT_TRUE(state->load(p, &stream.in));

  gHost.During("a factory program");
  EXPECT_TRUE(presets->from_location(p, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, "1"));
  EXPECT_FALSE(presets->from_location(p, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, "999"));
  EXPECT_EQ(gHost.CountOf("preset_load.loaded"), 1);
  EXPECT_EQ(gHost.CountOf("preset_load.on_error"), 1);

  gHost.Watch(nullptr); // the plug-in goes with the adapter
  p->destroy(p);
  gHost.ExpectNoneLocked();
}
