// Blocks with parameter changes inside them: each change is heard from its frame on, on
// both sample routes and with an input left unconnected; no change is lost when there
// is nothing to process; the tail the host reads follows every kind of change.
#include "TestPlug.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
// Writes, for every frame, input + the value of parameter 0 to each output, and has a
// tail of that value in samples.
class LevelPlug : public TestPlug
{
public:
  LevelPlug() : TestPlug(2, "1-2 2-2", 2)
  {
    ParameterAt(0)->DefineContinuous("Level", 0.0, 0.0, 100.0, 0.001, "");
    ParameterAt(1)->DefineContinuous("Other", 0.0, 0.0, 1.0, 0.001, "");
    DefinePreset("Seven", 7.0, 0.0);
    DefinePreset("Nine", 9.0, 0.0);
    SetInputsConnected(0, 2, true);
    SetOutputsConnected(0, 2, true);
    SetBlockFrames(64);
  }
  void ProcessBlock(double** inputs, double** outputs, int frames) override
  {
    const double level = ParameterAt(0)->Value();
    for (int c = 0; c < 2; ++c)
      for (int j = 0; j < frames; ++j) outputs[c][j] = inputs[c][j] + level;
  }
  int TailSamples() override { return static_cast<int>(ParameterAt(0)->Value()); }
};

IParameterChange Change(int frame, int index, double value, bool normalized = false)
{
  return IParameterChange{frame, index, value, normalized};
}

template <class Sample>
struct Block
{
  explicit Block(int frames, int inputs) : in(inputs, std::vector<Sample>(frames, Sample(0.5))), out(2, std::vector<Sample>(frames))
  {
    for (auto& c : in) ins.push_back(c.data());
    for (auto& c : out) outs.push_back(c.data());
  }
  std::vector<std::vector<Sample>> in, out;
  std::vector<Sample*> ins, outs;
};
} // namespace

TEST(Automation, ChangesAreHeardFromTheirFramesOnBothRoutesAndWithAnInputUnconnected)
{
  for (bool mono : {false, true})
  {
    LevelPlug plug;
    // Mono: the host's array holds the one connected input; the second reads silence.
    if (mono) plug.SetInputsConnected(1, 1, false);
    // Out of order (5 before 10) and past the end (99) are held to what is possible.
    const IParameterChange changes[] = {Change(10, 0, 1.0), Change(10, 0, 2.0), Change(5, 0, 3.0),
                                        Change(40, 0, 0.5, true), Change(99, 0, 4.0)};
    Block<float> f(48, mono ? 1 : 2);
    plug.ProcessFloatFromHost(f.ins.data(), f.outs.data(), 0, 48, changes, 5);
    Block<double> d(48, mono ? 1 : 2);
    plug.SetParameterFromHost(0, 0.0, false);
    plug.ProcessDoubleFromHost(d.ins.data(), d.outs.data(), 0, 48, changes, 5);
    for (int j = 0; j < 48; ++j)
    {
      const double level = j < 10 ? 0.0 : (j < 40 ? 3.0 : 50.0);
      EXPECT_EQ(f.out[0][j], float(0.5 + level)) << "mono " << mono << ", frame " << j;
      EXPECT_EQ(f.out[1][j], float((mono ? 0.0 : 0.5) + level)) << "mono " << mono << ", frame " << j;
      EXPECT_EQ(d.out[0][j], 0.5 + level) << "mono " << mono << ", frame " << j;
      EXPECT_EQ(d.out[1][j], (mono ? 0.0 : 0.5) + level) << "mono " << mono << ", frame " << j;
    }
    EXPECT_EQ(plug.ParameterAt(0)->Value(), 4.0) << "a change past the end is set after the last frame";
  }
}

TEST(Automation, ARangeContinuesTheBlockAndLongerRunsThanTheBlockSizeStillSplit)
{
  LevelPlug plug;
  Block<float> b(200, 2);
  const IParameterChange first[] = {Change(30, 0, 1.0), Change(120, 0, 2.0)};
  const IParameterChange rest[] = {Change(100, 0, 9.0) /* before start: at start */, Change(170, 0, 3.0)};
  plug.ProcessFloatFromHost(b.ins.data(), b.outs.data(), 0, 120, first, 2);
  plug.ProcessFloatFromHost(b.ins.data(), b.outs.data(), 120, 200, rest, 2);
  for (int j = 0; j < 200; ++j)
  {
    const double level = j < 30 ? 0.0 : (j < 120 ? 1.0 : (j < 170 ? 9.0 : 3.0));
    ASSERT_EQ(b.out[1][j], float(0.5 + level)) << "frame " << j;
  }
}

TEST(Automation, ChangesAreSetWhenThereIsNothingToProcess)
{
  LevelPlug plug;
  const IParameterChange changes[] = {Change(0, 0, 5.0), Change(3, 1, 0.25), Change(0, 7, 1.0) /* unknown */,
                                      Change(1, 1, std::nan("")) /* not a number */};
  plug.ProcessFloatFromHost(nullptr, nullptr, 0, 16, changes, 4);
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 5.0);
  EXPECT_EQ(plug.ParameterAt(1)->Value(), 0.25);
  Block<double> b(16, 2);
  plug.ProcessDoubleFromHost(b.ins.data(), b.outs.data(), 8, 8, changes, 1);
  EXPECT_EQ(b.out[0][0], 0.0) << "an empty range processes nothing";
  EXPECT_EQ(plug.ParameterAt(0)->Value(), 5.0);
}

TEST(Automation, TheHostsTailFollowsEveryKindOfChange)
{
  LevelPlug plug;
  EXPECT_EQ(plug.TailSamplesForHost(), 0);
  plug.SetParameterFromHost(0, 12.0, false);
  EXPECT_EQ(plug.TailSamplesForHost(), 12);
  const IParameterChange change = Change(4, 0, 20.0);
  Block<float> b(8, 2);
  plug.ProcessFloatFromHost(b.ins.data(), b.outs.data(), 0, 8, &change, 1);
  EXPECT_EQ(plug.TailSamplesForHost(), 20);
  plug.SetParameterFromGUI(0, 0.3);
  EXPECT_EQ(plug.TailSamplesForHost(), 30);
  plug.SelectProgramFromHost(1);
  EXPECT_EQ(plug.TailSamplesForHost(), 9);
  const void* state = nullptr;
  const int size = plug.SaveStateForHost(false, &state);
  const std::vector<char> saved(static_cast<const char*>(state), static_cast<const char*>(state) + size);
  plug.SetParameterFromHost(0, 1.0, false);
  ASSERT_TRUE(plug.LoadStateFromHost(false, saved.data(), size));
  EXPECT_EQ(plug.TailSamplesForHost(), 9);
}
