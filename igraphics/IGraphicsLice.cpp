#include "IGraphicsLice.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "IBitmapControls.h"
#include "IBlendModes.h"
#include "IControl.h"
#include "IEditorDelegate.h"
#include "IParam.h"
#include "ImageCache.h"
#include "lice.h"


namespace {
int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

// A new image for a copy, cleared to transparent black so that pixels the copy
// does not reach (outside the source) hold a defined value.
LICE_MemBitmap* NewClearBitmap(int32_t width, int32_t height)
{
  auto* bitmap = new LICE_MemBitmap(width, height, 4);
  LICE::FillArea(bitmap, 0, 0, width, height, 0u, 1.0f, LICE::kOpCopy);
  return bitmap;
}
}  // namespace

bool IGraphicsLice::SurfaceLimits(int32_t& width, int32_t& height) const
{
  // The editor size, cut to the pixels the draw bitmap really has (it may not
  // have followed a size change yet).
  if (!mDrawBitmap || !mDrawBitmap->PixelData()) return false;
  width = std::min(EditorWidth(), mDrawBitmap->Width());
  height = std::min(EditorHeight(), mDrawBitmap->Height());
  return width > 0 && height > 0;
}

IGraphicsLice::IGraphicsLice(IEditorDelegate* plug, int32_t width, int32_t height, int32_t frameRate)
  : mPlug(plug), mWidth(width), mHeight(height), mFrameRate(frameRate > 0 ? frameRate : 24)
{
  const int count = plug ? plug->ParameterCount() : 0;
  mHostValues.Reset(count);
  mParamValues.assign(size_t(count > 0 ? count : 0), 0.0);
}

IGraphicsLice::~IGraphicsLice()
{
  delete mDrawBitmap;
  delete mScratchBitmap;
  DeleteAllControls();
}

void IGraphicsLice::DeleteAllControls()
{
  for (size_t i = mControls.size(); i-- > 0;) delete mControls[i];
  mControls.clear();
}

LICE_IBitmap* IGraphicsLice::DrawBitmap() const { return mDrawBitmap; }

IControl* IGraphicsLice::GetControl(int32_t index) const
{
  return (index >= 0 && size_t(index) < mControls.size()) ? mControls[size_t(index)] : nullptr;
}

// ---------------------------------------------------------------------------
// Surface and size

void IGraphicsLice::CreateDrawSurface()
{
  // Attaching pushes every value first, on this same thread: the controls take them now.
  ApplyHostValues();
  delete mDrawBitmap;
  delete mScratchBitmap;
  mDrawBitmap = new LICE_SysBitmap(EditorWidth(), EditorHeight());
  mScratchBitmap = new LICE_MemBitmap(0, 0, 4);
}

void IGraphicsLice::ResizeDrawSurface()
{
  if (mDrawBitmap) mDrawBitmap->SetSize(EditorWidth(), EditorHeight());
}

void IGraphicsLice::SetEditorSize(int32_t width, int32_t height)
{
  mWidth = width;
  mHeight = height;
  SetLastMouse(-1, -1);
  mCaptured = -1;
  DeleteAllControls();
  if (mPlug) mPlug->ResizeEditorRect(EditorWidth(), EditorHeight());
}

// ---------------------------------------------------------------------------
// Scale

double IGraphicsLice::UsableScale(double scale)
{
  if (!(scale > 0.0)) return 0.0;  // NaN, zero, negative
  return scale < 1.0 ? 1.0 : (scale > 3.0 ? 3.0 : scale);
}

void IGraphicsLice::UpdateScale(bool ownReason)
{
  double scale = 1.0;
  if (mUserScale > 0.0) scale = mUserScale;
  else if (mHostScale > 0.0) scale = mHostScale;
  else if (mPlatformScale > 0.0) scale = mPlatformScale;
  if (scale == mScale) return;
  const int32_t oldWidth = EditorWidth(), oldHeight = EditorHeight();
  mScale = scale;
  ResizeDrawSurface();
  MarkAllDirty();
  ResizeWindow(oldWidth, oldHeight);
  if (ownReason && mPlug) mPlug->ResizeEditorRect(EditorWidth(), EditorHeight());
}

bool IGraphicsLice::SetHostScale(double scale)
{
  const double usable = UsableScale(scale);
  if (usable == 0.0) return false;
  mHostScale = usable;
  UpdateScale(false);
  return true;
}

void IGraphicsLice::SetUserScale(double scale)
{
  if (std::isnan(scale) || scale < 0.0) return;
  mUserScale = UsableScale(scale);
  UpdateScale(true);
}

