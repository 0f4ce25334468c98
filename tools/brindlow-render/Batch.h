#pragma once

#include "Options.h"

#include <string>
#include <vector>

// Rendering many files at once (--out-dir): every input goes into the output
// directory under its own file name. Worker threads take the files in turn,
// each driving a plug-in instance of its own, so every file is rendered exactly
// as it would be alone; the main thread only shows the progress.

struct BatchItem
{
  std::string input;
  std::string output;
};

// Pairs every input with its output in `outDir`. Refuses (false, with the
// reason) when an output would overwrite one of the inputs, under whatever
// spelling, or when two inputs would be written to the same output.
bool PlanBatch(const std::vector<std::string>& inputs, const std::string& outDir, std::vector<BatchItem>& items,
               std::string& error);

// Renders options.inputs into options.outDir through the plug-in at
// `pluginPath` and prints a summary naming each failed file and why. Returns
// kExitOk, kExitFailure when any file failed, kExitUsage when the command line
// cannot be carried out (then nothing is rendered).
int RunBatch(const RenderOptions& options, const std::string& pluginPath);
