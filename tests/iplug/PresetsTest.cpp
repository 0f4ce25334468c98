#include "TestPlug.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class ThreeParamPlug : public TestPlug
{
public:
  explicit ThreeParamPlug(int nPresets) : TestPlug(3, "1-2 2-2", nPresets)
  {
    ParameterAt(0)->DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
    ParameterAt(1)->DefineChoice("Pan", 0, 2);
    ParameterAt(2)->DefineContinuous("Wet Mix", 0.0, -10.0, 10.0, 0.1, "dB");
  }
};
} // namespace

TEST(Presets, SlotsStartEmptyWithNumberedNames)
{
  ThreeParamPlug plug(3);
  EXPECT_EQ(plug.PresetCount(), 3);
  EXPECT_STREQ(plug.PresetName(0), "- 1 -");
  EXPECT_STREQ(plug.PresetName(2), "- 3 -");
  EXPECT_STREQ(plug.PresetName(3), "");
  EXPECT_STREQ(plug.PresetName(-1), "");
  EXPECT_FALSE(plug.PresetAt(0)->mInitialized);
  EXPECT_EQ(plug.CurrentPreset(), 0);
}

TEST(Presets, DefineStoresIntegerAndDoubleValuesUnchanged)
{
  ThreeParamPlug plug(3);
  plug.DefinePreset("Vocal Doubler", 12.5, 1, -3.0);
  plug.DefinePreset("Wide", 99.0, 0, 2.0); // stored as given; recall clamps
  IProgram* preset = plug.PresetAt(0);
  ASSERT_TRUE(preset->mInitialized);
  EXPECT_STREQ(preset->Name(), "Vocal Doubler");
  ASSERT_EQ(preset->mState.Size(), 24);
  double v = 0;
  preset->mState.GetDouble(&v, 8);
  EXPECT_EQ(v, 1.0);
  plug.PresetAt(1)->mState.GetDouble(&v, 0);
  EXPECT_EQ(v, 99.0);
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 20.0) << "defining does not change the parameters";

  EXPECT_TRUE(plug.RecallPreset(1));
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 40.0);
  EXPECT_EQ(plug.CurrentPreset(), 1);
  EXPECT_TRUE(plug.RecallPreset(0));
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 12.5);
  EXPECT_EQ(plug.ParameterAt(1)->Value(), 1.0);
  EXPECT_EQ(plug.ParameterAt(2)->Value(), -3.0);
}

TEST(Presets, DefineAcceptsAnyNumericTypeAndFillsMissingValues)
{
  ThreeParamPlug plug(2);
  plug.ParameterAt(2)->SetValue(4.5);
  plug.DefinePreset("Whole numbers", 20, 1.0f, -3);
  plug.DefinePreset("Short", 7.25);
  ASSERT_TRUE(plug.RecallPreset(0));
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 20.0);
  EXPECT_EQ(plug.ParameterAt(1)->Value(), 1.0);
  EXPECT_EQ(plug.ParameterAt(2)->Value(), -3.0);
  ASSERT_TRUE(plug.RecallPreset(1));
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 7.25);
  EXPECT_EQ(plug.ParameterAt(2)->Value(), 4.5) << "a missing value keeps the value at definition time";
}

TEST(Presets, DefiningPastTheLastSlotChangesNothing)
{
  ThreeParamPlug plug(1);
  plug.DefinePreset("One", 2.0, 0, 0.0);
  plug.DefinePreset("Two", 3.0, 1, 1.0);
  EXPECT_STREQ(plug.PresetName(0), "One");
  EXPECT_EQ(plug.PresetCount(), 1);
}

TEST(Presets, CaptureFillsTheNextFreeSlots)
{
  ThreeParamPlug plug(17);
  for (int i = 0; i < 13; ++i) plug.DefinePreset("Factory", 10.0 + i, 0, 0.0);
  plug.ParameterAt(0)->SetValue(7.0);
  plug.CapturePresets("User 1", 1);
  EXPECT_STREQ(plug.PresetName(13), "User 1");
  EXPECT_TRUE(plug.PresetAt(13)->mInitialized);
  double v = 0;
  plug.PresetAt(13)->mState.GetDouble(&v, 0);
  EXPECT_EQ(v, 7.0);
  plug.CapturePresets(nullptr, 10);
  EXPECT_STREQ(plug.PresetName(16), "Default");
  EXPECT_EQ(plug.FirstFreePreset(), nullptr);
}

