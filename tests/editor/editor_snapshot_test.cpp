// brindlow-render --editor-snapshot: the PNG holds exactly the panel the editor paints.
#include "EditorFixture.h"

#include <cstdio>
#include <memory>
#include <string>

#include "EditorSnapshot.h"
#include "Options.h"
#include "image_loaders.h"
#include "lice.h"

namespace
{

std::string TempPng(const char* name) { return ::testing::TempDir() + name; }

using EditorSnapshot = EditorFixture;

TEST_F(EditorSnapshot, ThePictureIsThePaintedPanel)
{
  // Pan Right, Delay at its maximum, the splash shown: in this editor and in the snapshot.
  const std::vector<float> values = {1.0f, 1.0f, 0.25f};
  for (size_t i = 0; i < values.size(); ++i) mEffect->setParameter(mEffect, VstInt32(i), values[i]);
  Opened();
  PaintAll();

  const std::string path = TempPng("brindlow_snapshot.png");
  std::string error;
  ASSERT_TRUE(WriteBrindlowEditorSnapshot(values, true, path, error)) << error;
  std::unique_ptr<LICE_IBitmap> picture(LICE::DecodePngFile(path.c_str()));
  ASSERT_NE(picture, nullptr);
  ASSERT_EQ(picture->Width(), 366);
  ASSERT_EQ(picture->Height(), 212);
  int differing = 0;
  for (int y = 0; y < 212; ++y)
    for (int x = 0; x < 366; ++x)
      differing += (LICE::FetchPixel(picture.get(), x, y) & 0xFFFFFF) !=
                   (LICE::FetchPixel(mEditor->DrawBitmap(), x, y) & 0xFFFFFF);
  EXPECT_EQ(differing, 0);
  std::remove(path.c_str());
}

TEST_F(EditorSnapshot, AnUnwritablePathIsReported)
{
  std::string error;
  EXPECT_FALSE(WriteBrindlowEditorSnapshot({}, false, "/nonexistent-dir/x/panel.png", error));
  EXPECT_NE(error.find("/nonexistent-dir/x/panel.png"), std::string::npos) << error;
}

ParseResult Parse(std::vector<std::string> args, RenderOptions& options)
{
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return ParseOptions(static_cast<int>(args.size()), argv.data(), options);
}

TEST(EditorSnapshotOptions, TakeAFileAndNoAudioFiles)
{
  RenderOptions options;
  ASSERT_TRUE(Parse({"brindlow-render", "--editor-snapshot", "p.png", "--splash", "--program", "9", "--set", "Pan=Right"},
                    options)
                .ok);
  EXPECT_EQ(options.editorSnapshotPath, "p.png");
  EXPECT_TRUE(options.showSplash);
  EXPECT_EQ(options.program, "9");

  RenderOptions withFiles;
  EXPECT_FALSE(Parse({"brindlow-render", "--editor-snapshot", "p.png", "in.wav", "out.wav"}, withFiles).ok);
  RenderOptions splashAlone;
  EXPECT_FALSE(Parse({"brindlow-render", "--splash", "in.wav", "out.wav"}, splashAlone).ok);
  RenderOptions empty;
  EXPECT_FALSE(Parse({"brindlow-render", "--editor-snapshot", ""}, empty).ok);
  RenderOptions missing;
  const ParseResult noValue = Parse({"brindlow-render", "--editor-snapshot"}, missing);
  EXPECT_FALSE(noValue.ok);
  EXPECT_NE(noValue.error.find("needs a value"), std::string::npos) << noValue.error;
}

TEST(EditorSnapshotOptions, TakeAScaleFromOneToThree)
{
  RenderOptions options;
  ASSERT_TRUE(Parse({"brindlow-render", "--editor-snapshot", "p.png", "--scale", "1.5"}, options).ok);
  EXPECT_DOUBLE_EQ(options.editorScale, 1.5);
  for (const char* bad : {"0.5", "3.5", "nan", "2x", "", "-2"})
  {
    RenderOptions rejected;
    const ParseResult result = Parse({"brindlow-render", "--editor-snapshot", "p.png", "--scale", bad}, rejected);
    EXPECT_FALSE(result.ok) << bad;
    EXPECT_NE(result.error.find("--scale expects a factor from 1 to 3"), std::string::npos) << result.error;
  }
  RenderOptions alone;
  EXPECT_FALSE(Parse({"brindlow-render", "--scale", "2", "in.wav", "out.wav"}, alone).ok);
}

} // namespace
