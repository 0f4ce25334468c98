// The clap_plugin's life cycle and processing: sample-accurate parameter events, the
// editor's gestures as output events, and the calls back to the host.
#include "IPlugCLAP.h"

#include <cassert>
#include <cmath>
#include <cstring>

#include "IPlugTrace.h"

IPlugCLAP::IPlugCLAP(const clap_plugin_descriptor_t* descriptor, const clap_host_t* host, IPlugBase* plug,
                     const IPlugCLAPProduct* product)
  : mHost(host), mPlug(plug), mProduct(product)
{
  std::memset(&mClapPlugin, 0, sizeof(mClapPlugin));
  mClapPlugin.desc = descriptor;
  mClapPlugin.plugin_data = this;
  mClapPlugin.init = ClapInit;
  mClapPlugin.destroy = ClapDestroy;
  mClapPlugin.activate = ClapActivate;
  mClapPlugin.deactivate = ClapDeactivate;
  mClapPlugin.start_processing = ClapStartProcessing;
  mClapPlugin.stop_processing = ClapStopProcessing;
  mClapPlugin.reset = ClapReset;
  mClapPlugin.process = ClapProcess;
  mClapPlugin.get_extension = ClapGetExtension;
  mClapPlugin.on_main_thread = ClapOnMainThread;

  mInputChannels = plug->InputChannelCount();
  plug->ConnectInputsFromHost(plug->InputChannelCount());
  plug->ConnectOutputsFromHost(plug->OutputChannelCount());
  plug->SetBlockFrames(1024);
  plug->SetHostCalls(this);
}

IPlugCLAP::~IPlugCLAP()
{
  CloseEditor();
  mPlug->SetHostCalls(nullptr);
}

IPlugCLAP* IPlugCLAP::From(const clap_plugin_t* plugin)
{
  return plugin ? static_cast<IPlugCLAP*>(plugin->plugin_data) : nullptr;
}

void IPlugCLAP::AssertMainThread() const
{
  assert(!mHostThreadCheck || !mHostThreadCheck->is_main_thread || mHostThreadCheck->is_main_thread(mHost));
}

// ---- Life cycle ----

bool CLAP_ABI IPlugCLAP::ClapInit(const clap_plugin_t* plugin)
{
  IPlugCLAP* self = From(plugin);
  return self && self->Init();
}

bool IPlugCLAP::Init()
{
  // The host's tables may be asked for from here on, not before.
  auto ext = [this](const char* id) { return mHost && mHost->get_extension ? mHost->get_extension(mHost, id) : nullptr; };
  mHostThreadCheck = static_cast<const clap_host_thread_check_t*>(ext(CLAP_EXT_THREAD_CHECK));
  AssertMainThread();
  mHostParams = static_cast<const clap_host_params_t*>(ext(CLAP_EXT_PARAMS));
  mHostState = static_cast<const clap_host_state_t*>(ext(CLAP_EXT_STATE));
  mHostTail = static_cast<const clap_host_tail_t*>(ext(CLAP_EXT_TAIL));
  mHostPresetLoad = static_cast<const clap_host_preset_load_t*>(ext(CLAP_EXT_PRESET_LOAD));
  if (!mHostPresetLoad) mHostPresetLoad = static_cast<const clap_host_preset_load_t*>(ext(CLAP_EXT_PRESET_LOAD_COMPAT));
  mHostTimer = static_cast<const clap_host_timer_support_t*>(ext(CLAP_EXT_TIMER_SUPPORT));
  mHostFd = static_cast<const clap_host_posix_fd_support_t*>(ext(CLAP_EXT_POSIX_FD_SUPPORT));
  mHostGui = static_cast<const clap_host_gui_t*>(ext(CLAP_EXT_GUI));
  mPlug->OpenFromHost();
  mReportedTail.store(TailSamples());
  return true;
}

