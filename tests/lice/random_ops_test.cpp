// Composes random operations on random bitmaps and compares the picture each one leaves
// with a hash recorded from this implementation after the pixel-exact tests had verified
// every routine (random_ops_reference.txt). Any later change of the arithmetic, the
// clipping or the choice of loop changes a hash.
//
// Every iteration draws from its own seed, so one can be replayed alone. A failure names
// the family, the seed and the operation with all its arguments, and how to replay it:
//   BRINDLOW_RANDOM_SEED=0x12345678 lice_tests --gtest_filter=RandomOperations.Scaled
// runs only that iteration and prints each operation before it runs (so a crash shows its
// cause too); BRINDLOW_RANDOM_VERBOSE=1 prints every operation of a whole run.
// After an intended change, BRINDLOW_RANDOM_RECORD=1 rewrites the reference file.
// The generator is our own so the sequence never depends on the standard library.
#include "RandomSeeds.h"
#include "test_bitmaps.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

namespace
{
using namespace LICE;

// xorshift32
struct Prng
{
  std::uint32_t state;
  std::uint32_t Next()
  {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int Range(int lo, int hi) { return lo + int(Next() % std::uint32_t(hi - lo + 1)); }
  template <class T, int N>
  T Pick(const T (&items)[N]) { return items[Next() % N]; }
};

const float kAlphas[] = {1.0f, 0.5f, 0.25f, 0.75f, 0.3f, 0.999f, 1.5f, -0.4f, 0.0f, 0.002f, 0.6f};
const float kAngles[] = {0.0f, 0.5f, -1.25f, 3.0f, 1.5707964f};
constexpr int kIterations = 400;

// The text of the operation an iteration runs, printed before it runs when asked.
class OpText
{
public:
  explicit OpText(bool verbose) : mVerbose(verbose) {}

