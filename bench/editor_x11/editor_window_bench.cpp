// The editor in an X11 window, as a Linux host drives it: the built Brindlow.so is loaded
// through the editor tests' host (tests/x11, on the VST 2.4 host kit) and its editor
// opened inside a window of the host. Needs a display; run by hand under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" build/rel/bench/editor_x11/editor_x11_bench
// Goals: an idle with nothing to do <= 5 us; an idle that repaints the Delay knob after a
// host value change, the copy to the window included, <= 0.5 ms; effEditOpen to the first
// frame on screen <= 20 ms; an editor left open for 10 s with nothing changing uses less
// than 0.1 % of one core; the same opening at 2x at most twice the time of 1x.
#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <thread>

#include "EditorHost.h"
#include "IGraphicsLice.h"
#include "IGraphicsPlug.h"
#include "IPlugVST.h"
#include "IWindowBackend.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"
#include "TestDisplay.h"

namespace
{
constexpr int32_t kWidth = 366, kHeight = 212;
constexpr int32_t kSplashX = 80, kSplashY = 70;

double ProcessCpuSeconds()
{
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// A host window with a Brindlow instance whose editor is open in it, splash hidden, and
// painted completely.
struct OpenEditor
{
  TestDisplay display;
  PluginModule module{BRINDLOW_PLUGIN};
  std::unique_ptr<PluginInstance> plug;
  xcb_window_t parent = XCB_NONE;
  xcb_window_t editor = XCB_NONE;

  explicit OpenEditor(benchmark::State& state)
  {
    if (!display.Connected() || !module.EntryPoint())
    {
      state.SkipWithError(display.Connected() ? module.LoadError().c_str() : display.Problem().c_str());
      return;
    }
    plug = std::make_unique<PluginInstance>(module);
    parent = display.CreateParent(40, 40, kWidth, kHeight);
    if (plug->OpenEditor(parent) != 1)
    {
      state.SkipWithError("effEditOpen answered 0");
      return;
    }
    plug->IdleUntil([&] {
      const std::vector<xcb_window_t> children = display.Children(parent);
      editor = children.size() == 1 ? children[0] : XCB_NONE;
      return editor != XCB_NONE;
    });
    plug->IdleFor(3);
    display.Click(editor, kSplashX, kSplashY, 1);
    plug->IdleFor(10);
  }

  ~OpenEditor()
  {
    plug.reset();
    if (parent != XCB_NONE) display.DestroyWindow(parent);
  }
};

void BM_IdleWithNothingToDo(benchmark::State& state)
{
  OpenEditor open(state);
  if (!open.plug) return;
  for (auto _ : state) open.plug->Idle();
}
BENCHMARK(BM_IdleWithNothingToDo);

// Each idle comes a frame after the last, so that the editor's frame limit lets it paint.
void BM_IdleRepaintingDelayAfterHostChange(benchmark::State& state)
{
  OpenEditor open(state);
  if (!open.plug) return;
  float value = 0.25f;
  for (auto _ : state)
  {
    state.PauseTiming();
    std::this_thread::sleep_for(kIdlePeriod + std::chrono::milliseconds(1));
    value = value == 0.25f ? 0.75f : 0.25f;
    open.plug->SetParameter(0, value);
    state.ResumeTiming();
    open.plug->Idle();
  }
}
BENCHMARK(BM_IdleRepaintingDelayAfterHostChange)->Iterations(100);

// From effEditOpen until the server shows the whole panel in the window: the host reads the
// window back (each read a round trip) and idles between reads.
void BM_OpenToFirstFrameOnScreen(benchmark::State& state)
{
  OpenEditor open(state);
  if (!open.plug) return;
  // Past the openings that show the splash, so that every opening shows the same panel.
  for (int i = 0; i < 3; ++i)
  {
    open.plug->CloseEditor();
    open.plug->OpenEditor(open.parent);
    open.plug->IdleFor(5);
  }
  const std::vector<xcb_window_t> children = open.display.Children(open.parent);
  WindowPixels panel;
  if (children.size() != 1 || !open.display.ReadPixels(children[0], panel))
  {
    state.SkipWithError("cannot read the editor back");
    return;
  }
  open.plug->CloseEditor();
  open.plug->IdleFor(1);
  for (auto _ : state)
  {
    const auto start = std::chrono::steady_clock::now();
    open.plug->OpenEditor(open.parent);
    bool shown = false;
    while (!shown && std::chrono::steady_clock::now() - start < std::chrono::seconds(2))
    {
      const std::vector<xcb_window_t> children = open.display.Children(open.parent);
      WindowPixels now;
      shown = children.size() == 1 && open.display.ReadPixels(children[0], now) && now.rgb == panel.rgb;
      if (!shown) open.plug->Idle();
    }
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    if (!shown) state.SkipWithError("the panel never appeared");
    open.plug->CloseEditor();
    open.plug->IdleFor(1);
  }
}
BENCHMARK(BM_OpenToFirstFrameOnScreen)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

// The same at a scale (argument in percent) the host asks for: a Brindlow made in this
// process, its editor opened in a window of the panel's size at that scale. Goal: 2x at
// most twice the time of 1x.
VstIntPtr VSTCALLBACK InProcessHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? 2400 : 0;
}

void BM_OpenToFirstFrameOnScreenAtScale(benchmark::State& state)
{
  const double scale = state.range(0) / 100.0;
  TestDisplay display;
  if (!display.Connected())
  {
    state.SkipWithError(display.Problem().c_str());
    return;
  }
  SetWindowBackendFactory(nullptr);
  AEffect* effect = CreateVSTPlugin(&InProcessHost, []() -> IPlugBase* { return MakeKyvBrindlow(); });
  auto dispatch = [effect](VstInt32 opcode, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
  };
  dispatch(effOpen);
  EditorOf(IPlugVST::PlugOf(effect))->SetHostScale(scale);
  const int32_t width = int32_t(std::lround(kWidth * scale)), height = int32_t(std::lround(kHeight * scale));
  const xcb_window_t parent = display.CreateParent(40, 40, width, height);
  void* parentPtr = reinterpret_cast<void*>(uintptr_t(parent));
  auto idleFor = [&](int ticks) {
    for (int i = 0; i < ticks; ++i)
    {
      dispatch(effEditIdle);
      std::this_thread::sleep_for(kIdlePeriod);
    }
  };
  // Past the openings that show the splash, so that every opening shows the same panel.
  for (int i = 0; i < 4; ++i)
  {
    dispatch(effEditOpen, parentPtr);
    idleFor(5);
    dispatch(effEditClose);
  }
  dispatch(effEditOpen, parentPtr);
  idleFor(5);
  const std::vector<xcb_window_t> children = display.Children(parent);
  WindowPixels panel;
  const bool known = children.size() == 1 && display.ReadPixels(children[0], panel) && panel.width == width;
  dispatch(effEditClose);
  idleFor(1);
  for (auto _ : state)
  {
    if (!known)
    {
      state.SkipWithError("cannot read the editor back at its size");
      break;
    }
    const auto start = std::chrono::steady_clock::now();
    dispatch(effEditOpen, parentPtr);
    bool shown = false;
    while (!shown && std::chrono::steady_clock::now() - start < std::chrono::seconds(2))
    {
      const std::vector<xcb_window_t> now = display.Children(parent);
      WindowPixels pixels;
      shown = now.size() == 1 && display.ReadPixels(now[0], pixels) && pixels.rgb == panel.rgb;
      if (!shown) dispatch(effEditIdle);
    }
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!shown) state.SkipWithError("the panel never appeared");
    dispatch(effEditClose);
    idleFor(1);
  }
  dispatch(effClose);
  display.DestroyWindow(parent);
}
BENCHMARK(BM_OpenToFirstFrameOnScreenAtScale)->Arg(100)->Arg(200)->UseManualTime()->Iterations(30)->Unit(
  benchmark::kMillisecond);

// The whole process's processor time while the host idles an open editor at 30 Hz for 10 s
// and nothing changes; the counter is the share of one core in percent.
void BM_OpenEditorLeftAlone(benchmark::State& state)
{
  OpenEditor open(state);
  if (!open.plug) return;
  for (auto _ : state)
  {
    const double cpuStart = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    // The host's loop: an idle call every 33 ms, asleep in between. Time inside the idle
    // calls is the editor's own share (it never blocks); the process's processor time adds
    // the host's loop and its wake-ups.
    double inEditor = 0.0;
    for (auto next = start; next - start < std::chrono::seconds(10);)
    {
      const auto before = std::chrono::steady_clock::now();
      open.plug->Idle();
      inEditor += std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
      next += std::chrono::milliseconds(33);
      std::this_thread::sleep_until(next);
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    state.SetIterationTime(wall);
    state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
    state.counters["editor_percent_of_core"] = 100.0 * inEditor / wall;
  }
}
BENCHMARK(BM_OpenEditorLeftAlone)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
} // namespace

BENCHMARK_MAIN();
