#include "Vst3HostKit.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <poll.h>
#include <sys/utsname.h>
#endif
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

using namespace vst3;

namespace vst3host
{
// ---- Module ----

std::string ModulePathInBundle(const std::string& bundle)
{
#if defined(_WIN32)
  const char* const separators = "/\\"; // Windows paths may be written with either
#else
  const char* const separators = "/";
#endif
  std::string path = bundle;
  while (path.size() > 1 && std::strchr(separators, path.back())) path.pop_back();
  const size_t slash = path.find_last_of(separators);
  std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  if (name.size() > 5 && name.compare(name.size() - 5, 5, ".vst3") == 0) name.resize(name.size() - 5);
#if defined(_WIN32)
  return path + (sizeof(void*) == 8 ? "\\Contents\\x86_64-win\\" : "\\Contents\\x86-win\\") + name + ".vst3";
#else
  utsname machine{};
  uname(&machine);
  return path + "/Contents/" + machine.machine + "-linux/" + name + ".so";
#endif
}

namespace
{
// The module's entry and exit: ModuleEntry / ModuleExit on Linux (required), InitDll /
// ExitDll on Windows (optional).
#if defined(_WIN32)
const char* const kEntryName = "InitDll";
const char* const kExitName = "ExitDll";
constexpr bool kEntryRequired = false;
#else
const char* const kEntryName = "ModuleEntry";
const char* const kExitName = "ModuleExit";
constexpr bool kEntryRequired = true;
#endif
} // namespace

Module::Module(const std::string& bundleOrFile)
{
  struct stat info{};
  mPath = stat(bundleOrFile.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? ModulePathInBundle(bundleOrFile)
                                                                           : bundleOrFile;
  // Kept mapped after unloading (Linux), so that sanitizer reports can still name its
  // code and what its statics hold is not taken for leaks.
  std::string why;
  if (!mLibrary.Open(mPath, why, true))
  {
    mError = "cannot load " + mPath + ": " + why;
    return;
  }
  void* entry = mLibrary.Symbol(kEntryName);
  auto getFactory = reinterpret_cast<GetFactoryProc>(mLibrary.Symbol("GetPluginFactory"));
  if ((kEntryRequired && (!entry || !mLibrary.Symbol(kExitName))) || !getFactory)
  {
    mError = mPath + " lacks GetPluginFactory, " + kEntryName + " or " + kExitName;
    return;
  }
#if defined(_WIN32)
  const bool entered = !entry || reinterpret_cast<bool (*)()>(entry)();
#else
  const bool entered = reinterpret_cast<ModuleEntryProc>(entry)(mLibrary.Handle());
#endif
  if (!entered)
  {
    mError = mPath + ": " + kEntryName + " failed";
    return;
  }
  mEntered = true;
  mFactory = getFactory();
  if (!mFactory) mError = mPath + ": GetPluginFactory gave no factory";
}

Module::~Module()
{
  if (mFactory) mFactory->release();
  if (mLibrary.IsOpen())
  {
    if (auto exitProc = reinterpret_cast<ModuleExitProc>(mLibrary.Symbol(kExitName)))
      if (mEntered) exitProc();
    mLibrary.Close();
  }
}

bool Module::FirstAudioClass(PClassInfo2* info) const
{
  if (!mFactory) return false;
  IPluginFactory2* factory2 = nullptr;
  if (mFactory->queryInterface(IPluginFactory2_iid.bytes, reinterpret_cast<void**>(&factory2)) != kResultOk)
    return false;
  bool found = false;
  for (int32 i = 0; !found && i < factory2->countClasses(); ++i)
    found = factory2->getClassInfo2(i, info) == kResultOk && !std::strcmp(info->category, kVstAudioEffectClass);
  factory2->release();
  return found;
}

std::string UidText(const char* tuid)
{
  Uid u{};
  std::memcpy(u.bytes, tuid, 16);
  char text[33];
  vst3::UidText(u, text);
  return text;
}

// ---- Host context ----

tresult VST3_API HostApplication::getName(String128 name)
{
  const char* text = "Brindlow host kit";
  size_t i = 0;
  for (; text[i]; ++i) name[i] = static_cast<char16>(text[i]);
  name[i] = 0;
  return kResultOk;
}

// ---- Streams ----

tresult VST3_API MemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead)
{
  if (numBytes < 0 || (!buffer && numBytes > 0)) return kInvalidArgument;
  size_t n = std::min<size_t>(static_cast<size_t>(numBytes), static_cast<size_t>(chunk));
  n = std::min(n, position < bytes.size() ? bytes.size() - position : 0);
  if (n > 0) std::memcpy(buffer, bytes.data() + position, n);
  position += n;
  if (numBytesRead) *numBytesRead = static_cast<int32>(n);
  return kResultOk; // a short read, and 0 bytes at the end, are no error
}

tresult VST3_API MemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten)
{
  if (numBytes < 0 || (!buffer && numBytes > 0)) return kInvalidArgument;
  const size_t n = std::min<size_t>(static_cast<size_t>(numBytes), static_cast<size_t>(chunk));
  if (bytes.size() < position + n) bytes.resize(position + n);
  if (n > 0) std::memcpy(bytes.data() + position, buffer, n);
  position += n;
  if (numBytesWritten) *numBytesWritten = static_cast<int32>(n);
  return kResultOk;
}

