#pragma once

#include "Options.h"
#include "PluginHost.h"

#include <string>

// Sample rate of a mono check without an input file, unless --rate gives another.
constexpr double kMonoCheckDefaultRate = 44100.0;

// --mono-check: measures the prepared plug-in's response to an impulse (after
// any render, so the render is as it would be alone), prints the report on
// standard output (text or JSON) and writes the --plot picture. With
// `renderedPath` also measures the fold-down of that rendered file. Returns the
// tool's exit code; failures are told on standard error.
int RunMonoCheck(PluginHost& host, const RenderOptions& options, double sampleRate, int connectedInputs,
                 const std::string& renderedPath);