void IGraphicsLice::SetPlatformScale(double scale, bool tellPlug)
{
  mPlatformScale = UsableScale(scale);
  UpdateScale(tellPlug);
}

bool IGraphicsLice::AdjustEditorSize(int& width, int& height) const
{
  if (width <= 0 || height <= 0 || mWidth <= 0 || mHeight <= 0) return false;
  // The largest panel that fits the size asked for, at a scale from 1 to 3.
  double scale = std::min(double(width) / mWidth, double(height) / mHeight);
  scale = scale < 1.0 ? 1.0 : (scale > 3.0 ? 3.0 : scale);
  width = int(std::lround(mWidth * scale));
  height = int(std::lround(mHeight * scale));
  return true;
}

bool IGraphicsLice::SetEditorSizeFromHost(int width, int height)
{
  if (width == EditorWidth() && height == EditorHeight()) return true;
  int adjustedWidth = width, adjustedHeight = height;
  if (!AdjustEditorSize(adjustedWidth, adjustedHeight)) return false;
  // The width decides: the adjusted height is the width's round(panel height * s).
  mUserScale = UsableScale(double(adjustedWidth) / mWidth);
  UpdateScale(false);
  return adjustedWidth == width && adjustedHeight == height;
}

IBounds IGraphicsLice::ToDevice(const IBounds& r) const
{
  if (mScale == 1.0) return r;
  return IBounds(ToDevice(r.left), ToDevice(r.top), ToDevice(r.right), ToDevice(r.bottom));
}

IBounds IGraphicsLice::ToPanel(const IBounds& deviceArea) const
{
  if (mScale == 1.0 || deviceArea.IsEmpty()) return deviceArea;
  return IBounds(int32_t(std::floor(deviceArea.left / mScale)), int32_t(std::floor(deviceArea.top / mScale)),
                 int32_t(std::ceil(deviceArea.right / mScale)), int32_t(std::ceil(deviceArea.bottom / mScale)));
}

uint32_t* IGraphicsLice::SurfacePixels()
{
  return mDrawBitmap ? reinterpret_cast<uint32_t*>(mDrawBitmap->PixelData()) : nullptr;
}

// ---------------------------------------------------------------------------
// Controls

int32_t IGraphicsLice::AddControl(IControl* control)
{
  if (!control) return -1;  // the list holds controls only, so no reader meets a null
  control->SetGraphics(this);
  mControls.push_back(control);
  return int32_t(mControls.size()) - 1;
}

void IGraphicsLice::AttachBackdrop(int32_t resourceId, const char* name)
{
  IBitmapStrip strip = LoadImageStrip(resourceId, name, 1);
  IControl* backdrop = new IBitmapControl(mPlug, 0, 0, -1, strip, kBlendCopy);
  backdrop->SetGraphics(this);
  mControls.insert(mControls.begin(), backdrop);
}

void IGraphicsLice::PushParameterToControls(int paramIdx, double value, bool isNormalized)
{
  if (!isNormalized)
  {
    // A parameter's range is fixed once defined, so reading it here is safe on any thread.
    IParameter* param = mPlug ? mPlug->ParameterAt(paramIdx) : nullptr;
    if (!param) return;  // a real value means nothing without its parameter
    value = param->ToNormalized(value);
  }
  mHostValues.Post(paramIdx, value);
}

void IGraphicsLice::ApplyHostValues()
{
  mHostValues.Take([this](int paramIdx, double value) {
    mParamValues[size_t(paramIdx)] = value;
    for (IControl* control : mControls)
      if (control && control->ParamIdx() == paramIdx) control->ValueFromPlugin(value);
  });
}

double IGraphicsLice::ParameterValue(int paramIdx) const
{
  return paramIdx >= 0 && size_t(paramIdx) < mParamValues.size() ? mParamValues[size_t(paramIdx)] : 0.0;
}

void IGraphicsLice::SetParameterFromGUI(int paramIdx, double normalized)
{
  if (paramIdx >= 0 && size_t(paramIdx) < mParamValues.size() && !std::isnan(normalized))
    mParamValues[size_t(paramIdx)] = normalized < 0.0 ? 0.0 : (normalized > 1.0 ? 1.0 : normalized);
  if (mPlug) mPlug->SetParameterFromGUI(paramIdx, normalized);
}

void IGraphicsLice::MarkAllDirty()
{
  for (IControl* control : mControls) control->MarkDirty(false);
}

