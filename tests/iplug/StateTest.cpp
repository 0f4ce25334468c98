#include "TestPlug.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

namespace
{
// Three parameters shaped like the product's: delay, side choice, wet level.
void DefineThree(IPlugBase& plug)
{
  plug.ParameterAt(0)->DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
  plug.ParameterAt(1)->DefineChoice("Pan", 0, 2);
  plug.ParameterAt(2)->DefineContinuous("Wet Mix", 0.0, -10.0, 10.0, 0.1, "dB");
}

std::vector<uint8_t> Bytes(const IByteChunk& chunk)
{
  return std::vector<uint8_t>(chunk.GetBytes(), chunk.GetBytes() + chunk.Size());
}

int HeaderOf(const std::vector<uint8_t>& bytes, int32_t* version)
{
  IByteChunk chunk;
  chunk.PutBytes(bytes.data(), static_cast<int>(bytes.size()));
  return ReadChunkHeader(chunk, version);
}
} // namespace

TEST(IByteChunk, StoresLittleEndianAndRefusesReadsPastTheEnd)
{
  IByteChunk chunk;
  EXPECT_EQ(chunk.GetBytes(), nullptr);
  EXPECT_EQ(chunk.PutInt32(0x01020304), 4);
  EXPECT_EQ(chunk.PutDouble(20.0), 12);
  EXPECT_EQ(Bytes(chunk), (std::vector<uint8_t>{4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0x34, 0x40}));

  int32_t i = 0;
  double d = 0.0;
  EXPECT_EQ(chunk.GetInt32(&i, 0), 4);
  EXPECT_EQ(i, 0x01020304);
  EXPECT_EQ(chunk.GetDouble(&d, 4), 12);
  EXPECT_EQ(d, 20.0);

  d = 7.0;
  EXPECT_EQ(chunk.GetDouble(&d, 5), -1);
  EXPECT_EQ(d, 7.0) << "a failed read leaves the target untouched";
  EXPECT_EQ(chunk.GetDouble(&d, -1), -1);
  EXPECT_EQ(chunk.GetInt32(&i, 9), -1);
  EXPECT_EQ(chunk.GetInt32(&i, -4), -1);
  EXPECT_EQ(chunk.GetInt32(&i, 2147483646), -1);

  ASSERT_TRUE(chunk.Resize(16));
  EXPECT_EQ(chunk.GetInt32(&i, 12), 16);
  EXPECT_EQ(i, 0) << "growing fills with zeros";
  chunk.Clear();
  EXPECT_EQ(chunk.Size(), 0);
  EXPECT_FALSE(chunk.Resize(-1));
}

TEST(ChunkHeader, ReadsMagicVersionOrBareState)
{
  IByteChunk full;
  ASSERT_TRUE(WriteChunkHeader(full));
  EXPECT_EQ(Bytes(full), (std::vector<uint8_t>{0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00}));
  int32_t version = -1;
  EXPECT_EQ(ReadChunkHeader(full, &version), 8);
  EXPECT_EQ(version, 0x00010000);

  // Magic present but the version cut short: nothing is read.
  EXPECT_EQ(HeaderOf({0x74, 0x66, 0x66, 0x70, 0x00, 0x00}, &version), -1);
  EXPECT_EQ(version, 0);
  // No magic, or too short for one: a bare parameter state from byte 0.
  EXPECT_EQ(HeaderOf({0, 0, 0, 0, 0, 0, 0x34, 0x40}, &version), 0);
  EXPECT_EQ(version, 0);
  EXPECT_EQ(HeaderOf({0x74, 0x66}, &version), 0);
  EXPECT_EQ(ReadChunkHeader(IByteChunk(), nullptr), 0);
}

