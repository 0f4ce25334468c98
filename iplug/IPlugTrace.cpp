#include "IPlugTrace.h"

#include "IPlugAudioThreads.h"

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>

namespace
{
constexpr size_t kRecordBytes = 1024;    // one line; longer records are cut
constexpr size_t kPendingBytes = 1 << 16; // records waiting for FlushTrace

bool LocalTime(std::time_t t, std::tm* out)
{
#ifdef _WIN32
  return localtime_s(out, &t) == 0;
#else
  return localtime_r(&t, out) != nullptr;
#endif
}

// Where the records go. Two locks, so that nobody who emits a record ever waits for
// the file: mPendingMutex guards only the copy of a record into memory, mFileMutex
// the file and its writes, and only flushers take it.
class TraceSink
{
public:
  ~TraceSink()
  {
    // The process or the module is going away: what is left goes to the file.
    std::lock_guard<std::mutex> fileGuard(mFileMutex);
    WritePending();
    if (mFile) std::fclose(mFile);
    mFile = nullptr;
  }

  // Reads BRINDLOW_TRACE once; the first record of the process (a constructor's, on
  // the host's user-interface thread) gets here first. Afterwards one atomic load:
  // std::call_once itself touches thread-local storage, which is allocated for a
  // thread the first time it is touched, and that must not be on an audio thread.
  void StartFromEnvironment()
  {
    if (mStartedDone.load(std::memory_order_acquire)) return;
    std::call_once(mStarted, [this] {
      OpenLocked(std::getenv("BRINDLOW_TRACE"), true);
      mStartedDone.store(true, std::memory_order_release);
    });
  }

  bool On() const { return mOn.load(std::memory_order_acquire); }

  bool Open(const char* path)
  {
    StartFromEnvironment();
    return OpenLocked(path, false);
  }

  void Keep(const char* functionName, int line, const char* format, va_list args)
  {
    if (AudioThreads::IsCurrent() || AudioThreads::Overflowed())
    {
      mDroppedOnAudioThread.fetch_add(1, std::memory_order_relaxed);
      return;
    }
    char record[kRecordBytes];
    size_t n = Prefix(record, sizeof record, functionName, line);
    if (n < sizeof record)
    {
      const int written = std::vsnprintf(record + n, sizeof record - n, format ? format : "", args);
      if (written > 0) n += static_cast<size_t>(written);
    }
    if (n > sizeof record - 2) n = sizeof record - 2; // a cut record still ends its line
    record[n++] = '\n';

    std::lock_guard<std::mutex> guard(mPendingMutex);
    if (mPendingSize + n > sizeof mPending)
    {
      ++mDroppedFull;
      return;
    }
    std::memcpy(mPending + mPendingSize, record, n);
    mPendingSize += n;
    mHasPending.store(true, std::memory_order_release);
  }

  void Flush()
  {
    // Records dropped on audio threads are counted in the file with the next records.
    if (!mHasPending.load(std::memory_order_acquire)) return;
    if (AudioThreads::IsCurrent() || AudioThreads::Overflowed()) return;
    std::lock_guard<std::mutex> fileGuard(mFileMutex);
    WritePending();
  }

private:
  // Takes mFileMutex: writes what the old file is owed, then opens the new one.
  bool OpenLocked(const char* path, bool fromEnvironment)
  {
    std::lock_guard<std::mutex> fileGuard(mFileMutex);
    WritePending();
    if (mFile) std::fclose(mFile);
    mFile = nullptr;
    mOn.store(false, std::memory_order_release);
    if (!path || !*path) return false;
    mFile = std::fopen(path, "a");
    if (!mFile)
    {
      // The one word the user gets: the trace they asked for will not be there.
      std::fprintf(stderr, "Brindlow: cannot write the trace to \"%s\" (%s): tracing is off\n", path,
                   fromEnvironment ? "BRINDLOW_TRACE" : "requested");
      return false;
    }
    mOn.store(true, std::memory_order_release);
    return true;
  }

