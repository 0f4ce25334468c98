#pragma once
// The in-place edit box and list that the toolkit draws itself inside the editor window,
// for window systems without native ones. Holds the text, caret and list selection,
// answers what a key or click means, and paints itself into the editor's bitmap. The
// editor window keeps the edit states (focus, commit and cancel on the next tick).
// GUI thread only.

#include <cstdint>
#include <string>
#include <vector>

#include "IGraphicsTypes.h"

class IGraphicsLice;
class ITextRenderer;

class IDrawnEditBox
{
public:
  static constexpr int32_t kRowHeight = 16;
  static constexpr int32_t kTextInset = 3;

  enum class KeyResult
  {
    kIgnored,  // the box has no use for the key
    kChanged,  // text, caret or selection moved: repaint the box
    kCommit,   // Return
    kCancel,   // Escape
  };

  // An edit box at |rect| holding |text| (at most |maxChars| - 1 characters), caret at its end.
  IDrawnEditBox(const IBounds& rect, const char* text, int32_t maxChars);
  // A list of |items| at |rect|, one row each; |selected| marks a row (-1 none).
  IDrawnEditBox(const IBounds& rect, const std::vector<std::string>& items, int32_t selected);

  bool IsList() const { return mIsList; }
  const IBounds& Bounds() const { return mRect; }
  const std::string& Text() const { return mText; }
  size_t Caret() const { return mCaret; }
  const std::vector<std::string>& Items() const { return mItems; }
  int32_t Selected() const { return mSelected; }
  // The text to commit: the typed text, or the selected entry (empty without one).
  std::string Value() const;

  // Replaces the text; the caret goes to its end.
  void SetText(const char* text);
  KeyResult Key(const IKeyPress& key);
  // A press at (x, y) inside the box: a list selects the row there and answers true (the
  // choice is made); an edit box answers false.
  bool Press(int32_t x, int32_t y);

  // Paints the box into |graphics|' bitmap; the caret shows while |focused|.
  void Paint(IGraphicsLice& graphics, ITextRenderer* text, bool focused) const;

private:
  bool mIsList;
  IBounds mRect;
  std::string mText;
  size_t mCaret = 0;
  size_t mMaxLength = 0;
  std::vector<std::string> mItems;
  int32_t mSelected = -1;
};
