#pragma once
// An image of the module's artwork whose size is known (from the file's header) but whose
// pixels are decoded only when something first reads them: an instance a host makes to scan
// or to process lays out its editor without decoding anything, and the first paint decodes.
//
// Thread rules: the first PixelData() decodes, on the thread that paints (the GUI thread);
// nothing on the audio thread reads artwork pixels, and nothing holding the plug-in's lock
// paints. The image lives in the shared image cache, so two editors may paint it from two
// threads at once: the decode runs exactly once and the other waits for its result.

#include <atomic>
#include <memory>
#include <mutex>

#include "bitmap.h"

class IDeferredImage : public LICE_IBitmap
{
public:
  // Decodes the image: a new bitmap the caller owns, or null when it cannot.
  using Decoder = LICE_IBitmap* (*)(void* module, int resourceId, LICE_IBitmap* dest);

  IDeferredImage(int width, int height, Decoder decode, void* module, int resourceId);

  // The pixels, decoded on the first call; null when the decode fails or gives another size
  // than the header said (the image then draws nothing).
  PixelWord* PixelData() const override;
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  int RowStride() const override;
  bool IsBottomUp() const override;
  // Artwork keeps its size: a resize is refused.
  bool SetSize(int, int) override { return false; }

  bool IsDecoded() const { return mDecodeDone.load(std::memory_order_acquire); }
  // How many deferred images the process has decoded so far.
  static int DecodeCount();

private:
  const LICE_IBitmap* Decoded() const;

  const int mWidth, mHeight;
  const Decoder mDecode;
  void* const mModule;
  const int mResourceId;
  mutable std::once_flag mDecodeOnce;
  mutable std::atomic<bool> mDecodeDone{false};
  mutable std::unique_ptr<LICE_IBitmap> mPixels;
};
