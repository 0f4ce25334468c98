#pragma once
// The editor's graphics object: owns the controls, paints them into an
// off-screen bitmap through the raster library, and dispatches mouse and key
// events to them. Platform-neutral; the window layer derives from it and
// supplies the window, the screen copy, text and the platform prompts.

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "IGraphics.h"
#include "IGraphicsTypes.h"
#include "IHostValues.h"

class IControl;
class IParameter;
class IEditorDelegate;
class ITextStyle;
class LICE_MemBitmap;
class LICE_SysBitmap;

class IGraphicsLice : public IGraphics
{
public:
  // plug: what the editor may ask of the plug-in it edits; not owned.
  IGraphicsLice(IEditorDelegate* plug, int32_t width, int32_t height, int32_t frameRate);
  ~IGraphicsLice() override;

  IGraphicsLice(const IGraphicsLice&) = delete;
  IGraphicsLice& operator=(const IGraphicsLice&) = delete;

  // --- virtual operations ---------------------------------------------------
  void CreateDrawSurface() override;
  // Copies |area| of the draw bitmap to the screen.
  virtual bool PresentRect(const IBounds& area) = 0;

  virtual bool BlitImage(const IBitmapStrip& strip, const IBounds& dest, int32_t srcX, int32_t srcY,
                         const IBlend* blend);
  virtual bool BlitImageRotated(const IBitmapStrip& strip, int32_t centreX, int32_t centreY, double angle,
                                int32_t pivotOffsetY, const IBlend* blend);
  virtual bool BlitRotatedMasked(const IBitmapStrip& base, const IBitmapStrip& mask, const IBitmapStrip& top,
                                 int32_t x, int32_t y, double degrees, const IBlend* blend);
  virtual bool PlotPoint(const IRgba& colour, float x, float y, const IBlend* blend, bool antialias);
  virtual bool WritePixel(const IRgba& colour, int32_t x, int32_t y);
  virtual bool StrokeLine(const IRgba& colour, float x1, float y1, float x2, float y2, const IBlend* blend,
                          bool antialias);
  virtual bool StrokeArc(const IRgba& colour, float centreX, float centreY, float radius, float startAngle,
                         float endAngle, const IBlend* blend, bool antialias);
  virtual bool StrokeCircle(const IRgba& colour, float centreX, float centreY, float radius, const IBlend* blend,
                            bool antialias);
  virtual bool FillBounds(const IRgba& colour, const IBounds& rect, const IBlend* blend);
  virtual bool RenderText(const ITextStyle& style, const char* text, const IBounds& rect) = 0;
  virtual IRgba ReadPixel(int32_t x, int32_t y);
  virtual uint32_t* SurfacePixels();
  virtual void SetEditorSize(int32_t width, int32_t height);
  virtual bool HasWindow() { return NativeWindow() != nullptr; }
  virtual void EditParameterInPlace(IControl* control, IParameter* param) = 0;
  virtual void HostDirectory(std::string& out) = 0;
  virtual void ModuleDirectory(std::string& out) = 0;
  virtual void AskForFile(std::string& out, int32_t action, const char* directory, const char* extensions) = 0;
  virtual bool AskForColour(IRgba& colour, const char* prompt) = 0;
  virtual bool OpenWebAddress(const char* address, const char* title, const char* confirmation,
                              const char* failure) = 0;
  virtual int32_t ReservedQuery(int32_t, int32_t) { return 0; }
  virtual void* NativeWindow() = 0;
  virtual IBitmapStrip LoadImageStrip(int32_t resourceId, const char* name, int32_t frameCount);
  virtual IBitmapStrip ScaledCopy(const IBitmapStrip& strip, int32_t width, int32_t height);
  virtual IBitmapStrip CroppedCopy(const IBitmapStrip& strip, const IBounds& rect);
  virtual void AttachBackdrop(int32_t resourceId, const char* name);
  virtual bool VerticalLine(const IRgba& colour, int32_t x, int32_t y1, int32_t y2);
  virtual bool HorizontalLine(const IRgba& colour, int32_t y, int32_t x1, int32_t x2);
  virtual void RetainImage(const IBitmapStrip& strip);
  virtual void ReleaseImage(const IBitmapStrip& strip);
  // Decodes the module's embedded image |resourceId|; null when it cannot.
  virtual LICE_IBitmap* LoadImageResource(int32_t resourceId, const char* name) = 0;
  // The module's embedded image |resourceId| with its size read and its pixels decoded at
  // the first paint (an IDeferredImage); null when it cannot be had that way, and
  // LoadImageStrip then decodes at once through LoadImageResource.
  virtual LICE_IBitmap* DeferredImageResource(int32_t, const char*) { return nullptr; }