void CLAP_ABI IPlugCLAP::ClapDestroy(const clap_plugin_t* plugin)
{
  IPlugCLAP* self = From(plugin);
  if (!self) return;
  self->AssertMainThread();
  EmitTrace("IPlugCLAP::destroy", __LINE__, "%s", self->mPlug->EffectName());
  delete self; // and the plug-in with it
  FlushTrace();
}

bool CLAP_ABI IPlugCLAP::ClapActivate(const clap_plugin_t* plugin, double rate, uint32_t /*minFrames*/,
                                      uint32_t maxFrames)
{
  IPlugCLAP* self = From(plugin);
  if (!self || self->mActive.load()) return false;
  self->AssertMainThread();
  IPlugBase& plug = *self->mPlug;
  if (!(std::isfinite(rate) && rate > 0.0) || maxFrames == 0) return false;
  plug.SetSampleRateFromHost(rate);
  if (!plug.SetBlockSizeFromHost(maxFrames)) return false;
  plug.SetActiveFromHost(true);
  self->mReportedTail.store(self->TailSamples());
  self->mActive.store(true);
  return true;
}

void CLAP_ABI IPlugCLAP::ClapDeactivate(const clap_plugin_t* plugin)
{
  IPlugCLAP* self = From(plugin);
  if (!self || !self->mActive.load()) return;
  self->AssertMainThread();
  self->mPlug->SetActiveFromHost(false);
  self->mActive.store(false);
}

bool CLAP_ABI IPlugCLAP::ClapStartProcessing(const clap_plugin_t* plugin)
{
  IPlugCLAP* self = From(plugin);
  if (!self || !self->mActive.load()) return false;
  self->mProcessing.store(true);
  return true;
}

void CLAP_ABI IPlugCLAP::ClapStopProcessing(const clap_plugin_t* plugin)
{
  if (IPlugCLAP* self = From(plugin)) self->mProcessing.store(false);
}

void CLAP_ABI IPlugCLAP::ClapReset(const clap_plugin_t* plugin)
{
  IPlugCLAP* self = From(plugin);
  if (!self) return;
  // At an unchanged rate the engine clears its delay line in place: nothing is allocated.
  self->mPlug->ResetFromHost();
}

const void* CLAP_ABI IPlugCLAP::ClapGetExtension(const clap_plugin_t* plugin, const char* id)
{
  IPlugCLAP* self = From(plugin);
  return self && id ? self->Extension(id) : nullptr;
}

void CLAP_ABI IPlugCLAP::ClapOnMainThread(const clap_plugin_t* /*plugin*/)
{
  // Nothing is asked for through request_callback.
}

// ---- Processing ----

clap_process_status CLAP_ABI IPlugCLAP::ClapProcess(const clap_plugin_t* plugin, const clap_process_t* process)
{
  IPlugCLAP* self = From(plugin);
  if (!self || !process) return CLAP_PROCESS_ERROR;
  return self->Process(*process);
}

clap_process_status IPlugCLAP::Process(const clap_process_t& process)
{
  const uint32_t frames = process.frames_count;
  if (process.audio_outputs_count < 1 || !process.audio_outputs) return CLAP_PROCESS_ERROR;
  const clap_audio_buffer_t& output = process.audio_outputs[0];
  // 64-bit only where the host hands 64-bit outputs (the ports say they take them).
  const bool doublePath = !output.data32 && output.data64;
  if (!output.data32 && !output.data64) return CLAP_PROCESS_ERROR;

  if (!mEdits.Empty()) SendQueuedEdits(process.out_events); // host calls: before the lock is taken

  const clap_input_events_t* in = process.in_events;
  const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
  if (count == 0)
    Run(process, doublePath, 0, frames, nullptr, 0);
  else
    RunWithEvents(process, doublePath, *in, count);
  process.audio_outputs[0].constant_mask = 0; // no output is flagged constant
  ReportTail();
  return CLAP_PROCESS_CONTINUE;
}