  void Add(const char* format, ...) __attribute__((format(printf, 2, 3)))
  {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    mText += buffer;
  }
  // Called right before the routine runs.
  void Running() const
  {
    if (mVerbose) std::fprintf(stderr, "  running %s\n", mText.c_str());
  }
  const std::string& Text() const { return mText; }

private:
  bool mVerbose;
  std::string mText;
};

std::string Describe(const LICE_IBitmap& bm, int kind, int align)
{
  std::ostringstream s;
  s << (kind == 0 ? "SysBitmap" : kind == 1 ? "BottomUpBitmap" : "MemBitmap") << ' ' << bm.Width() << 'x'
    << bm.Height();
  if (kind >= 2) s << " align " << align;
  return s.str();
}

std::unique_ptr<LICE_IBitmap> RandomBitmap(Prng& rng, int maxSide, std::string* text)
{
  const int w = rng.Range(0, maxSide), h = rng.Range(0, maxSide);
  std::unique_ptr<LICE_IBitmap> bm;
  const int kind = rng.Range(0, 3);
  int align = 4;
  switch (kind)
  {
    case 0: bm = std::make_unique<LICE_SysBitmap>(w, h); break;
    case 1: bm = std::make_unique<lice_test::BottomUpBitmap>(w, h, 4); break;
    default:
      align = rng.Pick<int, 3>({1, 4, 8});
      bm = std::make_unique<LICE_MemBitmap>(w, h, align);
      break;
  }
  for (int y = 0; y < bm->Height(); ++y)
    for (int x = 0; x < bm->Width(); ++x)
    {
      PixelWord p = rng.Next();
      const int pixelKind = rng.Range(0, 3); // transparent and opaque pixels are common in artwork
      if (pixelKind == 0) p &= 0x00FFFFFF;
      if (pixelKind == 1) p |= 0xFF000000;
      lice_test::Set(*bm, x, y, p);
    }
  *text = Describe(*bm, kind, align);
  return bm;
}

int RandomMode(Prng& rng, bool channelCopy)
{
  int op = rng.Range(0, 6); // 6 is unknown and must draw nothing
  if (channelCopy && rng.Range(0, 5) == 0) op = 0xF0 | rng.Range(0, 15);
  if (rng.Range(0, 1)) op |= kSourceAlpha;
  if (rng.Range(0, 1)) op |= kFilterBilinear;
  if (rng.Range(0, 9) == 0) op |= 0x200; // another filter value: nearest
  return op;
}

float Quarter(Prng& rng, int lo, int hi) { return float(rng.Range(lo * 4, hi * 4)) / 4.0f; }

// FNV-1a over the image pixels.
std::uint32_t Hash(const LICE_IBitmap& bm)
{
  std::uint32_t hash = 2166136261u;
  for (int y = 0; y < bm.Height(); ++y)
    for (int x = 0; x < bm.Width(); ++x)
    {
      const PixelWord p = lice_test::At(bm, x, y);
      for (int b = 0; b < 32; b += 8) hash = (hash ^ ((p >> b) & 0xFF)) * 16777619u;
    }
  return hash;
}

// Arguments are drawn into named values first: the evaluation order of function arguments
// is unspecified and must not change the sequence.
void DrawImageOp(Prng& rng, LICE_IBitmap& d, LICE_IBitmap& s, OpText& op)
{
  const float alpha = rng.Pick(kAlphas);
  const int mode = RandomMode(rng, true);
  const int x = rng.Range(-20, 20), y = rng.Range(-20, 20);
  if (rng.Range(0, 1))
  {
    Rect r{rng.Range(-8, 20), rng.Range(-8, 20), rng.Range(-8, 30), rng.Range(-8, 30)};
    op.Add("DrawImage(x %d, y %d, rect {%d, %d, %d, %d}, alpha %g, mode 0x%x)", x, y, r.left, r.top, r.right,
           r.bottom, double(alpha), mode);
    op.Running();
    DrawImage(&d, &s, x, y, &r, alpha, mode);
  }
  else
  {
    op.Add("DrawImage(x %d, y %d, whole source, alpha %g, mode 0x%x)", x, y, double(alpha), mode);
    op.Running();
    DrawImage(&d, &s, x, y, nullptr, alpha, mode);
  }
}

void ScaledOp(Prng& rng, LICE_IBitmap& d, LICE_IBitmap& s, OpText& op)
{
  const int x = rng.Range(-20, 20), y = rng.Range(-20, 20);
  const int w = rng.Range(-40, 40), h = rng.Range(-40, 40);
  const float sx = Quarter(rng, -5, 20), sy = Quarter(rng, -5, 20);
  const float sw = Quarter(rng, -30, 30), sh = Quarter(rng, -30, 30);
  const float alpha = rng.Pick(kAlphas);
  const int mode = RandomMode(rng, false);
  op.Add("DrawImageScaled(x %d, y %d, w %d, h %d, src %g, %g, %g x %g, alpha %g, mode 0x%x)", x, y, w, h,
         double(sx), double(sy), double(sw), double(sh), double(alpha), mode);
  op.Running();
  DrawImageScaled(&d, &s, x, y, w, h, sx, sy, sw, sh, alpha, mode);
}

void RotatedOp(Prng& rng, LICE_IBitmap& d, LICE_IBitmap& s, OpText& op)
{
  const int x = rng.Range(-20, 20), y = rng.Range(-20, 20);
  const int w = rng.Range(-30, 30), h = rng.Range(-30, 30);
  const float sx = Quarter(rng, -5, 20), sy = Quarter(rng, -5, 20);
  const float sw = Quarter(rng, -25, 25), sh = Quarter(rng, -25, 25);
  const float angle = rng.Pick(kAngles);
  const bool clip = rng.Range(0, 1) == 1;
  const float alpha = rng.Pick(kAlphas);
  const int mode = RandomMode(rng, false);
  const float ox = Quarter(rng, -4, 4), oy = Quarter(rng, -4, 4);
  op.Add("DrawImageRotated(x %d, y %d, w %d, h %d, src %g, %g, %g x %g, angle %.9g, clip %d, alpha %g, "
         "mode 0x%x, centre offset %g, %g)",
         x, y, w, h, double(sx), double(sy), double(sw), double(sh), double(angle), int(clip), double(alpha), mode,
         double(ox), double(oy));
  op.Running();
  DrawImageRotated(&d, &s, x, y, w, h, sx, sy, sw, sh, angle, clip, alpha, mode, ox, oy);
}

void FillOp(Prng& rng, LICE_IBitmap& d, LICE_IBitmap&, OpText& op)
{
  const int x = rng.Range(-20, 20), y = rng.Range(-20, 20);
  const int w = rng.Range(-5, 40), h = rng.Range(-5, 40);
  const PixelWord colour = rng.Next();
  const float alpha = rng.Pick(kAlphas);
  const int mode = RandomMode(rng, false);
  op.Add("FillArea(x %d, y %d, w %d, h %d, colour 0x%08x, alpha %g, mode 0x%x)", x, y, w, h, colour,
         double(alpha), mode);
  op.Running();
  FillArea(&d, x, y, w, h, colour, alpha, mode);
  const int mx = rng.Range(-20, 20), my = rng.Range(-20, 20);
  const int mw = rng.Range(-5, 40), mh = rng.Range(-5, 40);
  const PixelWord andMask = rng.Next();
  const PixelWord orBits = rng.Next() & 0x01010101;
  op.Add(", then MaskArea(x %d, y %d, w %d, h %d, and 0x%08x, or 0x%08x)", mx, my, mw, mh, andMask, orBits);
  op.Running();
  MaskArea(&d, mx, my, mw, mh, andMask, orBits);
}

void PixelOp(Prng& rng, LICE_IBitmap& d, LICE_IBitmap& s, OpText& op)
{
  for (int i = 0; i < 20; ++i)
  {
    const int fx = rng.Range(-2, 25), fy = rng.Range(-2, 25);
    const PixelWord fetched = FetchPixel(&s, fx, fy);
    const int x = rng.Range(-2, 25), y = rng.Range(-2, 25);
    const PixelWord colour = fetched ^ rng.Next();
    const float alpha = rng.Pick(kAlphas);
    const int mode = RandomMode(rng, false);
    op.Add("%sBlendPixel(x %d, y %d, colour 0x%08x, alpha %g, mode 0x%x)", i ? ", " : "", x, y, colour,
           double(alpha), mode);
    op.Running();
    BlendPixel(&d, x, y, colour, alpha, mode);
  }
  op.Add(", then CopyImage(dest <- src) and BlendPixel(0, 0, add)");
  op.Running();
  CopyImage(&s, &d);
  BlendPixel(&d, 0, 0, FetchPixel(&s, 0, 0) + 1, 1.0f, kOpAdd);
}

struct Family
{
  const char* name;
  std::uint32_t base;
  void (*op)(Prng&, LICE_IBitmap&, LICE_IBitmap&, OpText&);
};

const Family kDrawImage{"DrawImage", 0x1234567u, DrawImageOp};
const Family kScaled{"Scaled", 0x2345678u, ScaledOp};
const Family kRotated{"Rotated", 0x3456789u, RotatedOp};
const Family kFills{"Fills", 0x456789Au, FillOp};
const Family kPixels{"Pixels", 0x56789ABu, PixelOp};

std::uint32_t IterationSeed(const Family& family, int i) { return test_random::IterationSeed(family.base, i); }

struct Outcome
{
  std::string text;
  std::uint32_t hash;
};

Outcome RunIteration(const Family& family, std::uint32_t seed, bool verbose)
{
  Prng rng{seed};
  std::string destText, srcText;
  auto dest = RandomBitmap(rng, 24, &destText);
  auto src = RandomBitmap(rng, 24, &srcText);
  OpText op(verbose);
  op.Add("dest %s, src %s: ", destText.c_str(), srcText.c_str());
  family.op(rng, *dest, *src, op);
  return {op.Text(), Hash(*dest)};
}

// family name and seed -> hash
using Reference = std::map<std::pair<std::string, std::uint32_t>, std::uint32_t>;

const Reference& LoadReference()
{
  static const Reference reference = [] {
    Reference r;
    std::ifstream in(BRINDLOW_RANDOM_OPS_REFERENCE);
    std::string name;
    std::uint32_t seed, hash;
    while (in >> name >> std::hex >> seed >> hash) r[{name, seed}] = hash;
    return r;
  }();
  return reference;
}

void CheckFamily(const Family& family)
{
  const bool record = std::getenv("BRINDLOW_RANDOM_RECORD") != nullptr;
  const bool verbose = test_random::Verbose();

  std::ostringstream recorded;
  int failures = 0;
  for (int i = 0; i < kIterations; ++i)
  {
    const std::uint32_t seed = IterationSeed(family, i);
    if (!test_random::Selected(seed)) continue;
    if (verbose) std::fprintf(stderr, "%s seed 0x%08x\n", family.name, seed);
    const Outcome got = RunIteration(family, seed, verbose);
    if (record)
    {
      char line[64];
      std::snprintf(line, sizeof line, "%s %08x %08x\n", family.name, seed, got.hash);
      recorded << line;
      continue;
    }
    const auto it = LoadReference().find({family.name, seed});
    ASSERT_NE(it, LoadReference().end()) << "no recorded hash for " << family.name << " seed " << seed
                                         << " in " << BRINDLOW_RANDOM_OPS_REFERENCE;
    if (got.hash != it->second && ++failures <= 5)
    {
      ADD_FAILURE() << family.name << " iteration " << i << ": picture hash " << std::hex << got.hash
                    << ", recorded " << it->second << std::dec << "\n  " << got.text << "\n  "
                    << test_random::ReplayHint(seed, "lice_tests", std::string("RandomOperations.") + family.name);
    }
  }
  EXPECT_EQ(failures, 0) << failures << " of " << kIterations << " " << family.name << " iterations differ";
  if (record)
  {
    // Families append in the order they run; the file is read back by name and seed.
    static bool first = true;
    std::ofstream out(BRINDLOW_RANDOM_OPS_REFERENCE, first ? std::ios::trunc : std::ios::app);
    first = false;
    out << recorded.str();
    ASSERT_TRUE(out.good()) << "cannot write " << BRINDLOW_RANDOM_OPS_REFERENCE;
  }
}

TEST(RandomOperations, DrawImage) { CheckFamily(kDrawImage); }
TEST(RandomOperations, Scaled) { CheckFamily(kScaled); }
TEST(RandomOperations, Rotated) { CheckFamily(kRotated); }
TEST(RandomOperations, Fills) { CheckFamily(kFills); }
TEST(RandomOperations, Pixels) { CheckFamily(kPixels); }
} // namespace
