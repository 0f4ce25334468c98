// The editor panel as brindlow-render --editor-snapshot paints it without a window, for
// the parameter values given (normalised, in parameter order), as 0xRRGGBB words.
#pragma once

#include <string>
#include <vector>

#include "TestDisplay.h"

bool PaintHeadlessPanel(const std::vector<float>& normalized, bool showSplash, WindowPixels& out,
                        std::string& error);

// How many pixels differ (all of them when the sizes differ).
size_t CountDifferingPixels(const WindowPixels& a, const WindowPixels& b);
