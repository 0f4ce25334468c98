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

void Screw(LICE_IBitmap* bm, double cx, double cy, double slantDegrees) {
  const int w = bm->Width(), h = bm->Height();
  Paint(bm, Cover(w, h, Disc(cx, cy + 0.8, 4.8), 2.0), kBlack, 0.25f);
  PaintGradient(bm, Cover(w, h, Disc(cx, cy, 4.5)), Rgb(0xF4F2EE), Rgb(0xA29D94),
                static_cast<int>(cy - 4.5), static_cast<int>(cy + 4.5));
  Paint(bm, Cover(w, h, Ring(cx, cy, 4.3, 0.45)), Rgb(0x8A857C), 0.8f);
  const Point a = OnCircle({cx, cy}, 3.2, slantDegrees), b = OnCircle({cx, cy}, 3.2, slantDegrees + 180);
  Paint(bm, Cover(w, h, Capsule(a.x, a.y, b.x, b.y, 0.75)), Rgb(0x5F5B55));
}

// An engraved line: a dark groove with a light lip under it.
void Groove(LICE_IBitmap* bm, int x1, int x2, int y) {
  Line(bm, x1, y, x2, y, Rgb(0xA8A49C));
  Line(bm, x1, y + 1, x2, y + 1, kWhite, 0.7f);
}

void KnobWell(LICE_IBitmap* bm, Point c) {
  const int w = bm->Width(), h = bm->Height();
  Paint(bm, Cover(w, h, Disc(c.x, c.y, 41.0)), Rgb(0xD7D3CB), 0.6f);
  Paint(bm, Cover(w, h, Ring(c.x, c.y, 41.0, 0.7)), Rgb(0xA9A59D));
  Paint(bm, Cover(w, h, Ring(c.x, c.y, 42.3, 0.6)), kWhite, 0.7f);
  // Scale dots: eleven steps over the sweep, the two ends larger.
  for (int i = 0; i <= 10; ++i) {
    const Point p = OnCircle(c, 45.5, -kKnobSweep / 2 + kKnobSweep * i / 10.0);
    const bool end = i == 0 || i == 10;
    Paint(bm, Cover(w, h, Disc(p.x, p.y + 0.6, end ? 1.7 : 1.3)), kWhite, 0.7f);
    Paint(bm, Cover(w, h, Disc(p.x, p.y, end ? 1.7 : 1.3)), Rgb(0x646C73));
  }
}

TextLook Look(int size, int style, int alignment, PixelWord colour) {
  TextLook look;
  look.size = size;
  look.style = style;
  look.alignment = alignment;
  look.colour = colour;
  return look;
}

}  // namespace

double KnobAngle(int frame) {
  return -kKnobSweep / 2 + kKnobSweep * frame / double(kKnobFrames - 1);
}

