#include "PresetTransfer.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace
{
bool Fail(std::string& error, std::string message)
{
  error = std::move(message);
  return false;
}

std::vector<float> ParameterValues(const PluginHost& host)
{
  std::vector<float> values(static_cast<size_t>(host.NumParams()));
  for (int i = 0; i < host.NumParams(); ++i) values[static_cast<size_t>(i)] = host.ParamValue(i);
  return values;
}

void SetParameterValues(PluginHost& host, const std::vector<float>& values)
{
  for (size_t i = 0; i < values.size(); ++i) host.SetParamValue(static_cast<int>(i), values[i]);
}

// What a failed load has to put back.
struct SavedState
{
  std::vector<unsigned char> chunk; // when the plug-in does chunks
  std::vector<float> values;
};

SavedState SaveState(const PluginHost& host, bool bank)
{
  SavedState saved;
  if (host.DoesChunks()) saved.chunk = host.GetChunk(bank);
  saved.values = ParameterValues(host);
  return saved;
}

void RestoreState(PluginHost& host, bool bank, const SavedState& saved)
{
  if (!saved.chunk.empty() && host.SetChunk(bank, saved.chunk)) return;
  SetParameterValues(host, saved.values);
}

} // namespace

bool PresetFitsPlugin(const PluginHost& host, const PresetFile& file, std::string& error)
{
  if (file.kind == PresetFile::Kind::kOwnFormat)
    return *host.OwnPresetExtension() ||
           Fail(error, std::string(".vstpreset files are VST 3 presets; this plug-in is ") + host.FormatName());
  if (!host.TakesVstPresetFiles())
    return Fail(error, std::string("preset files (.fxp, .fxb) are VST 2.4 state; this plug-in is ") + host.FormatName() +
                           " (use --program and --set)");
  if (file.pluginId != host.UniqueId())
    return Fail(error, "the preset is for the plug-in with ID " + PluginIdText(file.pluginId) +
                           ", not for this one, whose ID is " + PluginIdText(host.UniqueId()));
  if (file.IsChunk() && !host.DoesChunks())
    return Fail(error, "the preset holds an opaque chunk, but the plug-in does not take chunks "
                       "(it keeps its state in its parameters)");
  const int params = host.NumParams();
  if (file.kind == PresetFile::Kind::kProgram && static_cast<int>(file.program.values.size()) != params)
    return Fail(error, "the preset has " + std::to_string(file.program.values.size()) +
                           " parameter values; the plug-in has " + std::to_string(params) + " parameters");
  if (file.kind == PresetFile::Kind::kBank) {
    if (file.count > host.NumPrograms())
      return Fail(error, "the bank has " + std::to_string(file.count) + " programs; the plug-in has " +
                             std::to_string(host.NumPrograms()));
    if (!file.programs.empty() && static_cast<int>(file.programs[0].values.size()) != params)
      return Fail(error, "the bank's programs have " + std::to_string(file.programs[0].values.size()) +
                             " parameter values; the plug-in has " + std::to_string(params) + " parameters");
  }
  return true;
}

bool LoadPreset(PluginHost& host, const PresetFile& file, std::string& error)
{
  if (!PresetFitsPlugin(host, file, error)) return false;
  if (file.kind == PresetFile::Kind::kOwnFormat) return host.ReadOwnPreset(file.chunk, error);
  const bool bank = file.IsBank();
  const int32_t elements = bank ? file.count : host.NumParams();
  if (!host.AcceptsPresetFile(bank, file.pluginVersion, elements))
    return Fail(error, "the plug-in refused the preset (written by version " + std::to_string(file.pluginVersion) +
                           "; the plug-in is version " + std::to_string(host.Version()) + ")");

  switch (file.kind) {
  case PresetFile::Kind::kProgram:
    SetParameterValues(host, file.program.values);
    host.SetProgramName(file.program.name);
    return true;
  case PresetFile::Kind::kProgramChunk:
  case PresetFile::Kind::kBankChunk: {
    const SavedState saved = SaveState(host, bank);
    if (host.SetChunk(bank, file.chunk)) return true;
    RestoreState(host, bank, saved);
    return Fail(error, "the plug-in did not accept the preset's chunk; its state is unchanged");
  }
  case PresetFile::Kind::kOwnFormat:
    break; // read above
  case PresetFile::Kind::kBank: {
    const int keep = host.CurrentProgram();
    for (size_t i = 0; i < file.programs.size(); ++i) {
      host.SetProgram(static_cast<int>(i));
      SetParameterValues(host, file.programs[i].values);
      host.SetProgramName(file.programs[i].name);
    }
    host.SetProgram(file.currentProgram >= 0 ? file.currentProgram : keep);
    return true;
  }
  }
  return true;
}

bool CapturePreset(PluginHost& host, bool bank, PresetFile& out, std::string& error)
{
  if (!host.TakesVstPresetFiles())
    return Fail(error, std::string("preset files (.fxp, .fxb) are VST 2.4 state; this plug-in is ") + host.FormatName());
  PresetFile file;
  file.pluginId = host.UniqueId();
  file.pluginVersion = host.Version();
  const int original = host.CurrentProgram();
  if (bank) {
    file.formatVersion = 2;
    file.count = host.NumPrograms();
    if (file.count < 1) return Fail(error, "the plug-in has no programs to save as a bank; save a .fxp instead");
    file.currentProgram = std::clamp(original, 0, file.count - 1);
  } else {
    file.program.name = host.ProgramName();
  }

  if (host.DoesChunks()) {
    file.kind = bank ? PresetFile::Kind::kBankChunk : PresetFile::Kind::kProgramChunk;
    if (!bank) file.count = host.NumParams();
    file.chunk = host.GetChunk(bank);
    if (file.chunk.empty()) return Fail(error, "the plug-in declares chunks but gave none to save");
  } else if (!bank) {
    file.kind = PresetFile::Kind::kProgram;
    file.program.values = ParameterValues(host);
  } else {
    file.kind = PresetFile::Kind::kBank;
    for (int i = 0; i < file.count; ++i) {
      host.SetProgram(i);
      file.programs.push_back({host.ProgramName(), ParameterValues(host)});
    }
    if (original == file.currentProgram) host.SetProgram(original);
  }
  out = std::move(file);
  return true;
}

bool SavePreset(PluginHost& host, const std::string& path, std::string& error)
{
  if (EndsWithOwnPresetExtension(path)) {
    PresetFile file;
    file.kind = PresetFile::Kind::kOwnFormat;
    if (!*host.OwnPresetExtension()) {
      error = "cannot save \"" + path + "\": .vstpreset files are VST 3 presets; this plug-in is " + host.FormatName();
      return false;
    }
    if (!host.WriteOwnPreset(file.chunk, error)) {
      error = "cannot save \"" + path + "\": " + error;
      return false;
    }
    return WritePresetFile(path, file, error);
  }
  std::string extension = path.size() >= 4 ? path.substr(path.size() - 4) : "";
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool bank = extension == ".fxb";
  PresetFile file;
  if (!CapturePreset(host, bank, file, error)) {
    error = "cannot save \"" + path + "\": " + error;
    return false;
  }
  return WritePresetFile(path, file, error);
}
