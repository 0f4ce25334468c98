// The VST 3 host kit: what a host needs to drive a VST 3 plug-in, on the project's own
// interface header (iplug/vst3/vst3_abi.h) and nothing of the plug-in's code. It loads
// a bundle's module with dlopen(RTLD_NOW | RTLD_LOCAL) as hosts do, makes instances
// through the factory, and offers the host-made objects a plug-in uses: the host
// context, memory streams, parameter changes, a component handler that records what it
// is told, and a plug frame with a run loop the caller pumps on its own thread. It builds
// for Windows too (LoadLibrary, InitDll / ExitDll), for the Wine check program.
// Tests and tools use it from one thread (the UI thread) plus, for process, any other.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "ModuleLibrary.h"
#include "vst3_abi.h"

namespace vst3host
{
// Reference counting shared by the kit's objects: they start at 1, as the interface
// wants, and the kit's owner drops that one reference when done.
template <class Base>
class Counted : public Base
{
public:
  vst3::uint32 VST3_API addRef() override { return ++mCount; }
  vst3::uint32 VST3_API release() override
  {
    const vst3::uint32 count = --mCount;
    if (count == 0) delete this;
    return count;
  }
  vst3::uint32 Count() const { return mCount; }
  virtual ~Counted() = default;

protected:
  // Answers FUnknown and the one interface id given.
  vst3::tresult Answer(const vst3::TUID iid, const vst3::Uid& own, void** obj)
  {
    if (!obj) return vst3::kInvalidArgument;
    if (vst3::SameUid(iid, vst3::FUnknown_iid.bytes) || vst3::SameUid(iid, own.bytes))
    {
      *obj = static_cast<Base*>(this);
      addRef();
      return vst3::kResultOk;
    }
    *obj = nullptr;
    return vst3::kNoInterface;
  }

private:
  std::atomic<vst3::uint32> mCount{1};
};

// The module of a .vst3 bundle (or a module file given directly).
class Module
{
public:
  explicit Module(const std::string& bundleOrFile);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  bool Loaded() const { return mFactory != nullptr; }
  const std::string& Error() const { return mError; }
  const std::string& Path() const { return mPath; }
  vst3::IPluginFactory* Factory() const { return mFactory; }
  // The factory's first "Audio Module Class" class, read through IPluginFactory2.
  bool FirstAudioClass(vst3::PClassInfo2* info) const;

private:
  hostkit::ModuleLibrary mLibrary;
  bool mEntered = false;
  vst3::IPluginFactory* mFactory = nullptr;
  std::string mPath;
  std::string mError;
};

// The module's path inside a bundle on this platform: Contents/<arch>-linux/<name>.so,
// Contents\<arch>-win\<name>.vst3.
std::string ModulePathInBundle(const std::string& bundle);

// The 32 hex digits of an id's text form.
std::string UidText(const char* tuid);

// The host context: IHostApplication (name "Brindlow host kit") and nothing else.
class HostApplication final : public Counted<vst3::IHostApplication>
{
public:
  vst3::tresult VST3_API queryInterface(const vst3::TUID iid, void** obj) override
  {
    return Answer(iid, vst3::IHostApplication_iid, obj);
  }
  vst3::tresult VST3_API getName(vst3::String128 name) override;
  vst3::tresult VST3_API createInstance(vst3::TUID, vst3::TUID, void** obj) override
  {
    if (obj) *obj = nullptr;
    return vst3::kNoInterface;
  }
};

// A stream over bytes in memory. Reads and writes move at most chunk bytes per call,
// as some hosts' streams do.
class MemoryStream final : public Counted<vst3::IBStream>
{
public:
  explicit MemoryStream(std::vector<uint8_t> data = {}, int chunk = 1 << 30) : bytes(std::move(data)), chunk(chunk) {}
  vst3::tresult VST3_API queryInterface(const vst3::TUID iid, void** obj) override
  {
    return Answer(iid, vst3::IBStream_iid, obj);
  }
  vst3::tresult VST3_API read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) override;
  vst3::tresult VST3_API write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten) override;
  vst3::tresult VST3_API seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result) override;
  vst3::tresult VST3_API tell(vst3::int64* pos) override;

  std::vector<uint8_t> bytes;
  size_t position = 0;
  int chunk;
};

// One parameter's points for a block.
class ParamQueue final : public Counted<vst3::IParamValueQueue>
{
public:
  explicit ParamQueue(vst3::ParamID id) : mId(id) {}
  vst3::tresult VST3_API queryInterface(const vst3::TUID iid, void** obj) override
  {
    return Answer(iid, vst3::IParamValueQueue_iid, obj);
  }
  vst3::ParamID VST3_API getParameterId() override { return mId; }
  vst3::int32 VST3_API getPointCount() override { return static_cast<vst3::int32>(points.size()); }
  vst3::tresult VST3_API getPoint(vst3::int32 index, vst3::int32& sampleOffset, vst3::ParamValue& value) override;
  vst3::tresult VST3_API addPoint(vst3::int32 sampleOffset, vst3::ParamValue value, vst3::int32& index) override;

  struct Point
  {
    vst3::int32 offset;
    vst3::ParamValue value;
  };
  std::vector<Point> points;

private:
  vst3::ParamID mId;
};

// A block's parameter changes: one queue per parameter, points added in frame order.
// Storage is reserved up front so that handing it to process allocates nothing.
class ParameterChanges final : public Counted<vst3::IParameterChanges>
{
public:
  ParameterChanges();
  ~ParameterChanges() override;
  vst3::tresult VST3_API queryInterface(const vst3::TUID iid, void** obj) override
  {
    return Answer(iid, vst3::IParameterChanges_iid, obj);
  }
  vst3::int32 VST3_API getParameterCount() override { return static_cast<vst3::int32>(mQueues.size()); }
  vst3::IParamValueQueue* VST3_API getParameterData(vst3::int32 index) override;
  vst3::IParamValueQueue* VST3_API addParameterData(const vst3::ParamID& id, vst3::int32& index) override;

