// brindlow-render: renders an audio file through the Brindlow VST 2.4 plug-in
// (or another one) without a DAW.
#include "AudioFile.h"
#include "Batch.h"
#include "EditorSnapshot.h"
#include "InputChecks.h"
#include "MonoCheckCommand.h"
#include "Options.h"
#include "PluginHost.h"
#include "PluginInfo.h"
#include "PresetFile.h"
#include "PresetTransfer.h"
#include "Render.h"
#include "RequestedState.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
// tree's plug-in folder, in the VST folder of the prefix it is installed in (the
// package's /usr/bin and /usr/lib/vst), or where the build put it.
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
    exeDir.empty() ? "" : exeDir + "/../lib/vst/Brindlow.so",
    BRINDLOW_DEFAULT_PLUGIN,
  };
  for (const std::string& path : candidates)
    if (IsFile(path)) return path;
  return BRINDLOW_DEFAULT_PLUGIN[0] ? BRINDLOW_DEFAULT_PLUGIN : "Brindlow.so";
}

int Run(const RenderOptions& options)
{
  const std::string pluginPath = options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath;
  if (!options.outDir.empty()) return RunBatch(options, pluginPath);

  // Check everything about the files before the plug-in is loaded.
  AudioInput input;
  OutputFormatChoice format;
  const bool snapshot = !options.editorSnapshotPath.empty();
  const bool monoCheckOnly = options.monoCheck && options.inputPath.empty();
  const bool renders = !options.info && !snapshot && !options.inputPath.empty();
  PresetFile preset;
  if (!options.presetPath.empty()) {
    std::string error;
    if (!ReadPresetFile(options.presetPath, preset, error)) return Fail(kExitFailure, error);
  }
  if (renders && !options.savePresetPath.empty() &&
      (IsSameFile(options.inputPath, options.savePresetPath) || IsSameFile(options.outputPath, options.savePresetPath)))
    return Fail(kExitUsage, "--save-preset \"" + options.savePresetPath + "\" is the input or the output file");
  if (renders) {
    std::string error;
    if (!input.Open(options.inputPath, error)) return Fail(kExitFailure, error);
    if (input.Channels() < 1 || input.Channels() > 2)
      return Fail(kExitFailure, "input \"" + options.inputPath + "\" has " + std::to_string(input.Channels()) +
                                    " channels; only mono and stereo files can be rendered");
    if (!CheckInputRenderable(input, options.inputPath, error)) return Fail(kExitFailure, error);
    if (IsSameFile(options.inputPath, options.outputPath))
      return Fail(kExitUsage, "the output \"" + options.outputPath + "\" is the input file; choose another name");
    format = ChooseOutputFormat(options.outputPath, input.Format(), options.floatOutput);
    if (format.format == 0) return Fail(kExitUsage, format.error);
    if (!options.plotPath.empty() &&
        (IsSameFile(options.inputPath, options.plotPath) || IsSameFile(options.outputPath, options.plotPath)))
      return Fail(kExitUsage, "the plot \"" + options.plotPath + "\" would overwrite the input or the output");
  }

  // The snapshot paints the Brindlow built into this program; another module's editor
  // would need that module's own window, so it is refused rather than drawn wrongly.
  if (snapshot && !options.pluginPath.empty() && !IsSameFile(options.pluginPath, DefaultPluginPath()))
    return Fail(kExitUsage, "--editor-snapshot draws the editor of this build's Brindlow (" + DefaultPluginPath() +
                                "), not of \"" + options.pluginPath + "\"; leave out --plugin");

  std::string error;
  const std::unique_ptr<PluginHost> loaded = PluginHost::Open(pluginPath, error);
  if (!loaded) {
    if (options.pluginPath.empty()) error += " (build the plug-in, or name one with --plugin)";
    return Fail(kExitFailure, error);
  }
  PluginHost& host = *loaded;

  if (options.info) {
    PrintPluginInfo(host, pluginPath, std::cout);
    return kExitOk;
  }

  if (renders && host.NumInputs() < input.Channels())
    return Fail(kExitFailure, "the plug-in takes " + std::to_string(host.NumInputs()) + " input channel(s); \"" +
                                  options.inputPath + "\" has " + std::to_string(input.Channels()));

  const double monoCheckRate = options.monoCheckRate > 0.0 ? options.monoCheckRate : kMonoCheckDefaultRate;
  const int monoCheckInputs = std::min(1, host.NumInputs()); // a mono source, if the plug-in takes any
  if (renders)
    host.Prepare(input.SampleRate(), options.blockSize, input.Channels(), options.doublePrecision);
  else if (monoCheckOnly)
    host.Prepare(monoCheckRate, options.blockSize, monoCheckInputs, options.doublePrecision);
  else
    host.Prepare(44100.0, options.blockSize, host.NumInputs(), options.doublePrecision);
  const ExitCode stateCode =
    ApplyRequestedState(host, options, options.presetPath.empty() ? nullptr : &preset, error);
  if (stateCode != kExitOk) return Fail(stateCode, error);
  if (!options.savePresetPath.empty() && !SavePreset(host, options.savePresetPath, error))
    return Fail(kExitFailure, error);
  if (snapshot) return RunEditorSnapshot(host, options);
  if (monoCheckOnly) return RunMonoCheck(host, options, monoCheckRate, monoCheckInputs, "");
  if (!renders) return kExitOk;

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
  if (stats.inputFrames == 0) {
    // The header promised audio, none could be read.
    unlink(options.outputPath.c_str());
    return Fail(kExitFailure, "no audio in \"" + options.inputPath + "\"" +
                                  (stats.readError.empty() ? "" : ": " + stats.readError));
  }
  const std::string shortInput = ShortInputWarning(options.inputPath, input.AnnouncedFrames(), stats.inputFrames,
                                                   input.SampleRate(), stats.readError);
  if (!shortInput.empty()) std::fprintf(stderr, "brindlow-render: warning: %s\n", shortInput.c_str());

  const bool integerOutput = (format.format & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT &&
                             (format.format & SF_FORMAT_SUBMASK) != SF_FORMAT_DOUBLE;
  if (integerOutput && stats.overFullScale > 0 && !options.quiet)
    std::fprintf(stderr, "brindlow-render: warning: %lld samples exceeded full scale and were clipped (try --float)\n",
                 static_cast<long long>(stats.overFullScale));
  if (options.monoCheck) return RunMonoCheck(host, options, input.SampleRate(), input.Channels(), options.outputPath);
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
