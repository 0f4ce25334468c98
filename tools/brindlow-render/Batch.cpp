#include "Batch.h"
#include "InputChecks.h"

#include "AudioFile.h"
#include "PluginHost.h"
#include "PresetFile.h"
#include "PresetTransfer.h"
#include "Progress.h"
#include "Render.h"
#include "RequestedState.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

namespace
{
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

// libsndfile reports why a file did not open through one process-wide error,
// so workers open their files one at a time to keep each reason with its file.
std::mutex gOpenLock;

struct ItemResult
{
  bool ok = false;
  std::string error;   // why the file failed
  std::string warning; // a remark on a rendered file
};

std::string FileName(const std::string& path)
{
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int Fail(int code, const std::string& message)
{
  std::fprintf(stderr, "brindlow-render: %s\n", message.c_str());
  return code;
}

bool MakeOutputDirectory(const std::string& dir, std::string& error)
{
  struct stat st;
  if (stat(dir.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return true;
    error = "--out-dir \"" + dir + "\" is not a directory";
    return false;
  }
  if (mkdir(dir.c_str(), 0777) == 0) return true;
  error = "cannot create the output directory \"" + dir + "\": " + std::strerror(errno);
  return false;
}

// Everything a worker needs to put its plug-in into the asked-for state.
struct BatchSetup
{
  std::string pluginPath;
  RenderOptions options; // the program given by number, the progress bar off
  const PresetFile* preset = nullptr;
};

// One file through a loaded plug-in: the same steps as a single-file render.
ItemResult RenderItem(PluginHost& host, const BatchSetup& setup, const BatchItem& item,
                      const std::function<void(int64_t)>& onBlock)
{
  const RenderOptions& options = setup.options;
  ItemResult result;
  AudioInput input;
  {
    std::lock_guard<std::mutex> lock(gOpenLock);
    if (!input.Open(item.input, result.error)) return result;
  }
  if (input.Channels() < 1 || input.Channels() > 2) {
    result.error = "it has " + std::to_string(input.Channels()) + " channels; only mono and stereo files can be rendered";
    return result;
  }
  if (!CheckInputRenderable(input, item.input, result.error)) return result;
  if (host.NumInputs() < input.Channels()) {
    result.error = "the plug-in takes " + std::to_string(host.NumInputs()) + " input channel(s); the file has " +
                   std::to_string(input.Channels());
    return result;
  }
  const OutputFormatChoice format = ChooseOutputFormat(item.output, input.Format(), options.floatOutput);
  if (format.format == 0) {
    result.error = format.error;
    return result;
  }

  host.Prepare(input.SampleRate(), options.blockSize, input.Channels(), options.doublePrecision);
  if (ApplyRequestedState(host, options, setup.preset, result.error) != kExitOk) return result;

  AudioOutput output;
  {
    std::lock_guard<std::mutex> lock(gOpenLock);
    if (!output.Create(item.output, format.format, input.SampleRate(), result.error)) return result;
  }
  RenderStats stats;
  const bool rendered = RenderAudio(host, input, output, options, stats, result.error, onBlock);
  std::string closeError;
  const bool closed = output.Close(closeError);
  if (!rendered || !closed) {
    if (rendered) result.error = closeError;
    unlink(item.output.c_str());
    return result;
  }
  if (stats.inputFrames == 0) {
    // The header promised audio, none could be read.
    unlink(item.output.c_str());
    result.error = "no audio in \"" + item.input + "\"" + (stats.readError.empty() ? "" : ": " + stats.readError);
    return result;
  }
  const int sampleFormat = format.format & SF_FORMAT_SUBMASK;
  result.warning = format.note;
  const std::string shortInput =
    ShortInputWarning(item.input, input.AnnouncedFrames(), stats.inputFrames, input.SampleRate(), stats.readError);
  if (!shortInput.empty()) result.warning += (result.warning.empty() ? "" : "; ") + shortInput;
  if (sampleFormat != SF_FORMAT_FLOAT && sampleFormat != SF_FORMAT_DOUBLE && stats.overFullScale > 0)
    result.warning += (result.warning.empty() ? "" : "; ") + std::to_string(stats.overFullScale) +
                      " samples exceeded full scale and were clipped (try --float)";
  result.ok = true;
  return result;
}

// Frames the whole run will write, for the progress display; files that do not
// open count as nothing (their workers report them).
int64_t TotalFrames(const std::vector<BatchItem>& items, double tailSeconds, double& seconds)
{
  int64_t total = 0;
  seconds = 0.0;
  for (const BatchItem& item : items) {
    AudioInput input;
    std::string ignored;
    if (!input.Open(item.input, ignored) || input.SampleRate() <= 0) continue;
    const int64_t frames = std::max<int64_t>(input.Frames(), 0) + std::llround(tailSeconds * input.SampleRate());
    total += frames;
    seconds += static_cast<double>(frames) / input.SampleRate();
  }
  return total;
}

// Loads the plug-in once on this thread to check that the command line can be
// carried out at all (plug-in, preset, program, settings) and to save the
// preset. Gives the workers the program by number: a program file may rename
// the program that --program named.
int CheckSetup(BatchSetup& setup, const std::string& pluginPath)
{
  std::string error;
  const std::unique_ptr<PluginHost> loaded = PluginHost::Open(pluginPath, error);
  if (!loaded) return Fail(kExitFailure, error);
  PluginHost& host = *loaded;
  host.Prepare(44100.0, setup.options.blockSize, host.NumInputs(), setup.options.doublePrecision);
  const ExitCode code = ApplyRequestedState(host, setup.options, setup.preset, error);
  if (code != kExitOk) return Fail(code, error);
  if (!setup.options.program.empty()) setup.options.program = std::to_string(host.CurrentProgram());
  if (!setup.options.savePresetPath.empty() && !SavePreset(host, setup.options.savePresetPath, error))
    return Fail(kExitFailure, error);
  return kExitOk;
}
} // namespace

bool PlanBatch(const std::vector<std::string>& inputs, const std::string& outDir, std::vector<BatchItem>& items,
               std::string& error)
{
  std::vector<BatchItem> planned;
  std::map<std::string, std::string> writers; // output -> the input written there
  const std::string dir = outDir.back() == '/' ? outDir : outDir + "/";
  for (const std::string& input : inputs) {
    const std::string name = FileName(input);
    if (name.empty() || name == "." || name == "..") {
      error = "\"" + input + "\" does not name a file";
      return false;
    }
    BatchItem item{input, dir + name};
    for (const std::string& other : inputs)
      if (IsSameFile(other, item.output)) {
        error = "rendering \"" + input + "\" into \"" + outDir + "\" would overwrite the input \"" + other +
                "\"; choose another directory";
        return false;
      }
    const auto [it, fresh] = writers.emplace(item.output, input);
    if (!fresh) {
      error = "\"" + it->second + "\" and \"" + input + "\" would both be written to \"" + item.output + "\"";
      return false;
    }
    planned.push_back(std::move(item));
  }
  items = std::move(planned);
  return true;
}

int RunBatch(const RenderOptions& options, const std::string& pluginPath)
{
  std::string error;
  BatchSetup setup;
  setup.pluginPath = pluginPath;
  setup.options = options;
  setup.options.quiet = true; // one display for the whole run, drawn here

  std::vector<BatchItem> items;
  if (!PlanBatch(options.inputs, options.outDir, items, error)) return Fail(kExitUsage, error);
  if (!options.savePresetPath.empty())
    for (const std::string& input : options.inputs)
      if (IsSameFile(input, options.savePresetPath))
        return Fail(kExitUsage, "--save-preset \"" + options.savePresetPath + "\" is an input file");

  PresetFile preset;
  if (!options.presetPath.empty()) {
    if (!ReadPresetFile(options.presetPath, preset, error)) return Fail(kExitFailure, error);
    setup.preset = &preset;
  }
  if (const int code = CheckSetup(setup, pluginPath); code != kExitOk) return code;
  if (!MakeOutputDirectory(options.outDir, error)) return Fail(kExitFailure, error);

  double seconds = 0.0;
  const int64_t totalFrames = TotalFrames(items, options.tailSeconds, seconds);
  ProgressBar progress(stderr, totalFrames, WantsProgressBar(stderr, seconds, options.quiet));

  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const size_t workers = std::min(items.size(), static_cast<size_t>(options.jobs > 0 ? options.jobs : cores));
  std::vector<ItemResult> results(items.size());
  std::atomic<size_t> nextItem{0};
  std::atomic<int64_t> framesDone{0};
  std::mutex doneLock;
  std::condition_variable allDone;
  size_t workersLeft = workers;

  auto work = [&] {
    std::string loadError;
    const std::unique_ptr<PluginHost> host = PluginHost::Open(setup.pluginPath, loadError);
    const auto onBlock = [&framesDone](int64_t frames) { framesDone.fetch_add(frames, std::memory_order_relaxed); };
    for (size_t i; (i = nextItem.fetch_add(1)) < items.size();) {
      if (host)
        results[i] = RenderItem(*host, setup, items[i], onBlock);
      else
        results[i].error = loadError;
    }
    std::lock_guard<std::mutex> lock(doneLock);
    if (--workersLeft == 0) allDone.notify_one();
  };
  std::vector<std::thread> threads;
  for (size_t w = 0; w < workers; ++w) threads.emplace_back(work);
  {
    std::unique_lock<std::mutex> lock(doneLock);
    while (!allDone.wait_for(lock, kProgressInterval, [&] { return workersLeft == 0; }))
      progress.Update(framesDone.load(std::memory_order_relaxed));
  }
  for (std::thread& t : threads) t.join();
  progress.Finish();

  size_t failed = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    if (!results[i].ok) ++failed;
    else if (!results[i].warning.empty() && !options.quiet)
      std::fprintf(stderr, "brindlow-render: warning: %s: %s\n", items[i].input.c_str(), results[i].warning.c_str());
  }
  if (failed == 0) {
    if (!options.quiet)
      std::fprintf(stderr, "brindlow-render: %zu file(s) rendered into %s\n", items.size(), options.outDir.c_str());
    return kExitOk;
  }
  std::fprintf(stderr, "brindlow-render: %zu of %zu file(s) failed:\n", failed, items.size());
  for (size_t i = 0; i < items.size(); ++i)
    if (!results[i].ok) std::fprintf(stderr, "  %s: %s\n", items[i].input.c_str(), results[i].error.c_str());
  return kExitFailure;
}