bool IGraphicsLice::CollectDirty(IBounds& area)
{
  ApplyHostValues();
  bool any = false;
  for (IControl* control : mControls)
  {
    if (control->NeedsRedraw())
    {
      area = area.Union(control->Bounds());
      any = true;
    }
  }
  return any;
}

bool IGraphicsLice::PaintArea(const IBounds& area)
{
  ApplyHostValues();
  const size_t n = mControls.size();
  if (n == 0) return true;

  if (mStrictPainting)
  {
    mDrawArea = area;
    for (IControl* control : mControls)
    {
      if (!control->IsHidden() && area.Overlaps(control->Bounds())) control->Paint(this);
      control->MarkClean();
    }
  }
  else if (mControls[0]->NeedsRedraw())
  {
    // The background needs painting: everything is painted over it.
    mDrawArea = mControls[0]->Bounds();
    for (size_t j = 0; j < n; ++j)
    {
      IControl* control = mControls[j];
      if (j == 0 || !control->IsHidden())
      {
        control->Paint(this);
        control->MarkClean();
      }
    }
  }
  else
  {
    for (size_t i = 1; i < n; ++i)
    {
      IControl* dirty = mControls[i];
      if (!dirty->NeedsRedraw()) continue;
      mDrawArea = dirty->Bounds();
      for (size_t j = 0; j < n; ++j)
      {
        IControl* control = mControls[j];
        if (j == i || (!control->IsHidden() && control->Bounds().Overlaps(mDrawArea))) control->Paint(this);
      }
      dirty->MarkClean();
    }
  }
  return PresentRect(area);
}

// ---------------------------------------------------------------------------
// Hit testing and dispatch

int32_t IGraphicsLice::ControlAt(int32_t x, int32_t y)
{
  if (mCaptured >= 0) return mCaptured;
  for (size_t i = mControls.size(); i-- > 0;)
  {
    IControl* control = mControls[i];
    if (control->IsHidden() || control->IsDisabled()) continue;
    if (control->HitTest(x, y)) return int32_t(i);
  }
  return -1;
}

void IGraphicsLice::DispatchMouseDown(int32_t x, int32_t y, const IMouseKeys& keys)
{
  mCaptured = -1;
  SetLastMouse(-1, -1);
  const int32_t i = ControlAt(x, y);
  IControl* control = GetControl(i);
  if (!control) return;
  mCaptured = i;
  SetLastMouse(x, y);
  control->MouseDown(x, y, keys);
  // The handler may have rebuilt the layout; tell the host only about a control that still exists.
  if (GetControl(i) == control && control->ParamIdx() >= 0 && mPlug) mPlug->HostBeginEdit(control->ParamIdx());
}

void IGraphicsLice::DispatchMouseUp(int32_t x, int32_t y, const IMouseKeys& keys)
{
  const int32_t i = ControlAt(x, y);
  mCaptured = -1;
  SetLastMouse(-1, -1);
  IControl* control = GetControl(i);
  if (!control) return;
  control->MouseUp(x, y, keys);
  if (GetControl(i) == control && control->ParamIdx() >= 0 && mPlug) mPlug->HostEndEdit(control->ParamIdx());
}

void IGraphicsLice::DispatchMouseDrag(int32_t x, int32_t y, const IMouseKeys& keys)
{
  IControl* control = GetControl(mCaptured);
  if (!control) return;
  const int32_t dX = x - mLastMouseX, dY = y - mLastMouseY;
  if (dX == 0 && dY == 0) return;
  SetLastMouse(x, y);
  control->MouseDrag(x, y, dX, dY, keys);
}

bool IGraphicsLice::DispatchDoubleClick(int32_t x, int32_t y, const IMouseKeys& keys)
{
  mCaptured = -1;
  SetLastMouse(-1, -1);
  const int32_t i = ControlAt(x, y);
  IControl* control = GetControl(i);
  if (!control) return false;
  if (control->DoubleClickAsPress())
  {
    mCaptured = i;
    SetLastMouse(x, y);
    control->MouseDown(x, y, keys);
    return true;
  }
  control->DoubleClick(x, y, keys);
  return false;
}

void IGraphicsLice::DispatchWheel(int32_t x, int32_t y, const IMouseKeys& keys, int32_t steps)
{
  if (IControl* control = GetControl(ControlAt(x, y))) control->Wheel(x, y, keys, steps);
}

void IGraphicsLice::DispatchKey(int32_t x, int32_t y, int32_t keyCode)
{
  if (IControl* control = GetControl(ControlAt(x, y))) control->KeyDown(x, y, keyCode);
}

