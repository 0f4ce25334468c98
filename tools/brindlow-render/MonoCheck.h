#pragma once

#include "Options.h"
#include "PluginHost.h"

#include <cstdint>
#include <string>
#include <vector>

// What a widener does to the mono fold-down (L+R)/2: the plug-in's response to
// an impulse on its left and right outputs, their magnitude spectra and the comb
// filter that appears when the two are summed.

// Frequencies above this are not searched for notches or peaks (the audible band).
constexpr double kMonoCheckTopFrequency = 20000.0;
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

// The length of response to capture: the plug-in's latency plus its reported
// tail, or one second when it reports none, at most kMaxResponseSeconds.
constexpr double kDefaultTailSeconds = 1.0;
constexpr double kMaxResponseSeconds = 10.0;
int64_t ResponseFrames(int latency, int reportedTail, double sampleRate, std::string& note);

// Feeds a unit impulse into every connected input (a mono source) of the
// prepared plug-in and captures both outputs: mains on, process, mains off.
// `connectedInputs` is the channel count the plug-in was prepared with. Fails
// when the plug-in has no outputs or answers with values that are not finite.
// Runs the plug-in's processing on the calling thread: call it from the thread
// that drives the host, never while another call into the plug-in runs.
bool MeasureImpulseResponse(PluginHost& host, double sampleRate, int connectedInputs, const RenderOptions& options,
                            ImpulseResponse& response, std::string& error);

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

// Spectra, comb notches and extremes of a measured response. The notch list is
// located on the FFT bins (refined between them); the deepest notch and the
// highest peak are then settled on the exact transform of the response.
// Touches nothing but its argument: any thread, several at once.
MonoCheckResult AnalyseResponse(const ImpulseResponse& response);
