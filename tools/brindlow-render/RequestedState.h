#pragma once

#include "Options.h"
#include "PluginHost.h"
#include "PresetFile.h"

#include <string>

// Puts a prepared plug-in into the state the command line asks for, in this
// order: a bank file (--preset FILE.fxb) replaces the programs; --program then
// selects one of them; a program file (--preset FILE.fxp) loads into the
// selected program; the --set values come last. Runs on the thread that owns
// the host, before processing starts.
//
// `preset` is the parsed --preset file, or null. Returns kExitOk, or the exit
// code with the reason in `error`: kExitUsage for an unknown program or
// setting, kExitFailure for a preset the plug-in cannot take.
ExitCode ApplyRequestedState(PluginHost& host, const RenderOptions& options, const PresetFile* preset,
                             std::string& error);
