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

  const int nParams = plug->ParameterCount();
  for (int i = 0; i < nParams && i < static_cast<int>(sizeof(mDefaults) / sizeof(mDefaults[0])); ++i)
    mDefaults[i] = plug->ParameterAt(i)->Value();
  mInputChannels = plug->InputChannelCount();
  plug->SetInputsConnected(0, plug->InputChannelCount(), true);
  plug->SetOutputsConnected(0, plug->OutputChannelCount(), true);
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
  IPlugLockGuard guard(self->mPlug->Lock());
  self->mPlug->ResetProcessing();
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

  SendQueuedEdits(process.out_events); // a host call: before the lock is taken

  const clap_input_events_t* in = process.in_events;
  const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
  uint32_t tail = 0;
  bool tailChecked = false;
  if (count == 0)
  {
    if (!ProcessWhole(process, doublePath)) ProcessRange(process, doublePath, 0, frames);
  }
  else
  {
    // The block is split at each parameter change, so it takes effect exactly at its
    // frame. The changes are copied out of the host's list in batches with the lock
    // free (reading the list is a call into the host); each batch, with the sub-blocks
    // between its changes, then runs under one lock, taken again re-entrantly below.
    ParamChange changes[kChangesPerBatch];
    uint32_t done = 0, next = 0;
    while (next < count)
    {
      uint32_t n = 0;
      for (; next < count && n < kChangesPerBatch; ++next)
        if (ReadChange(in->get(in, next), frames, &changes[n])) ++n;
      IPlugLockGuard guard(mPlug->Lock());
      for (uint32_t k = 0; k < n; ++k)
      {
        // Times out of order are held to what was already processed.
        if (changes[k].time > done)
        {
          ProcessRange(process, doublePath, done, changes[k].time);
          done = changes[k].time;
        }
        ApplyChange(changes[k]);
      }
      if (next == count)
      {
        if (done < frames) ProcessRange(process, doublePath, done, frames);
        tailChecked = TakeTailChange(&tail);
      }
    }
  }
  process.audio_outputs[0].constant_mask = 0; // no output is flagged constant

  if (!tailChecked) tailChecked = TakeTailChange(&tail); // an edit from the editor, say
  if (tailChecked) ReportTail(tail);
  return CLAP_PROCESS_CONTINUE;
}

namespace
{
// out[c] = the host's channel c from frame start on, for c < n; null where the host gave
// no such channel.
template <class Sample>
void OffsetChannels(Sample* const* host, uint32_t hostCount, uint32_t n, uint32_t start, Sample** out)
{
  for (uint32_t c = 0; c < n; ++c) out[c] = host && c < hostCount && host[c] ? host[c] + start : nullptr;
}
} // namespace

bool IPlugCLAP::ProcessWhole(const clap_process_t& process, bool doublePath)
{
  // The common block: no change inside it, and the host's ports hold every channel the
  // plug-in reads and writes. Its own pointer arrays serve as they are.
  const clap_audio_buffer_t* input = process.audio_inputs_count > 0 ? process.audio_inputs : nullptr;
  const clap_audio_buffer_t& output = process.audio_outputs[0];
  if (mInputChannels > 0 && (!input || input->channel_count < static_cast<uint32_t>(mInputChannels))) return false;
  if (output.channel_count < static_cast<uint32_t>(mPlug->OutputChannelCount())) return false;
  const int frames = static_cast<int>(process.frames_count);
  if (doublePath)
  {
    if (mInputChannels > 0 && !input->data64) return false;
    mPlug->ProcessDoubleFromHost(input ? input->data64 : nullptr, output.data64, frames);
  }
  else
  {
    if (mInputChannels > 0 && !input->data32) return false;
    mPlug->ProcessFloatFromHost(input ? input->data32 : nullptr, output.data32, frames);
  }
  return true;
}

