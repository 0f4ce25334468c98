// The LV2 adapters never call their host with the plug-in's lock held: the DSP and UI
// adapters linked in, driven through their descriptors by a host whose every callback
// (urid:map, log, the state's store and retrieve, the UI's write_function and touch)
// goes to the shared recorder.
#include <gtest/gtest.h>

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/log/log.h>
#include <lv2/options/options.h>

#include <cstdarg>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "HostCallRecorder.h"
#include "IGraphicsPlug.h"
#include "IPlugLV2.h"
#include "IPlugLV2UI.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"
#include "KyvBrindlowLV2.h"
#include "KyvBrindlowLV2MonoCheck.h"
#include "KyvBrindlowLV2Readouts.h"
#include "KyvMonoCheckView.h"

namespace
{
HostCallRecorder gHost;
std::vector<std::string> gUris;

LV2_URID Map(LV2_URID_Map_Handle, const char* uri)
{
  gHost.Record("urid:map");
  for (size_t i = 0; i < gUris.size(); ++i)
    if (gUris[i] == uri) return LV2_URID(i + 1);
  gUris.push_back(uri);
  return LV2_URID(gUris.size());
}

int LogPrintf(LV2_Log_Handle, LV2_URID, const char*, ...)
{
  gHost.Record("log:printf");
  return 0;
}

int LogVPrintf(LV2_Log_Handle, LV2_URID, const char*, va_list)
{
  gHost.Record("log:vprintf");
  return 0;
}

// What save stored, handed back by retrieve.
struct SavedState
{
  std::vector<uint8_t> bytes;
  uint32_t type = 0;
};

LV2_State_Status Store(LV2_State_Handle handle, uint32_t, const void* value, size_t size, uint32_t type, uint32_t)
{
  gHost.Record("state:store");
  auto* saved = static_cast<SavedState*>(handle);
  saved->bytes.assign(static_cast<const uint8_t*>(value), static_cast<const uint8_t*>(value) + size);
  saved->type = type;
  return LV2_STATE_SUCCESS;
}

const void* Retrieve(LV2_State_Handle handle, uint32_t, size_t* size, uint32_t* type, uint32_t* flags)
{
  gHost.Record("state:retrieve");
  auto* saved = static_cast<SavedState*>(handle);
  *size = saved->bytes.size();
  *type = saved->type;
  *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
  return saved->bytes.data();
}

IPlugBase* MakeBrindlow()
{
  return new KyvBrindlow();
}

// The UI's editor, kept for the test to drag its knob, with the mono-check view on the
// read-outs as the UI binary makes it.
KyvBrindlowGraphics* gEditor = nullptr;
IGraphics* MakeEditor(IEditorDelegate* delegate, IPlugLV2UIReadouts* readouts)
{
  gEditor = new KyvBrindlowGraphics(delegate);
  if (readouts) gEditor->SetMonoCheckSource(std::make_unique<KyvBrindlowLV2MonoCheckSource>(*readouts));
  return gEditor;
}
void ReleaseEditor(IGraphics* editor)
{
  delete static_cast<KyvBrindlowGraphics*>(editor);
  gEditor = nullptr;
}

// The host's side of the UI: what it writes goes to the DSP's control port, as a host
// hands it on to the next run (the stereo plug-in's view port is 7).
float gControls[KyvBrindlow::kNumParams] = {20.0f, 0.0f, 0.0f};
constexpr uint32_t kViewPort = 7;
float gView = 0.0f;
std::vector<float> gViewWrites;
void Write(LV2UI_Controller, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
  gHost.Record("ui:write_function");
  if (format != 0 || size != sizeof(float)) return;
  if (port < KyvBrindlow::kNumParams) std::memcpy(&gControls[port], buffer, size);
  if (port != kViewPort) return;
  std::memcpy(&gView, buffer, size);
  gViewWrites.push_back(gView);
}

template <typename T>
T* FindControl(IGraphicsLice* editor)
{
  for (int32_t i = 0; i < editor->ControlCount(); ++i)
    if (T* found = dynamic_cast<T*>(editor->GetControl(i))) return found;
  return nullptr;
}
void Touch(LV2UI_Feature_Handle, uint32_t, bool)
{
  gHost.Record("ui:touch");
}
int gResizedWidth = 0, gResizedHeight = 0;
int Resize(LV2UI_Feature_Handle, int width, int height)
{
  gHost.Record("ui:resize");
  gResizedWidth = width;
  gResizedHeight = height;
  return 0;
}
} // namespace

