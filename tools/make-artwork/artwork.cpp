#include "artwork.h"

#include <cmath>
#include <tuple>

#include "lice.h"
#include "paint.h"
#include "shapes.h"

namespace Artwork {
namespace {

const double kPi = 3.14159265358979323846;

// Palette: a light brushed-aluminium face, a charcoal header and one warm accent.
const PixelWord kFaceTop = Rgb(0xE9E7E2), kFaceBottom = Rgb(0xCDC9C1);
const PixelWord kHeaderTop = Rgb(0x32373D), kHeaderBottom = Rgb(0x1C1F23);
const PixelWord kAccent = Rgb(0xE5762B);
const PixelWord kInkLight = Rgb(0xF3F1EC), kInkMuted = Rgb(0x9AA3AB);
const PixelWord kEngraving = Rgb(0x4A5259);
const PixelWord kWhite = Rgb(0xFFFFFF), kBlack = Rgb(0x000000);

// Where the layout puts the knobs and the switch.
struct Point {
  double x, y;
};
namespace L = KyvBrindlowLayout;
const Point kDelayKnob{L::kDelayKnobX + L::kKnobSize / 2.0, L::kKnobY + L::kKnobSize / 2.0};
const Point kMixKnob{L::kMixKnobX + L::kKnobSize / 2.0, L::kKnobY + L::kKnobSize / 2.0};

Point OnCircle(Point c, double r, double degrees) {
  const double a = degrees * kPi / 180.0;
  return {c.x + r * std::sin(a), c.y - r * std::cos(a)};
}

// A colour picture and its coverage, merged at the end into one bitmap with alpha. Every
// layer is painted over black (the colour of the soft shadow, the outermost layer), so the
// antialiased rims blend towards the shadow and never towards a stray colour.
struct Layered {
  Layered(int w, int h) : colour(new LICE_MemBitmap(w, h)), alpha(new LICE_MemBitmap(w, h)) {
    LICE::FillArea(colour.get(), 0, 0, w, h, kBlack, 1.0f, LICE::kOpCopy);
    LICE::FillArea(alpha.get(), 0, 0, w, h, kBlack, 1.0f, LICE::kOpCopy);
  }
  void Solid(const Mask& m, float opacity = 1.0f) { Paint(alpha.get(), m, kWhite, opacity); }
  std::unique_ptr<LICE_MemBitmap> Finish() {
    AlphaFromRed(colour.get(), alpha.get());
    return std::move(colour);
  }
  std::unique_ptr<LICE_MemBitmap> colour, alpha;
};

// Shapes are placed in panel units (the layout's) and drawn k device pixels to the unit:
// positions, radii, widths and soft edges are multiplied by k, while a crisp edge stays one
// device pixel wide, so a picture at 2x is sharper than the 1x one enlarged. At k = 1 every
// product is exact and the pictures are the 1x ones bit for bit.

void Screw(LICE_IBitmap* bm, double k, double cx, double cy, double slantDegrees) {
  const int w = bm->Width(), h = bm->Height();
  Paint(bm, Cover(w, h, Disc(k * cx, k * (cy + 0.8), k * 4.8), k * 2.0), kBlack, 0.25f);
  PaintGradient(bm, Cover(w, h, Disc(k * cx, k * cy, k * 4.5)), Rgb(0xF4F2EE), Rgb(0xA29D94),
                static_cast<int>(k * (cy - 4.5)), static_cast<int>(k * (cy + 4.5)));
  Paint(bm, Cover(w, h, Ring(k * cx, k * cy, k * 4.3, k * 0.45)), Rgb(0x8A857C), 0.8f);
  const Point a = OnCircle({cx, cy}, 3.2, slantDegrees), b = OnCircle({cx, cy}, 3.2, slantDegrees + 180);
  Paint(bm, Cover(w, h, Capsule(k * a.x, k * a.y, k * b.x, k * b.y, k * 0.75)), Rgb(0x5F5B55));
}

// A line one panel unit thick: k device rows (or columns) covering the units x1..x2 (y1..y2).
void HorizontalRule(LICE_IBitmap* bm, int k, int x1, int x2, int y, PixelWord colour, float opacity = 1.0f) {
  for (int i = 0; i < k; ++i) Line(bm, k * x1, k * y + i, k * x2 + k - 1, k * y + i, colour, opacity);
}
void VerticalRule(LICE_IBitmap* bm, int k, int x, int y1, int y2, PixelWord colour) {
  for (int i = 0; i < k; ++i) Line(bm, k * x + i, k * y1, k * x + i, k * y2 + k - 1, colour);
}

// An engraved line: a dark groove with a light lip under it.
void Groove(LICE_IBitmap* bm, int k, int x1, int x2, int y) {
  HorizontalRule(bm, k, x1, x2, y, Rgb(0xA8A49C));
  HorizontalRule(bm, k, x1, x2, y + 1, kWhite, 0.7f);
}

void KnobWell(LICE_IBitmap* bm, double k, Point c) {
  const int w = bm->Width(), h = bm->Height();
  Paint(bm, Cover(w, h, Disc(k * c.x, k * c.y, k * 41.0)), Rgb(0xD7D3CB), 0.6f);
  Paint(bm, Cover(w, h, Ring(k * c.x, k * c.y, k * 41.0, k * 0.7)), Rgb(0xA9A59D));
  Paint(bm, Cover(w, h, Ring(k * c.x, k * c.y, k * 42.3, k * 0.6)), kWhite, 0.7f);
  // Scale dots: eleven steps over the sweep, the two ends larger.
  for (int i = 0; i <= 10; ++i) {
    const Point p = OnCircle(c, 45.5, -kKnobSweep / 2 + kKnobSweep * i / 10.0);
    const double r = i == 0 || i == 10 ? 1.7 : 1.3;
    Paint(bm, Cover(w, h, Disc(k * p.x, k * (p.y + 0.6), k * r)), kWhite, 0.7f);
    Paint(bm, Cover(w, h, Disc(k * p.x, k * p.y, k * r)), Rgb(0x646C73));
  }
}

// A text look whose size is given in panel units.
TextLook Look(int k, int size, int style, int alignment, PixelWord colour) {
  TextLook look;
  look.size = k * size;
  look.style = style;
  look.alignment = alignment;
  look.colour = colour;
  return look;
}

}  // namespace

double KnobAngle(int frame) {
  return -kKnobSweep / 2 + kKnobSweep * frame / double(kKnobFrames - 1);
}

std::unique_ptr<LICE_MemBitmap> DrawBackground(int k) {
  const int pw = L::kPanelWidth, ph = L::kPanelHeight, header = L::kHeaderHeight;
  const int w = k * pw, h = k * ph;
  auto bm = std::make_unique<LICE_MemBitmap>(w, h);
  LICE_IBitmap* b = bm.get();

  // Face and header.
  FillGradient(b, 0, k * header, w, k * (ph - header), kFaceTop, kFaceBottom);
  Brush(b, k, 0, header, pw, ph - header, 7, 0.025f);
  FillGradient(b, 0, 0, w, k * header, kHeaderTop, kHeaderBottom);
  Brush(b, k, 0, 0, pw, header, 11, 0.03f);
  LICE::FillArea(b, 0, k * header, w, k * 2, kAccent, 1.0f, LICE::kOpCopy);
  LICE::FillArea(b, 0, k * (header + 2), w, k, kBlack, 0.18f, LICE::kOpCopy);
  LICE::FillArea(b, 0, k * (header + 3), w, k, kWhite, 0.5f, LICE::kOpCopy);

  // Header: product name, what it is, and the maker.
  const TextLook name = Look(k, 20, 1, 0, kInkLight);
  Text(b, name, k * 14, k * 7, w, "BRINDLOW");
  const int nameWidth = TextWidth(name, "BRINDLOW");
  Text(b, Look(k, 10, 0, 0, kInkMuted), k * (14 + 10) + nameWidth, k * 15, w, "MONO/STEREO DELAY");
  Text(b, Look(k, 12, 1, 2, kAccent), 0, k * 13, k * (pw - 14), "ARDELNU");

  // Knob wells with their scales, and the names under the scale labels.
  KnobWell(b, k, kDelayKnob);
  KnobWell(b, k, kMixKnob);
  const TextLook engraved = Look(k, 11, 1, 1, kEngraving);
  TextLook lip = engraved;
  lip.colour = kWhite;
  for (const auto& [left, right, text] :
       {std::tuple<int, int, const char*>{L::kDelayKnobX + L::kScaleUnderLeft, L::kDelayKnobX + L::kScaleUnderRight,
                                          "DELAY"},
        {L::kMixKnobX + L::kScaleUnderLeft, L::kMixKnobX + L::kScaleUnderRight, "WET MIX"},
        {L::kSwitchX - 9, L::kSwitchX + L::kSwitchWidth + 9, "PAN"}}) {
    const int top = text[0] == 'P' ? 79 : 166;
    Text(b, lip, k * left, k * (top + 1), k * right, text);
    Text(b, engraved, k * left, k * top, k * right, text);
  }

  // The seat of the side switch, and what it chooses.
  // The seat is 2.5 units wider than the switch on each side.
  const double seatLeft = L::kSwitchX - 2.5, seatRight = L::kSwitchX + L::kSwitchWidth + 2.5;
  const int switchBottom = L::kSwitchY + L::kSwitchFrameHeight;
  Paint(b, Cover(w, h, RoundRect(k * seatLeft, k * (L::kSwitchY - 1.5), k * seatRight, k * (switchBottom + 2.5), k * 12.5)),
        kWhite, 0.8f);
  PaintGradient(b, Cover(w, h, RoundRect(k * seatLeft, k * (L::kSwitchY - 2.5), k * seatRight, k * (switchBottom + 1.5), k * 12.5)),
                Rgb(0xA49F96), Rgb(0xC4C0B8), k * (L::kSwitchY - 3), k * (switchBottom + 2));
  Text(b, Look(k, 9, 0, 1, Rgb(0x6A7279)), k * 130, k * 122, k * 235, "LEADING SIDE");

  // Footer rule above the version line, corner screws, and a dark outline.
  Groove(b, k, 16, pw - 17, 188);
  Screw(b, k, 11, 47, 35);
  Screw(b, k, pw - 11, 47, 100);
  Screw(b, k, 11, ph - 12, 160);
  Screw(b, k, pw - 11, ph - 12, 20);
  const PixelWord edge = Rgb(0x15171A);
  HorizontalRule(b, k, 0, pw - 1, 0, edge);
  HorizontalRule(b, k, 0, pw - 1, ph - 1, edge);
  VerticalRule(b, k, 0, 0, ph - 1, edge);
  VerticalRule(b, k, pw - 1, 0, ph - 1, edge);
  return bm;
}

std::unique_ptr<LICE_MemBitmap> DrawKnobStrip(int k) {
  const int s = k * kKnobSize;
  const double c = s / 2.0;
  auto strip = std::make_unique<LICE_MemBitmap>(s, s * kKnobFrames);
  for (int frame = 0; frame < kKnobFrames; ++frame) {
    Layered knob(s, s);
    LICE_IBitmap* b = knob.colour.get();
    const double angle = KnobAngle(frame);

    // Soft shadow under the knob (black over the black base: only the coverage shows).
    knob.Solid(Cover(s, s, Disc(c, c + k * 2.0, k * 31.0), k * 6.0), 0.5f);

    // Value ring: a dark track over the whole sweep, lit from the minimum to the value.
    const Mask track = Cover(s, s, Arc(c, c, k * 35.6, k * 1.9, -kKnobSweep / 2, kKnobSweep / 2));
    Paint(b, track, Rgb(0x2E3338));
    knob.Solid(track);
    if (frame > 0) {
      const Mask lit = Cover(s, s, Arc(c, c, k * 35.6, k * 1.9, -kKnobSweep / 2, angle));
      Paint(b, lit, kAccent);
      Paint(b, Cover(s, s, Arc(c, c, k * 36.2, k * 0.6, -kKnobSweep / 2, angle)), Rgb(0xFFB27A), 0.6f);
    }

    // Body: satin charcoal lit from above, a darker rim and a top highlight.
    const Mask body = Cover(s, s, Disc(c, c, k * 29.0));
    PaintGradient(b, body, Rgb(0x5E656C), Rgb(0x1D2024), k * 10, k * 68);
    knob.Solid(body);
    Paint(b, Cover(s, s, Ring(c, c, k * 28.6, k * 0.6)), Rgb(0x121416), 0.8f);
    Paint(b, Cover(s, s, Arc(c, c, k * 28.0, k * 0.6, -55, 55)), kWhite, 0.35f);

    // Grip: notches around the edge that turn with the knob.
    for (int i = 0; i < 30; ++i) {
      const double a = angle + i * 12.0;
      const Point p0 = OnCircle({c, c}, k * 25.6, a), p1 = OnCircle({c, c}, k * 28.0, a);
      Paint(b, Cover(s, s, Capsule(p0.x, p0.y, p1.x, p1.y, k * 0.55)), Rgb(0x0E1012), 0.55f);
    }

    // Cap: turned the other way for a bevel, then the pointer.
    PaintGradient(b, Cover(s, s, Disc(c, c, k * 24.6)), Rgb(0x2C3136), Rgb(0x4B5258), k * 14, k * 64);
    Paint(b, Cover(s, s, Ring(c, c, k * 24.6, k * 0.5)), Rgb(0x16181B), 0.7f);
    Paint(b, Cover(s, s, Arc(c, c, k * 24.0, k * 0.5, 125, 235)), kWhite, 0.18f);
    const Point tip = OnCircle({c, c}, k * 21.0, angle), base = OnCircle({c, c}, k * 9.0, angle);
    Paint(b, Cover(s, s, Capsule(base.x, base.y + k * 1.0, tip.x, tip.y + k * 1.0, k * 1.7)), kBlack, 0.45f);
    Paint(b, Cover(s, s, Capsule(base.x, base.y, tip.x, tip.y, k * 1.6)), kInkLight);

    const auto done = knob.Finish();
    LICE::DrawImage(strip.get(), done.get(), 0, frame * s, nullptr, 1.0f, LICE::kOpCopy);
  }
  return strip;
}

std::unique_ptr<LICE_MemBitmap> DrawSwitchStrip(int k) {
  const int pw = L::kSwitchWidth, pfh = L::kSwitchFrameHeight;
  const int w = k * pw, fh = k * pfh;
  auto strip = std::make_unique<LICE_MemBitmap>(w, fh * L::kSwitchFrames);
  for (int frame = 0; frame < L::kSwitchFrames; ++frame) {
    Layered sw(w, fh);
    LICE_IBitmap* b = sw.colour.get();
    const Mask pill = Cover(w, fh, RoundRect(k * 0.5, k * 0.5, k * (pw - 0.5), k * (pfh - 0.5), k * 10.0));
    PaintGradient(b, pill, Rgb(0x1E2226), Rgb(0x363B41), 0, fh);
    sw.Solid(pill);
    // The chosen side lights up: frame 0 is "Left", frame 1 "Right".
    const bool right = frame == 1;
    const double half = pw / 2.0;
    const double l = right ? half : 2.0, r = right ? pw - 2.0 : half;
    PaintGradient(b, Cover(w, fh, RoundRect(k * l, k * 2.0, k * r, k * (pfh - 2.0), k * 8.5)), Rgb(0xF29052),
                  Rgb(0xD4621C), k * 2, k * (pfh - 2));
    const TextLook on = Look(k, 11, 1, 1, Rgb(0x1E2226)), off = Look(k, 11, 1, 1, Rgb(0x8E979F));
    Text(b, right ? off : on, 0, k * 5, k * (static_cast<int>(half) + 1), "L");
    Text(b, right ? on : off, k * static_cast<int>(half), k * 5, w, "R");
    const auto done = sw.Finish();
    LICE::DrawImage(strip.get(), done.get(), 0, frame * fh, nullptr, 1.0f, LICE::kOpCopy);
  }
  return strip;
}

std::unique_ptr<LICE_MemBitmap> DrawSplash(const std::string& version, int k) {
  const int pw = L::kSplashWidth, ph = L::kSplashHeight;
  const int w = k * pw, h = k * ph;
  auto bm = std::make_unique<LICE_MemBitmap>(w, h);
  LICE_IBitmap* b = bm.get();
  FillGradient(b, 0, 0, w, h, Rgb(0x2D3238), Rgb(0x16191C));
  Brush(b, k, 0, 0, pw, ph, 23, 0.025f);
  LICE::FillArea(b, 0, 0, w, k * 3, kAccent, 1.0f, LICE::kOpCopy);

  Text(b, Look(k, 28, 1, 0, kInkLight), k * 13, k * 12, w, "Brindlow");
  Text(b, Look(k, 12, 0, 0, kInkMuted), k * 15, k * 44, w, "Mono/Stereo Delay");

  // Emblem: a source with a wave to each side, one of them arriving later.
  const Point c{k * 188.0, k * 38.0};
  Paint(b, Cover(w, h, Disc(c.x, c.y, k * 3.0)), kInkLight);
  for (int i = 0; i < 3; ++i) {
    const double r = 8.0 + 6.5 * i;
    Paint(b, Cover(w, h, Arc(c.x, c.y, k * r, k * 1.1, 55, 125)), kAccent, 1.0f - 0.25f * i);
    Paint(b, Cover(w, h, Arc(c.x, c.y, k * (r + 3.0), k * 1.1, 235, 305)), kInkMuted, 0.9f - 0.25f * i);
  }

  HorizontalRule(b, k, 14, pw - 15, 66, Rgb(0x454B52));
  Text(b, Look(k, 11, 1, 0, kAccent), k * 14, k * 72, w, "ARDELNU");
  Text(b, Look(k, 11, 0, 2, kInkMuted), 0, k * 72, k * (pw - 14), ("Version " + version).c_str());
  return bm;
}

}  // namespace Artwork
