// The plug-in's re-entrant lock: the owning thread may take it again while holding it.
// It also knows whether the calling thread holds it, so that calls out of the plug-in
// (to the host, to the window system) can be checked to happen with it free.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

class IPlugLock
{
public:
  // Re-entrance is counted here, over a plain mutex (cheaper to take than a recursive one,
  // and taken once per block): a thread finds its own id as the owner only if it stored it.
  void Enter()
  {
    const std::thread::id self = std::this_thread::get_id();
    if (mOwner.load(std::memory_order_relaxed) == self)
    {
      ++mDepth;
      return;
    }
    mMutex.lock();
    mOwner.store(self, std::memory_order_relaxed);
    mDepth = 1;
  }
  void Leave()
  {
    if (--mDepth > 0) return;
    mOwner.store(std::thread::id(), std::memory_order_relaxed);
    mMutex.unlock();
  }
  // Any thread: whether the calling thread holds the lock now.
  bool HeldByCurrentThread() const
  {
    return mOwner.load(std::memory_order_relaxed) == std::this_thread::get_id();
  }

private:
  std::mutex mMutex;
  std::atomic<std::thread::id> mOwner{};
  int mDepth = 0; // written only by the holder
};

// Holds an IPlugLock for the lifetime of the guard.
class IPlugLockGuard
{
public:
  explicit IPlugLockGuard(IPlugLock& lock) : mLock(lock) { mLock.Enter(); }
  ~IPlugLockGuard() { mLock.Leave(); }
  IPlugLockGuard(const IPlugLockGuard&) = delete;
  IPlugLockGuard& operator=(const IPlugLockGuard&) = delete;

private:
  IPlugLock& mLock;
};