  void Add(vst3::ParamID id, vst3::int32 offset, vst3::ParamValue value);
  void Clear();

private:
  std::vector<ParamQueue*> mQueues;
};

// The component handler: records every call with the thread it came on.
class ComponentHandler final : public Counted<vst3::IComponentHandler>
{
public:
  vst3::tresult VST3_API queryInterface(const vst3::TUID iid, void** obj) override
  {
    return Answer(iid, vst3::IComponentHandler_iid, obj);
  }
  enum EKind { kBegin, kPerform, kEnd, kRestart };
  struct Call
  {
    EKind kind;
    vst3::ParamID id;
    double value; // performEdit's value, restartComponent's flags
    std::thread::id thread;
  };
  vst3::tresult VST3_API beginEdit(vst3::ParamID id) override { return Record(kBegin, id, 0.0); }
  vst3::tresult VST3_API performEdit(vst3::ParamID id, vst3::ParamValue value) override
  {
    return Record(kPerform, id, value);
  }
  vst3::tresult VST3_API endEdit(vst3::ParamID id) override { return Record(kEnd, id, 0.0); }
  vst3::tresult VST3_API restartComponent(vst3::int32 flags) override { return Record(kRestart, 0, flags); }

  std::vector<Call> calls;

private:
  vst3::tresult Record(EKind kind, vst3::ParamID id, double value);
};

// The plug frame with a run loop (both answered on the frame): registered descriptors
// and timers are served by Pump on the caller's thread, as a host's main loop would.
class PlugFrame final : public Counted<vst3::IPlugFrame>, public vst3::IRunLoop
{
public:
  ~PlugFrame() override;
  vst3::tresult VST3_API queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::uint32 VST3_API addRef() override { return Counted<vst3::IPlugFrame>::addRef(); }
  vst3::uint32 VST3_API release() override { return Counted<vst3::IPlugFrame>::release(); }
  vst3::tresult VST3_API resizeView(vst3::IPlugView* view, vst3::ViewRect* newSize) override;

  vst3::tresult VST3_API registerEventHandler(vst3::IEventHandler* handler, vst3::FileDescriptor fd) override;
  vst3::tresult VST3_API unregisterEventHandler(vst3::IEventHandler* handler) override;
  vst3::tresult VST3_API registerTimer(vst3::ITimerHandler* handler, vst3::TimerInterval milliseconds) override;
  vst3::tresult VST3_API unregisterTimer(vst3::ITimerHandler* handler) override;

  // Calls the handlers of descriptors with data waiting (waiting up to timeoutMs for
  // one) and every timer, once.
  void Pump(int timeoutMs = 0);
  bool offerRunLoop = true;
  size_t EventHandlerCount() const { return mFds.size(); }
  size_t TimerCount() const { return mTimers.size(); }
  int resizeCount = 0;
  vst3::ViewRect lastResize{}; // the size of the last resizeView

private:
  struct Fd
  {
    vst3::IEventHandler* handler;
    int fd;
  };
  std::vector<Fd> mFds;
  std::vector<vst3::ITimerHandler*> mTimers;
};

// An instance of a module's first audio class: initialised with the kit's host context,
// its controller found (the same object, or the class the component names) and handed
// the kit's component handler; its buses activated.
class Instance
{
public:
  explicit Instance(Module& module);
  ~Instance();
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  bool Ok() const { return component && processor && controller; }
  const std::string& Error() const { return mError; }

  // setupProcessing, setActive(true), setProcessing(true).
  bool Activate(double rate = 44100.0, int maxFrames = 512, int sampleSize = vst3::kSample32);
  void Deactivate();
  // One block of frames through the main buses (channel pointer arrays as given).
  vst3::tresult Process32(float** inputs, int inChannels, float** outputs, int outChannels, int frames,
                          vst3::IParameterChanges* changes = nullptr);
  vst3::tresult Process64(double** inputs, int inChannels, double** outputs, int outChannels, int frames,
                          vst3::IParameterChanges* changes = nullptr);
  // The component's state, or the bytes given to it (and then to the controller).
  std::vector<uint8_t> SaveState(int chunk = 1 << 30);
  bool LoadState(const std::vector<uint8_t>& bytes, int chunk = 1 << 30);

  vst3::IComponent* component = nullptr;
  vst3::IAudioProcessor* processor = nullptr;
  vst3::IEditController* controller = nullptr;
  vst3::IUnitInfo* units = nullptr; // null when the controller has none
  HostApplication* host = nullptr;
  ComponentHandler* handler = nullptr;
  vst3::AudioBusBuffers inputBus{};
  vst3::AudioBusBuffers outputBus{};

private:
  template <class Sample>
  vst3::tresult Process(Sample** inputs, int inChannels, Sample** outputs, int outChannels, int frames,
                        vst3::IParameterChanges* changes, int sampleSize);
  bool mSeparateController = false;
  bool mActive = false;
  int mSampleSize = vst3::kSample32;
  std::string mError;
};

// A .vstpreset file of a component's state (no controller state).
std::vector<uint8_t> WritePresetFile(const char* componentClassId, const std::vector<uint8_t>& componentState);
// The 'Comp' chunk of a .vstpreset; false for a file of another class or a damaged one.
bool ReadPresetFile(const std::vector<uint8_t>& file, const char* componentClassId, std::vector<uint8_t>* state,
                    std::string* error);
} // namespace vst3host
