#include "HeadlessPanel.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "EditorSnapshot.h"
#include "bitmap.h"
#include "image_loaders.h"

bool PaintHeadlessPanel(const std::vector<float>& normalized, bool showSplash, WindowPixels& out,
                        std::string& error)
{
  const std::string path = testing::TempDir() + "headless-panel-" + std::to_string(getpid()) + ".png";
  if (!WriteBrindlowEditorSnapshot(normalized, EditorSnapshotLook{showSplash}, path, error)) return false;
  std::unique_ptr<LICE_IBitmap> bitmap(LICE::DecodePngFile(path.c_str()));
  std::remove(path.c_str());
  if (!bitmap)
  {
    error = "cannot read the snapshot back";
    return false;
  }
  out.width = bitmap->Width();
  out.height = bitmap->Height();
  out.rgb.clear();
  for (int y = 0; y < out.height; ++y)
  {
    const PixelWord* row = bitmap->PixelData() + size_t(y) * size_t(bitmap->RowStride());
    for (int x = 0; x < out.width; ++x) out.rgb.push_back(row[x] & 0xFFFFFFu);
  }
  return true;
}

size_t CountDifferingPixels(const WindowPixels& a, const WindowPixels& b)
{
  if (a.width != b.width || a.height != b.height) return std::max(a.rgb.size(), b.rgb.size());
  size_t count = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) count += a.rgb[i] != b.rgb[i];
  return count;
}
