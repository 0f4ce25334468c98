#include "TestPlug.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

TEST(ChannelIO, MonoOrStereoInStereoOut)
{
  TestPlug plug(3, "1-2 2-2");
  ASSERT_EQ(plug.ChannelConfigCount(), 2);
  EXPECT_EQ(plug.ChannelConfigAt(0)->mNIn, 1);
  EXPECT_EQ(plug.ChannelConfigAt(0)->mNOut, 2);
  EXPECT_EQ(plug.ChannelConfigAt(1)->mNIn, 2);
  EXPECT_EQ(plug.ChannelConfigAt(1)->mNOut, 2);
  EXPECT_EQ(plug.ChannelConfigAt(2), nullptr);
  EXPECT_EQ(plug.InputChannelCount(), 2);
  EXPECT_EQ(plug.OutputChannelCount(), 2);

  EXPECT_TRUE(plug.LegalIO(1, -1));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_TRUE(plug.LegalIO(-1, -1));
  EXPECT_TRUE(plug.LegalIO(-1, 2));
  EXPECT_FALSE(plug.LegalIO(1, 1));
  EXPECT_FALSE(plug.LegalIO(0, 2));
  EXPECT_FALSE(plug.LegalIO(-1, 3));
}

TEST(ChannelIO, ChannelCountsAreTheLargestOfAnyConfiguration)
{
  TestPlug plug(0, "2-1 1-6 4-2");
  EXPECT_EQ(plug.ChannelConfigCount(), 3);
  EXPECT_EQ(plug.InputChannelCount(), 4);
  EXPECT_EQ(plug.OutputChannelCount(), 6);
  EXPECT_TRUE(plug.LegalIO(4, 2));
  EXPECT_FALSE(plug.LegalIO(4, 6));
}

TEST(ChannelIO, NoStringMeansNoChannels)
{
  TestPlug plug(0, nullptr);
  EXPECT_EQ(plug.ChannelConfigCount(), 0);
  EXPECT_EQ(plug.InputChannelCount(), 0);
  EXPECT_FALSE(plug.LegalIO(-1, -1));
  EXPECT_FALSE(plug.IsInputConnected(0));
  plug.SetBlockFrames(16);
  plug.RunBlockDouble(16); // nothing to route; must not crash
}

#ifndef NDEBUG
TEST(ChannelIODeathTest, MalformedStringStopsAtAssertion)
{
  EXPECT_DEATH({ TestPlug plug(0, "1-2 "); }, "channelIOStrValid");
  EXPECT_DEATH({ TestPlug plug(0, "stereo"); }, "channelIOStrValid");
}
#endif

TEST(PlugBase, IdentityAndNamesAreKeptTerminated)
{
  const std::string longName(300, 'x');
  TestPlug plug(1, "1-1", 1, longName.c_str());
  EXPECT_EQ(std::string(plug.EffectName()), std::string(127, 'x'));
  EXPECT_STREQ(plug.ProductName(), "");
  EXPECT_STREQ(plug.VendorName(), "Test Vendor");
  EXPECT_EQ(plug.HostKind(), -1);
  EXPECT_EQ(plug.HostVersion(), 0);
  EXPECT_EQ(plug.SampleRate(), 44100.0);
  EXPECT_EQ(plug.BlockSize(), 0);
  EXPECT_FALSE(plug.DoesChunks());
  EXPECT_FALSE(plug.IsInstrument());
  EXPECT_EQ(plug.ParameterCount(), 1);
  EXPECT_EQ(plug.ParameterAt(1), nullptr);
  EXPECT_EQ(plug.ParameterAt(-1), nullptr);
  EXPECT_EQ(plug.ParameterAt(0)->Kind(), IParameter::kTypeNone);
}

TEST(PlugBase, SampleRateIgnoresUnusableRates)
{
  TestPlug plug;
  plug.SetSampleRateHz(48000.0);
  EXPECT_EQ(plug.SampleRate(), 48000.0);
  plug.SetSampleRateHz(0.0);
  plug.SetSampleRateHz(-1.0);
  plug.SetSampleRateHz(std::numeric_limits<double>::quiet_NaN());
  plug.SetSampleRateHz(std::numeric_limits<double>::infinity());
  EXPECT_EQ(plug.SampleRate(), 48000.0);
}

