#include "MonoResponse.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
using Complex = std::complex<double>;
constexpr double kPi = 3.14159265358979323846;

// The transform covers the whole response, zero-padded to a power of two and to
// at least this size (bins of 0.67 Hz at 44.1 kHz; notches are placed between them).
constexpr int64_t kMinFftSize = int64_t(1) << 16;
// Extremes settled on the exact transform, and the steps of each search.
constexpr size_t kRefinedCandidates = 4;
constexpr int kGoldenSteps = 48;
constexpr double kPowerFloor = 1e-30; // -300 dB, below anything a response can mean
// Extremes this close in level count as equal; the lowest in frequency is reported.
constexpr double kSameLevelDb = 0.01;

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

// Powers as the levels are read: never below kPowerFloor, so that their ratios are the
// levels' differences in dB.
double Floored(double power)
{
  return std::max(power, kPowerFloor);
}

// True when the dip at `k` lies at least kMinNotchDepthDb below the highest
// point on each side before the curve falls lower than the dip again (compared as
// ratios of floored powers, which is comparing their levels). Stops as soon as
// that is known, so a comb is scanned about once per side.
bool IsNotch(const std::vector<double>& power, size_t k, size_t end)
{
  static const double kMinNotchRatio = std::pow(10.0, kMinNotchDepthDb / 10.0);
  const double dip = Floored(power[k]);
  for (int direction : {-1, 1}) {
    bool deepEnough = false;
    for (size_t i = k;;) {
      if (direction < 0 ? i == 0 : i + 1 >= end) break;
      i = direction < 0 ? i - 1 : i + 1;
      const double level = Floored(power[i]);
      if (level < dip) break;
      if (level >= dip * kMinNotchRatio) {
        deepEnough = true;
        break;
      }
    }
    if (!deepEnough) return false;
  }
  return true;
}

// The lowest and highest level of a transform over bins low ... high.
void LevelRange(const Spectrum& spectrum, size_t low, size_t high, double& minDb, double& maxDb)
{
  double lowest = std::numeric_limits<double>::infinity(), highest = 0.0;
  for (size_t k = low; k <= high; ++k) {
    const double power = Floored(std::norm(spectrum[k]));
    lowest = std::min(lowest, power);
    highest = std::max(highest, power);
  }
  minDb = low <= high ? PowerDb(lowest) : std::numeric_limits<double>::infinity();
  maxDb = low <= high ? PowerDb(highest) : -std::numeric_limits<double>::infinity();
  if (minDb <= kSilenceDb) minDb = -std::numeric_limits<double>::infinity();
  if (maxDb <= kSilenceDb) maxDb = -std::numeric_limits<double>::infinity();
}

} // namespace

int64_t MonoCheckFftSize(int64_t frames)
{
  int64_t n = kMinFftSize;
  while (n < frames) n *= 2;
  return n;
}

Spectrum DirectSpectrum(const std::vector<double>& signal, int64_t fftSize)
{
  Spectrum out(static_cast<size_t>(fftSize / 2 + 1));
  const size_t used = std::min(signal.size(), static_cast<size_t>(fftSize));
  for (size_t i = 0; i < used; ++i) {
    if (signal[i] == 0.0) continue;
    // One tap: its phasor turns by 2 pi i / fftSize from bin to bin.
    const Complex step = std::polar(1.0, -2.0 * kPi * static_cast<double>(i) / static_cast<double>(fftSize));
    Complex phasor = signal[i];
    for (size_t k = 0; k < out.size(); ++k) {
      out[k] += phasor;
      phasor *= step;
      // Renormalised now and then, so the rounding of a long run of turns does not grow.
      if ((k & 1023) == 1023) phasor = std::polar(signal[i], -2.0 * kPi * static_cast<double>(i) *
                                                                 static_cast<double>(k + 1) / static_cast<double>(fftSize));
    }
  }
  return out;
}

ExactTransform::ExactTransform(const std::vector<double>& signal, double sampleRate) : mSampleRate(sampleRate)
{
  for (size_t i = 0; i < signal.size(); ++i)
    if (signal[i] != 0.0) mTaps.emplace_back(static_cast<double>(i), signal[i]);
}

double ExactTransform::PowerAt(double frequency) const
{
  const double omega = 2.0 * kPi * frequency / mSampleRate;
  Complex sum = 0.0;
  for (const auto& [frame, value] : mTaps) sum += std::polar(value, -omega * frame);
  return std::norm(sum);
}

double ExactTransform::DbAt(double frequency) const
{
  return ReportedDb(PowerAt(frequency));
}

MonoCheckResult AnalyseResponse(const ImpulseResponse& response, SpectrumTransform transform, bool spectra)
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

  const int64_t n = MonoCheckFftSize(static_cast<int64_t>(frames));
  result.fftSize = static_cast<int>(n);
  const Spectrum left = transform(response.left, n), right = transform(response.right, n);
  const size_t bins = left.size();
  std::vector<double> monoPower(bins);
  for (size_t k = 0; k < bins; ++k) monoPower[k] = std::norm(0.5 * (left[k] + right[k]));
  // The levels of every bin (a logarithm each) only for a reader that draws them.
  if (spectra) {
    result.leftDb.resize(bins);
    result.rightDb.resize(bins);
    result.monoDb.resize(bins);
    for (size_t k = 0; k < bins; ++k) {
      result.leftDb[k] = PowerDb(std::norm(left[k]));
      result.rightDb[k] = PowerDb(std::norm(right[k]));
      result.monoDb[k] = PowerDb(monoPower[k]);
    }
  }

  const double binsPerHz = static_cast<double>(n) / rate;
  const size_t top = std::min(bins - 1, static_cast<size_t>(std::floor(kMonoCheckTopFrequency * binsPerHz)));
  const size_t low = std::min(top, static_cast<size_t>(std::ceil(kMonoCheckLowFrequency * binsPerHz)));
  LevelRange(left, low, top, result.leftMinDb, result.leftMaxDb);
  LevelRange(right, low, top, result.rightMinDb, result.rightMaxDb);

  // Dips and humps of the mono sum, each placed between the bins by a parabola.
  std::vector<std::pair<double, double>> humps; // (bin position, power)
  humps.emplace_back(0.0, monoPower[0]);
  for (size_t k = 1; k <= top && k + 1 < bins; ++k) {
    const double before = monoPower[k - 1], at = monoPower[k], after = monoPower[k + 1];
    double offset = 0.0, value = 0.0;
    if (at < before && at <= after && IsNotch(monoPower, k, bins)) {
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
