#include "PresetFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace
{
constexpr uint32_t FourCC(const char (&text)[5])
{
  return (uint32_t(uint8_t(text[0])) << 24) | (uint32_t(uint8_t(text[1])) << 16) | (uint32_t(uint8_t(text[2])) << 8) |
         uint32_t(uint8_t(text[3]));
}

constexpr uint32_t kChunkMagic = FourCC("CcnK");
constexpr uint32_t kProgramMagic = FourCC("FxCk");
constexpr uint32_t kProgramChunkMagic = FourCC("FPCh");
constexpr uint32_t kBankMagic = FourCC("FxBk");
constexpr uint32_t kBankChunkMagic = FourCC("FBCh");

constexpr size_t kProgramHeaderSize = 56; // up to the values or the chunk size
constexpr size_t kBankHeaderSize = 156;
constexpr size_t kNameSize = 28;
constexpr size_t kBankReservedSize = 124;
constexpr size_t kSizeFieldEnd = 8; // byteSize counts what follows it
// Larger than any chunk a plug-in hands a host; keeps a damaged size from
// asking for gigabytes.
constexpr size_t kMaxFileSize = size_t(256) << 20;

// Bounds-checked big-endian reading; every read past the end is a cut file.
class Reader
{
public:
  Reader(const std::vector<unsigned char>& bytes, size_t begin, size_t end) : mBytes(bytes), mPos(begin), mEnd(end) {}

  size_t Position() const { return mPos; }
  size_t Left() const { return mEnd - mPos; }

  bool U32(uint32_t& out)
  {
    if (Left() < 4) return false;
    const unsigned char* p = mBytes.data() + mPos;
    out = (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
    mPos += 4;
    return true;
  }

  bool I32(int32_t& out)
  {
    uint32_t u = 0;
    if (!U32(u)) return false;
    std::memcpy(&out, &u, sizeof(out));
    return true;
  }

  bool F32(float& out)
  {
    uint32_t u = 0;
    if (!U32(u)) return false;
    std::memcpy(&out, &u, sizeof(out));
    return true;
  }

  bool Name(std::string& out)
  {
    if (Left() < kNameSize) return false;
    const char* p = reinterpret_cast<const char*>(mBytes.data() + mPos);
    out.assign(p, strnlen(p, kNameSize));
    mPos += kNameSize;
    return true;
  }

  bool Skip(size_t n)
  {
    if (Left() < n) return false;
    mPos += n;
    return true;
  }

  bool Bytes(size_t n, std::vector<unsigned char>& out)
  {
    if (Left() < n) return false;
    out.assign(mBytes.begin() + static_cast<std::ptrdiff_t>(mPos), mBytes.begin() + static_cast<std::ptrdiff_t>(mPos + n));
    mPos += n;
    return true;
  }

private:
  const std::vector<unsigned char>& mBytes;
  size_t mPos;
  size_t mEnd;
};

class Writer
{
public:
  void U32(uint32_t v)
  {
    const unsigned char b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    mBytes.insert(mBytes.end(), b, b + 4);
  }
  void I32(int32_t v)
  {
    uint32_t u = 0;
    std::memcpy(&u, &v, sizeof(u));
    U32(u);
  }
  void F32(float v)
  {
    uint32_t u = 0;
    std::memcpy(&u, &v, sizeof(u));
    U32(u);
  }
  void Name(const std::string& name)
  {
    char field[kNameSize] = {};
    std::memcpy(field, name.data(), std::min(name.size(), kNameSize - 1));
    mBytes.insert(mBytes.end(), field, field + kNameSize);
  }
  void Zeros(size_t n) { mBytes.insert(mBytes.end(), n, 0); }
  void Bytes(const std::vector<unsigned char>& bytes) { mBytes.insert(mBytes.end(), bytes.begin(), bytes.end()); }
  // Fills in the byteSize field of the record that starts at `recordStart`.
  void CloseRecord(size_t recordStart)
  {
    const auto size = static_cast<uint32_t>(mBytes.size() - recordStart - kSizeFieldEnd);
    const unsigned char b[4] = {uint8_t(size >> 24), uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)};
    std::memcpy(mBytes.data() + recordStart + 4, b, 4);
  }
  size_t Size() const { return mBytes.size(); }
  std::vector<unsigned char> Take() { return std::move(mBytes); }

private:
  std::vector<unsigned char> mBytes;
};

std::string MagicText(uint32_t magic)
{
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto c = static_cast<unsigned char>(magic >> shift);
    if (!std::isprint(c)) {
      char hex[16];
      std::snprintf(hex, sizeof(hex), "0x%08X", magic);
      return hex;
    }
    text += static_cast<char>(c);
  }
  return "'" + text + "'";
}

