// One product in every format: the same file rendered through Brindlow's VST 2.4, LV2,
// CLAP and VST 3 builds by brindlow-render gives the same samples, bit for bit, for every program, at two rates,
// with 32-bit and (where the format has it) 64-bit processing.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "RenderTestSupport.h"

namespace {

struct Format {
  const char* name;
  std::string plugin;
  bool has64;
};

std::vector<Format> Formats() {
  std::vector<Format> formats = {{"VST 2.4", BRINDLOW_PLUGIN, true}};
#ifdef BRINDLOW_LV2_BUNDLE
  formats.push_back({"LV2", BRINDLOW_LV2_BUNDLE, false});
#endif
#ifdef BRINDLOW_CLAP_PLUGIN
  formats.push_back({"CLAP", BRINDLOW_CLAP_PLUGIN, true});
#endif
#ifdef BRINDLOW_VST3_BUNDLE
  formats.push_back({"VST 3", BRINDLOW_VST3_BUNDLE, true});
#endif
  return formats;
}

// The samples of a rendered file, bit for bit (32-bit floats read into doubles exactly).
// The files' bytes are not compared: libsndfile stamps a float file's PEAK chunk with the
// time it was written.
std::vector<double> Samples(const std::string& path) {
  return ReadAudio(path).samples;
}

// Renders input through every format with these options and expects one result.
void ExpectSameInEveryFormat(const std::string& dir, const std::string& input, const std::vector<std::string>& options,
                             bool processing64, const std::string& what) {
  std::vector<double> reference;
  std::string referenceFormat;
  for (const Format& format : Formats()) {
    if (processing64 && !format.has64) continue;
    std::vector<std::string> args = {"--plugin", format.plugin, "--float", "--quiet"};
    if (processing64) args.push_back("--double");
    args.insert(args.end(), options.begin(), options.end());
    const std::string output = dir + "/out-" + std::to_string(&format - &Formats()[0]) + ".wav";
    args.push_back(input);
    args.push_back(output);
    const ToolResult result = RunTool(args);
    ASSERT_EQ(result.exitCode, 0) << format.name << ", " << what << ": " << result.err;
    const std::vector<double> samples = Samples(output);
    ASSERT_FALSE(samples.empty()) << format.name << ", " << what;
    if (reference.empty()) {
      reference = samples;
      referenceFormat = format.name;
      continue;
    }
    ASSERT_EQ(samples.size(), reference.size()) << format.name << ", " << what;
    size_t differing = 0, first = 0;
    for (size_t i = samples.size(); i-- > 0;)
      if (std::memcmp(&samples[i], &reference[i], sizeof(double)) != 0) ++differing, first = i;
    EXPECT_EQ(differing, 0u) << format.name << " differs from " << referenceFormat << " in " << differing
                             << " samples, the first at " << first << ": " << what;
  }
}

TEST(RenderFormats, EveryFormatSoundsTheSameThroughEveryProgram) {
  ASSERT_GE(Formats().size(), 2u) << "only the VST 2.4 build to compare";
  const std::string dir = MakeTestDir();
  const std::vector<std::string> programs = {
    "RESET to defaults", "Vocal Doubler", "Female Vocal", "Background Vocals", "Heavy Guitar", "Rock Guitar",
    "Acoustic Guitar",   "Keyboard",      "Drum Mix",     "Snare Drum",        "Percussion",   "Saxophone",
    "Basic Stereo"};
  for (int rate : {44100, 96000}) {
    std::mt19937 rng(static_cast<unsigned>(rate)); // the same noise on every run
    std::uniform_real_distribution<double> noise(-0.9, 0.9);
    std::vector<double> stereo(static_cast<size_t>(rate / 4) * 2);
    for (double& sample : stereo) sample = noise(rng);
    const std::string input = dir + "/noise-" + std::to_string(rate) + ".wav";
    WriteAudio(input, SF_FORMAT_WAV | SF_FORMAT_FLOAT, rate, 2, stereo);
    for (const std::string& program : programs)
      for (bool processing64 : {false, true})
        ExpectSameInEveryFormat(dir, input, {"--program", program}, processing64,
                                program + " at " + std::to_string(rate) + " Hz, " + (processing64 ? "64" : "32") +
                                  "-bit processing");
  }
}

TEST(RenderFormats, TheDemoAndTypedSettingsSoundTheSame) {
  const std::string dir = MakeTestDir();
  const std::string demo = DEMO_AUDIO;
  ExpectSameInEveryFormat(dir, demo, {"--program", "Vocal Doubler"}, false, "the demo through Vocal Doubler");
  ExpectSameInEveryFormat(dir, demo, {"--set", "Pan=Right", "--set", "Delay=12.5", "--set", "Wet Mix=-3"}, false,
                          "the demo, mono, with typed settings, Right leading");
  ExpectSameInEveryFormat(dir, demo, {"--program", "Drum Mix", "--block", "37"}, true,
                          "the demo through Drum Mix in 37-frame blocks");
}

#ifdef BRINDLOW_VST3_BUNDLE
std::vector<char> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(RenderFormats, Vst3PresetsRoundTripAndAreRefusedByOtherPluginsAndFormats) {
  const std::string dir = MakeTestDir();
  const std::string preset = dir + "/chosen.vstpreset", again = dir + "/again.vstpreset";
  ToolResult result = RunTool({"--plugin", BRINDLOW_VST3_BUNDLE, "--program", "Drum Mix", "--set", "Delay=12.5",
                               "--save-preset", preset});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  result = RunTool({"--plugin", BRINDLOW_VST3_BUNDLE, "--preset", preset, "--save-preset", again});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<char> bytes = ReadFileBytes(preset);
  ASSERT_GT(bytes.size(), 48u);
  EXPECT_EQ(std::string(bytes.data(), 4), "VST3");
  EXPECT_EQ(std::string(bytes.data() + 8, 32), "4B797642726E646C6F77565354330001");
  EXPECT_EQ(ReadFileBytes(again), bytes);
  // The preset sounds as the settings it was saved from.
  const std::string fromPreset = dir + "/from-preset.wav", fromSettings = dir + "/from-settings.wav";
  ASSERT_EQ(RunTool({"--plugin", BRINDLOW_VST3_BUNDLE, "--float", "--quiet", "--preset", preset, DEMO_AUDIO,
                     fromPreset}).exitCode, 0);
  ASSERT_EQ(RunTool({"--plugin", BRINDLOW_VST3_BUNDLE, "--float", "--quiet", "--program", "Drum Mix", "--set",
                     "Delay=12.5", DEMO_AUDIO, fromSettings}).exitCode, 0);
  EXPECT_EQ(Samples(fromPreset), Samples(fromSettings));

  std::vector<char> other = bytes;
  other[8] = '0';
  const std::string foreign = dir + "/foreign.vstpreset";
  WriteFileBytes(foreign, other);
  result = RunTool({"--plugin", BRINDLOW_VST3_BUNDLE, "--preset", foreign, "--save-preset", again});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("another plug-in"), std::string::npos) << result.err;
  result = RunTool({"--plugin", BRINDLOW_PLUGIN, "--preset", preset, "--save-preset", dir + "/x.fxp"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("VST 3"), std::string::npos) << result.err;
}
#endif

} // namespace
