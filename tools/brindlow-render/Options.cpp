#include "Options.h"

#include <getopt.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace
{
constexpr int kMaxBlockSize = 65536;
constexpr double kMaxTailSeconds = 3600.0;
constexpr double kMinRate = 8000.0, kMaxRate = 384000.0;
constexpr long kMaxJobs = 256;

enum LongOnly
{
  kOptPlugin = 256,
  kOptProgram,
  kOptSet,
  kOptBlock,
  kOptDouble,
  kOptFloat,
  kOptTail,
  kOptInfo,
  kOptEditorSnapshot,
  kOptSplash,
  kOptScale,
  kOptMonoCheck,
  kOptPlot,
  kOptRate,
  kOptPreset,
  kOptSavePreset,
  kOptOutDir,
  kOptJobs,
};

bool ParseWholeNumber(const char* text, long& out)
{
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno == ERANGE) return false;
  out = value;
  return true;
}

bool ParseWholeDouble(const char* text, double& out)
{
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || errno == ERANGE || !std::isfinite(value)) return false;
  out = value;
  return true;
}

ParseResult Fail(std::string message)
{
  ParseResult result;
  result.error = std::move(message);
  return result;
}

bool HasPresetExtension(const std::string& path)
{
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == "fxp" || ext == "fxb" || ext == "vstpreset";
}
} // namespace

std::string UsageText(const char* programName)
{
  std::string name = programName ? programName : "brindlow-render";
  return "Usage: " + name + " [options] INPUT OUTPUT\n"
         "       " + name + " --info [--plugin PATH.so]\n"
         "       " + name + " [options] --out-dir DIR INPUT...\n"
         "       " + name + " [--program ...] [--preset ...] [--set ...] --save-preset FILE.fxp|FILE.fxb|FILE.vstpreset\n"
         "       " + name + " --editor-snapshot FILE.png [--program ...] [--set ...] [--splash] [--scale S]\n"
         "       " + name + " --mono-check[=json] [--plot FILE.png] [--rate HZ] [--program ...] [--set ...]\n"
         "\n"
         "Renders an audio file (WAV, FLAC, AIFF, ...; mono or stereo) through a plug-in,\n"
         "Brindlow unless --plugin names another, into a stereo file at the input's\n"
         "sample rate. The output format follows OUTPUT's extension. Plug-in formats:\n"
         "VST 2.4 (a .so file), LV2 (a bundle directory or a plug-in URI), CLAP (a .clap\n"
         "file) and VST 3 (a .vst3 bundle).\n"
         "\n"
         "Options:\n"
         "  --plugin PATH         render through this plug-in: PATH.so (VST 2.4), an LV2\n"
         "                        bundle or URI, PATH.clap (CLAP) or PATH.vst3 (VST 3)\n"
         "  --program NUMBER|NAME select a program before rendering\n"
         "  --set NAME=VALUE      set a parameter, in its own units or as one of its\n"
         "                        display texts (--set Pan=Right --set Delay=12.5);\n"
         "                        may be repeated, applied after --program and --preset\n"
         "  --preset FILE.fxp|FILE.fxb|FILE.vstpreset\n"
         "                        load a VST program or bank file: a bank before\n"
         "                        --program (which then picks one of its programs), a\n"
         "                        program into the program --program selected; a VST 3\n"
         "                        preset (.vstpreset, VST 3 plug-ins only) like a program\n"
         "  --save-preset FILE.fxp|FILE.fxb|FILE.vstpreset\n"
         "                        write the plug-in's state after --program, --preset\n"
         "                        and --set as a program or bank file, or a VST 3 preset;\n"
         "                        INPUT and OUTPUT may then be left out\n"
         "  --out-dir DIR         render every INPUT into DIR under its own file name\n"
         "  --jobs N              with --out-dir: files rendered at once (default: one\n"
         "                        per core)\n"
         "  --block N             frames per processing call (1 ... 65536, default 512)\n"
         "  --double              use the plug-in's 64-bit processing\n"
         "  --float               write 32-bit float samples (default: the input's format)\n"
         "  --tail SECONDS        render this much silence after the input (default 0)\n"
         "  --info                print what a host sees of the plug-in and exit\n"
         "  --editor-snapshot FILE.png\n"
         "                        write a picture of Brindlow's editor in the state that\n"
         "                        --program and --set give it, instead of rendering audio\n"
         "  --splash              show the splash screen in the editor snapshot\n"
         "  --scale S             draw the editor snapshot at scale S (1 ... 3, default 1):\n"
         "                        round(366 S) x round(212 S) pixels\n"
         "  --mono-check[=json]   measure what folding the output down to mono (L+R)/2 does:\n"
         "                        an impulse through the plug-in gives the comb notches and\n"
         "                        the mono sum's peak and deepest notch; with INPUT OUTPUT also\n"
         "                        the rendered file's L/R correlation and mono loss\n"
         "  --plot FILE.png       with --mono-check: draw the left, right and mono responses\n"
         "  --rate HZ             sample rate of a --mono-check without INPUT (default 44100)\n"
         "  --quiet               no progress bar\n"
         "  -h, --help            show this help\n"
         "\n"
         "Exit status: 0 done, 1 a file or the plug-in failed, 2 bad command line.\n";
}