std::string Cut(const char* what)
{
  return std::string("the file is cut short: it ends inside ") + what;
}

bool Fail(std::string& error, std::string message)
{
  error = std::move(message);
  return false;
}

// Values a host sends through setParameter: finite and within 0 ... 1.
bool ReadValues(Reader& in, int32_t count, std::vector<float>& values, const std::string& where, std::string& error)
{
  values.resize(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    float v = 0.0f;
    if (!in.F32(v)) return Fail(error, Cut("the parameter values"));
    if (!(v >= 0.0f && v <= 1.0f))
      return Fail(error, where + "parameter " + std::to_string(i) + " holds " + std::to_string(v) +
                             ", outside the normalised range 0 to 1");
    values[static_cast<size_t>(i)] = v;
  }
  return true;
}

// One 'FxCk' record of a bank, which is laid out like a whole .fxp file.
bool ReadBankProgram(Reader& in, int index, int32_t bankId, PresetProgram& program, int32_t& numParams,
                     std::string& error)
{
  const std::string where = "program " + std::to_string(index) + ": ";
  uint32_t magic = 0, byteSize = 0, fxMagic = 0;
  int32_t version = 0, id = 0, pluginVersion = 0;
  if (!in.U32(magic) || !in.U32(byteSize) || !in.U32(fxMagic) || !in.I32(version) || !in.I32(id) ||
      !in.I32(pluginVersion) || !in.I32(numParams) || !in.Name(program.name))
    return Fail(error, Cut(("the header of program " + std::to_string(index)).c_str()));
  if (magic != kChunkMagic || fxMagic != kProgramMagic)
    return Fail(error, where + "expected a 'CcnK' 'FxCk' program record, found " + MagicText(magic) + " " +
                           MagicText(fxMagic));
  if (id != bankId)
    return Fail(error, where + "is for plug-in " + PluginIdText(id) + " inside a bank for " + PluginIdText(bankId));
  if (numParams < 0) return Fail(error, where + "gives a negative parameter count");
  const uint64_t expected = kProgramHeaderSize - kSizeFieldEnd + 4ull * uint64_t(numParams);
  if (byteSize != expected)
    return Fail(error, where + "the sizes do not add up: its header gives " + std::to_string(byteSize) +
                           " bytes for " + std::to_string(numParams) + " parameters, which take " +
                           std::to_string(expected));
  return ReadValues(in, numParams, program.values, where, error);
}
} // namespace

std::string PluginIdText(int32_t id)
{
  const auto u = static_cast<uint32_t>(id);
  std::string chars;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto c = static_cast<unsigned char>(u >> shift);
    if (!std::isprint(c)) {
      chars.clear();
      break;
    }
    chars += static_cast<char>(c);
  }
  return (chars.empty() ? "" : "'" + chars + "' ") + "(" + std::to_string(id) + ")";
}