TEST(Lv2ThreadRules, NoHostCallbackRunsUnderThePlugInsLock)
{
  IPlugLV2Entry entry{};
  entry.lv2 = &KyvBrindlowLV2Info();
  entry.variant = &entry.lv2->variants[1]; // stereo in
  entry.make = &MakeBrindlow;
  FillLV2Descriptor(entry);

  LV2_URID_Map map{nullptr, &Map};
  LV2_Log_Log log{nullptr, &LogPrintf, &LogVPrintf};
  const int32_t maxBlock = 64;
  const LV2_Options_Option options[] = {
    {LV2_OPTIONS_INSTANCE, 0, Map(nullptr, LV2_BUF_SIZE__maxBlockLength), sizeof(int32_t), Map(nullptr, LV2_ATOM__Int),
     &maxBlock},
    {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
  const LV2_Feature mapFeature{LV2_URID__map, &map}, logFeature{LV2_LOG__log, &log},
    optionsFeature{LV2_OPTIONS__options, const_cast<LV2_Options_Option*>(options)};
  const LV2_Feature* features[] = {&mapFeature, &logFeature, &optionsFeature, nullptr};

  gHost.During("instantiate");
  const LV2_Descriptor& d = entry.descriptor;
  LV2_Handle instance = d.instantiate(&d, 44100.0, "", features);
  ASSERT_NE(instance, nullptr);
  EXPECT_GE(gHost.CountOf("urid:map"), 2) << "the state's key and type are mapped";
  IPlugBase* plug = static_cast<IPlugLV2*>(instance)->Plug();
  gHost.Watch(plug);

  gHost.During("a run with control changes");
  float controls[KyvBrindlow::kNumParams] = {30.0f, 1.0f, -6.0f};
  float in[2][64] = {}, out[2][64] = {};
  for (uint32_t i = 0; i < KyvBrindlow::kNumParams; ++i) d.connect_port(instance, i, &controls[i]);
  for (uint32_t c = 0; c < 2; ++c)
  {
    d.connect_port(instance, KyvBrindlow::kNumParams + c, in[c]);
    d.connect_port(instance, KyvBrindlow::kNumParams + 2 + c, out[c]);
  }
  d.activate(instance);
  d.run(instance, 64);

  gHost.During("state");
  const auto* state = static_cast<const LV2_State_Interface*>(d.extension_data(LV2_STATE__interface));
  ASSERT_NE(state, nullptr);
  SavedState saved;
  ASSERT_EQ(state->save(instance, &Store, &saved, 0, features), LV2_STATE_SUCCESS);
  ASSERT_EQ(state->restore(instance, &Retrieve, &saved, 0, features), LV2_STATE_SUCCESS);
  EXPECT_EQ(gHost.CountOf("state:store"), 1);
  EXPECT_EQ(gHost.CountOf("state:retrieve"), 1);

  gHost.During("deactivate");
  d.deactivate(instance);
  gHost.Watch(nullptr); // the plug-in goes with the instance
  d.cleanup(instance);
  gHost.ExpectNoneLocked();
}

TEST(Lv2ThreadRules, TheUiWritesToItsHostWithNoPlugInLockHeld)
{
  // The DSP instance the UI belongs to, in the same process as a host may keep them.
  IPlugLV2Entry entry{};
  entry.lv2 = &KyvBrindlowLV2Info();
  entry.variant = &entry.lv2->variants[1];
  entry.make = &MakeBrindlow;
  FillLV2Descriptor(entry);
  LV2_URID_Map map{nullptr, &Map};
  const LV2_Feature mapFeature{LV2_URID__map, &map};
  const LV2_Feature* dspFeatures[] = {&mapFeature, nullptr};
  LV2_Handle instance = entry.descriptor.instantiate(&entry.descriptor, 44100.0, "", dspFeatures);
  ASSERT_NE(instance, nullptr);
  IPlugBase* plug = static_cast<IPlugLV2*>(instance)->Plug();
  for (uint32_t i = 0; i < KyvBrindlow::kNumParams; ++i) entry.descriptor.connect_port(instance, i, &gControls[i]);
  gHost.Watch(plug);

  IPlugLV2UIEntry ui{};
  ui.lv2 = &KyvBrindlowLV2Info();
  ui.hooks = {&MakeEditor, &ReleaseEditor};
  FillLV2UIDescriptor(ui);
  LV2UI_Touch touch{nullptr, &Touch};
  const LV2_Feature touchFeature{LV2_UI__touch, &touch};
  LV2UI_Resize resize{nullptr, &Resize};
  const LV2_Feature resizeFeature{LV2_UI__resize, &resize};
  const float hostScale = 1.5f;
  const LV2_Options_Option options[] = {
    {LV2_OPTIONS_INSTANCE, 0, Map(nullptr, LV2_UI__scaleFactor), sizeof hostScale, Map(nullptr, LV2_ATOM__Float), &hostScale},
    {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
  const LV2_Feature optionsFeature{LV2_OPTIONS__options, const_cast<LV2_Options_Option*>(options)};
  const LV2_Feature* uiFeatures[] = {&touchFeature, &resizeFeature, &mapFeature, &optionsFeature, nullptr};
  LV2UI_Widget widget = nullptr;
  gHost.During("the UI's instantiate");
  LV2UI_Handle handle = ui.descriptor.instantiate(&ui.descriptor, "", "", &Write, nullptr, &widget, uiFeatures);
  ASSERT_NE(handle, nullptr);
  ASSERT_NE(gEditor, nullptr);

  gHost.During("a knob drag in the UI");
  gEditor->PaintArea(IBounds(0, 0, gEditor->Width(), gEditor->Height())); // the hidden splash steps aside
  const IMouseKeys left{true, false, false, false, false};
  gEditor->DispatchMouseDown(95, 112, left); // the Delay knob
  gEditor->DispatchMouseDrag(95, 100, left);
  gEditor->DispatchMouseUp(95, 100, left);
  EXPECT_GE(gHost.CountOf("ui:write_function"), 1);
  EXPECT_EQ(gHost.CountOf("ui:touch"), 2) << "grabbed and released";

  gHost.During("the host's scale and the user's choice of size");
  EXPECT_EQ(gEditor->EditorWidth(), 549) << "ui:scaleFactor 1.5 at instantiation";
  gEditor->SetUserScale(2.0);
  EXPECT_EQ(gHost.CountOf("ui:resize"), 1);
  EXPECT_EQ(gResizedWidth, 732);
  EXPECT_EQ(gResizedHeight, 424);

  gHost.During("the run after the drag");
  entry.descriptor.run(instance, 0);
  EXPECT_DOUBLE_EQ(plug->ParameterAt(KyvBrindlow::kDelay)->Value(), IParameter::FromHostFloat(gControls[0]));

  ui.descriptor.cleanup(handle);
  gHost.Watch(nullptr);
  entry.descriptor.cleanup(instance);
  gHost.ExpectNoneLocked();
}

TEST(Lv2ThreadRules, TheMonoCheckViewReadsTheDspsReadOutsAndItsViewPortIsWrittenWithNoLockHeld)
{
  IPlugLV2Entry entry{};
  entry.lv2 = &KyvBrindlowLV2Info();
  entry.variant = &entry.lv2->variants[1];
  entry.make = &MakeBrindlow;
  entry.makeReadouts = &MakeKyvBrindlowLV2Readouts;
  FillLV2Descriptor(entry);
  ASSERT_EQ(uint32_t(entry.lv2->ViewPort(*entry.variant)), kViewPort);
  LV2_URID_Map map{nullptr, &Map};
  const LV2_Feature mapFeature{LV2_URID__map, &map};
  const LV2_Feature* features[] = {&mapFeature, nullptr};
  const LV2_Descriptor& d = entry.descriptor;
  LV2_Handle instance = d.instantiate(&d, 48000.0, "", features);
  ASSERT_NE(instance, nullptr);
  IPlugBase* plug = static_cast<IPlugLV2*>(instance)->Plug();
  float in[2][480] = {}, out[2][480] = {}, readouts[KyvBrindlowLV2::kNumReadouts] = {};
  for (uint32_t i = 0; i < KyvBrindlow::kNumParams; ++i) d.connect_port(instance, i, &gControls[i]);
  for (uint32_t c = 0; c < 2; ++c)
  {
    d.connect_port(instance, KyvBrindlow::kNumParams + c, in[c]);
    d.connect_port(instance, KyvBrindlow::kNumParams + 2 + c, out[c]);
  }
  d.connect_port(instance, kViewPort, &gView);
  for (uint32_t i = 0; i < KyvBrindlowLV2::kNumReadouts; ++i) d.connect_port(instance, kViewPort + 1 + i, &readouts[i]);
  d.activate(instance);
  gHost.Watch(plug);

  IPlugLV2UIEntry ui{};
  ui.lv2 = &KyvBrindlowLV2Info();
  ui.hooks = {&MakeEditor, &ReleaseEditor};
  FillLV2UIDescriptor(ui);
  const LV2_Feature* uiFeatures[] = {&mapFeature, nullptr};
  LV2UI_Widget widget = nullptr;
  gViewWrites.clear();
  LV2UI_Handle handle =
    ui.descriptor.instantiate(&ui.descriptor, KyvBrindlowLV2::kStereoUri, "", &Write, nullptr, &widget, uiFeatures);
  ASSERT_NE(handle, nullptr);
  ASSERT_NE(gEditor, nullptr);

  gHost.During("the view shown in a closed window");
  gEditor->ShowMonoCheck(true);
  ASSERT_TRUE(gEditor->MonoCheckShown()) << "the UI gave the editor a source for the view";
  EXPECT_EQ(gViewWrites, std::vector<float>{0.0f}) << "a closed window meters nothing";

  gHost.During("a run with the view port on, its read-outs reported to the UI");
  gView = 1.0f; // as the UI writes it when its window shows the view
  for (int block = 0; block < 50; ++block)
  {
    for (int i = 0; i < 480; ++i) in[0][i] = in[1][i] = float(std::sin(0.02 * (block * 480 + i)));
    d.run(instance, 480);
  }
  for (uint32_t i = 0; i < KyvBrindlowLV2::kNumReadouts; ++i)
    ui.descriptor.port_event(handle, kViewPort + 1 + i, sizeof(float), 0, &readouts[i]);
  gEditor->TickControls();
  const auto* plot = FindControl<KyvMonoCheckPlot>(gEditor);
  const auto* meter = FindControl<KyvCorrelationMeter>(gEditor);
  ASSERT_NE(plot, nullptr);
  ASSERT_NE(meter, nullptr);
  EXPECT_DOUBLE_EQ(plot->Setting().sampleRate, 48000.0) << "the response at the rate the DSP runs at";
  EXPECT_TRUE(meter->Reading().valid);
  EXPECT_NEAR(meter->Reading().seconds, 0.3, 0.02);
  EXPECT_FLOAT_EQ(float(meter->Reading().correlation), readouts[KyvBrindlowLV2::kCorrelation]);

  gHost.During("the UI's cleanup");
  gEditor->ShowMonoCheck(false);
  ui.descriptor.cleanup(handle);
  EXPECT_EQ(gViewWrites, std::vector<float>{0.0f}) << "0 was written already";
  gHost.Watch(nullptr);
  d.deactivate(instance);
  d.cleanup(instance);
  gHost.ExpectNoneLocked();
}
