#pragma once

#include "MonoResponse.h"
#include "Options.h"
#include "PluginHost.h"

#include <cstdint>
#include <string>

// The mono check of a plug-in loaded in a host: its impulse response measured through
// the host, analysed by the shared analysis (MonoResponse.h) with FFTW's transform.

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

// AnalyseResponse (MonoResponse.h) with FFTW's transform, for responses of any density.
// Any thread, several at once.
MonoCheckResult AnalyseResponse(const ImpulseResponse& response);