tresult VST3_API MemoryStream::seek(int64 pos, int32 mode, int64* result)
{
  const int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? static_cast<int64>(position)
                                                                 : static_cast<int64>(bytes.size());
  if (mode < kIBSeekSet || mode > kIBSeekEnd || base + pos < 0) return kInvalidArgument;
  position = static_cast<size_t>(base + pos);
  if (result) *result = static_cast<int64>(position);
  return kResultOk;
}

tresult VST3_API MemoryStream::tell(int64* pos)
{
  if (!pos) return kInvalidArgument;
  *pos = static_cast<int64>(position);
  return kResultOk;
}

// ---- Parameter changes ----

tresult VST3_API ParamQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value)
{
  if (index < 0 || index >= getPointCount()) return kInvalidArgument;
  sampleOffset = points[static_cast<size_t>(index)].offset;
  value = points[static_cast<size_t>(index)].value;
  return kResultTrue;
}

tresult VST3_API ParamQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index)
{
  points.push_back({sampleOffset, value});
  index = getPointCount() - 1;
  return kResultTrue;
}

ParameterChanges::ParameterChanges()
{
  mQueues.reserve(16);
}

ParameterChanges::~ParameterChanges()
{
  Clear();
}

IParamValueQueue* VST3_API ParameterChanges::getParameterData(int32 index)
{
  return index >= 0 && index < getParameterCount() ? mQueues[static_cast<size_t>(index)] : nullptr;
}

IParamValueQueue* VST3_API ParameterChanges::addParameterData(const ParamID& id, int32& index)
{
  for (size_t i = 0; i < mQueues.size(); ++i)
    if (mQueues[i]->getParameterId() == id)
    {
      index = static_cast<int32>(i);
      return mQueues[i];
    }
  mQueues.push_back(new ParamQueue(id));
  mQueues.back()->points.reserve(64);
  index = getParameterCount() - 1;
  return mQueues.back();
}

void ParameterChanges::Add(ParamID id, int32 offset, ParamValue value)
{
  int32 index = 0, point = 0;
  addParameterData(id, index)->addPoint(offset, value, point);
}

void ParameterChanges::Clear()
{
  for (ParamQueue* queue : mQueues) queue->release();
  mQueues.clear();
}

// ---- Component handler ----

tresult ComponentHandler::Record(EKind kind, ParamID id, double value)
{
  calls.push_back({kind, id, value, std::this_thread::get_id()});
  return kResultOk;
}

// ---- Plug frame and run loop ----

PlugFrame::~PlugFrame()
{
  for (const Fd& fd : mFds) fd.handler->release();
  for (ITimerHandler* timer : mTimers) timer->release();
}

tresult VST3_API PlugFrame::queryInterface(const TUID iid, void** obj)
{
  if (offerRunLoop && obj && SameUid(iid, IRunLoop_iid.bytes))
  {
    *obj = static_cast<IRunLoop*>(this);
    addRef();
    return kResultOk;
  }
  return Answer(iid, IPlugFrame_iid, obj);
}

tresult VST3_API PlugFrame::resizeView(IPlugView* view, ViewRect* newSize)
{
  if (!view || !newSize) return kInvalidArgument;
  ++resizeCount;
  lastResize = *newSize;
  return view->onSize(newSize); // inside the call, as the SDK's editor host does
}

tresult VST3_API PlugFrame::registerEventHandler(IEventHandler* handler, FileDescriptor fd)
{
  if (!handler || fd < 0) return kInvalidArgument;
  for (const Fd& known : mFds)
    if (known.fd == fd) return kInvalidArgument; // one handler per descriptor
  handler->addRef();
  mFds.push_back({handler, fd});
  return kResultTrue;
}

tresult VST3_API PlugFrame::unregisterEventHandler(IEventHandler* handler)
{
  const auto it = std::find_if(mFds.begin(), mFds.end(), [handler](const Fd& fd) { return fd.handler == handler; });
  if (it == mFds.end()) return kInvalidArgument;
  it->handler->release();
  mFds.erase(it);
  return kResultTrue;
}

tresult VST3_API PlugFrame::registerTimer(ITimerHandler* handler, TimerInterval milliseconds)
{
  if (!handler || milliseconds == 0) return kInvalidArgument;
  handler->addRef();
  mTimers.push_back(handler);
  return kResultTrue;
}

