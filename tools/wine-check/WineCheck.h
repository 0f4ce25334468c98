// Shared by the Windows check programs run under Wine: the check log, a message pump
// that waits for the editor's ticks, a top-level window to be the host's parent, and
// the reading back of a window's pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace winecheck {

inline int& Failures()
{
  static int failures = 0;
  return failures;
}

inline bool Check(bool ok, const std::string& what)
{
  std::printf("%s: %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) ++Failures();
  return ok;
}

// Dispatches this thread's messages for |ms| milliseconds (the editor ticks every 33).
inline void Pump(DWORD ms)
{
  const DWORD start = GetTickCount();
  do
  {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(2);
  } while (GetTickCount() - start < ms);
}

// Dispatches messages until |done| answers true or |timeoutMs| passes; answers |done|.
template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs = 3000)
{
  const DWORD start = GetTickCount();
  while (!done())
  {
    if (GetTickCount() - start > timeoutMs) return false;
    Pump(5);
  }
  return true;
}

// A visible top-level window that plays the host's editor frame.
inline HWND MakeParentWindow(const char* title, int x, int y)
{
  static bool registered = false;
  if (!registered)
  {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "WineCheckHostFrame";
    registered = RegisterClassA(&wc) != 0;
  }
  HWND window = CreateWindowExA(0, "WineCheckHostFrame", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                                x, y, 420, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  Pump(50);
  return window;
}

// The editor child window of |parent|, by the editor's window class.
inline HWND EditorChild(HWND parent) { return FindWindowExA(parent, nullptr, "IPlugWndClass", nullptr); }

inline SIZE ClientSize(HWND window)
{
  RECT r = {};
  GetClientRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// The window's client pixels as 0xRRGGBB words, row by row (read back from the screen).
inline std::vector<std::uint32_t> ReadPixels(HWND window, int width, int height)
{
  std::vector<std::uint32_t> pixels;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits)
  {
    HGDIOBJ old = SelectObject(memory, dib);
    if (BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY))
    {
      GdiFlush();
      const std::uint32_t* words = static_cast<const std::uint32_t*>(bits);
      pixels.reserve(size_t(width) * height);
      for (int i = 0; i < width * height; ++i) pixels.push_back(words[i] & 0xFFFFFFu);
    }
    SelectObject(memory, old);
    DeleteObject(dib);
  }
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return pixels;
}

// Writes 0xRRGGBB pixels as a 24-bit BMP (for looking at a failed comparison).
inline bool WriteBmp(const char* path, const std::vector<std::uint32_t>& pixels, int width, int height)
{
  if (pixels.size() != size_t(width) * height) return false;
  const int rowBytes = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + DWORD(rowBytes) * height;
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;  // bottom row first
  header.biPlanes = 1;
  header.biBitCount = 24;
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  std::fwrite(&file, sizeof(file), 1, f);
  std::fwrite(&header, sizeof(header), 1, f);
  std::vector<unsigned char> row(size_t(rowBytes), 0);
  for (int y = height - 1; y >= 0; --y)
  {
    for (int x = 0; x < width; ++x)
    {
      const std::uint32_t p = pixels[size_t(y) * width + x];
      row[size_t(x) * 3] = p & 0xFF;
      row[size_t(x) * 3 + 1] = (p >> 8) & 0xFF;
      row[size_t(x) * 3 + 2] = (p >> 16) & 0xFF;
    }
    std::fwrite(row.data(), 1, row.size(), f);
  }
  return std::fclose(f) == 0;
}

}  // namespace winecheck
