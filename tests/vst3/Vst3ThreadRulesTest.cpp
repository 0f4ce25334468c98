// The VST 3 adapter never calls its host with the plug-in's lock held: the adapter linked
// in, with a host of the test's own whose every object the plug-in may call (the host
// context, the component handler, streams, parameter changes and their queues, the plug
// frame and its run loop) goes to the shared recorder (tests/plugin/HostCallRecorder.h).
// The adapter uses no event lists and no messages: process is given none. Ardour's own
// way of being told a program's values is checked here too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "HostCallRecorder.h"
#include "IGraphicsPlug.h"
#include "IPlugVST3.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"
#include "StandInWindowBackend.h"
#include "Vst3HostKit.h"

using namespace vst3;
using vst3host::Counted;

namespace
{
// The adapter makes its plug-in in initialize: the recorder watches it from then on.
IPlugVST3* gAdapter = nullptr;

struct Recorder : HostCallRecorder
{
  void Record(const char* call)
  {
    Watch(gAdapter ? gAdapter->Plug() : nullptr);
    HostCallRecorder::Record(call);
  }
} gHost;

class RecordingApplication final : public Counted<IHostApplication>
{
public:
  explicit RecordingApplication(const char* name = "Recording Host") : mName(name) {}
  tresult VST3_API queryInterface(const TUID iid, void** obj) override
  {
    gHost.Record("host.queryInterface");
    return Answer(iid, IHostApplication_iid, obj);
  }
  tresult VST3_API getName(String128 name) override
  {
    gHost.Record("host.getName");
    for (size_t i = 0; i <= std::strlen(mName); ++i) name[i] = static_cast<char16>(mName[i]);
    return kResultOk;
  }
  tresult VST3_API createInstance(TUID, TUID, void** obj) override
  {
    gHost.Record("host.createInstance");
    if (obj) *obj = nullptr;
    return kNoInterface;
  }

private:
  const char* mName;
};

class RecordingHandler final : public Counted<IComponentHandler>
{
public:
  tresult VST3_API queryInterface(const TUID iid, void** obj) override
  {
    gHost.Record("handler.queryInterface");
    return Answer(iid, IComponentHandler_iid, obj);
  }
  tresult VST3_API beginEdit(ParamID) override { gHost.Record("handler.beginEdit"); return kResultOk; }
  tresult VST3_API performEdit(ParamID, ParamValue) override { gHost.Record("handler.performEdit"); return kResultOk; }
  tresult VST3_API endEdit(ParamID) override { gHost.Record("handler.endEdit"); return kResultOk; }
  tresult VST3_API restartComponent(int32) override { gHost.Record("handler.restartComponent"); return kResultOk; }
};

class RecordingStream final : public Counted<IBStream>
{
public:
  tresult VST3_API queryInterface(const TUID iid, void** obj) override
  {
    gHost.Record("stream.queryInterface");
    return Answer(iid, IBStream_iid, obj);
  }
  tresult VST3_API read(void* buffer, int32 numBytes, int32* numBytesRead) override
  {
    gHost.Record("stream.read");
    const size_t n = std::min(static_cast<size_t>(numBytes < 0 ? 0 : numBytes), bytes.size() - position);
    std::memcpy(buffer, bytes.data() + position, n);
    position += n;
    if (numBytesRead) *numBytesRead = static_cast<int32>(n);
    return kResultOk;
  }
  tresult VST3_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override
  {
    gHost.Record("stream.write");
    if (numBytes < 0) return kInvalidArgument;
    const auto* data = static_cast<const uint8_t*>(buffer);
    bytes.insert(bytes.end(), data, data + numBytes);
    position = bytes.size();
    if (numBytesWritten) *numBytesWritten = numBytes;
    return kResultOk;
  }
  tresult VST3_API seek(int64 pos, int32 mode, int64* result) override
  {
    gHost.Record("stream.seek");
    const int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? static_cast<int64>(position)
                                                                    : static_cast<int64>(bytes.size());
    position = static_cast<size_t>(std::clamp<int64>(base + pos, 0, static_cast<int64>(bytes.size())));
    if (result) *result = static_cast<int64>(position);
    return kResultOk;
  }
  tresult VST3_API tell(int64* pos) override
  {
    gHost.Record("stream.tell");
    if (pos) *pos = static_cast<int64>(position);
    return kResultOk;
  }

