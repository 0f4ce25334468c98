// Cost of repainting the editor: the whole panel (background, two film-strip
// knobs, a switch, text labels; 366 x 212) and a knob alone, against a plain
// memcpy of the same rectangles in the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "IBitmapControls.h"
#include "IGraphicsWindow.h"
#include "IPlugBase.h"
#include "ITextControl.h"
#include "ITextRenderer.h"
#include "ImageCache.h"
#include "lice.h"
#include "text_freetype_renderer.h"

namespace {

constexpr int kWidth = 366, kHeight = 212;

class BenchPlug : public IPlugBase
{
public:
  BenchPlug() : IPlugBase(3, "1-2 2-2", 1, "Bench", "", "Bench", 0x10000, 1, 2, 0, false, false, false) {}
  void HostBeginEdit(int) override {}
  void HostAutomate(int, double) override {}
  void HostEndEdit(int) override {}
  int HostSamplePosition() override { return 0; }
  double HostTempo() override { return 120.0; }
  void HostTimeSignature(int*, int*) override {}
  void ResizeEditorRect(int, int) override {}
  void HostSpecificSetup() override {}
  bool SendMidiToHost(const MidiMessage&) override { return false; }
  bool SendMidiListToHost(const MidiMessage*, int) override { return false; }
};

// Generated artwork with the sizes and alpha of the product's images.
LICE_IBitmap* MakeBackground()
{
  auto* bitmap = new LICE_MemBitmap(kWidth, kHeight, 4);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      bitmap->PixelData()[x + y * bitmap->RowStride()] = LICE::Rgba(x & 255, y & 255, (x ^ y) & 255, 255);
  return bitmap;
}

// A disc with a soft edge and a pointer that turns from frame to frame.
LICE_IBitmap* MakeKnobStrip(int size, int frames)
{
  auto* bitmap = new LICE_MemBitmap(size, size * frames, 4);
  const double r = size / 2.0 - 1;
  for (int f = 0; f < frames; ++f)
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
      {
        const double dx = x + 0.5 - size / 2.0, dy = y + 0.5 - size / 2.0;
        const double d = std::sqrt(dx * dx + dy * dy);
        const int alpha = d < r - 1 ? 255 : (d < r ? int((r - d) * 255) : 0);
        const int shade = (x + y + f * 3) & 255;
        bitmap->PixelData()[x + (y + f * size) * bitmap->RowStride()] = LICE::Rgba(shade, 90, 200 - shade / 2, alpha);
      }
  return bitmap;
}

LICE_IBitmap* MakeSwitchStrip()
{
  auto* bitmap = new LICE_MemBitmap(47, 42, 4);
  for (int y = 0; y < 42; ++y)
    for (int x = 0; x < 47; ++x)
      bitmap->PixelData()[x + y * bitmap->RowStride()] = LICE::Rgba(40, y * 6, x * 5, (x * 11 + y * 7) & 255);
  return bitmap;
}

// The product's panel, built from generated images.
struct Panel
{
  explicit Panel(bool withText = true)
  {
    InstallFreeTypeTextRenderer();
    graphics = new IGraphicsWindow(&plug, kWidth, kHeight, 30);
    IBitmapStrip back(background.get(), kWidth, kHeight, 1);
    graphics->AddControl(new IBitmapControl(&plug, 0, 0, -1, back, kBlendCopy));
    IBitmapStrip knobs(knobStrip.get(), 78, 78 * 65, 65);
    ITextStyle labels(11, nullptr, "Tahoma", kTextNormal, kAlignCentre, 0);
    const char* texts[2][3] = {{"1ms", "20ms", "40ms"}, {"-10dB", "0dB", "+10dB"}};
    const int xs[2] = {56, 233};
    for (int k = 0; k < 2; ++k)
    {
      const int x = xs[k], y = 73;
      knob[k] = new IKnobMultiControl(&plug, x, y, k * 2, knobs, kKnobVertical, 4.0);
      graphics->AddControl(knob[k]);
      if (!withText) continue;
      labels.mAlignment = kAlignLeft;
      graphics->AddControl(new ITextControl(&plug, IBounds(x - 18, y + 74, x + 96, y + 87), labels, texts[k][0]));
      labels.mAlignment = kAlignCentre;
      graphics->AddControl(new ITextControl(&plug, IBounds(x, y - 21, x + 78, y - 8), labels, texts[k][1]));
      labels.mAlignment = kAlignRight;
      graphics->AddControl(new ITextControl(&plug, IBounds(x - 18, y + 74, x + 96, y + 87), labels, texts[k][2]));
    }
    graphics->AddControl(new ISwitchControl(&plug, 159, 96, 1, IBitmapStrip(switchStrip.get(), 47, 42, 2),
                                            kBlendThroughAlpha));
    const IRgba grey(255, 57, 64, 70);
    ITextStyle version(12, &grey, "Tahoma", kTextBold, kAlignCentre, 0);
    if (withText) graphics->AddControl(new ITextControl(&plug, IBounds(56, 196, 312, 209), version, "v1.03"));
    plug.AttachEditor(graphics);
  }

  void Repaint()
  {
    IBounds area;
    if (graphics->CollectDirty(area)) graphics->PaintArea(area);
  }

  BenchPlug plug;
  std::unique_ptr<LICE_IBitmap> background{MakeBackground()};
  std::unique_ptr<LICE_IBitmap> knobStrip{MakeKnobStrip(78, 65)};
  std::unique_ptr<LICE_IBitmap> switchStrip{MakeSwitchStrip()};
  IGraphicsWindow* graphics;  // owned by the plug-in
  IKnobMultiControl* knob[2];
};

// state.range(0): 1 with the seven text controls, 0 with the bitmaps alone.
void BM_FullEditorRepaint(benchmark::State& state)
{
  Panel panel(state.range(0) != 0);
  double value = 0.0;
  for (auto _ : state)
  {
    value = value >= 1.0 ? 0.0 : value + 1.0 / 64;
    panel.knob[0]->SetValue(value);
    panel.graphics->MarkAllDirty();
    panel.Repaint();
    benchmark::DoNotOptimize(panel.graphics->SurfacePixels());
  }
}
BENCHMARK(BM_FullEditorRepaint)->ArgName("text")->Arg(1)->Arg(0);

void BM_KnobRepaint(benchmark::State& state)
{
  Panel panel(state.range(0) != 0);
  panel.Repaint();
  panel.Repaint();
  double value = 0.0;
  for (auto _ : state)
  {
    value = value >= 1.0 ? 0.0 : value + 1.0 / 64;
    panel.knob[0]->SetValue(value);
    panel.knob[0]->MarkDirty(false);
    panel.Repaint();
    benchmark::DoNotOptimize(panel.graphics->SurfacePixels());
  }
}
BENCHMARK(BM_KnobRepaint)->ArgName("text")->Arg(1)->Arg(0);

// The floor: copying the same rectangle of 32-bit pixels once.
void MemcpyRect(benchmark::State& state, int width, int height)
{
  std::vector<uint32_t> from(size_t(width) * height, 0x80402010u), to(size_t(width) * height);
  for (auto _ : state)
  {
    std::memcpy(to.data(), from.data(), to.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
void BM_MemcpyFullRect(benchmark::State& state) { MemcpyRect(state, kWidth, kHeight); }
void BM_MemcpyKnobRect(benchmark::State& state) { MemcpyRect(state, 78, 78); }
BENCHMARK(BM_MemcpyFullRect);
BENCHMARK(BM_MemcpyKnobRect);

}  // namespace

BENCHMARK_MAIN();
