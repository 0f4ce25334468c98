#include "IPlugAudioThreads.h"

#include <atomic>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace
{
// Hosts run at most a few audio threads per core; past this the table is full.
constexpr int kMaxAudioThreads = 256;

std::atomic<uintptr_t> gThreads[kMaxAudioThreads];
std::atomic<bool> gOverflowed{false};

// Identity of the calling thread without a system call, never 0 for a running thread.
uintptr_t ThreadKey()
{
#ifdef _WIN32
  return static_cast<uintptr_t>(GetCurrentThreadId());
#else
  return reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(pthread_self()));
#endif
}

bool Contains(uintptr_t key)
{
  for (const std::atomic<uintptr_t>& slot : gThreads)
  {
    const uintptr_t value = slot.load(std::memory_order_acquire);
    if (value == key) return true;
    if (value == 0) return false; // slots fill from the front
  }
  return false;
}
} // namespace

namespace AudioThreads
{
bool MarkCurrent()
{
  const uintptr_t key = ThreadKey();
  for (std::atomic<uintptr_t>& slot : gThreads)
  {
    uintptr_t value = slot.load(std::memory_order_acquire);
    if (value == key) return true;
    if (value == 0)
    {
      if (slot.compare_exchange_strong(value, key, std::memory_order_acq_rel)) return true;
      if (value == key) return true; // cannot happen: only this thread adds its own key
    }
  }
  gOverflowed.store(true, std::memory_order_release);
  return false;
}

bool IsCurrent()
{
  return Contains(ThreadKey());
}

void Forget()
{
  for (std::atomic<uintptr_t>& slot : gThreads) slot.store(0, std::memory_order_release);
  gOverflowed.store(false, std::memory_order_release);
}

bool Overflowed()
{
  return gOverflowed.load(std::memory_order_acquire);
}

unsigned long SystemThreadNumber()
{
#ifdef _WIN32
  return static_cast<unsigned long>(GetCurrentThreadId());
#else
  return static_cast<unsigned long>(syscall(SYS_gettid));
#endif
}
} // namespace AudioThreads