void IPlugCLAP::RunWithEvents(const clap_process_t& process, bool doublePath, const clap_input_events_t& in,
                              uint32_t count)
{
  // The block is split at each parameter change, so that it takes effect exactly at its
  // frame. The changes are copied out of the host's list (a call into the host) in
  // batches with the lock free; the plug-in then runs each batch with the frames up to
  // its last change under one lock, and the last batch to the end of the block.
  const uint32_t frames = process.frames_count;
  IParameterChange changes[kChangesPerBatch];
  uint32_t done = 0, next = 0;
  while (next < count)
  {
    int n = 0;
    for (; next < count && n < kChangesPerBatch; ++next)
      if (ReadChange(in.get(&in, next), frames, &changes[n])) ++n;
    uint32_t end = next == count ? frames : (n > 0 ? static_cast<uint32_t>(changes[n - 1].frame) : done);
    if (end < done) end = done; // times out of order are held to what was already processed
    Run(process, doublePath, done, end, changes, n);
    done = end;
  }
}

namespace
{
// The host's channel array as the plug-in's first needed channels: the host's own when it
// holds them all, else scratch (kMaxChannels long) with nulls where the host gave none.
template <class Sample>
Sample** PlugChannels(Sample** host, uint32_t hostCount, int needed, Sample** scratch)
{
  const uint32_t n = static_cast<uint32_t>(needed < IPlugCLAP::kMaxChannels ? needed : IPlugCLAP::kMaxChannels);
  if (host && hostCount >= n) return host;
  for (uint32_t c = 0; c < n; ++c) scratch[c] = host && c < hostCount ? host[c] : nullptr;
  return scratch;
}

// The plug-in's processing call for each sample type.
void ProcessFromHost(IPlugBase& plug, float** ins, float** outs, uint32_t start, uint32_t end,
                     const IParameterChange* changes, int count)
{
  plug.ProcessFloatFromHost(ins, outs, static_cast<int>(start), static_cast<int>(end), changes, count);
}
void ProcessFromHost(IPlugBase& plug, double** ins, double** outs, uint32_t start, uint32_t end,
                     const IParameterChange* changes, int count)
{
  plug.ProcessDoubleFromHost(ins, outs, static_cast<int>(start), static_cast<int>(end), changes, count);
}

template <class Sample>
void RunChannels(IPlugBase& plug, int inputs, Sample** hostIn, uint32_t inCount, Sample** hostOut, uint32_t outCount,
                 uint32_t start, uint32_t end, const IParameterChange* changes, int count)
{
  Sample* inScratch[IPlugCLAP::kMaxChannels];
  Sample* outScratch[IPlugCLAP::kMaxChannels];
  ProcessFromHost(plug, PlugChannels(hostIn, inCount, inputs, inScratch),
                  PlugChannels(hostOut, outCount, plug.OutputChannelCount(), outScratch), start, end, changes, count);
}
} // namespace

void IPlugCLAP::Run(const clap_process_t& process, bool doublePath, uint32_t start, uint32_t end,
                    const IParameterChange* changes, int count)
{
  const clap_audio_buffer_t* input = process.audio_inputs_count > 0 ? process.audio_inputs : nullptr;
  const clap_audio_buffer_t& output = process.audio_outputs[0];
  const uint32_t inCount = input ? input->channel_count : 0;
  if (doublePath)
    RunChannels(*mPlug, mInputChannels, input ? input->data64 : nullptr, inCount, output.data64,
                output.channel_count, start, end, changes, count);
  else
    RunChannels(*mPlug, mInputChannels, input ? input->data32 : nullptr, inCount, output.data32,
                output.channel_count, start, end, changes, count);
}

bool IPlugCLAP::ReadChange(const clap_event_header_t* event, uint32_t frames, IParameterChange* change) const
{
  if (!event || event->space_id != CLAP_CORE_EVENT_SPACE_ID || event->type != CLAP_EVENT_PARAM_VALUE ||
      event->size < sizeof(clap_event_param_value_t))
    return false;
  clap_event_param_value_t value;
  std::memcpy(&value, event, sizeof(value));
  if (value.param_id >= static_cast<clap_id>(mPlug->ParameterCount())) return false;
  change->frame = static_cast<int32_t>(event->time < frames ? event->time : frames);
  change->index = static_cast<int32_t>(value.param_id);
  change->value = value.value; // real, clamped to the range; one that is not finite is ignored
  change->normalized = false;
  return true;
}