TEST(Presets, RecallOfEmptySlotStoresCurrentSoundAsUserPreset)
{
  ThreeParamPlug plug(4);
  plug.DefinePreset("Factory", 10.0, 0, 0.0);
  plug.ParameterAt(0)->SetValue(31.0);
  RecordingEditor* editor = new RecordingEditor();
  plug.AttachEditor(editor);
  editor->pushes.clear();

  EXPECT_TRUE(plug.RecallPreset(2));
  EXPECT_STREQ(plug.PresetName(2), "user preset 1");
  EXPECT_EQ(plug.CurrentPreset(), 2);
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 31.0);
  EXPECT_EQ(editor->pushes.size(), 3u) << "a recall refreshes the editor";

  EXPECT_TRUE(plug.RecallPreset(3));
  EXPECT_STREQ(plug.PresetName(3), "user preset 2");

  EXPECT_FALSE(plug.RecallPreset(4));
  EXPECT_FALSE(plug.RecallPreset(-1));
  EXPECT_EQ(plug.CurrentPreset(), 3);
}

TEST(Presets, RecallWithoutParametersFails)
{
  TestPlug plug(0, "1-1", 2);
  plug.CapturePresets("Empty", 1);
  EXPECT_FALSE(plug.RecallPreset(0));
  EXPECT_EQ(plug.CurrentPreset(), 0);
}

TEST(Presets, UpdateReplacesValuesAndRenamesOnlyWithAName)
{
  ThreeParamPlug plug(2);
  plug.DefinePreset("Snare Drum", 5.0, 1, 2.0);
  ASSERT_TRUE(plug.RecallPreset(0));
  plug.ParameterAt(0)->SetValue(25.0);

  plug.UpdateCurrentPreset("");
  EXPECT_STREQ(plug.PresetName(0), "Snare Drum");
  plug.ParameterAt(0)->SetValue(1.0);
  ASSERT_TRUE(plug.RecallPreset(0));
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 25.0);

  plug.UpdateCurrentPreset(nullptr);
  EXPECT_STREQ(plug.PresetName(0), "Snare Drum");
  plug.UpdateCurrentPreset("Renamed");
  EXPECT_STREQ(plug.PresetName(0), "Renamed");
  EXPECT_EQ(plug.PresetAt(0)->mState.Size(), 24);
}

TEST(Presets, LongNamesAreKeptWholeUpToTheSlotLimit)
{
  ThreeParamPlug plug(2);
  const std::string hostLong(60, 'a'); // longer than a host's 24-character program name
  plug.DefinePreset(hostLong.c_str(), 5.0, 1, 2.0);
  EXPECT_EQ(std::string(plug.PresetName(0)), hostLong);

  const std::string tooLong(400, 'b');
  ASSERT_TRUE(plug.RecallPreset(0));
  plug.UpdateCurrentPreset(tooLong.c_str());
  EXPECT_EQ(std::string(plug.PresetName(0)), std::string(255, 'b'));
}

TEST(Presets, FallbackPresetOnlyForPlugInsWithoutPresets)
{
  ThreeParamPlug none(0);
  none.ParameterAt(0)->SetValue(15.0);
  none.AddFallbackPreset();
  ASSERT_EQ(none.PresetCount(), 1);
  EXPECT_STREQ(none.PresetName(0), "Default");
  double v = 0;
  none.PresetAt(0)->mState.GetDouble(&v, 0);
  EXPECT_EQ(v, 15.0);

  ThreeParamPlug some(2);
  some.AddFallbackPreset();
  EXPECT_EQ(some.PresetCount(), 2);
  EXPECT_FALSE(some.PresetAt(0)->mInitialized);
}
