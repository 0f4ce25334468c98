// The mono-check strip's meter in a CLAP plug-in: audio through the clap process call, on
// either sample width, reaches the strip's reading through the host's timer, and the meter
// gathers nothing while the strip is hidden or the editor closed. The adapter is linked in,
// so that the strip's control can be read; its window only stands in for one.
#include <gtest/gtest.h>

#include <cmath>

#include "ClapTestHost.h"
#include "IGraphicsPlug.h"
#include "IPlugCLAP.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"
#include "KyvMonoCheckView.h"
#include "StandInWindowBackend.h"

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = 44100.0;

const char* const kNoFeatures[] = {nullptr};
const IPlugCLAPProduct kProduct = {"test.brindlow", &KyvBrindlowInfo,
                                   [] { return static_cast<IPlugBase*>(MakeKyvBrindlow()); }, kNoFeatures};

template <class T>
const T* Ext(const clap_plugin_t* p, const char* id)
{
  return static_cast<const T*>(p->get_extension(p, id));
}

KyvCorrelationMeter* StripMeter(IGraphicsLice* editor)
{
  for (int32_t i = 0; i < editor->ControlCount(); ++i)
    if (auto* meter = dynamic_cast<KyvCorrelationMeter*>(editor->GetControl(i))) return meter;
  return nullptr;
}

// An active, processing instance with 10 ms of delay and the wet side at -6 dB, its
// editor open in a stand-in window.
class MeteredClapBrindlow
{
public:
  MeteredClapBrindlow()
  {
    clap_plugin_descriptor_t descriptor{};
    mAdapter = new IPlugCLAP(&descriptor, host.Host(), MakeKyvBrindlow(), &kProduct);
    p = mAdapter->ClapPlugin();
    if (!p->init(p)) return;
    ClapEventList values;
    values.AddParam(0, KyvBrindlow::kDelay, 10.0);
    values.AddParam(0, KyvBrindlow::kWetMix, -6.0);
    ClapOutputList out;
    Ext<clap_plugin_params_t>(p, CLAP_EXT_PARAMS)->flush(p, values.In(), out.Out());
    gui = Ext<clap_plugin_gui_t>(p, CLAP_EXT_GUI);
    clap_window_t window{};
#if defined(_WIN32)
    window.api = CLAP_WINDOW_API_WIN32;
    window.win32 = &mParent;
#else
    window.api = CLAP_WINDOW_API_X11;
    window.x11 = 1; // any window: the stand-in opens in it
#endif
    mReady = p->activate(p, kRate, 1, 512) && p->start_processing(p) && gui->create(p, window.api, false) &&
             gui->set_parent(p, &window) && gui->show(p);
  }
  ~MeteredClapBrindlow()
  {
    if (mReady)
    {
      p->stop_processing(p);
      p->deactivate(p);
    }
    p->destroy(p); // the adapter and its plug-in go
  }
  bool Ready() const { return mReady; }
  KyvBrindlow* Plug() const { return static_cast<KyvBrindlow*>(mAdapter->Plug()); }
  KyvBrindlowGraphics* Editor() const { return static_cast<KyvBrindlowGraphics*>(EditorOf(mAdapter->Plug())); }

  // One second of a sine on both inputs, in 512-frame process calls, then a timer tick.
  void RunSine(double frequency, bool use64)
  {
    ClapBlock block(512, 2, use64);
    for (uint32_t at = 0; at + 512 <= uint32_t(kRate); at += 512)
    {
      for (uint32_t i = 0; i < 512; ++i)
      {
        const double x = 0.5 * std::sin(2.0 * kPi * frequency * double(at + i) / kRate);
        block.in32[0][i] = block.in32[1][i] = float(x);
        block.in64[0][i] = block.in64[1][i] = x;
      }
      block.Run(p);
    }
    Ext<clap_plugin_timer_support_t>(p, CLAP_EXT_TIMER_SUPPORT)->on_timer(p, 1);
  }

  ClapTestHost host;
  const clap_plugin_t* p = nullptr;
  const clap_plugin_gui_t* gui = nullptr;

private:
  IPlugCLAP* mAdapter = nullptr;
  bool mReady = false;
  int mParent = 0;
};
}  // namespace

TEST(ClapMonoCheck, ProcessedAudioReachesTheStripsMeterOnlyWhileItShows)
{
  const TickingStandInWindows windows;
  for (bool use64 : {false, true})
  {
    SCOPED_TRACE(use64 ? "64-bit" : "32-bit");
    MeteredClapBrindlow brindlow;
    ASSERT_TRUE(brindlow.Ready());
    KyvBrindlowGraphics* editor = brindlow.Editor();
    ASSERT_NE(editor, nullptr);
    brindlow.RunSine(60.0, use64);
    EXPECT_FALSE(brindlow.Plug()->OutputMeter().Read(0.3).valid) << "the strip hidden: nothing gathered";

    editor->ShowMonoCheck(true);
    brindlow.RunSine(60.0, use64);
    const KyvCorrelationMeter* meter = StripMeter(editor);
    ASSERT_NE(meter, nullptr);
    // The lagging side is g x(n - D): correlation cos(w D), mono loss
    // 10 log10((1 + g^2 + 2 g cos(w D)) / (2 (1 + g^2))).
    const double d = double(brindlow.Plug()->DelayLine().DelaySamples());
    EXPECT_EQ(d, 441.0) << "the flushed values reached the plug-in";
    const double g = std::pow(10.0, -6.0 / 20.0), cosine = std::cos(2.0 * kPi * 60.0 * d / kRate);
    ASSERT_TRUE(meter->Reading().valid);
    EXPECT_NEAR(meter->Reading().correlation, cosine, 0.02);
    EXPECT_NEAR(meter->Reading().monoLossDb, 10.0 * std::log10((1 + g * g + 2 * g * cosine) / (2 * (1 + g * g))), 0.1);

    brindlow.gui->destroy(brindlow.p); // the window closes with the strip still chosen
    EXPECT_FALSE(brindlow.Plug()->OutputMeter().Active());
    // Another tone (correlation 0 at this delay) gathers nothing: the meter holds the last.
    const double before = brindlow.Plug()->OutputMeter().Read(0.3).correlation;
    brindlow.RunSine(25.0, use64);
    EXPECT_DOUBLE_EQ(brindlow.Plug()->OutputMeter().Read(0.3).correlation, before) << "the editor closed: nothing gathered";
  }
}
