#include "IPlugHost.h"
#include "IPlugTrace.h"
#include "TestPlug.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

TEST(HostLookup, KnownProductStrings)
{
  EXPECT_EQ(LookUpHost("Cubase VST"), 3);
  EXPECT_EQ(LookUpHost("REAPER"), 1);
  EXPECT_EQ(LookUpHost("Ableton Live"), 9);
  EXPECT_EQ(LookUpHost("Digital Performer"), 22);
  EXPECT_EQ(LookUpHost("SAWStudio"), 20);
  EXPECT_EQ(LookUpHost("Adobe Audition"), 17);
  EXPECT_EQ(LookUpHost("Nuendo and Cubase"), 3) << "earlier entries win";
  EXPECT_EQ(LookUpHost("Deliverance"), 9) << "any string containing live";
  EXPECT_EQ(LookUpHost("Bitwig Studio"), 0);
  EXPECT_EQ(LookUpHost(""), 0);
  EXPECT_EQ(LookUpHost(nullptr), 0);

  // Only the first 255 characters are searched.
  std::string padded(255, ' ');
  EXPECT_EQ(LookUpHost((padded + "reaper").c_str()), 0);
  EXPECT_EQ(LookUpHost((std::string(249, ' ') + "reaper").c_str()), 1);
}

TEST(HostLookup, SetHostIdentifiesOnce)
{
  TestPlug plug;
  EXPECT_EQ(plug.IdentifyHost(), -1);
  plug.SetHost("Some Unknown Host", PackDecimalVersion(10300));
  EXPECT_EQ(plug.HostKind(), 0);
  EXPECT_EQ(plug.HostVersion(), 0x00010300);
  EXPECT_EQ(plug.IdentifyHost(), 0);
  plug.SetHost("Orion", 0);
  EXPECT_EQ(plug.IdentifyHost(), 18);
}

TEST(Versions, DecimalAndPackedForms)
{
  EXPECT_EQ(PackDecimalVersion(10300), 0x00010300);
  EXPECT_EQ(PackDecimalVersion(2050), 0x00001432);
  EXPECT_EQ(PackDecimalVersion(0), 0);

  TestPlug plug;
  EXPECT_EQ(plug.EffectVersion(true), 10300);
  EXPECT_EQ(plug.EffectVersion(false), 66304);
}

TEST(Versions, TextForms)
{
  char text[32];
  TestPlug plug;
  plug.EffectVersionText(text, sizeof text);
  EXPECT_STREQ(text, "v1.03");

  FormatVersionText(0x00010002, text, sizeof text);
  EXPECT_STREQ(text, "v1.0.02");
  FormatVersionText(0x00010305, text, sizeof text);
  EXPECT_STREQ(text, "v1.3.05");
  FormatVersionText(0x00020A00, text, sizeof text);
  EXPECT_STREQ(text, "v2.10");
  FormatVersionText(0x00010364, text, sizeof text);
  EXPECT_STREQ(text, "v1.3.100");

  char tiny[4];
  FormatVersionText(0x00010300, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "v1.");
}

TEST(Trace, TimestampHasDateTimeAndZoneCapitals)
{
  const std::string stamp = TraceTimestamp();
  ASSERT_GE(stamp.size(), 15u);
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 12, 13})
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(stamp[i]))) << stamp;
  EXPECT_EQ(stamp[8], ' ');
  EXPECT_EQ(stamp[11], ':');
  EXPECT_EQ(stamp[14], ' ');
  for (size_t i = 15; i < stamp.size(); ++i)
    EXPECT_TRUE(stamp[i] >= 'A' && stamp[i] <= 'Z') << stamp;
  EmitTrace("Test", __LINE__, "%s %d", "discarded", 1);
}

TEST(ParameterDefaults, AreEachParametersOwnDefinitionWhateverItsValueOrIndex)
{
  TestPlug plug(70); // past any fixed table
  for (int i = 0; i < 70; ++i) plug.ParameterAt(i)->DefineContinuous("P", i * 0.25, 0.0, 20.0, 0.01);
  plug.SetParameterFromHost(69, 3.0, false);
  plug.SetParameterFromHost(1, 9.0, false);
  EXPECT_EQ(plug.ParameterDefaultForHost(69, false), 17.25);
  EXPECT_EQ(plug.ParameterDefaultForHost(1, false), 0.25);
  EXPECT_DOUBLE_EQ(plug.ParameterDefaultForHost(69, true), 17.25 / 20.0);
  EXPECT_EQ(plug.ParameterDefaultForHost(70, false), 0.0);
}
