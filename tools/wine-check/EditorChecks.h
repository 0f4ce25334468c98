// The parts of EditorWineCheck.exe outside its main file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads a PNG of width × height into 0xRRGGBB words; false when it cannot.
bool LoadReference(const char* path, int width, int height, std::vector<std::uint32_t>& pixels);

struct PixelComparison
{
  int differing = 0;              // pixels outside the labels that differ
  std::string firstDifference;    // ", first at (x, y): shown vs reference", or empty
  std::string labelsWithoutText;  // ": <label>, <label>", or empty
};

// Compares the editor as shown with the reference everywhere but inside (and a couple
// of pixels around) the product's label rectangles, whose text comes from each
// platform's own font renderer; inside each label, looks for text: pixels that differ
// from the label's backdrop colour.
PixelComparison CompareOutsideLabels(const std::vector<std::uint32_t>& shown,
                                     const std::vector<std::uint32_t>& reference, int width, int height);

// The edit box, on an editor built here from the toolkit with a control that allows
// in-place editing.
void RunToolkitEditorChecks();