std::unique_ptr<LICE_MemBitmap> DrawBackground() {
  const int w = L::kPanelWidth, h = L::kPanelHeight, header = L::kHeaderHeight;
  auto bm = std::make_unique<LICE_MemBitmap>(w, h);
  LICE_IBitmap* b = bm.get();

  // Face and header.
  FillGradient(b, 0, header, w, h - header, kFaceTop, kFaceBottom);
  Brush(b, 0, header, w, h - header, 7, 0.025f);
  FillGradient(b, 0, 0, w, header, kHeaderTop, kHeaderBottom);
  Brush(b, 0, 0, w, header, 11, 0.03f);
  LICE::FillArea(b, 0, header, w, 2, kAccent, 1.0f, LICE::kOpCopy);
  LICE::FillArea(b, 0, header + 2, w, 1, kBlack, 0.18f, LICE::kOpCopy);
  LICE::FillArea(b, 0, header + 3, w, 1, kWhite, 0.5f, LICE::kOpCopy);

  // Header: product name, what it is, and the maker.
  const TextLook name = Look(20, 1, 0, kInkLight);
  Text(b, name, 14, 7, w, "BRINDLOW");
  const int nameWidth = TextWidth(name, "BRINDLOW");
  Text(b, Look(10, 0, 0, kInkMuted), 14 + nameWidth + 10, 15, w, "MONO/STEREO DELAY");
  Text(b, Look(12, 1, 2, kAccent), 0, 13, w - 14, "ARDELNU");

  // Knob wells with their scales, and the names under the scale labels.
  KnobWell(b, kDelayKnob);
  KnobWell(b, kMixKnob);
  const TextLook engraved = Look(11, 1, 1, kEngraving);
  TextLook lip = engraved;
  lip.colour = kWhite;
  for (const auto& [left, right, text] :
       {std::tuple<int, int, const char*>{L::kDelayKnobX + L::kScaleUnderLeft, L::kDelayKnobX + L::kScaleUnderRight,
                                          "DELAY"},
        {L::kMixKnobX + L::kScaleUnderLeft, L::kMixKnobX + L::kScaleUnderRight, "WET MIX"},
        {L::kSwitchX - 9, L::kSwitchX + L::kSwitchWidth + 9, "PAN"}}) {
    const int top = text[0] == 'P' ? 79 : 166;
    Text(b, lip, left, top + 1, right, text);
    Text(b, engraved, left, top, right, text);
  }

  // The seat of the side switch, and what it chooses.
  // The seat is 2.5 px wider than the switch on each side.
  const double seatLeft = L::kSwitchX - 2.5, seatRight = L::kSwitchX + L::kSwitchWidth + 2.5;
  const int switchBottom = L::kSwitchY + L::kSwitchFrameHeight;
  Paint(b, Cover(w, h, RoundRect(seatLeft, L::kSwitchY - 1.5, seatRight, switchBottom + 2.5, 12.5)), kWhite, 0.8f);
  PaintGradient(b, Cover(w, h, RoundRect(seatLeft, L::kSwitchY - 2.5, seatRight, switchBottom + 1.5, 12.5)),
                Rgb(0xA49F96), Rgb(0xC4C0B8), L::kSwitchY - 3, switchBottom + 2);
  Text(b, Look(9, 0, 1, Rgb(0x6A7279)), 130, 122, 235, "LEADING SIDE");

  // Footer rule above the version line, corner screws, and a dark outline.
  Groove(b, 16, w - 17, 188);
  Screw(b, 11, 47, 35);
  Screw(b, w - 11, 47, 100);
  Screw(b, 11, h - 12, 160);
  Screw(b, w - 11, h - 12, 20);
  const PixelWord edge = Rgb(0x15171A);
  Line(b, 0, 0, w - 1, 0, edge);
  Line(b, 0, h - 1, w - 1, h - 1, edge);
  Line(b, 0, 0, 0, h - 1, edge);
  Line(b, w - 1, 0, w - 1, h - 1, edge);
  return bm;
}

std::unique_ptr<LICE_MemBitmap> DrawKnobStrip() {
  const int s = kKnobSize;
  const double c = s / 2.0;
  auto strip = std::make_unique<LICE_MemBitmap>(s, s * kKnobFrames);
  for (int frame = 0; frame < kKnobFrames; ++frame) {
    Layered knob(s, s);
    LICE_IBitmap* b = knob.colour.get();
    const double angle = KnobAngle(frame);

    // Soft shadow under the knob (black over the black base: only the coverage shows).
    knob.Solid(Cover(s, s, Disc(c, c + 2.0, 31.0), 6.0), 0.5f);

    // Value ring: a dark track over the whole sweep, lit from the minimum to the value.
    const Mask track = Cover(s, s, Arc(c, c, 35.6, 1.9, -kKnobSweep / 2, kKnobSweep / 2));
    Paint(b, track, Rgb(0x2E3338));
    knob.Solid(track);
    if (frame > 0) {
      const Mask lit = Cover(s, s, Arc(c, c, 35.6, 1.9, -kKnobSweep / 2, angle));
      Paint(b, lit, kAccent);
      Paint(b, Cover(s, s, Arc(c, c, 36.2, 0.6, -kKnobSweep / 2, angle)), Rgb(0xFFB27A), 0.6f);
    }

    // Body: satin charcoal lit from above, a darker rim and a top highlight.
    const Mask body = Cover(s, s, Disc(c, c, 29.0));
    PaintGradient(b, body, Rgb(0x5E656C), Rgb(0x1D2024), 10, 68);
    knob.Solid(body);
    Paint(b, Cover(s, s, Ring(c, c, 28.6, 0.6)), Rgb(0x121416), 0.8f);
    Paint(b, Cover(s, s, Arc(c, c, 28.0, 0.6, -55, 55)), kWhite, 0.35f);

    // Grip: notches around the edge that turn with the knob.
    for (int i = 0; i < 30; ++i) {
      const double a = angle + i * 12.0;
      const Point p0 = OnCircle({c, c}, 25.6, a), p1 = OnCircle({c, c}, 28.0, a);
      Paint(b, Cover(s, s, Capsule(p0.x, p0.y, p1.x, p1.y, 0.55)), Rgb(0x0E1012), 0.55f);
    }

    // Cap: turned the other way for a bevel, then the pointer.
    PaintGradient(b, Cover(s, s, Disc(c, c, 24.6)), Rgb(0x2C3136), Rgb(0x4B5258), 14, 64);
    Paint(b, Cover(s, s, Ring(c, c, 24.6, 0.5)), Rgb(0x16181B), 0.7f);
    Paint(b, Cover(s, s, Arc(c, c, 24.0, 0.5, 125, 235)), kWhite, 0.18f);
    const Point tip = OnCircle({c, c}, 21.0, angle), base = OnCircle({c, c}, 9.0, angle);
    Paint(b, Cover(s, s, Capsule(base.x, base.y + 1.0, tip.x, tip.y + 1.0, 1.7)), kBlack, 0.45f);
    Paint(b, Cover(s, s, Capsule(base.x, base.y, tip.x, tip.y, 1.6)), kInkLight);

    const auto done = knob.Finish();
    LICE::DrawImage(strip.get(), done.get(), 0, frame * s, nullptr, 1.0f, LICE::kOpCopy);
  }
  return strip;
}

