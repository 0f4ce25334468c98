// Rendered glyphs kept for reuse, so that drawing a text composites stored coverage instead of
// loading and rasterising every glyph again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace FreeTypeText {

// One glyph as FreeType rendered it for a given sub-pixel pen phase.
struct Glyph {
  bool ok = false;   // FreeType loaded and rendered it; a failed glyph draws nothing, advances 0
  long advance = 0;  // pen advance in 26.6 pixels
  int left = 0;      // first coverage column, right of the pen's whole-pixel position
  int top = 0;       // first coverage row, above the baseline
  int width = 0, height = 0;
  std::vector<uint8_t> coverage;  // height rows of width bytes, 0 (none) ... 255 (full)

  // Memory the glyph takes in a cache.
  size_t Bytes() const { return sizeof(Glyph) + coverage.size(); }
};

// The glyphs of one face at one size and style, filled lazily and bounded by a byte limit.
// Not thread-safe: its owner guards it.
class GlyphCache {
 public:
  // Key for a character code drawn at a pen phase (the fraction of a pixel, 0 ... 63).
  static uint32_t Key(unsigned char code, unsigned phase) { return (uint32_t(code) << 6) | (phase & 63); }

  // The stored glyph, or null.
  const Glyph* Find(uint32_t key) const {
    const auto found = glyphs_.find(key);
    return found == glyphs_.end() ? nullptr : &found->second;
  }

  // Whether the glyph can join without the cache outgrowing `limit` bytes.
  bool Fits(const Glyph& glyph, size_t limit) const {
    return glyph.Bytes() <= limit && bytes_ <= limit - glyph.Bytes();
  }

  // Stores the glyph and answers the stored copy, which stays in place until Clear or until
  // another glyph is added under the same key.
  const Glyph* Add(uint32_t key, Glyph&& glyph);

  void Clear();

  size_t Bytes() const { return bytes_; }
  size_t Count() const { return glyphs_.size(); }

 private:
  std::unordered_map<uint32_t, Glyph> glyphs_;
  size_t bytes_ = 0;
};

}  // namespace FreeTypeText