bool IGraphicsLice::DispatchMouseOver(int32_t x, int32_t y, const IMouseKeys& keys)
{
  if (!mTrackHover) return false;
  const int32_t i = ControlAt(x, y);
  if (IControl* control = GetControl(i))
  {
    SetLastMouse(x, y);
    control->MouseOver(x, y, keys);
    if (mHovered >= 0 && mHovered != i)
      if (IControl* previous = GetControl(mHovered)) previous->MouseLeave();
    mHovered = i;
  }
  return true;
}

void IGraphicsLice::DispatchMouseLeave()
{
  for (IControl* control : mControls) control->MouseLeave();
  mHovered = -1;
}

// ---------------------------------------------------------------------------
// Drawing primitives

bool IGraphicsLice::BlitStripFrame(const IBitmapStrip& strip, const IBounds& dest, int32_t frame, const IBlend* blend)
{
  int32_t srcY = 0;
  if (strip.frames > 1 && frame > 1) srcY = int32_t(double(strip.height) * (frame - 1) / strip.frames + 0.5);
  return BlitImage(strip, dest, 0, srcY, blend);
}

bool IGraphicsLice::BlitImage(const IBitmapStrip& strip, const IBounds& dest, int32_t srcX, int32_t srcY,
                              const IBlend* blend)
{
  const IBounds clip = dest.Intersection(mDrawArea);
  if (clip.IsEmpty()) return true;
  srcX += clip.left - dest.left;
  srcY += clip.top - dest.top;
  const IRasterBlend rb = RasterBlendFor(blend);
  LICE::DrawImage(mDrawBitmap, strip.bitmap, clip.left, clip.top, srcX, srcY, clip.Width(), clip.Height(),
                 rb.opacity, rb.mode);
  return true;
}

bool IGraphicsLice::BlitImageRotated(const IBitmapStrip& strip, int32_t centreX, int32_t centreY, double angle,
                                     int32_t pivotOffsetY, const IBlend* blend)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  LICE::DrawImageRotated(mDrawBitmap, strip.bitmap, centreX - strip.width / 2, centreY - strip.height / 2,
                        strip.width, strip.height, 0.0f, 0.0f, float(strip.width), float(strip.height),
                        float(angle), false, rb.opacity, rb.mode | kRasterBilinear, 0.0f, float(pivotOffsetY));
  return true;
}

bool IGraphicsLice::BlitRotatedMasked(const IBitmapStrip& base, const IBitmapStrip& mask, const IBitmapStrip& top,
                                      int32_t x, int32_t y, double degrees, const IBlend* blend)
{
  const float angle = float(degrees * 0.017453292519943295);
  const int32_t w = base.width, h = base.height;
  const float centreOffsetX = (w & 1) ? -0.5f : 0.0f;
  if (!mScratchBitmap) mScratchBitmap = new LICE_MemBitmap(0, 0, 4);
  LICE::CopyImage(mScratchBitmap, base.bitmap);
  LICE::MaskArea(mScratchBitmap, 0, 0, w, h, 0x00FFFFFFu, 0u);
  LICE::DrawImageRotated(mScratchBitmap, mask.bitmap, 0, 0, w, h, 0.0f, 0.0f, float(w), float(h), angle, true, 1.0f,
                        kRasterAdd | kRasterUseSourceAlpha | kRasterBilinear, centreOffsetX, 0.0f);
  LICE::DrawImageRotated(mScratchBitmap, top.bitmap, 0, 0, w, h, 0.0f, 0.0f, float(w), float(h), angle, true, 1.0f,
                        kRasterCopy | kRasterUseSourceAlpha | kRasterBilinear, centreOffsetX, 0.0f);
  const IBounds clip = IBounds(x, y, x + w, y + h).Intersection(mDrawArea);
  if (clip.IsEmpty()) return true;
  const IRasterBlend rb = RasterBlendFor(blend);
  LICE::DrawImage(mDrawBitmap, mScratchBitmap, clip.left, clip.top, clip.left - x, clip.top - y, clip.Width(),
                 clip.Height(), rb.opacity, rb.mode);
  return true;
}

bool IGraphicsLice::PlotPoint(const IRgba& colour, float x, float y, const IBlend* blend, bool)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  LICE::BlendPixel(mDrawBitmap, int(x + 0.5f), int(y + 0.5f), colour.Word(), rb.opacity, rb.mode);
  return true;
}

bool IGraphicsLice::WritePixel(const IRgba& colour, int32_t x, int32_t y)
{
  // Stored straight into the surface; points outside the editor are ignored
  // rather than written past the pixels.
  uint32_t* pixels = SurfacePixels();
  if (!pixels || x < 0 || y < 0 || x >= mDrawBitmap->Width() || y >= mDrawBitmap->Height()) return true;
  pixels[x + y * mDrawBitmap->RowStride()] = colour.Word();
  return true;
}