bool ParsePresetFile(const std::vector<unsigned char>& bytes, PresetFile& file, std::string& error)
{
  if (bytes.size() > kMaxFileSize) return Fail(error, "the file is larger than any preset file (" + std::to_string(bytes.size()) + " bytes)");
  Reader in(bytes, 0, bytes.size());
  uint32_t magic = 0, byteSize = 0, fxMagic = 0;
  if (!in.U32(magic)) return Fail(error, Cut("the file header"));
  if (magic != kChunkMagic)
    return Fail(error, "not a VST preset file: it starts with " + MagicText(magic) + " instead of 'CcnK'");
  if (!in.U32(byteSize) || !in.U32(fxMagic)) return Fail(error, Cut("the file header"));
  if (byteSize > bytes.size() - kSizeFieldEnd)
    return Fail(error, "the file is cut short: its header announces " + std::to_string(byteSize + kSizeFieldEnd) +
                           " bytes, the file has " + std::to_string(bytes.size()));
  if (byteSize < bytes.size() - kSizeFieldEnd)
    return Fail(error, "the sizes do not add up: the file has " + std::to_string(bytes.size()) +
                           " bytes, its header announces " + std::to_string(byteSize + kSizeFieldEnd));

  PresetFile out;
  switch (fxMagic) {
  case kProgramMagic: out.kind = PresetFile::Kind::kProgram; break;
  case kProgramChunkMagic: out.kind = PresetFile::Kind::kProgramChunk; break;
  case kBankMagic: out.kind = PresetFile::Kind::kBank; break;
  case kBankChunkMagic: out.kind = PresetFile::Kind::kBankChunk; break;
  default:
    return Fail(error, "unknown kind of preset file " + MagicText(fxMagic) +
                           " (expected 'FxCk' or 'FPCh' for a program, 'FxBk' or 'FBCh' for a bank)");
  }

  const char* headerName = out.IsBank() ? "the bank header" : "the program header";
  if (!in.I32(out.formatVersion) || !in.I32(out.pluginId) || !in.I32(out.pluginVersion) || !in.I32(out.count))
    return Fail(error, Cut(headerName));
  if (out.formatVersion < 1 || out.formatVersion > 2)
    return Fail(error, "format version " + std::to_string(out.formatVersion) + " is not 1 or 2");
  if (out.count < 0) return Fail(error, std::string("negative ") + (out.IsBank() ? "program" : "parameter") + " count");

  if (out.IsBank()) {
    if (!in.I32(out.currentProgram) || !in.Skip(kBankReservedSize)) return Fail(error, Cut(headerName));
    if (out.formatVersion < 2)
      out.currentProgram = -1; // reserved in version 1
    else if (out.currentProgram < 0 || out.currentProgram >= std::max<int32_t>(out.count, 1))
      return Fail(error, "the current program " + std::to_string(out.currentProgram) + " is not one of the bank's " +
                             std::to_string(out.count));
  } else if (!in.Name(out.program.name)) {
    return Fail(error, Cut(headerName));
  }

  if (out.IsChunk()) {
    uint32_t chunkSize = 0;
    if (!in.U32(chunkSize)) return Fail(error, Cut("the chunk size"));
    if (chunkSize != in.Left())
      return Fail(error, "the sizes do not add up: the chunk size is " + std::to_string(chunkSize) + " bytes, " +
                             std::to_string(in.Left()) + " follow it");
    in.Bytes(chunkSize, out.chunk);
  } else if (out.kind == PresetFile::Kind::kProgram) {
    if (uint64_t(out.count) * 4 != in.Left())
      return Fail(error, "the sizes do not add up: " + std::to_string(out.count) + " parameters take " +
                             std::to_string(uint64_t(out.count) * 4) + " bytes, " + std::to_string(in.Left()) +
                             " follow the header");
    if (!ReadValues(in, out.count, out.program.values, "", error)) return false;
  } else {
    int32_t firstParams = -1;
    for (int32_t i = 0; i < out.count; ++i) {
      PresetProgram program;
      int32_t numParams = 0;
      if (!ReadBankProgram(in, i, out.pluginId, program, numParams, error)) return false;
      if (firstParams >= 0 && numParams != firstParams)
        return Fail(error, "program " + std::to_string(i) + " has " + std::to_string(numParams) +
                               " parameters, program 0 has " + std::to_string(firstParams));
      firstParams = numParams;
      out.programs.push_back(std::move(program));
    }
    if (in.Left() != 0)
      return Fail(error, "the sizes do not add up: " + std::to_string(in.Left()) + " bytes follow the last of " +
                             std::to_string(out.count) + " programs");
  }
  file = std::move(out);
  return true;
}