TEST(PlugBase, EditorChangeSetsParameterAutomatesAndNotifies)
{
  TestPlug plug(2);
  plug.ParameterAt(1)->DefineChoice("Pan", 0, 2);
  plug.SetParameterFromGUI(1, 0.5);
  EXPECT_EQ(plug.ParameterAt(1)->Value(), 1.0);
  ASSERT_EQ(plug.automated.size(), 1u);
  EXPECT_EQ(plug.automated[0].first, 1);
  EXPECT_EQ(plug.automated[0].second, 0.5) << "the host gets the control's value, not a rounded one";
  ASSERT_EQ(plug.changed.size(), 1u);
  EXPECT_EQ(plug.changed[0], 1);
}

TEST(PlugBase, EditorChangeIgnoresBadIndexAndNaNAndClampsPosition)
{
  TestPlug plug(1);
  plug.ParameterAt(0)->DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
  plug.SetParameterFromGUI(1, 0.5);
  plug.SetParameterFromGUI(-1, 0.5);
  plug.SetParameterFromGUI(0, std::numeric_limits<double>::quiet_NaN());
  EXPECT_TRUE(plug.automated.empty());
  EXPECT_TRUE(plug.changed.empty());
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 20.0);

  plug.SetParameterFromGUI(0, -std::numeric_limits<double>::infinity());
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 1.0);
  ASSERT_EQ(plug.automated.size(), 1u);
  EXPECT_EQ(plug.automated[0].second, 0.0);
}

TEST(PlugBase, AttachEditorPushesNormalisedValuesAndOwnsEditor)
{
  bool destroyed = false;
  {
    TestPlug plug(2);
    plug.ParameterAt(0)->DefineContinuous("Delay", 20.5, 1.0, 40.0, 0.001, "ms");
    plug.ParameterAt(1)->DefineChoice("Pan", 1, 2);
    plug.PushAllParametersToEditor(); // no editor yet: nothing happens

    RecordingEditor* editor = new RecordingEditor(&destroyed);
    plug.AttachEditor(editor);
    EXPECT_EQ(plug.Editor(), editor);
    EXPECT_EQ(editor->surfacesCreated, 1);
    ASSERT_EQ(editor->pushes.size(), 2u);
    EXPECT_EQ(editor->pushes[0].index, 0);
    EXPECT_DOUBLE_EQ(editor->pushes[0].value, 0.5);
    EXPECT_TRUE(editor->pushes[0].normalized);
    EXPECT_EQ(editor->pushes[1].value, 1.0);

    editor->pushes.clear();
    plug.PushAllParametersToEditor();
    ASSERT_EQ(editor->pushes.size(), 2u);
    EXPECT_DOUBLE_EQ(editor->pushes[0].value, 20.5);
    EXPECT_FALSE(editor->pushes[0].normalized);

    plug.AttachEditor(nullptr);
    EXPECT_EQ(plug.Editor(), editor);
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);
}

TEST(PlugBase, MidiPassesThroughAndNotifyReachesEveryParameter)
{
  TestPlug plug(3);
  MidiMessage message;
  message.mOffset = 12;
  message.mStatus = 0x90;
  message.mData1 = 60;
  message.mData2 = 100;
  plug.HandleMidiMessage(message);
  ASSERT_EQ(plug.midiSent.size(), 1u);
  EXPECT_EQ(plug.midiSent[0].mOffset, 12);
  EXPECT_EQ(plug.midiSent[0].mData1, 60);

  char name[64] = "junk";
  EXPECT_FALSE(plug.GetNoteName(60, name));
  EXPECT_STREQ(name, "");

  plug.NotifyAllParametersChanged();
  EXPECT_EQ(plug.changed, (std::vector<int>{0, 1, 2}));
}