void IPlugCLAP::ProcessRange(const clap_process_t& process, bool doublePath, uint32_t start, uint32_t end)
{
  const int frames = static_cast<int>(end - start);
  const clap_audio_buffer_t* input = process.audio_inputs_count > 0 ? process.audio_inputs : nullptr;
  const clap_audio_buffer_t& output = process.audio_outputs[0];
  // Offset pointers into the host's buffers, one per connected channel: channels the
  // host did not give read silence (inputs) or are dropped (outputs).
  const uint32_t nIn = static_cast<uint32_t>(mInputChannels < kMaxChannels ? mInputChannels : kMaxChannels);
  const int outputs = mPlug->OutputChannelCount();
  const uint32_t nOut = static_cast<uint32_t>(outputs < kMaxChannels ? outputs : kMaxChannels);
  const uint32_t inCount = input ? input->channel_count : 0;
  if (doublePath)
  {
    double* ins[kMaxChannels];
    double* outs[kMaxChannels];
    OffsetChannels(input ? input->data64 : nullptr, inCount, nIn, start, ins);
    OffsetChannels(output.data64, output.channel_count, nOut, start, outs);
    mPlug->ProcessDoubleFromHost(ins, outs, frames);
  }
  else
  {
    float* ins[kMaxChannels];
    float* outs[kMaxChannels];
    OffsetChannels(input ? input->data32 : nullptr, inCount, nIn, start, ins);
    OffsetChannels(output.data32, output.channel_count, nOut, start, outs);
    mPlug->ProcessFloatFromHost(ins, outs, frames);
  }
}

bool IPlugCLAP::ReadChange(const clap_event_header_t* event, uint32_t frames, ParamChange* change) const
{
  if (!event || event->space_id != CLAP_CORE_EVENT_SPACE_ID || event->type != CLAP_EVENT_PARAM_VALUE ||
      event->size < sizeof(clap_event_param_value_t))
    return false;
  clap_event_param_value_t value;
  std::memcpy(&value, event, sizeof(value));
  if (value.param_id >= static_cast<clap_id>(mPlug->ParameterCount())) return false;
  change->time = event->time < frames ? event->time : frames;
  change->index = static_cast<int>(value.param_id);
  change->value = value.value;
  return true;
}

void IPlugCLAP::ApplyChange(const ParamChange& change)
{
  // Real values, clamped to the range; ones that are not finite are ignored.
  if (mPlug->SetParameterFromHost(change.index, change.value, false)) TailMayHaveChanged();
}

void IPlugCLAP::Flush(const clap_input_events_t* in, const clap_output_events_t* out)
{
  const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
  for (uint32_t i = 0; i < count; ++i)
  {
    ParamChange change;
    if (ReadChange(in->get(in, i), 0, &change)) ApplyChange(change);
  }
  SendQueuedEdits(out);
  uint32_t tail = 0;
  if (mActive.load() && TakeTailChange(&tail)) ReportTail(tail); // [audio] while active
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

uint32_t IPlugCLAP::TailSamples()
{
  IPlugLockGuard guard(mPlug->Lock());
  const int tail = mPlug->TailSamples();
  return tail > 0 ? static_cast<uint32_t>(tail) : 0;
}

bool IPlugCLAP::TakeTailChange(uint32_t* tail)
{
  // A plain load first: the common block, with nothing changed, does no atomic write.
  if (!mTailMayHaveChanged.load(std::memory_order_acquire) ||
      !mTailMayHaveChanged.exchange(false, std::memory_order_acq_rel))
    return false;
  *tail = TailSamples();
  return true;
}

void IPlugCLAP::ReportTail(uint32_t tail)
{
  if (tail == mReportedTail.load(std::memory_order_relaxed)) return;
  mReportedTail.store(tail, std::memory_order_relaxed);
  if (mHostTail && mHostTail->changed) mHostTail->changed(mHost);
}

// ---- Calls to the host ----

void IPlugCLAP::QueueEdit(IPlugCLAPEditQueue::EKind kind, int index, double value)
{
  if (!mPlug->ParameterAt(index)) return;
  if (kind == IPlugCLAPEditQueue::kValue) TailMayHaveChanged(); // the editor changed the parameter
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
  const char* name = mHost->name ? mHost->name : "";
  const size_t n = strnlen(name, static_cast<size_t>(size - 1));
  std::memcpy(product, name, n);
  product[n] = '\0';
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