TEST(State, WriteParamsGivesTheDocumentedChunkLayout)
{
  TestPlug plug(3);
  DefineThree(plug);
  IByteChunk chunk;
  ASSERT_TRUE(WriteChunkHeader(chunk));
  ASSERT_TRUE(plug.WriteState(chunk));
  const std::vector<uint8_t> expected = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00,
                                         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x34, 0x40,
                                         0, 0, 0, 0, 0, 0, 0, 0,
                                         0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Bytes(chunk), expected);
}

TEST(State, RoundTripRestoresValuesAndRunsEveryHandler)
{
  TestPlug source(3);
  DefineThree(source);
  source.ParameterAt(0)->SetValue(33.25);
  source.ParameterAt(1)->SetValue(1.0);
  source.ParameterAt(2)->SetValue(-7.5);
  IByteChunk chunk;
  ASSERT_TRUE(source.WriteParams(chunk));

  TestPlug target(3);
  DefineThree(target);
  EXPECT_EQ(target.ReadState(chunk, 0), 24);
  EXPECT_EQ(target.ParameterAt(0)->Value(), 33.25);
  EXPECT_EQ(target.ParameterAt(1)->Value(), 1.0);
  EXPECT_EQ(target.ParameterAt(2)->Value(), -7.5);
  EXPECT_EQ(target.changed, (std::vector<int>{0, 1, 2}));

  // Extra bytes after the last parameter are ignored.
  chunk.PutDouble(99.0);
  EXPECT_EQ(target.UnserializeParams(chunk, 0), 24);
}

TEST(State, ShortStateFailsWithoutChangingAnything)
{
  TestPlug plug(3);
  DefineThree(plug);
  plug.ParameterAt(0)->SetValue(10.0);
  plug.ParameterAt(2)->SetValue(5.0);

  IByteChunk twelve;
  twelve.PutDouble(30.0);
  twelve.PutInt32(0);
  EXPECT_EQ(plug.UnserializeParams(twelve, 0), -1);
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 10.0);
  EXPECT_EQ(plug.ParameterAt(1)->Value(), 0.0);
  EXPECT_EQ(plug.ParameterAt(2)->Value(), 5.0);

  IByteChunk full;
  plug.WriteParams(full);
  EXPECT_EQ(plug.UnserializeParams(full, 8), -1) << "starting late leaves too few bytes";
  EXPECT_EQ(plug.UnserializeParams(full, -1), -1) << "a failed header read reads nothing";
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 10.0);
}

TEST(State, ValuesAreClampedAndNaNIsIgnored)
{
  TestPlug plug(3);
  DefineThree(plug);
  plug.ParameterAt(2)->SetValue(3.0);
  IByteChunk chunk;
  chunk.PutDouble(1000.0);
  chunk.PutDouble(-std::numeric_limits<double>::infinity());
  chunk.PutDouble(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(plug.UnserializeParams(chunk, 0), 24);
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 40.0);
  EXPECT_EQ(plug.ParameterAt(1)->Value(), 0.0);
  EXPECT_EQ(plug.ParameterAt(2)->Value(), 3.0) << "NaN keeps the value it had";
}

TEST(State, BytesHandedToTheHostStayAsTheyWereThroughALoad)
{
  TestPlug plug(3), other(3);
  DefineThree(plug);
  DefineThree(other);
  plug.ParameterAt(0)->SetValue(33.25);
  other.ParameterAt(0)->SetValue(12.5);
  const void* saved = nullptr;
  const int size = plug.SaveStateForHost(false, &saved);
  ASSERT_GT(size, 0);
  const auto* bytes = static_cast<const uint8_t*>(saved);
  const std::vector<uint8_t> before(bytes, bytes + size);

  // The host, still holding the pointer, loads another instance's state.
  const void* otherState = nullptr;
  const int otherSize = other.SaveStateForHost(false, &otherState);
  ASSERT_TRUE(plug.LoadStateFromHost(false, otherState, otherSize));
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 12.5);
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + size), before) << "the load wrote over the saved bytes";

  // And the plug-in's own bytes read back in place.
  EXPECT_TRUE(plug.LoadStateFromHost(false, saved, size));
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 33.25);
}
