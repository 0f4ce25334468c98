#pragma once
// Text on Windows: GDI draws straight into the draw bitmap's DIB section, through the
// device context the bitmap keeps selected.
//
// Threads: GUI thread only (fonts are made when styles are, on the thread that builds the
// editor; text is drawn while painting).

class ITextRenderer;

// The process's GDI text renderer (lives as long as the process).
ITextRenderer* Win32TextRenderer();
