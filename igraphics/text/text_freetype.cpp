// FreeType text back-end. Faces are resolved once per (family, size, style) through a private
// fontconfig configuration and kept open for the life of the process, so a draw never looks
// up a font on disk. Each face keeps the glyphs it rendered, so a draw of known glyphs is only
// compositing stored coverage.
#include "text_freetype.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "text_freetype_blend.h"
#include "text_freetype_glyphs.h"

namespace FreeTypeText {

struct OpenFace {
  FT_Face face = nullptr;
  bool embolden = false;  // the family has no bold face of its own
  bool slant = false;     // the family has no italic face of its own
  FT_Matrix matrix{0x10000, 0, 0, 0x10000};
  int ascent = 0;  // pixels above the baseline within the cell
  int cell = 0;    // line height in pixels
  std::string file;

  // Editors of several plug-in instances may draw on different threads: one draw at a time
  // uses the face and its glyphs. Faces are never closed before exit.
  mutable std::mutex lock;
  mutable GlyphCache glyphs;
};

namespace {

// Debian's fonts-wine ships Windows-compatible faces (Tahoma among them) outside the
// directories fontconfig scans; the back-end adds them to its own configuration.
const char* const kWineFontDir = "/usr/share/wine/fonts";

// Larger sizes are refused: their glyph bitmaps would take memory out of all proportion.
const int kMaxSize = 1024;

// Coverage kept per face. The editor's labels need a few kilobytes; a face that outgrows the
// limit starts afresh on its next draw, and a glyph that does not fit is drawn uncached.
std::atomic<size_t> glyphCacheLimit{kDefaultGlyphCacheLimit};

class Library {
 public:
  static Library& Shared() {
    static Library library;
    return library;
  }

  std::mutex& Lock() { return lock_; }

  // The face for a font, opened on first use; null when no usable font exists.
  const OpenFace* Find(const Font& font) {
    if (!ft_ || !(font.size > 0 && font.size <= kMaxSize)) return nullptr;
    std::string key = font.face;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    key += '|' + std::to_string(font.size) + '|' + std::to_string(font.style);
    auto found = faces_.find(key);
    if (found != faces_.end()) return found->second.get();
    std::unique_ptr<OpenFace>& entry = faces_[key];  // a failed lookup is remembered as null
    entry.reset(new OpenFace);
    if (Open(font, font.face.c_str(), entry.get())) return entry.get();
    entry.reset(new OpenFace);
    if (Open(font, "sans-serif", entry.get())) return entry.get();
    entry.reset();
    return nullptr;
  }

 private:
  Library() {
    if (FT_Init_FreeType(&ft_) != 0) ft_ = nullptr;
    config_ = FcInitLoadConfigAndFonts();
    if (config_) {
      FcConfigAppFontAddDir(config_, reinterpret_cast<const FcChar8*>(kWineFontDir));
    }
  }

  ~Library() {
    for (auto& entry : faces_) {
      if (entry.second) FT_Done_Face(entry.second->face);
    }
    if (ft_) FT_Done_FreeType(ft_);
    if (config_) FcConfigDestroy(config_);
  }

  FcPattern* Match(const Font& font, const char* family) {
    if (!config_) return nullptr;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT,
                        font.style == kStyleBold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT,
                        font.style == kStyleItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, font.size);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config_, pattern, &result);
    FcPatternDestroy(pattern);
    return match;
  }

  bool Open(const Font& font, const char* family, OpenFace* out) {
    FcPattern* match = Match(font, family);
    if (!match) return false;
    FcChar8* path = nullptr;
    int index = 0;
    FcBool embolden = FcFalse;
    FcMatrix* matrix = nullptr;
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
    FcPatternGetMatrix(match, FC_MATRIX, 0, &matrix);

    FT_Face face = nullptr;
    if (ok) ok = FT_New_Face(ft_, reinterpret_cast<const char*>(path), index, &face) == 0;
    if (ok && !FT_IS_SCALABLE(face)) ok = false;
    if (ok) {
      out->face = face;
      out->file = reinterpret_cast<const char*>(path);
      // Synthesise what the family lacks, whether or not the configuration asked for it.
      // Wine's "Tahoma Bold" has bold spacing but regular-weight strokes: thicken those too.
      const bool thinBold =
          std::string(reinterpret_cast<const char*>(path)).rfind(kWineFontDir, 0) == 0;
      out->embolden = embolden ||
                      (font.style == kStyleBold && (weight < FC_WEIGHT_DEMIBOLD || thinBold));
      out->slant = font.style == kStyleItalic && slant == FC_SLANT_ROMAN;
      if (matrix && (matrix->xy != 0 || matrix->yx != 0)) {
        out->slant = true;
        out->matrix.xx = static_cast<FT_Fixed>(matrix->xx * 0x10000);
        out->matrix.xy = static_cast<FT_Fixed>(matrix->xy * 0x10000);
        out->matrix.yx = static_cast<FT_Fixed>(matrix->yx * 0x10000);
        out->matrix.yy = static_cast<FT_Fixed>(matrix->yy * 0x10000);
      } else if (out->slant) {
        out->matrix = FT_Matrix{0x10000, 0x3333, 0, 0x10000};  // 0.2 shear, as oblique faces
      }
      ok = SetCellSize(font.size, out);
      if (!ok) {
        FT_Done_Face(face);
        out->face = nullptr;
      }
    } else if (face) {
      FT_Done_Face(face);
    }
    FcPatternDestroy(match);
    return ok;
  }

