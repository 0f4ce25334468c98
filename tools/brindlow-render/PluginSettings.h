#pragma once

#include "PluginHost.h"

#include <string>

// Choosing programs and setting parameters from the texts a user types.
// Every function returns false with a message for the user in `error`; the
// message lists the valid choices.

// Selects a program given by number or by name (exact, else ignoring case).
bool SelectProgram(PluginHost& host, const std::string& wanted, std::string& error);

// Sets parameter `name` (exact, else ignoring case) from `value`, either a number
// in the parameter's own units or one of its display texts. Goes through the
// plug-in's own text conversion when that gives the value asked for, else
// searches the normalised range for the value whose display matches.
bool ApplySetting(PluginHost& host, const std::string& name, const std::string& value, std::string& error);

// Index of the parameter with that name, or -1.
int FindParameter(PluginHost& host, const std::string& name);

// The distinct display texts that are not numbers, in normalised order: the
// choices of a switch-like parameter ("Left", "Right").
std::vector<std::string> DisplayChoices(PluginHost& host, int index);

// Helpers on display texts, exposed for the tests.
// Parses a whole string (blanks around it aside) as a finite decimal number, read the way
// the plug-in reads a typed value: "0x1A", "inf" and "3 dB" are not numbers.
bool ParseNumber(const std::string& text, double& value);
// Reads the number a display text starts with and how many decimals it shows.
bool ParseDisplayNumber(const std::string& display, double& value, int& decimals);
// True when the display shows `value` to its own precision.
bool DisplayShows(const std::string& display, double value);
bool EqualIgnoringCase(const std::string& a, const std::string& b);