bool IGraphicsLice::VerticalLine(const IRgba& colour, int32_t x, int32_t y1, int32_t y2)
{
  uint32_t* pixels = SurfacePixels();
  int32_t width = 0, height = 0;
  if (!pixels || !SurfaceLimits(width, height)) return true;
  x = Clamp(x, 0, width - 1);
  y1 = Clamp(y1, 0, height - 1);
  y2 = Clamp(y2, 0, height - 1);
  const int32_t stride = mDrawBitmap->RowStride();
  const uint32_t word = colour.Word();
  for (int32_t y = y1; y <= y2; ++y) pixels[x + y * stride] = word;
  return true;
}

bool IGraphicsLice::HorizontalLine(const IRgba& colour, int32_t y, int32_t x1, int32_t x2)
{
  uint32_t* pixels = SurfacePixels();
  int32_t width = 0, height = 0;
  if (!pixels || !SurfaceLimits(width, height)) return true;
  y = Clamp(y, 0, height - 1);
  x1 = Clamp(x1, 0, width - 1);
  x2 = Clamp(x2, 0, width - 1);
  uint32_t* row = pixels + y * mDrawBitmap->RowStride();
  const uint32_t word = colour.Word();
  for (int32_t x = x1; x <= x2; ++x) row[x] = word;
  return true;
}

bool IGraphicsLice::FillBounds(const IRgba& colour, const IBounds& rect, const IBlend* blend)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  LICE::FillArea(mDrawBitmap, rect.left, rect.top, rect.Width(), rect.Height(), colour.Word(), rb.opacity, rb.mode);
  return true;
}

IRgba IGraphicsLice::ReadPixel(int32_t x, int32_t y)
{
  return IRgba::FromWord(LICE::FetchPixel(mDrawBitmap, x, y));
}

// ---------------------------------------------------------------------------
// Images

IBitmapStrip IGraphicsLice::LoadImageStrip(int32_t resourceId, const char* name, int32_t frameCount)
{
  IImageCache& cache = IImageCache::Shared();
  LICE_IBitmap* bitmap = cache.Find(resourceId);
  if (!bitmap)
  {
    // Laying out an editor decodes nothing where the pixels can wait for the first paint.
    bitmap = DeferredImageResource(resourceId, name);
    if (!bitmap) bitmap = LoadImageResource(resourceId, name);
    if (!bitmap)
    {
      // Missing artwork is a programming error: report it and hand out an
      // empty strip, which draws nothing, instead of caching nothing.
      std::fprintf(stderr, "IGraphicsLice: assertion failed: imgResourceFound (id %d, %s)\n", int(resourceId),
                   name ? name : "(no name)");
      return IBitmapStrip(nullptr, 0, 0, frameCount);
    }
    cache.Insert(bitmap, resourceId);
  }
  return IBitmapStrip(bitmap, bitmap->Width(), bitmap->Height(), frameCount);
}

void IGraphicsLice::RetainImage(const IBitmapStrip& strip) { IImageCache::Shared().Insert(strip.bitmap, -1); }

void IGraphicsLice::ReleaseImage(const IBitmapStrip& strip) { IImageCache::Shared().Remove(strip.bitmap); }

IBitmapStrip IGraphicsLice::ScaledCopy(const IBitmapStrip& strip, int32_t width, int32_t height)
{
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  LICE_MemBitmap* copy = NewClearBitmap(width, height);
  LICE::DrawImageScaled(copy, strip.bitmap, 0, 0, width, height, 0.0f, 0.0f, float(strip.width),
                       float(strip.height), 1.0f, kRasterCopy | kRasterBilinear);
  IBitmapStrip result(copy, width, height, strip.frames);
  RetainImage(result);
  return result;
}

IBitmapStrip IGraphicsLice::CroppedCopy(const IBitmapStrip& strip, const IBounds& rect)
{
  const int32_t width = rect.Width() > 0 ? rect.Width() : 0;
  const int32_t height = rect.Height() > 0 ? rect.Height() : 0;
  LICE_MemBitmap* copy = NewClearBitmap(width, height);
  LICE::DrawImage(copy, strip.bitmap, 0, 0, rect.left, rect.top, width, height, 1.0f, kRasterCopy);
  IBitmapStrip result(copy, width, height, strip.frames);
  RetainImage(result);
  return result;
}
