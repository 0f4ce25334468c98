// The editor's gestures reach a CLAP host only as output events of process() or
// flush(): driven here through the plug-in's editor delegate, in-process.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ClapTestHost.h"
#include "IPlugCLAP.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"

namespace
{
class ClapEdits : public ::testing::Test
{
protected:
  ClapTestHost host;
  clap_plugin_descriptor_t desc{};
  IPlugCLAP* adapter = new IPlugCLAP(&desc, host.Host(), MakeKyvBrindlow(), nullptr);
  const clap_plugin_t* p = adapter->ClapPlugin();
  IPlugBase* plug = adapter->Plug();
  const clap_plugin_params_t* params = nullptr;

  void SetUp() override
  {
    ASSERT_TRUE(p->init(p));
    params = static_cast<const clap_plugin_params_t*>(p->get_extension(p, CLAP_EXT_PARAMS));
  }
  void TearDown() override { p->destroy(p); }

  void Drag(int index, std::initializer_list<double> positions)
  {
    plug->HostBeginEdit(index);
    for (double x : positions) plug->SetParameterFromGUI(index, x);
    plug->HostEndEdit(index);
  }
};
} // namespace

TEST_F(ClapEdits, AGestureOutsideProcessingGoesOutInTheFlushItAsksFor)
{
  Drag(0, {0.25, 0.5});
  EXPECT_GE(host.requestFlushCount, 1);
  ClapOutputList out;
  params->flush(p, ClapEventList().In(), out.Out());
  ASSERT_EQ(out.events.size(), 4u);
  EXPECT_EQ(out.events[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(out.events[1].type, CLAP_EVENT_PARAM_VALUE);
  EXPECT_EQ(out.events[2].type, CLAP_EVENT_PARAM_VALUE);
  EXPECT_EQ(out.events[3].type, CLAP_EVENT_PARAM_GESTURE_END);
  // Real values: Delay's range is 1 ... 40 ms.
  const IParameter* delay = plug->ParameterAt(0);
  EXPECT_DOUBLE_EQ(out.events[1].value, delay->FromNormalized(0.25));
  EXPECT_DOUBLE_EQ(out.events[2].value, delay->FromNormalized(0.5));
  for (const auto& e : out.events) EXPECT_EQ(e.param, 0u);
  double now = 0;
  params->get_value(p, 0, &now);
  EXPECT_DOUBLE_EQ(now, out.events[2].value);
  ClapOutputList none;
  params->flush(p, ClapEventList().In(), none.Out());
  EXPECT_TRUE(none.events.empty());
}

TEST_F(ClapEdits, WhileProcessingTheNextBlockCarriesThemWithoutAFlushRequest)
{
  ASSERT_TRUE(p->activate(p, 44100.0, 1, 256));
  ASSERT_TRUE(p->start_processing(p));
  Drag(1, {1.0});
  EXPECT_EQ(host.requestFlushCount, 0);
  ClapBlock block(256);
  ClapOutputList out;
  block.Run(p, nullptr, &out);
  ASSERT_EQ(out.events.size(), 3u);
  EXPECT_EQ(out.events[1].param, 1u);
  EXPECT_EQ(out.events[1].value, 1.0); // Pan: Right
  p->stop_processing(p);
  p->deactivate(p);
}

TEST_F(ClapEdits, AFullHostListOrAFullQueueLosesValuesButNoGestureEnd)
{
  // The host's list takes two events per call: the rest wait, in order.
  Drag(2, {0.1, 0.2, 0.3});
  std::vector<ClapOutputList::Event> all;
  for (int call = 0; call < 4; ++call)
  {
    ClapOutputList out;
    out.capacity = 2;
    params->flush(p, ClapEventList().In(), out.Out());
    all.insert(all.end(), out.events.begin(), out.events.end());
  }
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(all.front().type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(all.back().type, CLAP_EVENT_PARAM_GESTURE_END);

  // A host that never flushes: a long drag overflows the queue, but it still ends.
  plug->HostBeginEdit(0);
  for (int i = 0; i < 5000; ++i) plug->SetParameterFromGUI(0, (i % 100) / 100.0);
  plug->HostEndEdit(0);
  ClapOutputList out;
  params->flush(p, ClapEventList().In(), out.Out());
  ASSERT_LT(out.events.size(), 5002u);
  EXPECT_EQ(out.events.front().type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(out.events.back().type, CLAP_EVENT_PARAM_GESTURE_END);
}

TEST_F(ClapEdits, GesturesFromTheGuiThreadArriveWholeAndInOrderWhileAudioRuns)
{
  ASSERT_TRUE(p->activate(p, 44100.0, 1, 64));
  ASSERT_TRUE(p->start_processing(p));
  std::atomic<bool> stop{false};
  std::atomic<size_t> receivedCount{0};
  std::vector<ClapOutputList::Event> received;
  std::thread audio([&] {
    ClapBlock block(64);
    ClapOutputList out;
    while (!stop.load())
    {
      out.events.clear();
      block.Run(p, nullptr, &out);
      received.insert(received.end(), out.events.begin(), out.events.end());
      receivedCount = received.size();
    }
    out.events.clear();
    block.Run(p, nullptr, &out); // whatever the last gesture left
    received.insert(received.end(), out.events.begin(), out.events.end());
  });
  // Each gesture is pushed while blocks run; the next waits until the host has it, as a
  // user's hand is slower than the audio thread (a queue a host never drains is above).
  for (size_t gesture = 0; gesture < 300; ++gesture)
  {
    Drag(int(gesture % 3), {0.1, 0.6, 0.9});
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (receivedCount.load() < (gesture + 1) * 5 && std::chrono::steady_clock::now() < limit)
      std::this_thread::yield();
  }
  stop = true;
  audio.join();
  p->stop_processing(p);
  p->deactivate(p);

  // Every gesture: begin, its three values, end, one after the other.
  ASSERT_EQ(received.size(), 300u * 5);
  for (size_t g = 0; g < 300; ++g)
  {
    const clap_id id = clap_id(g % 3);
    EXPECT_EQ(received[g * 5].type, CLAP_EVENT_PARAM_GESTURE_BEGIN) << g;
    for (size_t v = 1; v <= 3; ++v) EXPECT_EQ(received[g * 5 + v].type, CLAP_EVENT_PARAM_VALUE) << g;
    EXPECT_EQ(received[g * 5 + 4].type, CLAP_EVENT_PARAM_GESTURE_END) << g;
    for (size_t k = 0; k < 5; ++k) ASSERT_EQ(received[g * 5 + k].param, id) << g;
  }
}
