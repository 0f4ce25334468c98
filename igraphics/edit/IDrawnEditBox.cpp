#include "IDrawnEditBox.h"

#include "IGraphicsLice.h"
#include "ITextRenderer.h"
#include "ITextStyle.h"

namespace {
const IRgba kBoxFill(255, 255, 255, 255);
const IRgba kBoxFrame(255, 40, 44, 48);
const IRgba kTextColour(255, 0, 0, 0);
const IRgba kSelectionFill(255, 51, 102, 204);
const IRgba kSelectionText(255, 255, 255, 255);
const IBlend kOpaque(kBlendCopy, 1.0f);

// Width of |text| in the box's font, estimated when the renderer cannot measure.
int32_t TextWidth(ITextRenderer* renderer, const ITextStyle& style, const std::string& text)
{
  int32_t width = 0;
  if (renderer && renderer->MeasureText(style, text.c_str(), &width)) return width;
  return int32_t(text.size()) * 7;
}

void Frame(IGraphicsLice& g, const IBounds& r)
{
  g.HorizontalLine(kBoxFrame, r.top, r.left, r.right - 1);
  g.HorizontalLine(kBoxFrame, r.bottom - 1, r.left, r.right - 1);
  g.VerticalLine(kBoxFrame, r.left, r.top, r.bottom - 1);
  g.VerticalLine(kBoxFrame, r.right - 1, r.top, r.bottom - 1);
}
}  // namespace

IDrawnEditBox::IDrawnEditBox(const IBounds& rect, const char* text, int32_t maxChars)
  : mIsList(false), mRect(rect), mMaxLength(maxChars > 1 ? size_t(maxChars - 1) : 0)
{
  SetText(text);
}

IDrawnEditBox::IDrawnEditBox(const IBounds& rect, const std::vector<std::string>& items, int32_t selected)
  : mIsList(true), mRect(rect), mItems(items),
    mSelected(selected >= 0 && size_t(selected) < items.size() ? selected : -1)
{
}

std::string IDrawnEditBox::Value() const
{
  if (!mIsList) return mText;
  return mSelected >= 0 ? mItems[size_t(mSelected)] : std::string();
}

void IDrawnEditBox::SetText(const char* text)
{
  mText = text ? text : "";
  if (mText.size() > mMaxLength) mText.resize(mMaxLength);
  mCaret = mText.size();
}

IDrawnEditBox::KeyResult IDrawnEditBox::Key(const IKeyPress& key)
{
  if (key.code == kKeyReturn) return KeyResult::kCommit;
  if (key.code == kKeyEscape) return KeyResult::kCancel;
  if (mIsList)
  {
    const int32_t last = int32_t(mItems.size()) - 1;
    if (key.code == kKeyUp && mSelected > 0) --mSelected;
    else if (key.code == kKeyDown && mSelected < last) ++mSelected;
    else if (key.code == kKeyHome && last >= 0) mSelected = 0;
    else if (key.code == kKeyEnd && last >= 0) mSelected = last;
    else return KeyResult::kIgnored;
    return KeyResult::kChanged;
  }
  switch (key.code)
  {
    case kKeyLeft:
      if (mCaret > 0) --mCaret;
      return KeyResult::kChanged;
    case kKeyRight:
      if (mCaret < mText.size()) ++mCaret;
      return KeyResult::kChanged;
    case kKeyHome: mCaret = 0; return KeyResult::kChanged;
    case kKeyEnd: mCaret = mText.size(); return KeyResult::kChanged;
    case kKeyBackspace:
      if (mCaret > 0) mText.erase(--mCaret, 1);
      return KeyResult::kChanged;
    case kKeyDelete:
      if (mCaret < mText.size()) mText.erase(mCaret, 1);
      return KeyResult::kChanged;
    default: break;
  }
  const unsigned char c = static_cast<unsigned char>(key.character);
  if (c < 0x20 || c >= 0x7F) return KeyResult::kIgnored;
  // A full box takes no more characters, but the key was still meant for it.
  if (mText.size() < mMaxLength) mText.insert(mCaret++, 1, char(c));
  return KeyResult::kChanged;
}

bool IDrawnEditBox::Press(int32_t x, int32_t y)
{
  if (!mIsList) return false;
  (void)x;
  const int32_t row = (y - mRect.top - 1) / kRowHeight;
  if (y - mRect.top - 1 < 0 || row >= int32_t(mItems.size())) return false;
  mSelected = row;
  return true;
}

void IDrawnEditBox::Paint(IGraphicsLice& g, ITextRenderer* text, bool focused) const
{
  g.FillBounds(kBoxFill, mRect, &kOpaque);
  Frame(g, mRect);
  ITextStyle style(12, &kTextColour, "Arial", kTextNormal, mIsList ? kAlignLeft : kAlignCentre, 0);
  if (mIsList)
  {
    for (size_t i = 0; i < mItems.size(); ++i)
    {
      const int32_t top = mRect.top + 1 + int32_t(i) * kRowHeight;
      const IBounds row(mRect.left + 1, top, mRect.right - 1, top + kRowHeight);
      const bool marked = int32_t(i) == mSelected;
      if (marked) g.FillBounds(kSelectionFill, row, &kOpaque);
      style.mColour = marked ? kSelectionText : kTextColour;
      g.RenderText(style, mItems[i].c_str(), IBounds(row.left + kTextInset, row.top + 2, row.right - kTextInset, row.bottom));
    }
    return;
  }
  const int32_t textTop = mRect.top + (mRect.Height() - 12) / 2;
  g.RenderText(style, mText.c_str(), IBounds(mRect.left, textTop, mRect.right, textTop + 12));
  if (focused)
  {
    // The caret sits after the characters before it, in the centred line.
    const int32_t whole = TextWidth(text, style, mText);
    const int32_t before = TextWidth(text, style, mText.substr(0, mCaret));
    const int32_t x = mRect.left + (mRect.Width() - whole) / 2 + before;
    g.VerticalLine(kTextColour, x, mRect.top + 2, mRect.bottom - 3);
  }
}
