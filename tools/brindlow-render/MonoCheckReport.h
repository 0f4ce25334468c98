#pragma once

#include "FoldDown.h"
#include "MonoCheck.h"
#include "PluginHost.h"

#include <ostream>
#include <string>

// The words a mono-check report names the plug-in and its state with.
struct MonoCheckSubject
{
  std::string plugin;   // the plug-in's name
  std::string settings; // program and parameter values: "\"Vocal Doubler\": Delay 40.000 ms, Pan Left, ..."
};

// The current program's name and each parameter's display, as a host shows them.
MonoCheckSubject DescribeSubject(PluginHost& host);

// What a rendered file's fold-down gave, when there was one.
struct RenderedFoldDown
{
  std::string path;
  FoldDownStats stats;
};

// Readable report, one "Label:  value" line per figure (in the manner of sox's stat).
void PrintMonoCheck(std::ostream& out, const MonoCheckSubject& subject, const MonoCheckResult& result,
                    const RenderedFoldDown* rendered);
// The same figures as one JSON object; levels of complete cancellation are null.
void PrintMonoCheckJson(std::ostream& out, const MonoCheckSubject& subject, const MonoCheckResult& result,
                        const RenderedFoldDown* rendered);

// Notches listed by value in the report.
constexpr size_t kListedNotches = 5;
// A response whose last tenth holds more than this share of its energy was cut short.
constexpr double kRingingDb = -60.0;
