#pragma once

#include "PluginHost.h"
#include "PresetFile.h"

#include <string>

// Moving preset files into and out of a loaded plug-in, the way hosts do. All
// of these drive the plug-in's dispatcher, so they run on the thread that owns
// the host and never while it processes audio.

// Checks, without touching the plug-in, that the file is for this plug-in and
// fits it: the same unique ID, the same number of parameters, no more programs
// than it has, a chunk only for a plug-in that takes chunks.
bool PresetFitsPlugin(const PluginHost& host, const PresetFile& file, std::string& error);

// Loads a file that PresetFitsPlugin accepted. A program goes into the current
// program; a bank replaces the programs and selects its current one (version 2)
// or keeps the current one (version 1). When the plug-in refuses the file
// (effBeginLoad... or effSetChunk), its previous state is put back and false
// is returned with the reason.
bool LoadPreset(PluginHost& host, const PresetFile& file, std::string& error);

// The plug-in's state as a program (.fxp) or bank (.fxb) file: its chunk when it
// declares chunks, else its parameter values. A parameter bank is read by
// selecting each program in turn; the current program is selected again at the end.
// False with the reason when the plug-in gives nothing to save.
bool CapturePreset(PluginHost& host, bool bank, PresetFile& file, std::string& error);

// Captures the state as a bank when `path` ends in .fxb (any case), else as a
// program, and writes the file.
bool SavePreset(PluginHost& host, const std::string& path, std::string& error);
