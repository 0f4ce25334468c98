// brindlow-render: renders an audio file through the Brindlow VST 2.4 plug-in
// (or another one) without a DAW.
#include "AudioFile.h"
#include "EditorSnapshot.h"
#include "Options.h"
#include "PluginHost.h"
#include "PluginInfo.h"
#include "PluginSettings.h"
#include "Render.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <iostream>
#include <string>

#ifndef BRINDLOW_DEFAULT_PLUGIN
#define BRINDLOW_DEFAULT_PLUGIN ""
#endif

namespace
{
int Fail(int code, const std::string& message)
{
  std::fprintf(stderr, "brindlow-render: %s\n", message.c_str());
  return code;
}

bool IsFile(const std::string& path)
{
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The Brindlow plug-in that belongs to this executable: beside it, in the build
// tree's plug-in folder, or where the build put it.
std::string DefaultPluginPath()
{
  std::string exeDir;
  char exe[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
  if (n > 0) {
    exe[n] = '\0';
    exeDir = exe;
    exeDir = exeDir.substr(0, exeDir.find_last_of('/'));
  }
  const std::string candidates[] = {
    exeDir.empty() ? "" : exeDir + "/Brindlow.so",
    exeDir.empty() ? "" : exeDir + "/../plugin/Brindlow.so",
    BRINDLOW_DEFAULT_PLUGIN,
  };
  for (const std::string& path : candidates)
    if (IsFile(path)) return path;
  return BRINDLOW_DEFAULT_PLUGIN[0] ? BRINDLOW_DEFAULT_PLUGIN : "Brindlow.so";
}

int Run(const RenderOptions& options)
{
  const std::string pluginPath = options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath;

  // Check everything about the files before the plug-in is loaded.
  AudioInput input;
  OutputFormatChoice format;
  const bool snapshot = !options.editorSnapshotPath.empty();
  if (!options.info && !snapshot) {
    std::string error;
    if (!input.Open(options.inputPath, error)) return Fail(kExitFailure, error);
    if (input.Channels() < 1 || input.Channels() > 2)
      return Fail(kExitFailure, "input \"" + options.inputPath + "\" has " + std::to_string(input.Channels()) +
                                    " channels; only mono and stereo files can be rendered");
    if (IsSameFile(options.inputPath, options.outputPath))
      return Fail(kExitUsage, "the output \"" + options.outputPath + "\" is the input file; choose another name");
    format = ChooseOutputFormat(options.outputPath, input.Format(), options.floatOutput);
    if (format.format == 0) return Fail(kExitUsage, format.error);
  }

  // The snapshot paints the Brindlow built into this program; another module's editor
  // would need that module's own window, so it is refused rather than drawn wrongly.
  if (snapshot && !options.pluginPath.empty() && !IsSameFile(options.pluginPath, DefaultPluginPath()))
    return Fail(kExitUsage, "--editor-snapshot draws the editor of this build's Brindlow (" + DefaultPluginPath() +
                                "), not of \"" + options.pluginPath + "\"; leave out --plugin");

  PluginHost host;
  std::string error;
  if (!host.Load(pluginPath, error)) {
    if (options.pluginPath.empty()) error += " (build the plug-in, or name one with --plugin)";
    return Fail(kExitFailure, error);
  }

  if (options.info) {
    PrintPluginInfo(host, pluginPath, std::cout);
    return kExitOk;
  }

  if (!snapshot && host.NumInputs() < input.Channels())
    return Fail(kExitFailure, "the plug-in takes " + std::to_string(host.NumInputs()) + " input channel(s); \"" +
                                  options.inputPath + "\" has " + std::to_string(input.Channels()));

  if (snapshot)
    host.Prepare(44100.0, options.blockSize, host.NumInputs(), options.doublePrecision);
  else
    host.Prepare(input.SampleRate(), options.blockSize, input.Channels(), options.doublePrecision);
  // Selecting a program also makes the plug-in re-read its channel layout.
  if (!options.program.empty()) {
    if (!SelectProgram(host, options.program, error)) return Fail(kExitUsage, error);
  } else if (host.NumPrograms() > 0) {
    host.SetProgram(host.CurrentProgram());
  }
  for (const auto& [name, value] : options.settings)
    if (!ApplySetting(host, name, value, error)) return Fail(kExitUsage, error);
  if (snapshot) return RunEditorSnapshot(host, options);

  AudioOutput output;
  if (!output.Create(options.outputPath, format.format, input.SampleRate(), error)) return Fail(kExitFailure, error);
  if (!format.note.empty() && !options.quiet) std::fprintf(stderr, "brindlow-render: note: %s\n", format.note.c_str());

  RenderStats stats;
  const bool rendered = RenderAudio(host, input, output, options, stats, error);
  std::string closeError;
  const bool closed = output.Close(closeError);
  if (!rendered) {
    unlink(options.outputPath.c_str());
    return Fail(kExitFailure, error);
  }
  if (!closed) return Fail(kExitFailure, closeError);

  const bool integerOutput = (format.format & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT &&
                             (format.format & SF_FORMAT_SUBMASK) != SF_FORMAT_DOUBLE;
  if (integerOutput && stats.overFullScale > 0 && !options.quiet)
    std::fprintf(stderr, "brindlow-render: warning: %lld samples exceeded full scale and were clipped (try --float)\n",
                 static_cast<long long>(stats.overFullScale));
  return kExitOk;
}
} // namespace

int main(int argc, char** argv)
{
  RenderOptions options;
  const ParseResult parsed = ParseOptions(argc, argv, options);
  if (!parsed.ok) {
    std::fprintf(stderr, "brindlow-render: %s\n\n%s", parsed.error.c_str(), UsageText(argv[0]).c_str());
    return kExitUsage;
  }
  if (options.help) {
    std::fputs(UsageText(argv[0]).c_str(), stdout);
    return kExitOk;
  }
  return Run(options);
}
