// The editor under the threads of a real host, for ThreadSanitizer: an audio thread
// processes blocks, an automation thread sets parameters, programs and chunks, and the GUI
// thread opens the editor, idles it, scrolls a knob and closes it again, for 30 seconds
// (BRINDLOW_STRESS_SECONDS overrides). A data race or lock-order inversion is a report,
// which ends the run when TSAN_OPTIONS holds halt_on_error=1.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "EditorWindowFixture.h"

namespace
{
std::chrono::seconds StressDuration()
{
  const char* text = std::getenv("BRINDLOW_STRESS_SECONDS");
  const int seconds = text ? std::atoi(text) : 30;
  return std::chrono::seconds(seconds > 0 ? seconds : 30);
}
} // namespace

using EditorThreadStressTest = EditorWindowFixture;

TEST_F(EditorThreadStressTest, AudioAutomationAndEditorRunTogether)
{
  // A bank chunk of the instance as it is, to be set again and again.
  void* chunkData = nullptr;
  const VstIntPtr chunkSize = plug->Dispatch(effGetChunk, 0, 0, &chunkData);
  ASSERT_GT(chunkSize, 0);
  const std::vector<char> bank(static_cast<char*>(chunkData), static_cast<char*>(chunkData) + chunkSize);

  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0}, blocksWithoutSound{0}, automations{0};

  std::thread audio([&] {
    while (!stop)
    {
      if (!plug->ProcessBlock()) ++blocksWithoutSound;
      ++blocks;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  std::thread automation([&] {
    for (unsigned i = 0; !stop; ++i)
    {
      plug->SetParameter(VstInt32(i % 3), float(i % 101) / 100.0f);
      if (i % 10 == 0) plug->Dispatch(effSetProgram, 0, VstIntPtr(i / 10 % 17));
      if (i % 25 == 0) plug->Dispatch(effSetChunk, 0, VstIntPtr(bank.size()), const_cast<char*>(bank.data()));
      ++automations;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });

  // The GUI thread: this one.
  long openings = 0, failedOpenings = 0;
  const auto end = std::chrono::steady_clock::now() + StressDuration();
  while (std::chrono::steady_clock::now() < end)
  {
    const xcb_window_t editor = OpenEditor(*plug, parent);
    if (editor == XCB_NONE)
    {
      ++failedOpenings;
      break;
    }
    ++openings;
    display.Click(editor, Panel::kWetMixX, Panel::kWetMixY, openings % 2 ? Mouse::kWheelUp : Mouse::kWheelDown);
    plug->IdleFor(6);
    plug->CloseEditor();
    plug->Idle();
  }
  stop = true;
  audio.join();
  automation.join();

  EXPECT_EQ(failedOpenings, 0);
  EXPECT_GT(openings, 10);
  EXPECT_GT(blocks, 100);
  EXPECT_EQ(blocksWithoutSound, 0);
  EXPECT_GT(automations, 100);
}
