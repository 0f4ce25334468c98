#include "TestPlug.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// Records what ProcessBlock saw and runs a stateful filter, so that splitting a run into
// sub-blocks would show in the output if it changed anything.
class FilterPlug : public TestPlug
{
public:
  FilterPlug() : TestPlug(0, "1-2 2-2", 0) {}

  void ProcessBlock(double** inputs, double** outputs, int frames) override
  {
    ++calls;
    framesSeen.push_back(frames);
    for (int c = 0; c < 2; ++c)
    {
      for (int j = 0; j < frames; ++j)
      {
        const double in = inputs[c][j];
        seenInputs[c].push_back(in);
        mState[c] = 0.5 * mState[c] + in;
        outputs[c][j] = mState[c];
      }
    }
  }

  int calls = 0;
  std::vector<int> framesSeen;
  std::vector<double> seenInputs[2];

private:
  double mState[2] = {0.0, 0.0};
};

void ConnectAll(IPlugBase& plug, int blockFrames)
{
  plug.SetInputsConnected(0, plug.InputChannelCount(), true);
  plug.SetOutputsConnected(0, plug.OutputChannelCount(), true);
  plug.SetBlockFrames(blockFrames);
}

void RunFloat(IPlugBase& plug, std::vector<float>* in, std::vector<float>* out, int frames)
{
  float* inputs[2] = {in[0].data(), in[1].data()};
  float* outputs[2] = {out[0].data(), out[1].data()};
  plug.AttachInputsFloat(0, 2, inputs, frames);
  plug.AttachOutputsFloat(0, 2, outputs);
  plug.RunBlockFloat(frames);
}

void RunDouble(IPlugBase& plug, std::vector<double>* in, std::vector<double>* out, int frames)
{
  double* inputs[2] = {in[0].data(), in[1].data()};
  double* outputs[2] = {out[0].data(), out[1].data()};
  plug.AttachInputsDouble(0, 2, inputs);
  plug.AttachOutputsDouble(0, 2, outputs);
  plug.RunBlockDouble(frames);
}

template <class T>
void Ramp(std::vector<T>* channels, int frames)
{
  for (int c = 0; c < 2; ++c)
  {
    channels[c].resize(frames);
    for (int j = 0; j < frames; ++j) channels[c][j] = static_cast<T>((c + 1) * 0.01 * (j + 1));
  }
}
} // namespace

TEST(Routing, BaseProcessBlockCopiesInputsAndSilencesExtraOutputs)
{
  TestPlug plug(0, "1-3", 0);
  ConnectAll(plug, 4);
  double in[4] = {1, 2, 3, 4};
  double out[3][4];
  double* inputs[1] = {in};
  double* outputs[3] = {out[0], out[1], out[2]};
  for (auto& row : out) for (double& v : row) v = 9.0;
  plug.AttachInputsDouble(0, 1, inputs);
  plug.AttachOutputsDouble(0, 3, outputs);
  plug.RunBlockDouble(4);
  for (int j = 0; j < 4; ++j)
  {
    EXPECT_EQ(out[0][j], in[j]);
    EXPECT_EQ(out[1][j], 0.0);
    EXPECT_EQ(out[2][j], 0.0);
  }
}

TEST(Routing, UnconnectedInputReadsSilenceAndConsumesNoHostBuffer)
{
  FilterPlug plug;
  ConnectAll(plug, 8);
  plug.SetInputsConnected(0, 1, false);
  EXPECT_FALSE(plug.IsInputConnected(0));
  EXPECT_TRUE(plug.IsInputConnected(1));
  EXPECT_FALSE(plug.IsInputConnected(2));

  double host[4] = {1, 2, 3, 4};
  double* inputs[1] = {host};
  double out[2][4];
  double* outputs[2] = {out[0], out[1]};
  plug.AttachInputsDouble(0, 2, inputs);
  plug.AttachOutputsDouble(0, 2, outputs);
  plug.RunBlockDouble(4);
  EXPECT_EQ(plug.seenInputs[0], (std::vector<double>{0, 0, 0, 0}));
  EXPECT_EQ(plug.seenInputs[1], (std::vector<double>{1, 2, 3, 4})) << "input 1 takes the first host pointer";
}

TEST(Routing, DisconnectedInputOnFloatPathDoesNotReplayLastBlock)
{
  FilterPlug plug;
  ConnectAll(plug, 4);
  std::vector<float> in[2] = {{1, 1, 1, 1}, {5, 6, 7, 8}};
  std::vector<float> out[2] = {std::vector<float>(4), std::vector<float>(4)};
  RunFloat(plug, in, out, 4);
  EXPECT_EQ(plug.seenInputs[1], (std::vector<double>{5, 6, 7, 8}));

  // A speaker-arrangement change: one input from now on.
  plug.SetInputsConnected(0, 1, true);
  plug.SetInputsConnected(1, 1, false);
  plug.seenInputs[1].clear();
  float* inputs[1] = {in[0].data()};
  float* outputs[2] = {out[0].data(), out[1].data()};
  plug.AttachInputsFloat(0, 2, inputs, 4);
  plug.AttachOutputsFloat(0, 2, outputs);
  plug.RunBlockFloat(4);
  EXPECT_EQ(plug.seenInputs[1], (std::vector<double>{0, 0, 0, 0}));
}