  std::vector<uint8_t> bytes;
  size_t position = 0;
};

class RecordingQueue final : public Counted<IParamValueQueue>
{
public:
  RecordingQueue(ParamID id, int32 offset, ParamValue value) : mId(id), mOffset(offset), mValue(value) {}
  tresult VST3_API queryInterface(const TUID iid, void** obj) override
  {
    gHost.Record("queue.queryInterface");
    return Answer(iid, IParamValueQueue_iid, obj);
  }
  ParamID VST3_API getParameterId() override { gHost.Record("queue.getParameterId"); return mId; }
  int32 VST3_API getPointCount() override { gHost.Record("queue.getPointCount"); return 1; }
  tresult VST3_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) override
  {
    gHost.Record("queue.getPoint");
    if (index != 0) return kInvalidArgument;
    sampleOffset = mOffset;
    value = mValue;
    return kResultOk;
  }
  tresult VST3_API addPoint(int32, ParamValue, int32&) override { gHost.Record("queue.addPoint"); return kResultFalse; }

private:
  ParamID mId;
  int32 mOffset;
  ParamValue mValue;
};

// One point for each of the queues given.
class RecordingChanges final : public Counted<IParameterChanges>
{
public:
  ~RecordingChanges() override
  {
    for (RecordingQueue* q : queues) q->release();
  }
  tresult VST3_API queryInterface(const TUID iid, void** obj) override
  {
    gHost.Record("changes.queryInterface");
    return Answer(iid, IParameterChanges_iid, obj);
  }
  int32 VST3_API getParameterCount() override
  {
    gHost.Record("changes.getParameterCount");
    return static_cast<int32>(queues.size());
  }
  IParamValueQueue* VST3_API getParameterData(int32 index) override
  {
    gHost.Record("changes.getParameterData");
    return index >= 0 && index < static_cast<int32>(queues.size()) ? queues[static_cast<size_t>(index)] : nullptr;
  }
  IParamValueQueue* VST3_API addParameterData(const ParamID&, int32&) override
  {
    gHost.Record("changes.addParameterData");
    return nullptr;
  }
  std::vector<RecordingQueue*> queues;
};

class RecordingFrame final : public Counted<IPlugFrame>, public IRunLoop
{
public:
  tresult VST3_API queryInterface(const TUID iid, void** obj) override
  {
    gHost.Record("frame.queryInterface");
    if (obj && SameUid(iid, IRunLoop_iid.bytes))
    {
      *obj = static_cast<IRunLoop*>(this);
      addRef();
      return kResultOk;
    }
    return Answer(iid, IPlugFrame_iid, obj);
  }
  uint32 VST3_API addRef() override { return Counted<IPlugFrame>::addRef(); }
  uint32 VST3_API release() override { return Counted<IPlugFrame>::release(); }
  // As hosts do, the view is resized from inside the call.
  tresult VST3_API resizeView(IPlugView* view, ViewRect* size) override
  {
    gHost.Record("frame.resizeView");
    resized = *size;
    return view->onSize(size);
  }
  ViewRect resized{};
  tresult VST3_API registerEventHandler(IEventHandler*, FileDescriptor) override
  {
    gHost.Record("runloop.registerEventHandler");
    return kResultTrue;
  }
  tresult VST3_API unregisterEventHandler(IEventHandler*) override
  {
    gHost.Record("runloop.unregisterEventHandler");
    return kResultTrue;
  }
  tresult VST3_API registerTimer(ITimerHandler*, TimerInterval) override
  {
    gHost.Record("runloop.registerTimer");
    return kResultTrue;
  }
  tresult VST3_API unregisterTimer(ITimerHandler*) override
  {
    gHost.Record("runloop.unregisterTimer");
    return kResultTrue;
  }
};

