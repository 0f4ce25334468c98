#include "AudioFile.h"

#include "HeaderFrames.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

AudioInput::~AudioInput()
{
  if (mFile) sf_close(mFile);
}

bool AudioInput::Open(const std::string& path, std::string& error)
{
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    error = "cannot open input \"" + path + "\": " + std::strerror(errno);
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    error = "input \"" + path + "\" is a directory";
    return false;
  }
  mInfo = {};
  mFile = sf_open(path.c_str(), SFM_READ, &mInfo);
  if (!mFile) {
    error = "cannot read input \"" + path + "\": " + sf_strerror(nullptr);
    return false;
  }
  if (mInfo.samplerate <= 0) {
    error = "input \"" + path + "\" has no usable sample rate";
    return false;
  }
  mAnnouncedFrames = std::max<int64_t>(mInfo.frames, HeaderFrameCount(path));
  return true;
}

int64_t AudioInput::Read(float* interleaved, int64_t frames)
{
  return sf_readf_float(mFile, interleaved, frames);
}

int64_t AudioInput::Read(double* interleaved, int64_t frames)
{
  return sf_readf_double(mFile, interleaved, frames);
}

std::string AudioInput::LastError() const
{
  return sf_strerror(mFile);
}

AudioOutput::~AudioOutput()
{
  if (mFile) sf_close(mFile);
}

bool AudioOutput::Create(const std::string& path, int format, int sampleRate, std::string& error)
{
  SF_INFO info = {};
  info.samplerate = sampleRate;
  info.channels = 2;
  info.format = format;
  mFile = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!mFile) {
    error = "cannot create output \"" + path + "\": " + sf_strerror(nullptr);
    return false;
  }
  // Integer formats clip instead of wrapping around when the plug-in adds gain.
  sf_command(mFile, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  return true;
}

bool AudioOutput::Write(const float* interleaved, int64_t frames)
{
  return sf_writef_float(mFile, interleaved, frames) == frames;
}

bool AudioOutput::Write(const double* interleaved, int64_t frames)
{
  return sf_writef_double(mFile, interleaved, frames) == frames;
}

bool AudioOutput::Close(std::string& error)
{
  if (!mFile) return true;
  sf_write_sync(mFile);
  const int rc = sf_close(mFile);
  mFile = nullptr;
  if (rc != 0) {
    error = std::string("closing the output failed: ") + sf_error_number(rc);
    return false;
  }
  return true;
}

std::string AudioOutput::LastError() const
{
  return sf_strerror(mFile);
}

namespace
{
std::string LowerExtension(const std::string& path)
{
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext;
}

bool Fits(int format)
{
  SF_INFO info = {};
  info.samplerate = 44100;
  info.channels = 2;
  info.format = format;
  return sf_format_check(&info) != 0;
}

const char* SubtypeName(int subtype)
{
  switch (subtype) {
  case SF_FORMAT_PCM_S8: return "8-bit";
  case SF_FORMAT_PCM_U8: return "8-bit";
  case SF_FORMAT_PCM_16: return "16-bit";
  case SF_FORMAT_PCM_24: return "24-bit";
  case SF_FORMAT_PCM_32: return "32-bit integer";
  case SF_FORMAT_FLOAT: return "32-bit float";
  case SF_FORMAT_DOUBLE: return "64-bit float";
  default: return "compressed";
  }
}
} // namespace

int ContainerForPath(const std::string& path)
{
  const std::string ext = LowerExtension(path);
  if (ext == "wav" || ext == "wave") return SF_FORMAT_WAV;
  if (ext == "flac") return SF_FORMAT_FLAC;
  if (ext == "aif" || ext == "aiff" || ext == "aifc") return SF_FORMAT_AIFF;
  if (ext == "w64") return SF_FORMAT_W64;
  if (ext == "caf") return SF_FORMAT_CAF;
  if (ext == "ogg" || ext == "oga") return SF_FORMAT_OGG;
  return 0;
}

const char* KnownOutputExtensions()
{
  return ".wav, .flac, .aif/.aiff, .w64, .caf, .ogg";
}

OutputFormatChoice ChooseOutputFormat(const std::string& outputPath, int inputFormat, bool floatOutput)
{
  OutputFormatChoice choice;
  const int container = ContainerForPath(outputPath);
  if (container == 0) {
    choice.error = "cannot tell the output format from \"" + outputPath + "\"; use one of " + KnownOutputExtensions();
    return choice;
  }
  if (container == SF_FORMAT_OGG) { // only lossy Vorbis goes there
    if (floatOutput) {
      choice.error = "Ogg files cannot hold 32-bit float samples";
      return choice;
    }
    choice.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    return choice;
  }
  if (floatOutput) {
    if (!Fits(container | SF_FORMAT_FLOAT)) {
      choice.error = "this output format cannot hold 32-bit float samples; use .wav, .aiff, .w64 or .caf";
      return choice;
    }
    choice.format = container | SF_FORMAT_FLOAT;
    return choice;
  }

  const int subtype = inputFormat & SF_FORMAT_SUBMASK;
  if (Fits(container | subtype)) {
    choice.format = container | subtype;
    return choice;
  }
  // The input's sample format does not fit this container (float into FLAC,
  // a compressed input into WAV, ...): keep as much resolution as the container has.
  const bool wide = subtype == SF_FORMAT_PCM_24 || subtype == SF_FORMAT_PCM_32 || subtype == SF_FORMAT_FLOAT ||
                    subtype == SF_FORMAT_DOUBLE;
  const int fallbacks[] = {wide ? SF_FORMAT_PCM_24 : SF_FORMAT_PCM_16, SF_FORMAT_PCM_16};
  for (int fallback : fallbacks) {
    if (Fits(container | fallback)) {
      choice.format = container | fallback;
      choice.note = std::string("the output cannot hold the input's ") + SubtypeName(subtype) + " samples; writing " +
                    SubtypeName(fallback) + " instead";
      return choice;
    }
  }
  choice.error = "no sample format fits the output file \"" + outputPath + "\"";
  return choice;
}

namespace
{
// Resolves a path whose last component may not exist yet: the directory part is
// resolved, the last component kept.
std::string ResolvePath(const std::string& path)
{
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved)) return resolved;
  std::string dir = ".", base = path;
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos) {
    dir = slash == 0 ? "/" : path.substr(0, slash);
    base = path.substr(slash + 1);
  }
  if (!realpath(dir.c_str(), resolved)) return path;
  std::string out = resolved;
  if (out.back() != '/') out += '/';
  return out + base;
}
} // namespace

bool IsSameFile(const std::string& inputPath, const std::string& outputPath)
{
  struct stat in, out;
  if (stat(inputPath.c_str(), &in) == 0 && stat(outputPath.c_str(), &out) == 0)
    return in.st_dev == out.st_dev && in.st_ino == out.st_ino;
  return ResolvePath(inputPath) == ResolvePath(outputPath);
}