  // --- controls, painting and dispatch --------------------------------------
  // Takes ownership; answers the new control's index (-1 for a null control).
  int32_t AddControl(IControl* control);
  // Any thread: the value waits for ApplyHostValues on the GUI thread.
  void PushParameterToControls(int paramIdx, double value, bool isNormalized) override;
  // GUI thread: hands the values the host set since the last call to the bound controls.
  // Collecting dirty controls and painting do it first.
  void ApplyHostValues();
  // GUI thread: the normalised value of a parameter as the editor knows it (the latest the
  // host set, or the editor's own gesture since); 0 for an unknown parameter.
  double ParameterValue(int paramIdx) const;
  // GUI thread: a control changed its parameter: the editor keeps the value and the
  // plug-in sets it and tells the host.
  void SetParameterFromGUI(int paramIdx, double normalized);
  void MarkAllDirty();
  // Grows |area| by the bounds of every control that needs painting (after ApplyHostValues).
  bool CollectDirty(IBounds& area);
  bool PaintArea(const IBounds& area);
  // Draws frame |frame| (counted from 1) of |strip| at |dest| (panel units, at the editor's scale).
  bool BlitStripFrame(const IBitmapStrip& strip, const IBounds& dest, int32_t frame, const IBlend* blend);
  int32_t ControlAt(int32_t x, int32_t y);

  void DispatchMouseDown(int32_t x, int32_t y, const IMouseKeys& keys);
  void DispatchMouseUp(int32_t x, int32_t y, const IMouseKeys& keys);
  void DispatchMouseDrag(int32_t x, int32_t y, const IMouseKeys& keys);
  bool DispatchDoubleClick(int32_t x, int32_t y, const IMouseKeys& keys);
  void DispatchWheel(int32_t x, int32_t y, const IMouseKeys& keys, int32_t steps);
  bool DispatchMouseOver(int32_t x, int32_t y, const IMouseKeys& keys);
  void DispatchMouseLeave();
  void DispatchKey(int32_t x, int32_t y, int32_t keyCode);

  // --- state ----------------------------------------------------------------
  IEditorDelegate* Plug() const { return mPlug; }
  int32_t Width() const { return mWidth; }
  int32_t Height() const { return mHeight; }

  // --- size and scale (see IGraphics.h) --------------------------------------
  // Controls, layout and dispatch work in panel units (Width() x Height()); the draw
  // bitmap and the window measure EditorWidth() x EditorHeight() device pixels.
  int EditorWidth() const override { return DeviceExtent(mWidth); }
  int EditorHeight() const override { return DeviceExtent(mHeight); }
  double EditorScale() const override { return mScale; }
  bool SetHostScale(double scale) override;
  bool CanResizeEditor() const override { return true; }
  bool AdjustEditorSize(int& width, int& height) const override;
  bool SetEditorSizeFromHost(int width, int height) override;
  // The user's choice of scale, 1 ... 3 (held to the range); 0 follows the host and the
  // platform again. NaN and negative values change nothing. Holds for this object's life,
  // across window openings. A change resizes the window and tells the plug-in.
  void SetUserScale(double scale);
  double UserScale() const { return mUserScale; }
  double HostScale() const { return mHostScale; }
  double PlatformScale() const { return mPlatformScale; }
  // A scale source's value as kept: held to 1 ... 3; 0 for NaN, zero, negative.
  static double UsableScale(double scale);

  // Panel units to device pixels and back. A panel coordinate v lands on device pixel
  // round(v * s), so neighbouring panel rectangles tile the device bitmap.
  int32_t ToDevice(int32_t v) const { return mScale == 1.0 ? v : int32_t(std::lround(v * mScale)); }
  float ToDevice(float v) const { return float(v * mScale); }
  IBounds ToDevice(const IBounds& r) const;
  // The device pixel's panel coordinate: floor(v / s).
  int32_t ToPanel(int32_t deviceV) const
  {
    return mScale == 1.0 ? deviceV : int32_t(std::floor(deviceV / mScale));
  }
  // The smallest panel rectangle that covers a device rectangle.
  IBounds ToPanel(const IBounds& deviceArea) const;
  int32_t FrameRate() const { return mFrameRate; }
  int32_t ControlCount() const { return int32_t(mControls.size()); }
  // The control at |index|, or null outside 0 .. count - 1.
  IControl* GetControl(int32_t index) const;
  int32_t CapturedControl() const { return mCaptured; }
  int32_t HoveredControl() const { return mHovered; }
  const IBounds& DrawArea() const { return mDrawArea; }
  // Whether control 0 is the panel's backdrop (AttachBackdrop).
  bool HasBackdrop() const { return mHasBackdrop; }
  bool TrackHover() const { return mTrackHover; }
  void SetTrackHover(bool on) { mTrackHover = on; }
  bool StrictPainting() const { return mStrictPainting; }
  void SetStrictPainting(bool on) { mStrictPainting = on; }
  LICE_IBitmap* DrawBitmap() const;