std::unique_ptr<LICE_MemBitmap> DrawSwitchStrip() {
  const int w = L::kSwitchWidth, fh = L::kSwitchFrameHeight;
  auto strip = std::make_unique<LICE_MemBitmap>(w, fh * L::kSwitchFrames);
  for (int frame = 0; frame < L::kSwitchFrames; ++frame) {
    Layered sw(w, fh);
    LICE_IBitmap* b = sw.colour.get();
    const Mask pill = Cover(w, fh, RoundRect(0.5, 0.5, w - 0.5, fh - 0.5, 10.0));
    PaintGradient(b, pill, Rgb(0x1E2226), Rgb(0x363B41), 0, fh);
    sw.Solid(pill);
    // The chosen side lights up: frame 0 is "Left", frame 1 "Right".
    const bool right = frame == 1;
    const double half = w / 2.0;
    const double l = right ? half : 2.0, r = right ? w - 2.0 : half;
    PaintGradient(b, Cover(w, fh, RoundRect(l, 2.0, r, fh - 2.0, 8.5)), Rgb(0xF29052),
                  Rgb(0xD4621C), 2, fh - 2);
    const TextLook on = Look(11, 1, 1, Rgb(0x1E2226)), off = Look(11, 1, 1, Rgb(0x8E979F));
    Text(b, right ? off : on, 0, 5, static_cast<int>(half) + 1, "L");
    Text(b, right ? on : off, static_cast<int>(half), 5, w, "R");
    const auto done = sw.Finish();
    LICE::DrawImage(strip.get(), done.get(), 0, frame * fh, nullptr, 1.0f, LICE::kOpCopy);
  }
  return strip;
}

std::unique_ptr<LICE_MemBitmap> DrawSplash(const std::string& version) {
  const int w = L::kSplashWidth, h = L::kSplashHeight;
  auto bm = std::make_unique<LICE_MemBitmap>(w, h);
  LICE_IBitmap* b = bm.get();
  FillGradient(b, 0, 0, w, h, Rgb(0x2D3238), Rgb(0x16191C));
  Brush(b, 0, 0, w, h, 23, 0.025f);
  LICE::FillArea(b, 0, 0, w, 3, kAccent, 1.0f, LICE::kOpCopy);

  Text(b, Look(28, 1, 0, kInkLight), 13, 12, w, "Brindlow");
  Text(b, Look(12, 0, 0, kInkMuted), 15, 44, w, "Mono/Stereo Delay");

  // Emblem: a source with a wave to each side, one of them arriving later.
  const Point c{188, 38};
  Paint(b, Cover(w, h, Disc(c.x, c.y, 3.0)), kInkLight);
  for (int i = 0; i < 3; ++i) {
    const double r = 8.0 + 6.5 * i;
    Paint(b, Cover(w, h, Arc(c.x, c.y, r, 1.1, 55, 125)), kAccent, 1.0f - 0.25f * i);
    Paint(b, Cover(w, h, Arc(c.x, c.y, r + 3.0, 1.1, 235, 305)), kInkMuted, 0.9f - 0.25f * i);
  }

  Line(b, 14, 66, w - 15, 66, Rgb(0x454B52));
  Text(b, Look(11, 1, 0, kAccent), 14, 72, w, "ARDELNU");
  Text(b, Look(11, 0, 2, kInkMuted), 0, 72, w - 14, ("Version " + version).c_str());
  return bm;
}

}  // namespace Artwork