void IPlugCLAP::Flush(const clap_input_events_t* in, const clap_output_events_t* out)
{
  const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
  for (uint32_t i = 0; i < count; ++i)
  {
    IParameterChange change;
    if (ReadChange(in->get(in, i), 0, &change)) mPlug->SetParameterFromHost(change.index, change.value, false);
  }
  SendQueuedEdits(out);
  if (mActive.load()) ReportTail(); // [audio] while active
}

void IPlugCLAP::SendQueuedEdits(const clap_output_events_t* out)
{
  if (!out || !out->try_push) return;
  IPlugCLAPEditQueue::Edit edit;
  while (mEdits.Peek(&edit))
  {
    bool sent;
    const clap_id id = static_cast<clap_id>(edit.paramIndex);
    if (edit.kind == IPlugCLAPEditQueue::kValue)
    {
      clap_event_param_value_t event{};
      event.header = {sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, CLAP_EVENT_IS_LIVE};
      event.param_id = id;
      event.note_id = -1;
      event.port_index = event.channel = event.key = -1;
      event.value = edit.value;
      sent = out->try_push(out, &event.header);
    }
    else
    {
      clap_event_param_gesture_t event{};
      const uint16_t type = edit.kind == IPlugCLAPEditQueue::kBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN
                                                                    : CLAP_EVENT_PARAM_GESTURE_END;
      event.header = {sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, type, CLAP_EVENT_IS_LIVE};
      event.param_id = id;
      sent = out->try_push(out, &event.header);
    }
    if (!sent) break; // the host's list is full: the rest go out with the next call
    mEdits.Pop();
  }
}

// ---- Tail ----

void IPlugCLAP::ReportTail()
{
  const uint32_t tail = TailSamples();
  if (tail == mReportedTail.load(std::memory_order_relaxed)) return;
  mReportedTail.store(tail, std::memory_order_relaxed);
  if (mHostTail && mHostTail->changed) mHostTail->changed(mHost);
}

// ---- Calls to the host ----

void IPlugCLAP::QueueEdit(IPlugCLAPEditQueue::EKind kind, int index, double value)
{
  if (!mPlug->ParameterAt(index)) return;
  if (!mEdits.Push({kind, index, value}))
    EmitTrace("IPlugCLAP::QueueEdit", __LINE__, "edit of parameter %d dropped: the host takes none", index);
  // Outside processing, output events go out only in a flush the host is asked for.
  if (!mProcessing.load() && mHostParams && mHostParams->request_flush) mHostParams->request_flush(mHost);
}

void IPlugCLAP::BeginEdit(int index)
{
  QueueEdit(IPlugCLAPEditQueue::kBegin, index, 0.0);
}

void IPlugCLAP::Automate(int index, double normalized)
{
  const IParameter* param = mPlug->ParameterAt(index);
  if (param) QueueEdit(IPlugCLAPEditQueue::kValue, index, param->FromNormalized(normalized));
}

void IPlugCLAP::EndEdit(int index)
{
  QueueEdit(IPlugCLAPEditQueue::kEnd, index, 0.0);
}

bool IPlugCLAP::HostProduct(char* product, int size, int* version)
{
  if (!mHost || !product || size <= 0) return false;
  CopyBoundedText(product, mHost->name, size);
  // "a.b.c" as a * 10000 + b * 100 + c; what is not a number counts as 0.
  int parts[3] = {0, 0, 0};
  const char* p = mHost->version ? mHost->version : "";
  for (int i = 0; i < 3 && *p; ++i)
  {
    while (*p >= '0' && *p <= '9' && parts[i] < 10000) parts[i] = parts[i] * 10 + (*p++ - '0');
    while (*p && *p != '.') ++p;
    if (*p == '.') ++p;
  }
  *version = parts[0] * 10000 + (parts[1] % 100) * 100 + parts[2] % 100;
  return true;
}
