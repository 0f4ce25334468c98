// The plug-in's re-entrant lock: the owning thread may take it again while holding it.
// It also knows whether the calling thread holds it, so that calls out of the plug-in
// (to the host, to the window system) can be checked to happen with it free.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class IPlugLock
{
public:
  // Taken once per block, nearly always free: an uncontended Enter or Leave is one atomic
  // add on mWanted (the threads holding or waiting). Only a thread that finds it held
  // waits, on mHandOver, until the holder's Leave passes the lock on. Re-entrance is
  // counted here: a thread finds its own id as the owner only if it stored it.
  void Enter()
  {
    const std::thread::id self = std::this_thread::get_id();
    if (mOwner.load(std::memory_order_relaxed) == self)
    {
      ++mDepth;
      return;
    }
    if (mWanted.fetch_add(1, std::memory_order_acquire) > 0) mHandOver.Wait();
    mOwner.store(self, std::memory_order_relaxed);
    mDepth = 1;
  }
  void Leave()
  {
    if (--mDepth > 0) return;
    mOwner.store(std::thread::id(), std::memory_order_relaxed);
    if (mWanted.fetch_sub(1, std::memory_order_release) > 1) mHandOver.Post();
  }
  // Any thread: whether the calling thread holds the lock now.
  bool HeldByCurrentThread() const
  {
    return mOwner.load(std::memory_order_relaxed) == std::this_thread::get_id();
  }

private:
  // A counting semaphore: each Post lets one Wait through, whichever comes first.
  class Semaphore
  {
  public:
    void Post()
    {
      {
        std::lock_guard<std::mutex> guard(mMutex);
        ++mCount;
      }
      mPosted.notify_one();
    }
    void Wait()
    {
      std::unique_lock<std::mutex> guard(mMutex);
      mPosted.wait(guard, [this] { return mCount > 0; });
      --mCount;
    }

  private:
    std::mutex mMutex;
    std::condition_variable mPosted;
    int mCount = 0;
  };

  std::atomic<int> mWanted{0};
  Semaphore mHandOver;
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
