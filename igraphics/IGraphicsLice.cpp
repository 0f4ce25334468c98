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
#include "resample.h"


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
  delete mScaledScratch;
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
  mHasBackdrop = false;
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
  mHasBackdrop = true;
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
  const IRasterBlend rb = RasterBlendFor(blend);
  if (mScale == 1.0)
  {
    const IBounds clip = dest.Intersection(mDrawArea);
    if (clip.IsEmpty()) return true;
    srcX += clip.left - dest.left;
    srcY += clip.top - dest.top;
    LICE::DrawImage(mDrawBitmap, strip.bitmap, clip.left, clip.top, srcX, srcY, clip.Width(), clip.Height(),
                   rb.opacity, rb.mode);
    return true;
  }
  // The source position by frame: frames of the scaled strip need not be s times apart
  // to the pixel, and a blit never reaches into the next frame.
  const int32_t frameHeight = strip.FrameHeight();
  const int32_t frame = frameHeight > 0 && srcY > 0 ? srcY / frameHeight : 0;
  const ScaledStrip scaled = StripAtScale(strip, frame);
  if (!scaled.bitmap) return true;
  const int32_t frameTop = frame * scaled.frameHeight;
  const IBounds device = ToDevice(dest);
  const IBounds clip = device.Intersection(ToDevice(mDrawArea));
  if (clip.IsEmpty()) return true;
  const int32_t x = ToDevice(srcX) + clip.left - device.left;
  const int32_t y = frameTop + ToDevice(srcY - frame * frameHeight) + clip.top - device.top;
  const int32_t height = std::min(clip.Height(), frameTop + scaled.frameHeight - y);
  if (height <= 0) return true;
  LICE::DrawImage(mDrawBitmap, scaled.bitmap, clip.left, clip.top, x, y, clip.Width(), height, rb.opacity,
                 rb.mode);
  return true;
}

bool IGraphicsLice::BlitImageRotated(const IBitmapStrip& strip, int32_t centreX, int32_t centreY, double angle,
                                     int32_t pivotOffsetY, const IBlend* blend)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  const ScaledStrip scaled = StripAtScale(strip);
  if (!scaled.bitmap) return true;
  const int32_t w = scaled.width, h = scaled.bitmap->Height();
  LICE::DrawImageRotated(mDrawBitmap, scaled.bitmap, ToDevice(centreX) - w / 2, ToDevice(centreY) - h / 2, w, h,
                        0.0f, 0.0f, float(w), float(h), float(angle), false, rb.opacity, rb.mode | kRasterBilinear,
                        0.0f, ToDevice(float(pivotOffsetY)));
  return true;
}

bool IGraphicsLice::BlitRotatedMasked(const IBitmapStrip& base, const IBitmapStrip& mask, const IBitmapStrip& top,
                                      int32_t x, int32_t y, double degrees, const IBlend* blend)
{
  const ScaledStrip scaledBase = StripAtScale(base), scaledMask = StripAtScale(mask), scaledTop = StripAtScale(top);
  if (!scaledBase.bitmap || !scaledMask.bitmap || !scaledTop.bitmap) return true;
  const float angle = float(degrees * 0.017453292519943295);
  const int32_t w = scaledBase.width, h = scaledBase.bitmap->Height();
  const float centreOffsetX = (w & 1) ? -0.5f : 0.0f;
  if (!mScratchBitmap) mScratchBitmap = new LICE_MemBitmap(0, 0, 4);
  LICE::CopyImage(mScratchBitmap, scaledBase.bitmap);
  LICE::MaskArea(mScratchBitmap, 0, 0, w, h, 0x00FFFFFFu, 0u);
  LICE::DrawImageRotated(mScratchBitmap, scaledMask.bitmap, 0, 0, w, h, 0.0f, 0.0f, float(w), float(h), angle, true,
                        1.0f, kRasterAdd | kRasterUseSourceAlpha | kRasterBilinear, centreOffsetX, 0.0f);
  LICE::DrawImageRotated(mScratchBitmap, scaledTop.bitmap, 0, 0, w, h, 0.0f, 0.0f, float(w), float(h), angle, true,
                        1.0f, kRasterCopy | kRasterUseSourceAlpha | kRasterBilinear, centreOffsetX, 0.0f);
  const int32_t deviceX = ToDevice(x), deviceY = ToDevice(y);
  const IBounds clip = IBounds(deviceX, deviceY, deviceX + w, deviceY + h).Intersection(ToDevice(mDrawArea));
  if (clip.IsEmpty()) return true;
  const IRasterBlend rb = RasterBlendFor(blend);
  LICE::DrawImage(mDrawBitmap, mScratchBitmap, clip.left, clip.top, clip.left - deviceX, clip.top - deviceY,
                 clip.Width(), clip.Height(), rb.opacity, rb.mode);
  return true;
}

