#pragma once

#include <cstdint>
#include <string>
#include <vector>

// VST program (.fxp) and bank (.fxb) files as hosts exchange them: reading,
// checking and writing. Every number in a file is big-endian. Knows nothing of
// the plug-in; PresetTransfer.h moves the contents in and out of one.

struct PresetProgram
{
  std::string name;          // at most 27 characters
  std::vector<float> values; // normalised parameter values, 0 ... 1, in parameter order
};

struct PresetFile
{
  enum class Kind
  {
    kProgram,      // 'FxCk': one program as parameter values
    kProgramChunk, // 'FPCh': one program as the plug-in's opaque chunk
    kBank,         // 'FxBk': every program as parameter values
    kBankChunk,    // 'FBCh': the plug-in's opaque bank chunk
    kOwnFormat,    // a preset file of the plug-in's format (.vstpreset), whole in chunk
  };

  Kind kind = Kind::kProgram;
  int32_t pluginId = 0;      // the unique ID of the plug-in the file is for
  int32_t pluginVersion = 0; // the plug-in version that wrote it
  int32_t formatVersion = 1; // banks: 2 when currentProgram is meaningful
  // kProgram: name and values. kProgramChunk: name only.
  PresetProgram program;
  // kBank: one entry per program. kBankChunk: empty.
  std::vector<PresetProgram> programs;
  // kProgramChunk: the parameter count it names. kBank/kBankChunk: the program count.
  int32_t count = 0;
  int32_t currentProgram = -1; // banks of version 2; -1 otherwise
  std::vector<unsigned char> chunk; // the chunk kinds; kOwnFormat: the whole file

  bool IsBank() const { return kind == Kind::kBank || kind == Kind::kBankChunk; }
  bool IsChunk() const { return kind == Kind::kProgramChunk || kind == Kind::kBankChunk; }
};

// Reads the whole of `bytes` as a preset file and checks every size, magic and
// value before answering. On failure returns false with the reason in `error`
// and leaves `file` untouched.
bool ParsePresetFile(const std::vector<unsigned char>& bytes, PresetFile& file, std::string& error);

// The bytes of the file. Names longer than 27 characters are cut.
std::vector<unsigned char> SerializePresetFile(const PresetFile& file);

// File wrappers around the two above; `error` names the path.
// Whether a path names a format's own preset file (.vstpreset, any case).
bool EndsWithOwnPresetExtension(const std::string& path);

bool ReadPresetFile(const std::string& path, PresetFile& file, std::string& error);
bool WritePresetFile(const std::string& path, const PresetFile& file, std::string& error);

// "'kyvh' (1803123304)": a plug-in ID as its four characters, when printable, and as a number.
std::string PluginIdText(int32_t id);