IPlugBase* MakeBrindlow()
{
  return MakeKyvBrindlow();
}

const IPlugVST3Product kProduct = {MakeUid(1, 2, 3, 4), "Fx|Delay", "", "", &KyvBrindlowInfo, &MakeBrindlow};
} // namespace

TEST(Vst3ThreadRules, NoHostCallbackRunsUnderThePlugInsLock)
{
  const StandInWindows windows; // the view attaches without a display
  auto* adapter = new IPlugVST3(kProduct);
  gAdapter = adapter;
  auto* app = new RecordingApplication;
  auto* handler = new RecordingHandler;

  gHost.During("initialize");
  ASSERT_EQ(adapter->initialize(app), kResultOk);
  IPlugBase* plug = adapter->Plug();
  ASSERT_NE(plug, nullptr);
  EXPECT_EQ(adapter->setComponentHandler(handler), kResultOk);
  EXPECT_EQ(adapter->initialize(app), kResultOk); // Ardour initialises once per role

  gHost.During("parameters from the host");
  ParameterInfo info{};
  ASSERT_EQ(adapter->getParameterInfo(KyvBrindlow::kDelay, info), kResultTrue);
  EXPECT_EQ(adapter->setParamNormalized(KyvBrindlow::kDelay, 0.75), kResultOk);
  String128 text = {};
  adapter->getParamStringByValue(KyvBrindlow::kDelay, 0.75, text);

  gHost.During("a program through the program-change parameter");
  const int before = gHost.CountOf("handler.restartComponent");
  EXPECT_EQ(adapter->setParamNormalized(IPlugVST3::kProgramParamId, 1.0), kResultOk);
  EXPECT_EQ(gHost.CountOf("handler.restartComponent"), before + 1) << "the host is told all values changed";

  gHost.During("a knob drag in the editor");
  IPlugView* view = adapter->createView(kEditorViewType);
  ASSERT_NE(view, nullptr);
  auto* frame = new RecordingFrame;
  view->setFrame(frame); // no parent window headless: the run loop is not used before attached
  IGraphicsLice* editor = EditorOf(plug);
  ASSERT_NE(editor, nullptr);
  editor->PaintArea(IBounds(0, 0, editor->Width(), editor->Height())); // the hidden splash steps aside
  const IMouseKeys left{true, false, false, false, false};
  editor->DispatchMouseDown(95, 112, left); // the Delay knob
  editor->DispatchMouseDrag(95, 100, left);
  editor->DispatchMouseUp(95, 100, left);
  EXPECT_EQ(gHost.CountOf("handler.beginEdit"), 1);
  EXPECT_GE(gHost.CountOf("handler.performEdit"), 1);
  EXPECT_EQ(gHost.CountOf("handler.endEdit"), 1);

  gHost.During("the host's scale and the user's choice of size in the attached view");
  int parent = 0;
#if defined(_WIN32)
  ASSERT_EQ(view->attached(&parent, kPlatformTypeHWND), kResultOk);
#else
  ASSERT_EQ(view->attached(&parent, kPlatformTypeX11EmbedWindowID), kResultOk);
#endif
  void* obj = nullptr;
  ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport_iid.bytes, &obj), kResultOk);
  auto* scale = static_cast<IPlugViewContentScaleSupport*>(obj);
  EXPECT_EQ(scale->setContentScaleFactor(1.5f), kResultTrue);
  scale->release();
  EXPECT_EQ(gHost.CountOf("frame.resizeView"), 1);
  EXPECT_EQ(frame->resized.right, 549);
  EXPECT_EQ(frame->resized.bottom, 318);
  editor->SetUserScale(2.0);
  EXPECT_EQ(gHost.CountOf("frame.resizeView"), 2) << "onSize inside resizeView asks for no other";
  EXPECT_EQ(frame->resized.right, 732);
  EXPECT_EQ(frame->resized.bottom, 424);
  ViewRect size{};
  EXPECT_EQ(view->getSize(&size), kResultTrue);
  EXPECT_EQ(size.right, 732);
  EXPECT_EQ(size.bottom, 424);
  EXPECT_EQ(view->removed(), kResultOk);
  view->setFrame(nullptr);
  view->release();
  frame->release();

  gHost.During("setupProcessing, setActive and a block with parameter queues");
  ProcessSetup setup{kRealtime, kSample32, 64, 44100.0};
  ASSERT_EQ(adapter->setupProcessing(setup), kResultOk);
  ASSERT_EQ(adapter->setActive(1), kResultOk);
  adapter->setProcessing(1);
  float in[2][64] = {}, out[2][64] = {};
  float* inputs[] = {in[0], in[1]};
  float* outputs[] = {out[0], out[1]};
  AudioBusBuffers inBus{2, 0, {inputs}};
  AudioBusBuffers outBus{2, 0, {outputs}};
  auto* changes = new RecordingChanges;
  changes->queues.push_back(new RecordingQueue(KyvBrindlow::kWetMix, 10, 0.5));
  changes->queues.push_back(new RecordingQueue(IPlugVST3::kProgramParamId, 40, 0.0));
  ProcessData data{};
  data.processMode = kRealtime;
  data.symbolicSampleSize = kSample32;
  data.numSamples = 64;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  data.inputParameterChanges = changes;
  EXPECT_EQ(adapter->process(data), kResultOk);
  EXPECT_EQ(gHost.CountOf("queue.getPoint"), 2) << "both queues were read";
  adapter->setProcessing(0);
  adapter->setActive(0);
  changes->release();

  gHost.During("state, both sides");
  auto* component = new RecordingStream;
  auto* controller = new RecordingStream;
  ASSERT_EQ(adapter->getState(component), kResultOk);
  ASSERT_EQ(adapter->getControllerState(controller), kResultOk);
  component->position = controller->position = 0;
  EXPECT_EQ(adapter->setState(component), kResultOk);
  component->position = 0;
  EXPECT_EQ(adapter->setComponentState(component), kResultOk);
  EXPECT_EQ(adapter->setControllerState(controller), kResultOk);
  EXPECT_GE(gHost.CountOf("stream.write"), 1);
  EXPECT_GE(gHost.CountOf("stream.read"), 2);
  component->release();
  controller->release();

  gHost.During("terminate");
  adapter->terminate();
  adapter->terminate();
  gAdapter = nullptr; // the plug-in is gone
  adapter->release();
  handler->release();
  app->release();
  gHost.ExpectNoneLocked();
}

// Ardour 7 holds its process lock around the program choice from its preset menu and takes
// it again in restartComponent: it must be told the values as edits, or it hangs.
TEST(Vst3ThreadRules, ArdourIsToldAProgramsValuesAsEditsWithoutARestart)
{
  auto* adapter = new IPlugVST3(kProduct);
  gAdapter = adapter;
  auto* app = new RecordingApplication("Ardour");
  auto* handler = new RecordingHandler;
  gHost.During("a program chosen in Ardour");
  ASSERT_EQ(adapter->initialize(app), kResultOk);
  adapter->setComponentHandler(handler);
  const int restarts = gHost.CountOf("handler.restartComponent");
  const int edits = gHost.CountOf("handler.performEdit");
  EXPECT_EQ(adapter->setParamNormalized(IPlugVST3::kProgramParamId, 1.0), kResultOk);
  EXPECT_EQ(gHost.CountOf("handler.restartComponent"), restarts);
  EXPECT_EQ(gHost.CountOf("handler.performEdit"), edits + adapter->Plug()->ParameterCount());
  adapter->terminate();
  gAdapter = nullptr;
  adapter->release();
  handler->release();
  app->release();
  gHost.ExpectNoneLocked();
}