tresult VST3_API PlugFrame::unregisterTimer(ITimerHandler* handler)
{
  const auto it = std::find(mTimers.begin(), mTimers.end(), handler);
  if (it == mTimers.end()) return kInvalidArgument;
  (*it)->release();
  mTimers.erase(it);
  return kResultTrue;
}

void PlugFrame::Pump(int timeoutMs)
{
#if !defined(_WIN32) // Windows editors are served by the host's message loop
  std::vector<pollfd> fds;
  for (const Fd& fd : mFds) fds.push_back({fd.fd, POLLIN, 0});
  if (!fds.empty() && poll(fds.data(), fds.size(), timeoutMs) > 0)
  {
    // Handlers may unregister while called: served from a copy, checked again.
    const std::vector<Fd> registered = mFds;
    for (size_t i = 0; i < fds.size() && i < registered.size(); ++i)
      if (fds[i].revents & POLLIN) registered[i].handler->onFDIsSet(registered[i].fd);
  }
#else
  (void)timeoutMs;
#endif
  const std::vector<ITimerHandler*> timers = mTimers;
  for (ITimerHandler* timer : timers)
    if (std::find(mTimers.begin(), mTimers.end(), timer) != mTimers.end()) timer->onTimer();
}

// ---- Instance ----

Instance::Instance(Module& module)
{
  PClassInfo2 info{};
  if (!module.FirstAudioClass(&info))
  {
    mError = module.Loaded() ? "no audio class" : module.Error();
    return;
  }
  void* obj = nullptr;
  if (module.Factory()->createInstance(info.cid, IComponent_iid.bytes, &obj) != kResultOk || !obj)
  {
    mError = "createInstance failed";
    return;
  }
  component = static_cast<IComponent*>(obj);
  host = new HostApplication;
  handler = new ComponentHandler;
  if (component->initialize(host) != kResultOk)
  {
    mError = "initialize failed";
    return;
  }
  if (component->queryInterface(IAudioProcessor_iid.bytes, &obj) == kResultOk) processor = static_cast<IAudioProcessor*>(obj);
  if (component->queryInterface(IEditController_iid.bytes, &obj) == kResultOk)
    controller = static_cast<IEditController*>(obj);
  else
  {
    TUID controllerId = {};
    if (component->getControllerClassId(controllerId) == kResultOk &&
        module.Factory()->createInstance(controllerId, IEditController_iid.bytes, &obj) == kResultOk)
    {
      controller = static_cast<IEditController*>(obj);
      mSeparateController = true;
    }
  }
  if (!processor || !controller)
  {
    mError = "no audio processor or no controller";
    return;
  }
  // As Ardour does, the controller is initialised even when it is the component.
  controller->initialize(host);
  controller->setComponentHandler(handler);
  if (controller->queryInterface(IUnitInfo_iid.bytes, &obj) == kResultOk) units = static_cast<IUnitInfo*>(obj);
  component->activateBus(kAudio, kInput, 0, 1);
  component->activateBus(kAudio, kOutput, 0, 1);
  // The controller learns the component's values as a host tells it on opening.
  LoadState(SaveState());
}

Instance::~Instance()
{
  Deactivate();
  if (units) units->release();
  if (controller)
  {
    controller->setComponentHandler(nullptr);
    controller->terminate();
    controller->release();
  }
  if (processor) processor->release();
  if (component)
  {
    component->terminate();
    component->release();
  }
  if (handler) handler->release();
  if (host) host->release();
}

bool Instance::Activate(double rate, int maxFrames, int sampleSize)
{
  if (!Ok()) return false;
  ProcessSetup setup{kRealtime, sampleSize, maxFrames, rate};
  if (processor->setupProcessing(setup) != kResultOk || component->setActive(1) != kResultOk) return false;
  processor->setProcessing(1);
  mSampleSize = sampleSize;
  mActive = true;
  return true;
}

void Instance::Deactivate()
{
  if (!mActive) return;
  processor->setProcessing(0);
  component->setActive(0);
  mActive = false;
}

template <class Sample>
tresult Instance::Process(Sample** inputs, int inChannels, Sample** outputs, int outChannels, int frames,
                          IParameterChanges* changes, int sampleSize)
{
  inputBus.numChannels = inChannels;
  inputBus.silenceFlags = 0;
  outputBus.numChannels = outChannels;
  outputBus.silenceFlags = 0;
  if (sampleSize == kSample64)
  {
    inputBus.channelBuffers64 = reinterpret_cast<Sample64**>(inputs);
    outputBus.channelBuffers64 = reinterpret_cast<Sample64**>(outputs);
  }
  else
  {
    inputBus.channelBuffers32 = reinterpret_cast<Sample32**>(inputs);
    outputBus.channelBuffers32 = reinterpret_cast<Sample32**>(outputs);
  }
  ProcessData data{};
  data.processMode = kRealtime;
  data.symbolicSampleSize = sampleSize;
  data.numSamples = frames;
  data.numInputs = inputs ? 1 : 0;
  data.numOutputs = outputs ? 1 : 0;
  data.inputs = inputs ? &inputBus : nullptr;
  data.outputs = outputs ? &outputBus : nullptr;
  data.inputParameterChanges = changes;
  return processor->process(data);
}

