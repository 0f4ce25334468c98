#pragma once

#include "PluginHost.h"

#include <ostream>
#include <string>

// Prints what a host sees of a freshly opened plug-in: identity, channels,
// each parameter with its range, default, label and display, and every program.
void PrintPluginInfo(PluginHost& host, const std::string& path, std::ostream& out);

// "kyvh" for 0x6B797668 when all four bytes are printable, else "".
std::string FourCharText(int id);
