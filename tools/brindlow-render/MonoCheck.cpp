#include "MonoCheck.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <limits>
#include <mutex>

namespace
{
using Complex = std::complex<double>;

// The transform covers the whole response, zero-padded to a power of two and to
// at least this size (bins of 0.67 Hz at 44.1 kHz; notches are placed between them).
constexpr int64_t kMinFftSize = int64_t(1) << 16;
constexpr double kLowestFrequency = 20.0;
// Extremes settled on the exact transform, and the steps of each search.
constexpr size_t kRefinedCandidates = 4;
constexpr int kGoldenSteps = 48;
constexpr double kPowerFloor = 1e-30; // -300 dB, below anything a response can mean
// Extremes this close in level count as equal; the lowest in frequency is reported.
constexpr double kSameLevelDb = 0.01;

// FFTW's planner is not thread-safe; executing a plan is.
std::mutex gPlannerMutex;

double PowerDb(double power)
{
  return 10.0 * std::log10(std::max(power, kPowerFloor));
}

// A level as reported: complete cancellation reads -inf.
double ReportedDb(double power)
{
  const double db = 10.0 * std::log10(std::max(power, 0.0));
  return db < kSilenceDb ? -std::numeric_limits<double>::infinity() : db;
}

int64_t FftSizeFor(int64_t frames)
{
  int64_t n = kMinFftSize;
  while (n < frames) n *= 2;
  return n;
}

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

// The exact transform of a finite signal at any frequency, for settling an
// extreme between two bins.
class ExactTransform
{
public:
  ExactTransform(const std::vector<double>& signal, double sampleRate) : mSampleRate(sampleRate)
  {
    size_t first = 0, last = signal.size();
    while (first < last && signal[first] == 0.0) ++first;
    while (last > first && signal[last - 1] == 0.0) --last;
    mOffset = first;
    mSamples.assign(signal.begin() + static_cast<std::ptrdiff_t>(first),
                    signal.begin() + static_cast<std::ptrdiff_t>(last));
  }

