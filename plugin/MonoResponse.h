// What a widener does to the mono fold-down (L+R)/2, from its response to an impulse
// on its left and right outputs: their magnitude spectra and the comb filter that
// appears when the two are summed. One analysis for every reader: brindlow-render's
// --mono-check (which measures the response through a host) and the editor's
// mono-check view (which takes it from the engine).
#pragma once

#include <complex>
#include <cstdint>
#include <string>
#include <vector>

// Frequencies above this are not searched for notches or peaks (the audible band).
constexpr double kMonoCheckTopFrequency = 20000.0;
// The lowest frequency searched and reported.
constexpr double kMonoCheckLowFrequency = 20.0;
// A dip of the mono sum counts as a notch when it lies at least this far below
// the highest point between it and the next lower dip on each side.
constexpr double kMinNotchDepthDb = 3.0;
// Levels below this are shown as -inf: the two sides cancel completely.
constexpr double kSilenceDb = -120.0;

// The plug-in's outputs after a unit impulse at frame 0.
struct ImpulseResponse
{
  double sampleRate = 44100.0;
  std::vector<double> left, right;
  std::string lengthNote; // why this many frames were taken, for the report
};

struct SpectrumPoint
{
  double frequency = 0.0; // Hz
  double db = 0.0;        // level relative to the impulse; -inf for complete cancellation
};

struct MonoCheckResult
{
  double sampleRate = 0.0;
  int64_t responseFrames = 0;
  std::string lengthNote;
  // Share of the response's energy in its last tenth, in dB: near 0 dB means the
  // plug-in was still ringing when the capture ended.
  double endEnergyDb = 0.0;

  // Magnitude responses in dB at bins k = 0 ... fftSize / 2 (k * sampleRate / fftSize Hz).
  int fftSize = 0;
  std::vector<double> leftDb, rightDb, monoDb;

  // Level ranges of the outputs and the mono sum from 20 Hz up to the top frequency.
  double leftMinDb = 0.0, leftMaxDb = 0.0, rightMinDb = 0.0, rightMaxDb = 0.0;
  SpectrumPoint monoPeak;               // highest level of the mono sum up to the top frequency
  std::vector<SpectrumPoint> notches;   // every notch of the mono sum up to the top frequency, rising
  SpectrumPoint deepestNotch;           // valid when there are notches
  double notchSpacing = 0.0;            // mean distance between neighbouring notches (0 for fewer than two)

  double BinFrequency(size_t bin) const { return static_cast<double>(bin) * sampleRate / fftSize; }
};

// The transform of a response zero-padded to fftSize frames, bins 0 ... fftSize / 2.
using Spectrum = std::vector<std::complex<double>>;
using SpectrumTransform = Spectrum (*)(const std::vector<double>& signal, int64_t fftSize);
// The transform summed directly over the response's non-zero samples: exact, and quick
// for the sparse responses of a delay (a few taps), slow for dense ones (use an FFT).
Spectrum DirectSpectrum(const std::vector<double>& signal, int64_t fftSize);
// The transform size the analysis uses for a response of |frames|.
int64_t MonoCheckFftSize(int64_t frames);

// Spectra, comb notches and extremes of a response, its bins made by |transform|. The
// notch list is located on the bins (refined between them); the deepest notch and the
// highest peak are then settled on the exact transform of the response. Without
// |spectra| the per-bin levels (leftDb, rightDb, monoDb) stay empty, all else the same.
// Touches nothing but its arguments: any thread, several at once.
MonoCheckResult AnalyseResponse(const ImpulseResponse& response, SpectrumTransform transform, bool spectra = true);

// The power of a signal's transform at any frequency, summed over its non-zero samples.
class ExactTransform
{
public:
  ExactTransform(const std::vector<double>& signal, double sampleRate);
  double PowerAt(double frequency) const;
  double DbAt(double frequency) const; // -inf below kSilenceDb

private:
  double mSampleRate;
  std::vector<std::pair<double, double>> mTaps; // (frame, value) of the non-zero samples
};
