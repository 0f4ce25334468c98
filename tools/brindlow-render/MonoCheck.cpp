#include "MonoCheck.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <mutex>

namespace
{
using Complex = std::complex<double>;

// FFTW's planner is not thread-safe; executing a plan is.
std::mutex gPlannerMutex;

// Real-to-complex transforms of one size, zero-padding their input.
class RealFft
{
public:
  explicit RealFft(int64_t size) : mSize(size)
  {
    mIn = fftw_alloc_real(static_cast<size_t>(size));
    mOut = fftw_alloc_complex(static_cast<size_t>(size / 2 + 1));
    std::lock_guard<std::mutex> lock(gPlannerMutex);
    mPlan = fftw_plan_dft_r2c_1d(static_cast<int>(size), mIn, mOut, FFTW_ESTIMATE);
  }
  ~RealFft()
  {
    {
      std::lock_guard<std::mutex> lock(gPlannerMutex);
      fftw_destroy_plan(mPlan);
    }
    fftw_free(mIn);
    fftw_free(mOut);
  }
  RealFft(const RealFft&) = delete;
  RealFft& operator=(const RealFft&) = delete;

  std::vector<Complex> Transform(const std::vector<double>& signal)
  {
    const size_t used = std::min(signal.size(), static_cast<size_t>(mSize));
    std::copy(signal.begin(), signal.begin() + static_cast<std::ptrdiff_t>(used), mIn);
    std::fill(mIn + used, mIn + mSize, 0.0);
    fftw_execute(mPlan);
    std::vector<Complex> out(static_cast<size_t>(mSize / 2 + 1));
    for (size_t k = 0; k < out.size(); ++k) out[k] = Complex(mOut[k][0], mOut[k][1]);
    return out;
  }

private:
  int64_t mSize;
  double* mIn = nullptr;
  fftw_complex* mOut = nullptr;
  fftw_plan mPlan = nullptr;
};

Spectrum FftwSpectrum(const std::vector<double>& signal, int64_t fftSize)
{
  RealFft fft(fftSize);
  return fft.Transform(signal);
}

template <typename Sample>
bool CaptureResponse(PluginHost& host, int connectedInputs, int blockSize, int64_t frames, ImpulseResponse& response,
                     std::string& error)
{
  const auto block = static_cast<size_t>(blockSize);
  const int inputs = host.NumInputs(), outputs = host.NumOutputs();
  std::vector<std::vector<Sample>> inBuffers(static_cast<size_t>(inputs), std::vector<Sample>(block));
  std::vector<std::vector<Sample>> outBuffers(static_cast<size_t>(outputs), std::vector<Sample>(block));
  std::vector<Sample*> inPointers, outPointers;
  for (auto& b : inBuffers) inPointers.push_back(b.data());
  for (auto& b : outBuffers) outPointers.push_back(b.data());

  response.left.assign(static_cast<size_t>(frames), 0.0);
  response.right.assign(static_cast<size_t>(frames), 0.0);
  host.Start();
  for (int64_t position = 0; position < frames; position += blockSize) {
    const int n = static_cast<int>(std::min<int64_t>(blockSize, frames - position));
    for (int c = 0; c < inputs; ++c) {
      auto& b = inBuffers[static_cast<size_t>(c)];
      std::fill(b.begin(), b.end(), Sample(0));
      if (position == 0 && c < connectedInputs) b[0] = Sample(1);
    }
    for (auto& b : outBuffers) std::fill(b.begin(), b.end(), Sample(0));
    host.SetSamplePosition(static_cast<double>(position));
    host.Process(inPointers.data(), outPointers.data(), n);
    // A single-output plug-in is heard on both sides.
    const Sample* left = outPointers[0];
    const Sample* right = outPointers[outputs > 1 ? 1 : 0];
    for (int i = 0; i < n; ++i) {
      if (!std::isfinite(static_cast<double>(left[i])) || !std::isfinite(static_cast<double>(right[i]))) {
        host.Stop();
        error = "the plug-in answered an impulse with a value that is not a number (frame " +
                std::to_string(position + i) + ")";
        return false;
      }
      response.left[static_cast<size_t>(position + i)] = static_cast<double>(left[i]);
      response.right[static_cast<size_t>(position + i)] = static_cast<double>(right[i]);
    }
  }
  host.Stop();
  return true;
}
} // namespace

int64_t ResponseFrames(int latency, int reportedTail, double sampleRate, std::string& note)
{
  const auto maxFrames = static_cast<int64_t>(kMaxResponseSeconds * sampleRate);
  const int64_t latencyFrames = std::max(latency, 0);
  // 0 means the plug-in does not know its tail, 1 that it has none: neither is
  // trusted to cut a delay or a reverb short, so both get the default.
  const bool reported = reportedTail > 1;
  const int64_t tail = reported ? reportedTail : static_cast<int64_t>(kDefaultTailSeconds * sampleRate);
  const int64_t frames = std::min(latencyFrames + tail, maxFrames);
  char text[160];
  std::snprintf(text, sizeof(text), "%lld frames (%.3f s: %s%s)", static_cast<long long>(frames),
                static_cast<double>(frames) / sampleRate,
                reported ? "the plug-in's reported tail" : "the plug-in reports no tail length, so one second",
                latencyFrames > 0 ? ", after its latency" : "");
  note = text;
  if (latencyFrames + tail > maxFrames) note += ", cut to the longest response measured";
  return frames;
}

bool MeasureImpulseResponse(PluginHost& host, double sampleRate, int connectedInputs, const RenderOptions& options,
                            ImpulseResponse& response, std::string& error)
{
  if (host.NumOutputs() < 1) {
    error = "the plug-in has no audio outputs";
    return false;
  }
  const int tail = host.TailSamples();
  response.sampleRate = sampleRate;
  const int64_t frames = ResponseFrames(host.LatencySamples(), tail, sampleRate, response.lengthNote);
  if (options.doublePrecision) {
    if (!host.CanDoubleReplacing()) {
      error = "the plug-in offers no 64-bit processing (--double)";
      return false;
    }
    return CaptureResponse<double>(host, connectedInputs, options.blockSize, frames, response, error);
  }
  if (!host.CanReplacing()) {
    error = "the plug-in offers no 32-bit replacing processing";
    return false;
  }
  return CaptureResponse<float>(host, connectedInputs, options.blockSize, frames, response, error);
}

MonoCheckResult AnalyseResponse(const ImpulseResponse& response)
{
  return AnalyseResponse(response, &FftwSpectrum);
}