  double PowerAt(double frequency) const
  {
    const double omega = 2.0 * M_PI * frequency / mSampleRate;
    const Complex step = std::polar(1.0, -omega);
    Complex phasor = std::polar(1.0, -omega * static_cast<double>(mOffset));
    Complex sum = 0.0;
    for (double x : mSamples) {
      sum += x * phasor;
      phasor *= step;
    }
    return std::norm(sum);
  }

private:
  double mSampleRate;
  size_t mOffset = 0;
  std::vector<double> mSamples;
};

// Golden-section search for the extreme of a function that has one in [low, high].
template <typename F>
double GoldenSearch(F f, double low, double high, bool findMaximum)
{
  const double ratio = 0.5 * (std::sqrt(5.0) - 1.0);
  auto better = [&](double a, double b) { return findMaximum ? a > b : a < b; };
  double x1 = high - ratio * (high - low), x2 = low + ratio * (high - low);
  double f1 = f(x1), f2 = f(x2);
  for (int i = 0; i < kGoldenSteps; ++i) {
    if (better(f1, f2)) {
      high = x2;
      x2 = x1;
      f2 = f1;
      x1 = high - ratio * (high - low);
      f1 = f(x1);
    } else {
      low = x1;
      x1 = x2;
      f1 = f2;
      x2 = low + ratio * (high - low);
      f2 = f(x2);
    }
  }
  return 0.5 * (low + high);
}

// Vertex of the parabola through three neighbouring bins: the offset from the
// middle one (within half a bin) and the value there. Near an extreme of a comb
// the power is a quadratic in frequency, so this is close to exact.
void Parabola(double before, double at, double after, double& offset, double& value)
{
  const double curvature = before - 2.0 * at + after;
  offset = curvature != 0.0 ? std::clamp(0.5 * (before - after) / curvature, -0.5, 0.5) : 0.0;
  value = at - 0.25 * (before - after) * offset;
}

// True when the dip at `k` lies at least kMinNotchDepthDb below the highest
// point on each side before the curve falls lower than the dip again. Stops as
// soon as that is known, so a comb is scanned about once per side.
bool IsNotch(const std::vector<double>& db, size_t k, size_t end)
{
  for (int direction : {-1, 1}) {
    bool deepEnough = false;
    for (size_t i = k;;) {
      if (direction < 0 ? i == 0 : i + 1 >= end) break;
      i = direction < 0 ? i - 1 : i + 1;
      if (db[i] < db[k]) break;
      if (db[i] - db[k] >= kMinNotchDepthDb) {
        deepEnough = true;
        break;
      }
    }
    if (!deepEnough) return false;
  }
  return true;
}

void LevelRange(const std::vector<double>& db, size_t low, size_t high, double& minDb, double& maxDb)
{
  minDb = std::numeric_limits<double>::infinity();
  maxDb = -std::numeric_limits<double>::infinity();
  for (size_t k = low; k <= high; ++k) {
    minDb = std::min(minDb, db[k]);
    maxDb = std::max(maxDb, db[k]);
  }
  if (minDb <= kSilenceDb) minDb = -std::numeric_limits<double>::infinity();
  if (maxDb <= kSilenceDb) maxDb = -std::numeric_limits<double>::infinity();
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
  MonoCheckResult result;
  const double rate = response.sampleRate;
  result.sampleRate = rate;
  result.lengthNote = response.lengthNote;
  const size_t frames = std::min(response.left.size(), response.right.size());
  result.responseFrames = static_cast<int64_t>(frames);

  std::vector<double> mono(frames);
  double total = 0.0, end = 0.0;
  for (size_t i = 0; i < frames; ++i) {
    mono[i] = 0.5 * (response.left[i] + response.right[i]);
    const double energy = response.left[i] * response.left[i] + response.right[i] * response.right[i];
    total += energy;
    if (i >= frames - frames / 10) end += energy;
  }
  result.endEnergyDb = end > 0.0 ? PowerDb(end / total) : -std::numeric_limits<double>::infinity();

  const int64_t n = FftSizeFor(static_cast<int64_t>(frames));
  result.fftSize = static_cast<int>(n);
  std::vector<Complex> left, right;
  {
    RealFft fft(n);
    left = fft.Transform(response.left);
    right = fft.Transform(response.right);
  }
  const size_t bins = left.size();
  std::vector<double> monoPower(bins);
  result.leftDb.resize(bins);
  result.rightDb.resize(bins);
  result.monoDb.resize(bins);
  for (size_t k = 0; k < bins; ++k) {
    monoPower[k] = std::norm(0.5 * (left[k] + right[k]));
    result.leftDb[k] = PowerDb(std::norm(left[k]));
    result.rightDb[k] = PowerDb(std::norm(right[k]));
    result.monoDb[k] = PowerDb(monoPower[k]);
  }

  const double binsPerHz = static_cast<double>(n) / rate;
  const size_t top = std::min(bins - 1, static_cast<size_t>(std::floor(kMonoCheckTopFrequency * binsPerHz)));
  const size_t low = std::min(top, static_cast<size_t>(std::ceil(kLowestFrequency * binsPerHz)));
  LevelRange(result.leftDb, low, top, result.leftMinDb, result.leftMaxDb);
  LevelRange(result.rightDb, low, top, result.rightMinDb, result.rightMaxDb);

  // Dips and humps of the mono sum, each placed between the bins by a parabola.
  std::vector<std::pair<double, double>> humps; // (bin position, power)
  humps.emplace_back(0.0, monoPower[0]);
  for (size_t k = 1; k <= top && k + 1 < bins; ++k) {
    const double before = monoPower[k - 1], at = monoPower[k], after = monoPower[k + 1];
    double offset = 0.0, value = 0.0;
    if (at < before && at <= after && IsNotch(result.monoDb, k, bins)) {
      Parabola(before, at, after, offset, value);
      const double frequency = (static_cast<double>(k) + offset) / binsPerHz;
      if (frequency <= kMonoCheckTopFrequency) result.notches.push_back({frequency, ReportedDb(value)});
    } else if (at > before && at >= after) {
      Parabola(before, at, after, offset, value);
      humps.emplace_back(static_cast<double>(k) + offset, value);
    }
  }
  if (result.notches.size() >= 2)
    result.notchSpacing = (result.notches.back().frequency - result.notches.front().frequency) /
                          static_cast<double>(result.notches.size() - 1);

  // Settle the deepest notch and the highest peak on the exact transform.
  const ExactTransform exact(mono, rate);
  auto power = [&](double frequency) { return exact.PowerAt(frequency); };
  const double binHz = 1.0 / binsPerHz;

  // The candidates: the few that look deepest (or highest) on the bins, and the
  // lowest in frequency, which is reported when the comb's extremes are all equal.
  auto candidates = [](size_t count, auto lowerFirst) {
    std::vector<size_t> order(count);
    for (size_t i = 0; i < count; ++i) order[i] = i;
    const size_t n = std::min(kRefinedCandidates, count);
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(n), order.end(), lowerFirst);
    order.resize(n);
    if (count > 0 && std::find(order.begin(), order.end(), size_t(0)) == order.end()) order.push_back(0);
    return order;
  };
  // Levels within kSameLevelDb (or both -inf) are equal; then the lower frequency wins.
  auto better = [](const SpectrumPoint& a, const SpectrumPoint& b, bool higher) {
    const bool same = a.db == b.db || std::fabs(a.db - b.db) < kSameLevelDb;
    if (!same) return higher ? a.db > b.db : a.db < b.db;
    return a.frequency < b.frequency;
  };

  bool found = false;
  for (size_t i : candidates(result.notches.size(), [&](size_t a, size_t b) {
         return result.notches[a].db < result.notches[b].db;
       })) {
    SpectrumPoint& notch = result.notches[i];
    const double f = GoldenSearch(power, std::max(0.0, notch.frequency - binHz), notch.frequency + binHz, false);
    notch = {f, ReportedDb(power(f))};
    if (!found || better(notch, result.deepestNotch, false)) result.deepestNotch = notch;
    found = true;
  }

  found = false;
  for (size_t i : candidates(humps.size(), [&](size_t a, size_t b) { return humps[a].second > humps[b].second; })) {
    const double centre = humps[i].first / binsPerHz;
    const double f = centre == 0.0 ? 0.0 : GoldenSearch(power, std::max(0.0, centre - binHz), centre + binHz, true);
    const SpectrumPoint peak{f, ReportedDb(power(f))};
    if (!found || better(peak, result.monoPeak, true)) result.monoPeak = peak;
    found = true;
  }
  return result;
}
