// A minimal Windows VST 2.4 host that checks the built Brindlow.dll the way a host
// first meets it: load the module, create an instance through VSTPluginMain, open it,
// read its flags and editor rectangle, process one block, close everything. Run under
// Wine by tools/test-windows.sh.
//
//   VstWineCheck.exe [path\to\Brindlow.dll]     (default: Brindlow.dll beside the program)
//
// Exits 0 when every check passes, 1 otherwise. Whatever the plug-in writes to stderr
// is captured, shown, and must not hold a failed assertion about a missing image.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "VstHostKit.h"

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr int kBlockFrames = 2048;
constexpr int kDefaultDelayFrames = 882;  // the default 20 ms at 44.1 kHz
constexpr VstInt32 kExpectedFlags = effFlagsHasEditor | effFlagsCanReplacing | effFlagsCanDoubleReplacing;

int gFailures = 0;

void Check(bool ok, const char* what)
{
  std::printf("%s: %s\n", ok ? "ok  " : "FAIL", what);
  if (!ok) ++gFailures;
}

VstIntPtr VSTCALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  switch (opcode)
  {
    case audioMasterVersion: return 2400;
    case audioMasterGetSampleRate: return static_cast<VstIntPtr>(kSampleRate);
    case audioMasterGetBlockSize: return kBlockFrames;
    default: return 0;
  }
}

// Sends the C runtime's stderr (shared with the plug-in through msvcrt.dll) to a
// temporary file until Stop(), which returns what was written.
class StderrCapture
{
public:
  bool Start()
  {
    char dir[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, dir) || !GetTempFileNameA(dir, "bwc", 0, mPath)) return false;
    const int file = _open(mPath, _O_WRONLY | _O_TRUNC | _O_BINARY);
    if (file < 0) return false;
    std::fflush(stderr);
    mSaved = _dup(2);
    const bool redirected = mSaved >= 0 && _dup2(file, 2) == 0;
    _close(file);
    return redirected;
  }

  std::string Stop()
  {
    std::string text;
    if (mSaved < 0) return text;
    std::fflush(stderr);
    _dup2(mSaved, 2);
    _close(mSaved);
    mSaved = -1;
    if (FILE* f = std::fopen(mPath, "rb"))
    {
      char buffer[4096];
      size_t n;
      while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
      std::fclose(f);
    }
    DeleteFileA(mPath);
    return text;
  }

private:
  char mPath[MAX_PATH] = {};
  int mSaved = -1;
};

// The test signal: no repeats, so a wrong delay cannot line up by chance.
std::vector<float> Signal(int frames, double seed)
{
  std::vector<float> s(frames);
  for (int i = 0; i < frames; ++i)
    s[i] = static_cast<float>(std::sin(0.01 * seed * (i + 1)) * 0.5 + 0.001 * ((i * 7919) % 101));
  return s;
}

// Default settings: the left input leads unchanged on the left, the right output
// carries it 20 ms later at 0 dB, and the right input is not heard.
void CheckHaasBlock(AEffect* effect)
{
  std::vector<float> left = Signal(kBlockFrames, 1.0), right = Signal(kBlockFrames, 3.0);
  std::vector<float> outLeft(kBlockFrames, 12345.0f), outRight(kBlockFrames, 12345.0f);
  float* inputs[] = {left.data(), right.data()};
  float* outputs[] = {outLeft.data(), outRight.data()};
  effect->processReplacing(effect, inputs, outputs, kBlockFrames);

  int leadMismatches = 0, lagMismatches = 0;
  for (int i = 0; i < kBlockFrames; ++i)
  {
    if (outLeft[i] != left[i]) ++leadMismatches;
    const float lagged = i < kDefaultDelayFrames ? 0.0f : left[i - kDefaultDelayFrames];
    if (outRight[i] != lagged) ++lagMismatches;
  }
  Check(leadMismatches == 0, "leading left output is the left input");
  Check(lagMismatches == 0, "lagging right output is the left input 882 frames later at 0 dB");
}

}  // namespace

int main(int argc, char** argv)
{
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const char* path = argc > 1 ? argv[1] : "Brindlow.dll";

  StderrCapture capture;
  const bool capturing = capture.Start();
  Check(capturing, "stderr captured");

  hostkit::VstModule module;
  std::string error;
  const bool loaded = module.Load(path, error);
  Check(loaded, "LoadLibrary");
  if (!loaded) std::printf("      %s\n", error.c_str());
  AEffect* effect = nullptr;
  if (loaded)
  {
    Check(module.NamedMain() != nullptr, "VSTPluginMain exported");
    Check(module.MainAlias() != nullptr, "main exported");
    if (module.NamedMain()) effect = module.MakeEffect(HostCallback, error);
  }
  Check(effect != nullptr && effect->magic == kEffectMagic, "VSTPluginMain returned an effect");

  if (effect && effect->magic == kEffectMagic)
  {
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, kSampleRate);
    effect->dispatcher(effect, effSetBlockSize, 0, kBlockFrames, nullptr, 0.0f);
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);

    char flags[64];
    std::snprintf(flags, sizeof flags, "flags 0x%x (expected 0x%x)", unsigned(effect->flags), unsigned(kExpectedFlags));
    Check(effect->flags == kExpectedFlags, flags);
    Check(effect->numInputs == 2 && effect->numOutputs == 2, "two inputs, two outputs");

    ERect* rect = nullptr;
    const VstIntPtr gotRect = effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f);
    char rectText[96];
    std::snprintf(rectText, sizeof rectText, "effEditGetRect {%d, %d, %d, %d} (expected {0, 0, 212, 366})",
                  rect ? rect->top : -1, rect ? rect->left : -1, rect ? rect->bottom : -1, rect ? rect->right : -1);
    Check(gotRect == 1 && rect && rect->top == 0 && rect->left == 0 && rect->bottom == 212 && rect->right == 366,
          rectText);

    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    CheckHaasBlock(effect);
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  }
  module.Unload();

  if (capturing)
  {
    const std::string errors = capture.Stop();
    if (!errors.empty()) std::printf("plug-in stderr:\n%s", errors.c_str());
    Check(errors.find("imgResourceFound") == std::string::npos, "no image reported missing");
  }

  std::printf("%s: %d check(s) failed\n", gFailures ? "FAILED" : "PASSED", gFailures);
  return gFailures ? 1 : 0;
}
