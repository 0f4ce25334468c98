#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>

// Thin owners of libsndfile handles: an input file read in frames, and a stereo
// output file whose container follows its extension.
class AudioInput
{
public:
  AudioInput() = default;
  ~AudioInput();
  AudioInput(const AudioInput&) = delete;
  AudioInput& operator=(const AudioInput&) = delete;

  // Opens the file; on failure returns false with a message in `error`.
  bool Open(const std::string& path, std::string& error);

  int Channels() const { return mInfo.channels; }
  int SampleRate() const { return mInfo.samplerate; }
  int64_t Frames() const { return mInfo.frames; }
  // Frames the file says it has: its header's count where libsndfile reports only what
  // a cut-short file still holds (WAV, AIFF), else Frames().
  int64_t AnnouncedFrames() const { return mAnnouncedFrames; }
  int Format() const { return mInfo.format; }

  // Reads up to `frames` interleaved frames; returns the number read (0 at the end).
  int64_t Read(float* interleaved, int64_t frames);
  int64_t Read(double* interleaved, int64_t frames);
  bool HasError() const { return sf_error(mFile) != SF_ERR_NO_ERROR; }
  std::string LastError() const;

private:
  SNDFILE* mFile = nullptr;
  SF_INFO mInfo = {};
  int64_t mAnnouncedFrames = 0;
};

class AudioOutput
{
public:
  AudioOutput() = default;
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // Creates a stereo file of the given libsndfile format word.
  bool Create(const std::string& path, int format, int sampleRate, std::string& error);

  bool Write(const float* interleaved, int64_t frames);
  bool Write(const double* interleaved, int64_t frames);
  // Flushes and closes; false when the data could not be written out.
  bool Close(std::string& error);
  std::string LastError() const;

private:
  SNDFILE* mFile = nullptr;
};

// The container for an output path's extension (case-insensitive), or 0 when the
// extension is not one we write.
int ContainerForPath(const std::string& path);

// The text listing the extensions ContainerForPath() knows.
const char* KnownOutputExtensions();

struct OutputFormatChoice
{
  int format = 0;      // libsndfile format word, 0 when none fits
  std::string note;    // a remark for the user when the input's sample format could not be kept
  std::string error;   // why no format fits
};

// Chooses the output format: the container from the output's extension, the
// sample format of the input (or 32-bit float when asked), adapted when the
// container cannot hold it.
OutputFormatChoice ChooseOutputFormat(const std::string& outputPath, int inputFormat, bool floatOutput);

// True when both paths name the same file: same inode when the output exists,
// same resolved path otherwise (symbolic links, "..", "./" and doubled slashes
// do not hide it).
bool IsSameFile(const std::string& inputPath, const std::string& outputPath);
