#include "text_freetype_glyphs.h"

#include <utility>

namespace FreeTypeText {

const Glyph* GlyphCache::Add(uint32_t key, Glyph&& glyph) {
  const auto found = glyphs_.find(key);
  if (found != glyphs_.end()) {
    bytes_ -= found->second.Bytes();
    glyphs_.erase(found);
  }
  bytes_ += glyph.Bytes();
  return &glyphs_.emplace(key, std::move(glyph)).first->second;
}

void GlyphCache::Clear() {
  glyphs_.clear();
  bytes_ = 0;
}

}  // namespace FreeTypeText