  // --- artwork at scale -------------------------------------------------------
  // The pixels of |strip| at the editor's scale: at 1 the strip's own; at 2 the artwork's
  // double-size counterpart where the module has one (resource id + kDoubleSizeIdOffset,
  // named by DoubleSizeName); otherwise resampled, frame by frame, from that counterpart
  // or else from the strip. Made at the first paint that needs it and kept per (image,
  // scale) in the image cache, for every editor; a resampled frame is made when |frame|
  // (counted from 0; -1 all of them) is first drawn. Null for a strip without pixels.
  struct ScaledStrip
  {
    const LICE_IBitmap* bitmap = nullptr;
    int32_t width = 0, frameHeight = 0;
  };
  ScaledStrip StripAtScale(const IBitmapStrip& strip, int32_t frame = -1);
  static constexpr int32_t kDoubleSizeIdOffset = 100;
  // "img/knob.png" -> "img/knob@2x.png": "@2x" before the extension (at the end without one).
  static std::string DoubleSizeName(const char* name);

protected:
  void SetLastMouse(int32_t x, int32_t y)
  {
    mLastMouseX = x;
    mLastMouseY = y;
  }
  void DeleteAllControls();
  // The area that direct pixel stores may touch; false without pixels.
  bool SurfaceLimits(int32_t& width, int32_t& height) const;
  // Stores |colour| into panel pixels left .. right x top .. bottom (inclusive) as the
  // device pixels they cover, held to the surface.
  void StorePixels(const IRgba& colour, int32_t left, int32_t top, int32_t right, int32_t bottom);
  // Resizes the draw bitmap (when it exists) to the editor size.
  void ResizeDrawSurface();
  // The platform's scale (0 unknown); |tellPlug| when the plug-in should hear of a new size.
  void SetPlatformScale(double scale, bool tellPlug);
  // Takes the effective scale from its sources; on a change the draw bitmap follows, every
  // control is painted again, the window is resized (ResizeWindow) and, for |ownReason|
  // (the user's or the platform's), the plug-in hears the new size.
  void UpdateScale(bool ownReason);
  // The editor's device size changed from oldWidth x oldHeight: the window follows.
  virtual void ResizeWindow(int32_t /*oldWidth*/, int32_t /*oldHeight*/) {}
  int32_t DeviceExtent(int32_t panel) const { return int32_t(std::lround(panel * mScale)); }

  std::vector<IControl*> mControls;
  IEditorDelegate* mPlug;
  IBounds mDrawArea;
  int32_t mWidth, mHeight;
  int32_t mFrameRate;
  double mScale = 1.0;          // effective: user > host > platform > 1
  double mUserScale = 0.0;      // 0: follow the host
  double mHostScale = 0.0;      // 0: the host named none
  double mPlatformScale = 0.0;  // 0: unknown
  int32_t mCaptured = -1;
  int32_t mHovered = -1;
  int32_t mLastMouseX = 0, mLastMouseY = 0;
  bool mTrackHover = false;
  bool mHasBackdrop = false;
  bool mStrictPainting = true;
  LICE_SysBitmap* mDrawBitmap = nullptr;
  LICE_MemBitmap* mScratchBitmap = nullptr;
  // Where each artwork image came from, so that its double-size counterpart can be found.
  struct ArtworkSource
  {
    int32_t resourceId = -1;
    std::string name;
    bool lookedUp = false;               // for the counterpart
    LICE_IBitmap* doubleSize = nullptr;  // owned by the image cache
  };
  LICE_IBitmap* DoubleSizeArtwork(ArtworkSource& source, const IBitmapStrip& strip);
  std::map<const LICE_IBitmap*, ArtworkSource> mArtwork;
  LICE_MemBitmap* mScaledScratch = nullptr;  // see StripAtScale
  IHostValues mHostValues;
  std::vector<double> mParamValues; // normalised, GUI thread only
};