TEST(Routing, FloatPathWidensAndNarrowsAndSkipsUnconnectedOutput)
{
  TestPlug plug(0, "2-2", 0);
  ConnectAll(plug, 8);
  plug.SetOutputsConnected(1, 1, false);
  std::vector<float> in[2] = {{0.25f, -0.5f, 1.5f}, {7, 7, 7}};
  std::vector<float> out[2] = {std::vector<float>(3, 9.0f), std::vector<float>(3, 9.0f)};
  float* inputs[2] = {in[0].data(), in[1].data()};
  float* outputs[2] = {out[0].data(), out[1].data()};
  plug.AttachInputsFloat(0, 2, inputs, 3);
  plug.AttachOutputsFloat(0, 2, outputs);
  plug.RunBlockFloat(3);
  EXPECT_EQ(out[0], in[0]);
  EXPECT_EQ(out[1], (std::vector<float>{9, 9, 9})) << "an unconnected output's host buffer is untouched";
}

TEST(Routing, LongRunsMatchShortBlocksOnBothPaths)
{
  const int frames = 37;
  std::vector<float> inF[2];
  Ramp(inF, frames);
  std::vector<double> inD[2];
  Ramp(inD, frames);

  FilterPlug reference;
  ConnectAll(reference, 64);
  std::vector<float> refOut[2] = {std::vector<float>(frames), std::vector<float>(frames)};
  RunFloat(reference, inF, refOut, frames);
  ASSERT_EQ(reference.calls, 1);

  FilterPlug smallF;
  ConnectAll(smallF, 8);
  std::vector<float> outF[2] = {std::vector<float>(frames), std::vector<float>(frames)};
  RunFloat(smallF, inF, outF, frames);
  EXPECT_EQ(smallF.framesSeen, (std::vector<int>{8, 8, 8, 8, 5}));
  EXPECT_EQ(outF[0], refOut[0]);
  EXPECT_EQ(outF[1], refOut[1]);

  FilterPlug referenceD;
  ConnectAll(referenceD, 64);
  std::vector<double> refOutD[2] = {std::vector<double>(frames), std::vector<double>(frames)};
  RunDouble(referenceD, inD, refOutD, frames);

  FilterPlug smallD;
  ConnectAll(smallD, 8);
  smallD.SetInputsConnected(1, 1, false); // an unconnected input must also stay within its scratch
  std::vector<double> outD[2] = {std::vector<double>(frames), std::vector<double>(frames)};
  double* inputs[1] = {inD[0].data()};
  double* outputs[2] = {outD[0].data(), outD[1].data()};
  smallD.AttachInputsDouble(0, 2, inputs);
  smallD.AttachOutputsDouble(0, 2, outputs);
  smallD.RunBlockDouble(frames);
  EXPECT_EQ(smallD.calls, 5);
  EXPECT_EQ(outD[0], refOutD[0]);
  for (double v : outD[1]) EXPECT_EQ(v, 0.0);
}

TEST(Routing, AudioPathAllocatesNothing)
{
  FilterPlug plug;
  ConnectAll(plug, 16);
  const int frames = 100;
  std::vector<float> inF[2];
  Ramp(inF, frames);
  std::vector<double> inD[2];
  Ramp(inD, frames);
  std::vector<float> outF[2] = {std::vector<float>(frames), std::vector<float>(frames)};
  std::vector<double> outD[2] = {std::vector<double>(frames), std::vector<double>(frames)};
  plug.framesSeen.reserve(64);
  plug.seenInputs[0].reserve(1024);
  plug.seenInputs[1].reserve(1024);

  const long before = GrowBuffer::AllocationCount();
  RunFloat(plug, inF, outF, frames);
  RunDouble(plug, inD, outD, frames);
  EXPECT_EQ(GrowBuffer::AllocationCount(), before);
}

TEST(Routing, ZeroOrNegativeFramesAreNoOps)
{
  FilterPlug plug;
  ConnectAll(plug, 16);
  plug.SetBlockFrames(0);
  plug.SetBlockFrames(-5);
  EXPECT_EQ(plug.BlockSize(), 16);

  std::vector<float> in[2] = {{1, 2}, {3, 4}};
  std::vector<float> out[2] = {{9, 9}, {9, 9}};
  RunFloat(plug, in, out, 0);
  RunFloat(plug, in, out, -3);
  EXPECT_EQ(plug.calls, 0);
  EXPECT_EQ(out[0], (std::vector<float>{9, 9}));
}

TEST(Routing, RunBeforeAnyBlockSizeSilencesOutputs)
{
  FilterPlug plug;
  plug.SetInputsConnected(0, 2, true);
  plug.SetOutputsConnected(0, 2, true);
  std::vector<float> in[2] = {{1, 2}, {3, 4}};
  std::vector<float> out[2] = {{9, 9}, {9, 9}};
  RunFloat(plug, in, out, 2);
  EXPECT_EQ(plug.calls, 0);
  EXPECT_EQ(out[0], (std::vector<float>{0, 0}));
  EXPECT_EQ(out[1], (std::vector<float>{0, 0}));
}

TEST(Routing, RangesAreClippedToExistingChannels)
{
  TestPlug plug(0, "4-4", 0);
  plug.SetInputsConnected(-2, 4, true);
  EXPECT_TRUE(plug.IsInputConnected(0));
  EXPECT_TRUE(plug.IsInputConnected(1));
  EXPECT_FALSE(plug.IsInputConnected(2));
  plug.SetInputsConnected(3, 2147483647, true);
  EXPECT_TRUE(plug.IsInputConnected(3));

  plug.RestrictToTwoInputs();
  EXPECT_FALSE(plug.IsInputConnected(3));
  EXPECT_TRUE(plug.IsInputConnected(1));
  EXPECT_TRUE(plug.IsOutputConnected(2));
  EXPECT_TRUE(plug.IsOutputConnected(3));
  EXPECT_FALSE(plug.IsOutputConnected(0));
}
