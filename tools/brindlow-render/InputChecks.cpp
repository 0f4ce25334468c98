#include "InputChecks.h"

#include <cstdio>

bool CheckInputRenderable(const AudioInput& input, const std::string& path, std::string& error)
{
  if (input.Frames() <= 0 && input.AnnouncedFrames() <= 0) {
    error = "no audio in \"" + path + "\"";
    return false;
  }
  const int rate = input.SampleRate();
  if (rate < kMinRenderRate || rate > kMaxRenderRate) {
    error = "input \"" + path + "\" has a sample rate of " + std::to_string(rate) +
            " Hz; the supported range is " + std::to_string(kMinRenderRate) + " to " +
            std::to_string(kMaxRenderRate) + " Hz";
    return false;
  }
  return true;
}

std::string ShortInputWarning(const std::string& path, int64_t announced, int64_t read, int sampleRate,
                              const std::string& readError)
{
  if (read >= announced && readError.empty()) return "";
  std::string text = "input \"" + path + "\" ";
  if (read < announced) {
    char seconds[64];
    std::snprintf(seconds, sizeof seconds, "%.3f", static_cast<double>(announced - read) / sampleRate);
    text += "is cut short: " + std::string(seconds) + " seconds missing (" + std::to_string(read) + " of " +
            std::to_string(announced) + " frames could be read)";
  } else {
    text += "could not be read to its end";
  }
  if (!readError.empty()) {
    // libsndfile's texts read "Error : flac decoder lost sync.": keep the words.
    std::string why = readError;
    if (why.rfind("Error : ", 0) == 0) why.erase(0, 8);
    while (!why.empty() && (why.back() == '.' || why.back() == ' ')) why.pop_back();
    text += " (" + why + ")";
  }
  return text + "; rendered what was there";
}