bool IGraphicsLice::PlotPoint(const IRgba& colour, float x, float y, const IBlend* blend, bool)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  const int32_t px = int32_t(x + 0.5f), py = int32_t(y + 0.5f);
  if (mScale == 1.0)
  {
    LICE::BlendPixel(mDrawBitmap, px, py, colour.Word(), rb.opacity, rb.mode);
    return true;
  }
  // A panel pixel covers s x s device pixels.
  const IBounds d = ToDevice(IBounds(px, py, px + 1, py + 1));
  LICE::FillArea(mDrawBitmap, d.left, d.top, d.Width(), d.Height(), colour.Word(), rb.opacity,
                rb.mode | LICE::kSourceAlpha);
  return true;
}

bool IGraphicsLice::WritePixel(const IRgba& colour, int32_t x, int32_t y)
{
  // Stored straight into the surface; points outside the editor are ignored
  // rather than written past the pixels.
  uint32_t* pixels = SurfacePixels();
  if (!pixels) return true;
  const IBounds d = ToDevice(IBounds(x, y, x + 1, y + 1));
  const int32_t stride = mDrawBitmap->RowStride();
  for (int32_t dy = d.top; dy < d.bottom; ++dy)
    for (int32_t dx = d.left; dx < d.right; ++dx)
      if (dx >= 0 && dy >= 0 && dx < mDrawBitmap->Width() && dy < mDrawBitmap->Height())
        pixels[dx + dy * stride] = colour.Word();
  return true;
}

void IGraphicsLice::StorePixels(const IRgba& colour, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  // Panel pixels left .. right x top .. bottom (inclusive), held to the surface, stored
  // as device pixels.
  uint32_t* pixels = SurfacePixels();
  int32_t width = 0, height = 0;
  if (!pixels || !SurfaceLimits(width, height)) return;
  const int32_t x1 = Clamp(ToDevice(left), 0, width - 1), x2 = Clamp(ToDevice(right + 1) - 1, 0, width - 1);
  const int32_t y1 = Clamp(ToDevice(top), 0, height - 1), y2 = Clamp(ToDevice(bottom + 1) - 1, 0, height - 1);
  const int32_t stride = mDrawBitmap->RowStride();
  const uint32_t word = colour.Word();
  for (int32_t y = y1; y <= y2; ++y)
    for (int32_t x = x1; x <= x2; ++x) pixels[x + y * stride] = word;
}

bool IGraphicsLice::VerticalLine(const IRgba& colour, int32_t x, int32_t y1, int32_t y2)
{
  StorePixels(colour, x, y1, x, y2);
  return true;
}

bool IGraphicsLice::HorizontalLine(const IRgba& colour, int32_t y, int32_t x1, int32_t x2)
{
  StorePixels(colour, x1, y, x2, y);
  return true;
}

bool IGraphicsLice::FillBounds(const IRgba& colour, const IBounds& rect, const IBlend* blend)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  const IBounds d = ToDevice(rect);
  LICE::FillArea(mDrawBitmap, d.left, d.top, d.Width(), d.Height(), colour.Word(), rb.opacity, rb.mode);
  return true;
}

IRgba IGraphicsLice::ReadPixel(int32_t x, int32_t y)
{
  return IRgba::FromWord(LICE::FetchPixel(mDrawBitmap, ToDevice(x), ToDevice(y)));
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
  ArtworkSource& source = mArtwork[bitmap];
  if (source.resourceId < 0)
  {
    source.resourceId = resourceId;
    source.name = name ? name : "";
  }
  return IBitmapStrip(bitmap, bitmap->Width(), bitmap->Height(), frameCount);
}

