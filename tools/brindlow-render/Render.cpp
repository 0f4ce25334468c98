#include "Render.h"

#include "Progress.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
template <typename Sample>
bool RenderWith(PluginHost& host, AudioInput& input, AudioOutput& output, const RenderOptions& options,
                RenderStats& stats, std::string& error, const std::function<void(int64_t)>& onBlock)
{
  const int block = options.blockSize;
  const int fileChannels = input.Channels();
  const int pluginInputs = host.NumInputs();
  const int pluginOutputs = host.NumOutputs();
  const auto blockSize = static_cast<size_t>(block);

  std::vector<Sample> fileFrames(blockSize * static_cast<size_t>(fileChannels));
  std::vector<Sample> outFrames(blockSize * 2);
  std::vector<std::vector<Sample>> inBuffers(static_cast<size_t>(pluginInputs), std::vector<Sample>(blockSize));
  std::vector<std::vector<Sample>> outBuffers(static_cast<size_t>(pluginOutputs), std::vector<Sample>(blockSize));
  std::vector<Sample*> inPointers, outPointers;
  for (auto& b : inBuffers) inPointers.push_back(b.data());
  for (auto& b : outBuffers) outPointers.push_back(b.data());

  const int64_t tailFrames = std::llround(options.tailSeconds * input.SampleRate());
  const int64_t totalFrames = std::max<int64_t>(input.Frames(), 0) + tailFrames;
  ProgressBar progress(stderr, totalFrames,
                       WantsProgressBar(stderr, static_cast<double>(totalFrames) / input.SampleRate(), options.quiet));

  host.Start();
  bool inputDone = false;
  int64_t tailLeft = tailFrames;
  int64_t position = 0;
  bool ok = true;
  while (ok) {
    int64_t frames = 0;
    if (!inputDone) {
      frames = input.Read(fileFrames.data(), block);
      if (frames < 0) frames = 0;
      if (frames < block) {
        // The end, or damage: either way the input ends here, as every format does.
        inputDone = true;
        if (input.HasError()) stats.readError = input.LastError();
      }
      stats.inputFrames += frames;
    }
    if (frames == 0) {
      frames = std::min<int64_t>(block, tailLeft);
      tailLeft -= frames;
      std::fill(fileFrames.begin(), fileFrames.end(), Sample(0));
    }
    if (frames == 0) break;

    // Plug-in inputs beyond the file's channels get silence.
    for (int c = 0; c < pluginInputs; ++c) {
      Sample* dst = inPointers[static_cast<size_t>(c)];
      for (int64_t i = 0; i < frames; ++i)
        dst[i] = c < fileChannels ? fileFrames[static_cast<size_t>(i * fileChannels + c)] : Sample(0);
    }
    for (auto& b : outBuffers) std::fill(b.begin(), b.end(), Sample(0));

    host.SetSamplePosition(static_cast<double>(position));
    host.Process(inPointers.data(), outPointers.data(), static_cast<int>(frames));

    // A single-output plug-in is heard on both sides.
    const Sample* left = outPointers[0];
    const Sample* right = outPointers[pluginOutputs > 1 ? 1 : 0];
    for (int64_t i = 0; i < frames; ++i) {
      outFrames[static_cast<size_t>(2 * i)] = left[i];
      outFrames[static_cast<size_t>(2 * i + 1)] = right[i];
      stats.overFullScale += (std::fabs(left[i]) > Sample(1)) + (std::fabs(right[i]) > Sample(1));
    }
    if (!output.Write(outFrames.data(), frames)) {
      error = "writing the output failed: " + output.LastError();
      ok = false;
    }
    position += frames;
    stats.frames = position;
    progress.Update(position);
    if (onBlock) onBlock(frames);
  }
  host.Stop();
  progress.Finish();
  return ok;
}
} // namespace

bool RenderAudio(PluginHost& host, AudioInput& input, AudioOutput& output, const RenderOptions& options,
                 RenderStats& stats, std::string& error, const std::function<void(int64_t)>& onBlock)
{
  if (host.NumOutputs() < 1) {
    error = "the plug-in has no audio outputs";
    return false;
  }
  if (options.doublePrecision) {
    if (!host.CanDoubleReplacing()) {
      error = "the plug-in offers no 64-bit processing (--double)";
      return false;
    }
    return RenderWith<double>(host, input, output, options, stats, error, onBlock);
  }
  if (!host.CanReplacing()) {
    error = "the plug-in offers no 32-bit replacing processing";
    return false;
  }
  return RenderWith<float>(host, input, output, options, stats, error, onBlock);
}