std::vector<unsigned char> SerializePresetFile(const PresetFile& file)
{
  if (file.kind == PresetFile::Kind::kOwnFormat) return file.chunk; // written as the host made it
  Writer out;
  out.U32(kChunkMagic);
  out.U32(0); // byteSize, filled in at the end
  switch (file.kind) {
  case PresetFile::Kind::kProgram: out.U32(kProgramMagic); break;
  case PresetFile::Kind::kProgramChunk: out.U32(kProgramChunkMagic); break;
  case PresetFile::Kind::kBank: out.U32(kBankMagic); break;
  case PresetFile::Kind::kBankChunk: out.U32(kBankChunkMagic); break;
  case PresetFile::Kind::kOwnFormat: break; // returned above
  }
  out.I32(file.IsBank() ? file.formatVersion : 1);
  out.I32(file.pluginId);
  out.I32(file.pluginVersion);

  switch (file.kind) {
  case PresetFile::Kind::kOwnFormat:
    break; // returned above
  case PresetFile::Kind::kProgram:
    out.I32(static_cast<int32_t>(file.program.values.size()));
    out.Name(file.program.name);
    for (float v : file.program.values) out.F32(v);
    break;
  case PresetFile::Kind::kProgramChunk:
    out.I32(file.count);
    out.Name(file.program.name);
    out.U32(static_cast<uint32_t>(file.chunk.size()));
    out.Bytes(file.chunk);
    break;
  case PresetFile::Kind::kBank:
  case PresetFile::Kind::kBankChunk:
    out.I32(file.kind == PresetFile::Kind::kBank ? static_cast<int32_t>(file.programs.size()) : file.count);
    out.I32(file.formatVersion >= 2 ? file.currentProgram : 0);
    out.Zeros(kBankReservedSize);
    if (file.kind == PresetFile::Kind::kBankChunk) {
      out.U32(static_cast<uint32_t>(file.chunk.size()));
      out.Bytes(file.chunk);
      break;
    }
    for (const PresetProgram& program : file.programs) {
      const size_t start = out.Size();
      out.U32(kChunkMagic);
      out.U32(0);
      out.U32(kProgramMagic);
      out.I32(1);
      out.I32(file.pluginId);
      out.I32(file.pluginVersion);
      out.I32(static_cast<int32_t>(program.values.size()));
      out.Name(program.name);
      for (float v : program.values) out.F32(v);
      out.CloseRecord(start);
    }
    break;
  }
  out.CloseRecord(0);
  return out.Take();
}

bool EndsWithOwnPresetExtension(const std::string& path)
{
  const std::string ending = ".vstpreset";
  if (path.size() < ending.size()) return false;
  for (size_t i = 0; i < ending.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(path[path.size() - ending.size() + i])) != ending[i]) return false;
  return true;
}

bool ReadPresetFile(const std::string& path, PresetFile& file, std::string& error)
{
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, "cannot open preset file \"" + path + "\": " + std::strerror(errno));
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return Fail(error, "cannot read preset file \"" + path + "\"");
  if (static_cast<uint64_t>(size) > kMaxFileSize)
    return Fail(error, "\"" + path + "\" is larger than any preset file (" + std::to_string(size) + " bytes)");
  in.seekg(0, std::ios::beg);
  std::vector<unsigned char> bytes(static_cast<size_t>(size));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
    return Fail(error, "cannot read preset file \"" + path + "\"");
  // A format's own preset file is read by the plug-in's host, which knows its layout.
  if (EndsWithOwnPresetExtension(path)) {
    file = PresetFile();
    file.kind = PresetFile::Kind::kOwnFormat;
    file.chunk = std::move(bytes);
    return true;
  }
  if (!ParsePresetFile(bytes, file, error)) {
    error = "preset file \"" + path + "\" refused: " + error;
    return false;
  }
  return true;
}

bool WritePresetFile(const std::string& path, const PresetFile& file, std::string& error)
{
  const std::vector<unsigned char> bytes = SerializePresetFile(file);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return Fail(error, "cannot create preset file \"" + path + "\": " + std::strerror(errno));
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::remove(path.c_str()); // no half-written preset left behind
    return Fail(error, "writing preset file \"" + path + "\" failed");
  }
  return true;
}
