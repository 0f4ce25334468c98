#include "ITextStyle.h"

#include <atomic>
#include <cstring>

#include "ITextRenderer.h"

namespace {
std::atomic<ITextRenderer*> gTextRenderer{nullptr};
const IRgba kDefaultTextColour(255, 0, 0, 0);
}  // namespace

void SetTextRenderer(ITextRenderer* renderer) { gTextRenderer.store(renderer); }
ITextRenderer* GetTextRenderer() { return gTextRenderer.load(); }

ITextStyle::ITextStyle(int32_t size, const IRgba* colour, const char* face, int32_t style, int32_t alignment,
                       int32_t orientation)
  : mSize(size), mColour(colour ? *colour : kDefaultTextColour), mStyle(style), mAlignment(alignment),
    mOrientation(orientation)
{
  SetFace(face);
  MakeFont();
}

ITextStyle::ITextStyle(const ITextStyle& other)
{
  CopySettings(other);
  MakeFont();
}

ITextStyle& ITextStyle::operator=(const ITextStyle& other)
{
  if (this != &other)
  {
    CopySettings(other);
    MakeFont();
  }
  return *this;
}

ITextStyle::~ITextStyle() { ReleaseFont(); }

void ITextStyle::SetFace(const char* face)
{
  // At most 31 characters are kept so the name stays terminated.
  const char* source = (face && *face) ? face : "Arial";
  std::strncpy(mFace, source, kFaceBytes - 1);
  mFace[kFaceBytes - 1] = '\0';
}

void ITextStyle::CopySettings(const ITextStyle& other)
{
  std::memcpy(mFace, other.mFace, kFaceBytes);
  mSize = other.mSize;
  mColour = other.mColour;
  mStyle = other.mStyle;
  mAlignment = other.mAlignment;
  mOrientation = other.mOrientation;
  mDeviceScale = other.mDeviceScale;
}

const ITextStyle& ITextStyle::AtScale(double scale) const
{
  if (scale == mDeviceScale) return *this;
  if (!mScaled || mScaled->mDeviceScale != scale)
  {
    delete mScaled;
    mScaled = new ITextStyle(*this);
    mScaled->mDeviceScale = scale;
    mScaled->MakeFont();
  }
  return *mScaled;
}

void ITextStyle::MakeFont()
{
  ReleaseFont();
  if (ITextRenderer* renderer = GetTextRenderer()) mFont = renderer->MakeFont(*this);
}

void ITextStyle::ReleaseFont()
{
  delete mFont;
  mFont = nullptr;
  delete mScaled;
  mScaled = nullptr;
}