tresult Instance::Process32(float** inputs, int inChannels, float** outputs, int outChannels, int frames,
                            IParameterChanges* changes)
{
  return Process(inputs, inChannels, outputs, outChannels, frames, changes, kSample32);
}

tresult Instance::Process64(double** inputs, int inChannels, double** outputs, int outChannels, int frames,
                            IParameterChanges* changes)
{
  return Process(inputs, inChannels, outputs, outChannels, frames, changes, kSample64);
}

std::vector<uint8_t> Instance::SaveState(int chunk)
{
  MemoryStream* stream = new MemoryStream({}, chunk);
  std::vector<uint8_t> bytes;
  if (component && component->getState(stream) == kResultOk) bytes = stream->bytes;
  stream->release();
  return bytes;
}

bool Instance::LoadState(const std::vector<uint8_t>& bytes, int chunk)
{
  if (!component || !controller) return false;
  MemoryStream* stream = new MemoryStream(bytes, chunk);
  bool ok = component->setState(stream) == kResultOk;
  if (ok)
  {
    stream->position = 0;
    ok = controller->setComponentState(stream) == kResultOk;
  }
  stream->release();
  return ok;
}

// ---- .vstpreset ----

namespace
{
void PutLE(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t GetLE(const uint8_t* in, int bytes)
{
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | in[i];
  return value;
}
} // namespace

std::vector<uint8_t> WritePresetFile(const char* componentClassId, const std::vector<uint8_t>& componentState)
{
  std::vector<uint8_t> file = {'V', 'S', 'T', '3'};
  PutLE(file, 1, 4);
  file.insert(file.end(), componentClassId, componentClassId + 32);
  const uint64_t listOffset = 48 + componentState.size();
  PutLE(file, listOffset, 8);
  file.insert(file.end(), componentState.begin(), componentState.end());
  const uint8_t list[] = {'L', 'i', 's', 't'};
  file.insert(file.end(), list, list + 4);
  PutLE(file, 2, 4);
  const uint8_t comp[] = {'C', 'o', 'm', 'p'}, cont[] = {'C', 'o', 'n', 't'};
  file.insert(file.end(), comp, comp + 4);
  PutLE(file, 48, 8);
  PutLE(file, componentState.size(), 8);
  file.insert(file.end(), cont, cont + 4); // the controller keeps nothing: 0 bytes
  PutLE(file, listOffset, 8);
  PutLE(file, 0, 8);
  return file;
}

bool ReadPresetFile(const std::vector<uint8_t>& file, const char* componentClassId, std::vector<uint8_t>* state,
                    std::string* error)
{
  if (file.size() < 48 || std::memcmp(file.data(), "VST3", 4) != 0)
  {
    *error = "not a .vstpreset file";
    return false;
  }
  if (std::memcmp(file.data() + 8, componentClassId, 32) != 0)
  {
    *error = "a preset of another plug-in (class " + std::string(reinterpret_cast<const char*>(file.data()) + 8, 32) + ")";
    return false;
  }
  const uint64_t list = GetLE(file.data() + 40, 8);
  if (list > file.size() || file.size() - list < 8 || std::memcmp(file.data() + list, "List", 4) != 0)
  {
    *error = "damaged .vstpreset: no chunk list";
    return false;
  }
  const uint64_t count = GetLE(file.data() + list + 4, 4);
  if (count > 128 || (file.size() - list - 8) / 20 < count)
  {
    *error = "damaged .vstpreset: the chunk list is cut short";
    return false;
  }
  for (uint64_t i = 0; i < count; ++i)
  {
    const uint64_t entry = list + 8 + 20 * i;
    const uint64_t offset = GetLE(file.data() + entry + 4, 8), size = GetLE(file.data() + entry + 12, 8);
    if (std::memcmp(file.data() + entry, "Comp", 4) != 0) continue;
    if (offset > file.size() || size > file.size() - offset)
    {
      *error = "damaged .vstpreset: the state lies outside the file";
      return false;
    }
    state->assign(file.begin() + static_cast<long>(offset), file.begin() + static_cast<long>(offset + size));
    return true;
  }
  *error = "damaged .vstpreset: no component state";
  return false;
}
} // namespace vst3host