  // Sizes the face so that its Windows cell (winAscent + winDescent) is `size` pixels.
  static bool SetCellSize(double size, OpenFace* out) {
    FT_Face face = out->face;
    long ascent = face->ascender, descent = -face->descender;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
      ascent = os2->usWinAscent;
      descent = os2->usWinDescent;
    }
    if (ascent + descent <= 0 || face->units_per_EM == 0) return false;
    const long cellUnits = ascent + descent;
    long em26 = 0;
    if (size == std::floor(size)) {
      // Whole sizes in integers, rounded half up.
      const long whole = static_cast<long>(size);
      em26 = (whole * 64 * face->units_per_EM + cellUnits / 2) / cellUnits;
      out->cell = static_cast<int>(whole);
      out->ascent = static_cast<int>((whole * ascent + cellUnits / 2) / cellUnits);
    } else {
      em26 = std::lround(size * 64 * face->units_per_EM / cellUnits);
      out->cell = static_cast<int>(std::lround(size));
      out->ascent = static_cast<int>(std::lround(size * ascent / cellUnits));
    }
    return FT_Set_Char_Size(face, 0, std::max(em26, 1L), 72, 72) == 0;
  }

  std::mutex lock_;
  FT_Library ft_ = nullptr;
  FcConfig* config_ = nullptr;
  std::map<std::string, std::unique_ptr<OpenFace>> faces_;
};

// Loads and renders one glyph into the face's slot; answers false for a glyph FreeType rejects.
// `shift` moves the outline right by a fraction of a pixel (26.6) so glyphs sit at their
// exact pen positions.
bool RenderGlyph(const OpenFace& of, unsigned char c, long shift) {
  FT_Face face = of.face;
  FT_Set_Transform(face, of.slant ? const_cast<FT_Matrix*>(&of.matrix) : nullptr, nullptr);
  const FT_UInt index = FT_Get_Char_Index(face, c);
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) return false;
  if (of.embolden) FT_GlyphSlot_Embolden(face->glyph);
  if (shift != 0 && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_Outline_Translate(&face->glyph->outline, shift, 0);
  }
  return FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0;
}

// Advance of the glyph in the slot, in 26.6 pixels. Light hinting rounds every advance to
// whole pixels, which leaves uneven gaps in small text; the unrounded design advance keeps
// the spacing even (plus what emboldening added).
long Advance(const OpenFace& of) {
  const FT_GlyphSlot slot = of.face->glyph;
  long advance = (slot->linearHoriAdvance + 512) >> 10;  // 16.16 to 26.6
  if (of.embolden) advance += of.face->size->metrics.y_ppem * 64 / 24;
  return advance;
}

// Renders a glyph at a pen phase (0 ... 63, 26.6) and copies what the slot holds.
Glyph MakeGlyph(const OpenFace& of, unsigned char c, unsigned phase) {
  Glyph glyph;
  if (!RenderGlyph(of, c, phase)) return glyph;
  const FT_GlyphSlot slot = of.face->glyph;
  glyph.ok = true;
  glyph.advance = Advance(of);
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.buffer && bitmap.width > 0 && bitmap.rows > 0) {
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.coverage.resize(static_cast<size_t>(bitmap.width) * bitmap.rows);
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const unsigned char* src = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
      std::copy(src, src + bitmap.width, glyph.coverage.begin() + static_cast<long>(row) * bitmap.width);
    }
  }
  return glyph;
}

// The face's glyph for a character at a pen phase: the stored one, else rendered now and
// stored when it fits, else rendered into `spare`. A glyph FreeType failed on is not stored,
// so that a passing failure (memory) is not remembered. The caller holds the face's lock.
const Glyph* GlyphAt(const OpenFace& of, unsigned char c, unsigned phase, Glyph* spare) {
  const uint32_t key = GlyphCache::Key(c, phase);
  if (const Glyph* kept = of.glyphs.Find(key)) return kept;
  *spare = MakeGlyph(of, c, phase);
  if (spare->ok && of.glyphs.Fits(*spare, glyphCacheLimit.load(std::memory_order_relaxed))) {
    return of.glyphs.Add(key, std::move(*spare));
  }
  return spare;
}

