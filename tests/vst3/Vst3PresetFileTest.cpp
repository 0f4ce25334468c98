// The host kit's .vstpreset files, laid out as SDK hosts and Ardour read them: header,
// the component state at 48, the chunk list after the data ('Comp', then an empty
// 'Cont'), little-endian sizes; and a file of another class, or a damaged one, refused.
#include <gtest/gtest.h>

#include <cstring>

#include "Vst3HostKit.h"

namespace
{
const char kClass[] = "4B797642726E646C6F77565354330001";

uint64_t LE(const std::vector<uint8_t>& bytes, size_t at, int size)
{
  uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<size_t>(i)];
  return value;
}
} // namespace

TEST(Vst3PresetFile, HeaderDataAndChunkListWhereReadersLook)
{
  const std::vector<uint8_t> state = {1, 2, 3, 4, 5, 6, 7};
  const std::vector<uint8_t> file = vst3host::WritePresetFile(kClass, state);
  ASSERT_EQ(file.size(), 48 + state.size() + 8 + 2 * 20);
  EXPECT_EQ(std::memcmp(file.data(), "VST3", 4), 0);
  EXPECT_EQ(LE(file, 4, 4), 1u);
  EXPECT_EQ(std::memcmp(file.data() + 8, kClass, 32), 0);
  const uint64_t list = LE(file, 40, 8);
  EXPECT_EQ(list, 48 + state.size());
  EXPECT_TRUE(std::equal(state.begin(), state.end(), file.begin() + 48));
  EXPECT_EQ(std::memcmp(file.data() + list, "List", 4), 0);
  EXPECT_EQ(LE(file, list + 4, 4), 2u);
  EXPECT_EQ(std::memcmp(file.data() + list + 8, "Comp", 4), 0);
  EXPECT_EQ(LE(file, list + 12, 8), 48u);
  EXPECT_EQ(LE(file, list + 20, 8), state.size());
  EXPECT_EQ(std::memcmp(file.data() + list + 28, "Cont", 4), 0);
  EXPECT_EQ(LE(file, list + 40, 8), 0u);

  std::vector<uint8_t> read;
  std::string error;
  ASSERT_TRUE(vst3host::ReadPresetFile(file, kClass, &read, &error)) << error;
  EXPECT_EQ(read, state);
}

TEST(Vst3PresetFile, OtherClassesAndDamagedFilesAreRefused)
{
  const std::vector<uint8_t> file = vst3host::WritePresetFile(kClass, {9, 9, 9});
  std::vector<uint8_t> read;
  std::string error;
  EXPECT_FALSE(vst3host::ReadPresetFile(file, "00000000000000000000000000000000", &read, &error));
  EXPECT_NE(error.find("another plug-in"), std::string::npos) << error;
  for (size_t cut : {size_t(0), size_t(20), size_t(47), size_t(52), file.size() - 1})
  {
    const std::vector<uint8_t> shorter(file.begin(), file.begin() + static_cast<long>(cut));
    EXPECT_FALSE(vst3host::ReadPresetFile(shorter, kClass, &read, &error)) << cut << " bytes";
  }
  std::vector<uint8_t> outside = file;
  outside[48 + 3 + 8 + 12] = 0xFF; // the state's size points past the end
  EXPECT_FALSE(vst3host::ReadPresetFile(outside, kClass, &read, &error));
  std::vector<uint8_t> noList = file;
  noList[40] = 7;
  EXPECT_FALSE(vst3host::ReadPresetFile(noList, kClass, &read, &error));
}
