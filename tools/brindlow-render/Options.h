#pragma once

#include <string>
#include <utility>
#include <vector>

// Exit codes of brindlow-render.
enum ExitCode
{
  kExitOk = 0,
  kExitFailure = 1, // a file, the plug-in or the rendering failed
  kExitUsage = 2,   // the command line asks for something that cannot be done
};

struct RenderOptions
{
  std::string inputPath;
  std::string outputPath;
  std::string pluginPath;      // empty: the Brindlow plug-in built with this tool
  std::string program;         // empty: keep the plug-in's own start-up program
  std::vector<std::pair<std::string, std::string>> settings; // --set NAME=VALUE, in order
  int blockSize = 512;
  bool doublePrecision = false;
  bool floatOutput = false;
  double tailSeconds = 0.0;
  bool info = false;
  std::string editorSnapshotPath; // --editor-snapshot FILE.png: a picture of the editor, no audio
  bool showSplash = false;        // --splash: with the splash screen shown
  double editorScale = 1.0;       // --scale S: the snapshot drawn at scale S (1 ... 3)
  bool editorScaleGiven = false;
  bool monoCheck = false;         // --mono-check: report what the fold-down to mono does
  bool monoCheckJson = false;     // --mono-check=json: the report as JSON
  std::string plotPath;           // --plot FILE.png: a picture of the mono check
  double monoCheckRate = 0.0;     // --rate HZ: sample rate of a mono check without INPUT (0: default)
  bool quiet = false;
  bool help = false;
  std::string presetPath;     // --preset FILE.fxp|FILE.fxb: loaded before rendering
  std::string savePresetPath; // --save-preset FILE.fxp|FILE.fxb: the state written after loading
  std::string outDir;              // --out-dir DIR: render every input into DIR
  std::vector<std::string> inputs; // the inputs of an --out-dir run
  int jobs = 0;                    // --jobs N for --out-dir; 0: one per core
};

struct ParseResult
{
  bool ok = false;
  std::string error; // why the command line was refused
};

// Parses argv into options. Checks the syntax and ranges of every option but
// nothing that needs the files or the plug-in.
ParseResult ParseOptions(int argc, char** argv, RenderOptions& options);

std::string UsageText(const char* programName);
