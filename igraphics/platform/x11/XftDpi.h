#pragma once
// The scale an X server's users ask of applications: the Xft.dpi resource that desktops
// and `xrdb` load into the server's resource database (the root window's
// RESOURCE_MANAGER property), divided by the 96 dpi of a scale of 1.

#include <cstddef>

// The scale that |resources| (the property's text, "name:\tvalue" lines, not necessarily
// terminated) asks for: its last Xft.dpi value / 96. 0 = unknown, when the resource is
// missing, empty, not a plain number or outside 24..960 dpi.
double ScaleForXResources(const char* resources, size_t length);
