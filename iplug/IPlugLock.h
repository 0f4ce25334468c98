// The plug-in's re-entrant lock: the owning thread may take it again while holding it.
#pragma once

#include <mutex>

class IPlugLock
{
public:
  void Enter() { mMutex.lock(); }
  void Leave() { mMutex.unlock(); }

private:
  std::recursive_mutex mMutex;
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