void IGraphicsLice::RetainImage(const IBitmapStrip& strip) { IImageCache::Shared().Insert(strip.bitmap, -1); }

void IGraphicsLice::ReleaseImage(const IBitmapStrip& strip)
{
  // Nothing may point at the bitmap once it is gone: a new one could come at its address.
  mArtwork.erase(strip.bitmap);
  IImageCache::Shared().Remove(strip.bitmap);
}

std::string IGraphicsLice::DoubleSizeName(const char* name)
{
  std::string result = name ? name : "";
  const size_t slash = result.find_last_of("\\/");
  const size_t dot = result.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && dot > 0 && (slash == std::string::npos || dot > slash + 1);
  result.insert(hasExtension ? dot : result.size(), "@2x");
  return result;
}

LICE_IBitmap* IGraphicsLice::DoubleSizeArtwork(ArtworkSource& source, const IBitmapStrip& strip)
{
  if (source.lookedUp) return source.doubleSize;
  source.lookedUp = true;
  const int32_t id = source.resourceId + kDoubleSizeIdOffset;
  IImageCache& cache = IImageCache::Shared();
  LICE_IBitmap* bitmap = cache.Find(id);
  if (!bitmap)
  {
    // Artwork without a counterpart is resampled from its 1x picture: not finding one is normal.
    const std::string name = DoubleSizeName(source.name.c_str());
    bitmap = DeferredImageResource(id, name.c_str());
    if (!bitmap) bitmap = LoadImageResource(id, name.c_str());
    if (!bitmap) return nullptr;
    cache.Insert(bitmap, id);
  }
  if (bitmap->Width() != 2 * strip.width || bitmap->Height() != 2 * strip.height)
  {
    std::fprintf(stderr, "IGraphicsLice: %s is %d x %d, not twice %d x %d; it is not used\n",
                 DoubleSizeName(source.name.c_str()).c_str(), bitmap->Width(), bitmap->Height(), int(strip.width),
                 int(strip.height));
    return nullptr;
  }
  source.doubleSize = bitmap;
  return bitmap;
}

IGraphicsLice::ScaledStrip IGraphicsLice::StripAtScale(const IBitmapStrip& strip, int32_t frame)
{
  if (!strip.bitmap) return ScaledStrip();
  const int32_t frameHeight = strip.FrameHeight();
  if (mScale == 1.0) return ScaledStrip{strip.bitmap, strip.width, frameHeight};
  const LICE_IBitmap* from = strip.bitmap;
  auto found = mArtwork.find(strip.bitmap);
  if (found != mArtwork.end())
  {
    if (LICE_IBitmap* doubleSize = DoubleSizeArtwork(found->second, strip))
    {
      if (mScale == 2.0) return ScaledStrip{doubleSize, 2 * strip.width, 2 * frameHeight};
      from = doubleSize;
    }
  }
  const int32_t frames = strip.frames > 1 ? strip.frames : 1;
  const int32_t width = DeviceExtent(strip.width), height = DeviceExtent(frameHeight);
  // Shared by every editor of the module: a second instance resamples nothing.
  const IImageCache::ScaledPixels shared =
    IImageCache::Shared().ScaledFrame(strip.bitmap, from, frames, width, height, mScale, frame);
  if (shared.bitmap) return ScaledStrip{shared.bitmap, shared.width, shared.frameHeight};

  // An image its owner keeps outside the cache: resampled for this one draw.
  if (!mScaledScratch) mScaledScratch = new LICE_MemBitmap(0, 0, 4);
  mScaledScratch->SetSize(width, height * frames);
  const int32_t sourceFrameHeight = from->Height() / frames;
  for (int32_t k = frame < 0 ? 0 : frame; k < frames && (frame < 0 || k == frame); ++k)
    LICE::ResampleImage(mScaledScratch, 0, k * height, width, height, from,
                        LICE::Rect{0, k * sourceFrameHeight, from->Width(), (k + 1) * sourceFrameHeight});
  return ScaledStrip{mScaledScratch, width, height};
}

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