// Starts the face's glyphs afresh once they outgrew the limit (before a draw takes any).
void TrimGlyphs(const OpenFace& of) {
  if (of.glyphs.Bytes() > glyphCacheLimit.load(std::memory_order_relaxed)) of.glyphs.Clear();
}

// Splits at '\n', "\r\n" and '\r'; an empty text gives no lines.
std::vector<std::string> SplitLines(const char* text) {
  std::vector<std::string> lines;
  if (!text || !*text) return lines;
  std::string line;
  for (const char* p = text; *p; ++p) {
    if (*p == '\r' || *p == '\n') {
      if (*p == '\r' && p[1] == '\n') ++p;
      lines.push_back(line);
      line.clear();
    } else {
      line += *p;
    }
  }
  lines.push_back(line);
  return lines;
}

// Pen advance of a line in 26.6 pixels. The caller holds the face's lock.
long LineAdvance(const OpenFace& of, const std::string& line) {
  long pen = 0;
  Glyph spare;
  for (unsigned char c : line) pen += GlyphAt(of, c, 0, &spare)->advance;
  return pen;
}

// Composites a glyph's coverage with its top-left pixel at (x0, y0), clipped to the canvas.
void BlitCoverage(const Canvas& canvas, const Glyph& glyph, long x0, long y0, uint32_t colour) {
  const long firstCol = std::max(0L, -x0), endCol = std::min<long>(glyph.width, canvas.width - x0);
  const long firstRow = std::max(0L, -y0), endRow = std::min<long>(glyph.height, canvas.height - y0);
  if (firstCol >= endCol || firstRow >= endRow) return;
  for (long row = firstRow; row < endRow; ++row) {
    const uint8_t* src = glyph.coverage.data() + row * glyph.width + firstCol;
    uint32_t* dst = canvas.pixels + (y0 + row) * canvas.rowPixels + x0 + firstCol;
    CompositeRow(dst, src, static_cast<int>(endCol - firstCol), colour);
  }
}

}  // namespace

const OpenFace* FindFace(const Font& font) {
  Library& library = Library::Shared();
  std::lock_guard<std::mutex> hold(library.Lock());
  return library.Find(font);
}

bool Draw(const Canvas& canvas, const Font& font, const Placement& place, uint32_t colour,
          const char* text) {
  if (!text || !*text) return true;
  return Draw(canvas, FindFace(font), place, colour, text);
}

bool Draw(const Canvas& canvas, const OpenFace* of, const Placement& place, uint32_t colour,
          const char* text) {
  if (!canvas.pixels || canvas.width <= 0 || canvas.height <= 0 ||
      std::abs(canvas.rowPixels) < canvas.width) {
    return false;
  }
  const std::vector<std::string> lines = SplitLines(text);
  if (lines.empty()) return true;
  if (!of) return false;

  std::lock_guard<std::mutex> hold(of->lock);
  TrimGlyphs(*of);
  Glyph spare;
  const int boxWidth = place.right - place.left;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const int width = static_cast<int>((LineAdvance(*of, line) + 32) >> 6);
    int x = place.left;
    if (place.alignment == kAlignCentre) {
      x = place.left + (boxWidth - width) / 2;
    } else if (place.alignment == kAlignRight) {
      x = place.right - width;
    }
    const int baseline = place.top + static_cast<int>(i) * of->cell + of->ascent;
    long pen = 0;  // 26.6
    for (unsigned char c : line) {
      const Glyph& glyph = *GlyphAt(*of, c, static_cast<unsigned>(pen & 63), &spare);
      if (!glyph.ok) continue;
      BlitCoverage(canvas, glyph, x + (pen >> 6) + glyph.left, long(baseline) - glyph.top, colour);
      pen += glyph.advance;
    }
  }
  return true;
}

bool Measure(const Font& font, const char* text, int* width, int* height) {
  const OpenFace* of = FindFace(font);
  if (!of) return false;
  const std::vector<std::string> lines = SplitLines(text);
  std::lock_guard<std::mutex> hold(of->lock);
  TrimGlyphs(*of);
  long widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, LineAdvance(*of, line));
  if (width) *width = static_cast<int>((widest + 32) >> 6);
  if (height) *height = static_cast<int>(lines.size()) * of->cell;
  return true;
}

std::string ResolvedFile(const Font& font) {
  const OpenFace* of = FindFace(font);
  return of ? of->file : std::string();
}

void SetGlyphCacheLimit(size_t bytes) { glyphCacheLimit.store(bytes, std::memory_order_relaxed); }

size_t GlyphCacheBytes(const OpenFace* face) {
  if (!face) return 0;
  std::lock_guard<std::mutex> hold(face->lock);
  return face->glyphs.Bytes();
}

}  // namespace FreeTypeText
