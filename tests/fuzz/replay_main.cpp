// Runs a fuzz target over files without libFuzzer: each argument is a file or a folder
// whose files are replayed in name order. The name of each input is printed before it
// runs, so a crash or a failed check names the input that caused it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i)
  {
    const fs::path arg = argv[i];
    if (fs::is_directory(arg))
    {
      for (const auto& entry : fs::directory_iterator(arg))
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    else if (fs::is_regular_file(arg))
    {
      files.push_back(arg);
    }
    else
    {
      std::fprintf(stderr, "no such file or folder: %s\n", argv[i]);
      return 2;
    }
  }
  std::sort(files.begin(), files.end());
  if (files.empty())
  {
    std::fprintf(stderr, "nothing to replay\n");
    return 2;
  }
  for (const fs::path& file : files)
  {
    std::ifstream stream(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    std::printf("replaying %s (%zu bytes)\n", file.c_str(), bytes.size());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs replayed\n", files.size());
  return 0;
}