ParseResult ParseOptions(int argc, char** argv, RenderOptions& options)
{
  static const option longOptions[] = {
    {"plugin", required_argument, nullptr, kOptPlugin},
    {"program", required_argument, nullptr, kOptProgram},
    {"set", required_argument, nullptr, kOptSet},
    {"block", required_argument, nullptr, kOptBlock},
    {"double", no_argument, nullptr, kOptDouble},
    {"float", no_argument, nullptr, kOptFloat},
    {"tail", required_argument, nullptr, kOptTail},
    {"info", no_argument, nullptr, kOptInfo},
    {"editor-snapshot", required_argument, nullptr, kOptEditorSnapshot},
    {"splash", no_argument, nullptr, kOptSplash},
    {"scale", required_argument, nullptr, kOptScale},
    {"mono-check", optional_argument, nullptr, kOptMonoCheck},
    {"plot", required_argument, nullptr, kOptPlot},
    {"rate", required_argument, nullptr, kOptRate},
    {"preset", required_argument, nullptr, kOptPreset},
    {"save-preset", required_argument, nullptr, kOptSavePreset},
    {"out-dir", required_argument, nullptr, kOptOutDir},
    {"jobs", required_argument, nullptr, kOptJobs},
    {"quiet", no_argument, nullptr, 'q'},
    {"help", no_argument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
  };

  optind = 0; // full reset: the parser may run more than once in a process
  opterr = 0;
  for (;;) {
    const int c = getopt_long(argc, argv, "hq", longOptions, nullptr);
    if (c == -1) break;
    switch (c) {
    case kOptPlugin:
      if (*optarg == '\0') return Fail("--plugin needs a path");
      options.pluginPath = optarg;
      break;
    case kOptProgram:
      if (*optarg == '\0') return Fail("--program needs a number or a name");
      options.program = optarg;
      break;
    case kOptSet: {
      const std::string arg = optarg;
      const size_t eq = arg.find('=');
      if (eq == std::string::npos || eq == 0 || eq + 1 == arg.size())
        return Fail("--set expects NAME=VALUE, got \"" + arg + "\"");
      options.settings.emplace_back(arg.substr(0, eq), arg.substr(eq + 1));
      break;
    }
    case kOptBlock: {
      long n = 0;
      if (!ParseWholeNumber(optarg, n) || n < 1 || n > kMaxBlockSize)
        return Fail("--block expects a whole number from 1 to " + std::to_string(kMaxBlockSize) + ", got \"" +
                    std::string(optarg) + "\"");
      options.blockSize = static_cast<int>(n);
      break;
    }
    case kOptDouble: options.doublePrecision = true; break;
    case kOptFloat: options.floatOutput = true; break;
    case kOptTail: {
      double seconds = 0.0;
      if (!ParseWholeDouble(optarg, seconds) || seconds < 0.0 || seconds > kMaxTailSeconds)
        return Fail("--tail expects seconds from 0 to 3600, got \"" + std::string(optarg) + "\"");
      options.tailSeconds = seconds;
      break;
    }
    case kOptInfo: options.info = true; break;
    case kOptEditorSnapshot:
      if (*optarg == '\0') return Fail("--editor-snapshot needs a file name");
      options.editorSnapshotPath = optarg;
      break;
    case kOptSplash: options.showSplash = true; break;
    case kOptScale: {
      double scale = 0.0;
      if (!ParseWholeDouble(optarg, scale) || !(scale >= 1.0 && scale <= 3.0))
        return Fail("--scale expects a factor from 1 to 3, got \"" + std::string(optarg) + "\"");
      options.editorScale = scale;
      options.editorScaleGiven = true;
      break;
    }
    case kOptMonoCheck: {
      const std::string form = optarg ? optarg : "text";
      if (form != "text" && form != "json") return Fail("--mono-check takes =text or =json, got \"" + form + "\"");
      options.monoCheck = true;
      options.monoCheckJson = form == "json";
      break;
    }
    case kOptPlot:
      if (*optarg == '\0') return Fail("--plot needs a file name");
      options.plotPath = optarg;
      break;
    case kOptRate: {
      double rate = 0.0;
      if (!ParseWholeDouble(optarg, rate) || rate < kMinRate || rate > kMaxRate || rate != std::floor(rate))
        return Fail("--rate expects a whole number of Hz from 8000 to 384000, got \"" + std::string(optarg) + "\"");
      options.monoCheckRate = rate;
      break;
    }
    case kOptPreset:
      if (*optarg == '\0') return Fail("--preset needs a file name");
      options.presetPath = optarg;
      break;
    case kOptSavePreset:
      if (!HasPresetExtension(optarg))
        return Fail("--save-preset needs a file name ending in .fxp (a program), .fxb (a bank) or .vstpreset (VST 3), got \"" +
                    std::string(optarg) + "\"");
      options.savePresetPath = optarg;
      break;
    case kOptOutDir:
      if (*optarg == '\0') return Fail("--out-dir needs a directory");
      options.outDir = optarg;
      break;
    case kOptJobs: {
      long n = 0;
      if (!ParseWholeNumber(optarg, n) || n < 1 || n > kMaxJobs)
        return Fail("--jobs expects a whole number from 1 to " + std::to_string(kMaxJobs) + ", got \"" +
                    std::string(optarg) + "\"");
      options.jobs = static_cast<int>(n);
      break;
    }
    case 'q': options.quiet = true; break;
    case 'h': options.help = true; break;
    default: {
      const char* given = (optind > 0 && optind <= argc) ? argv[optind - 1] : "?";
      if (optopt == kOptPlugin || optopt == kOptProgram || optopt == kOptSet || optopt == kOptBlock ||
          optopt == kOptTail || optopt == kOptEditorSnapshot || optopt == kOptScale || optopt == kOptPlot || optopt == kOptRate ||
          optopt == kOptPreset || optopt == kOptSavePreset || optopt == kOptOutDir || optopt == kOptJobs)
        return Fail(std::string("option ") + given + " needs a value");
      return Fail(std::string("unknown option ") + given);
    }
    }
  }

  if (options.help) {
    ParseResult ok;
    ok.ok = true;
    return ok;
  }
  const int positional = argc - optind;
  if (options.showSplash && options.editorSnapshotPath.empty()) return Fail("--splash needs --editor-snapshot");
  if (options.editorScaleGiven && options.editorSnapshotPath.empty()) return Fail("--scale needs --editor-snapshot");
  if (options.info && !options.editorSnapshotPath.empty()) return Fail("--info and --editor-snapshot exclude each other");
  if (!options.plotPath.empty() && !options.monoCheck) return Fail("--plot needs --mono-check");
  if (options.monoCheck && (options.info || !options.editorSnapshotPath.empty()))
    return Fail(std::string("--mono-check and ") + (options.info ? "--info" : "--editor-snapshot") + " exclude each other");
  if (options.monoCheckRate > 0.0 && !(options.monoCheck && positional == 0))
    return Fail("--rate sets the sample rate of a --mono-check without INPUT; a file is rendered at its own rate");
  if (options.jobs > 0 && options.outDir.empty()) return Fail("--jobs needs --out-dir");
  if (options.info && (!options.presetPath.empty() || !options.savePresetPath.empty()))
    return Fail("--info shows the plug-in as it opens; it does not go with --preset or --save-preset");
  if (!options.outDir.empty()) {
    if (options.info || !options.editorSnapshotPath.empty() || options.monoCheck)
      return Fail("--out-dir renders audio; it does not go with --info, --editor-snapshot or --mono-check");
    if (positional < 1) return Fail("--out-dir needs at least one INPUT");
    for (int i = optind; i < argc; ++i) {
      if (*argv[i] == '\0') return Fail("INPUT must not be empty");
      options.inputs.emplace_back(argv[i]);
    }
  } else if (!options.editorSnapshotPath.empty()) {
    if (positional != 0) return Fail("--editor-snapshot takes no INPUT or OUTPUT");
  } else if (options.info) {
    if (positional != 0) return Fail("--info takes no INPUT or OUTPUT");
  } else if (options.monoCheck && positional == 0) {
    // A mono check of the plug-in alone.
  } else if (!options.savePresetPath.empty() && positional == 0) {
    // Only the preset is written.
  } else {
    if (positional != 2) return Fail(positional < 2 ? "INPUT and OUTPUT are needed" : "too many arguments");
    options.inputPath = argv[optind];
    options.outputPath = argv[optind + 1];
    if (options.inputPath.empty() || options.outputPath.empty()) return Fail("INPUT and OUTPUT must not be empty");
  }
  ParseResult ok;
  ok.ok = true;
  return ok;
}
