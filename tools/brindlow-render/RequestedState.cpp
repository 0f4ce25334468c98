#include "RequestedState.h"

#include "PluginSettings.h"
#include "PresetTransfer.h"

namespace
{
ExitCode LoadPresetFile(PluginHost& host, const RenderOptions& options, const PresetFile& preset, std::string& error)
{
  if (LoadPreset(host, preset, error)) return kExitOk;
  error = "preset file \"" + options.presetPath + "\" refused: " + error;
  return kExitFailure;
}
} // namespace

ExitCode ApplyRequestedState(PluginHost& host, const RenderOptions& options, const PresetFile* preset,
                             std::string& error)
{
  const bool bank = preset && preset->IsBank();
  if (bank && LoadPresetFile(host, options, *preset, error) != kExitOk) return kExitFailure;

  // Selecting a program also makes the plug-in re-read its channel layout; a
  // loaded preset does that too, and re-selecting would undo a chunk's state.
  if (!options.program.empty()) {
    if (!SelectProgram(host, options.program, error)) return kExitUsage;
  } else if (!preset && host.NumPrograms() > 0) {
    host.SetProgram(host.CurrentProgram());
  }

  if (preset && !bank && LoadPresetFile(host, options, *preset, error) != kExitOk) return kExitFailure;

  for (const auto& [name, value] : options.settings)
    if (!ApplySetting(host, name, value, error)) return kExitUsage;
  return kExitOk;
}