  // Called with mFileMutex held: moves the kept records out, then writes them.
  void WritePending()
  {
    size_t size = 0;
    unsigned long full = 0;
    {
      std::lock_guard<std::mutex> guard(mPendingMutex);
      size = mPendingSize;
      std::memcpy(mWriting, mPending, size);
      mPendingSize = 0;
      full = mDroppedFull;
      mDroppedFull = 0;
      mHasPending.store(false, std::memory_order_release);
    }
    const unsigned long onAudio = mDroppedOnAudioThread.load(std::memory_order_relaxed);
    const unsigned long newOnAudio = onAudio - mDroppedReported;
    mDroppedReported = onAudio;
    if (!mFile) return;
    if (newOnAudio > 0)
      std::fprintf(mFile, "(%lu records from audio threads not written)\n", newOnAudio);
    if (full > 0) std::fprintf(mFile, "(%lu records lost: too many between two writes)\n", full);
    if (size > 0) std::fwrite(mWriting, 1, size, mFile);
    std::fflush(mFile);
  }

  static size_t Prefix(char* out, size_t size, const char* functionName, int line)
  {
    using namespace std::chrono;
    const system_clock::time_point now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const long millis = static_cast<long>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
    size_t n = 0;
    if (LocalTime(seconds, &local)) n = std::strftime(out, size, "%Y-%m-%d %H:%M:%S", &local);
    char zone[16] = "";
    if (n > 0 && std::strftime(zone, sizeof zone, "%z", &local) == 0) zone[0] = '\0';
    const int written = std::snprintf(out + n, size - n, ".%03ld %s t%lu %s:%d ", millis, zone,
                                      AudioThreads::SystemThreadNumber(),
                                      functionName ? functionName : "", line);
    if (written > 0) n += static_cast<size_t>(written);
    return n < size ? n : size - 1;
  }

  std::once_flag mStarted;
  std::atomic<bool> mStartedDone{false};
  std::atomic<bool> mOn{false};
  std::atomic<bool> mHasPending{false};
  std::atomic<unsigned long> mDroppedOnAudioThread{0};
  unsigned long mDroppedReported = 0; // guarded by mFileMutex
  std::mutex mFileMutex;
  std::FILE* mFile = nullptr;
  char mWriting[kPendingBytes]; // guarded by mFileMutex
  std::mutex mPendingMutex;
  char mPending[kPendingBytes];
  size_t mPendingSize = 0;
  unsigned long mDroppedFull = 0;
};

TraceSink& Sink()
{
  static TraceSink sink;
  return sink;
}
} // namespace

void EmitTrace(const char* functionName, int line, const char* format, ...)
{
  TraceSink& sink = Sink();
  sink.StartFromEnvironment();
  if (!sink.On()) return;
  va_list args;
  va_start(args, format);
  sink.Keep(functionName, line, format, args);
  va_end(args);
}

void FlushTrace()
{
  TraceSink& sink = Sink();
  if (sink.On()) sink.Flush();
}

void MarkAudioThreadForTrace()
{
  AudioThreads::MarkCurrent();
}

bool TraceIsOn()
{
  TraceSink& sink = Sink();
  sink.StartFromEnvironment();
  return sink.On();
}

bool TraceToFile(const char* path)
{
  return Sink().Open(path);
}

const char* TraceTimestamp()
{
  static char sTimestamp[128];
  static std::mutex sMutex;
  std::lock_guard<std::mutex> guard(sMutex);

  std::tm local{};
  if (!LocalTime(std::time(nullptr), &local))
  {
    sTimestamp[0] = '\0';
    return sTimestamp;
  }
  char zone[64];
  size_t len = std::strftime(sTimestamp, sizeof sTimestamp, "%Y%m%d %H:%M ", &local);
  if (std::strftime(zone, sizeof zone, "%Z", &local) == 0) zone[0] = '\0';
  // Keep only the capitals of the zone name: "W. Europe Standard Time" becomes "WEST".
  for (const char* c = zone; *c && len + 1 < sizeof sTimestamp; ++c)
  {
    if (*c >= 'A' && *c <= 'Z') sTimestamp[len++] = *c;
  }
  sTimestamp[len] = '\0';
  return sTimestamp;
}
