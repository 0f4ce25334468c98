// The thread-rule tests' one recorder, shared by every format's test host: each host
// callback the plug-in makes is recorded by name, with whether the calling thread held
// the plug-in's lock at the time. The plug-in must never call its host with the lock held
// (IPlugHostCalls.h): a host whose callbacks take a lock of its own, which its audio
// thread holds while calling the plug-in, would deadlock.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IPlugBase.h"

class HostCallRecorder
{
public:
  // The plug-in whose lock is checked (null: none yet, calls are counted only).
  void Watch(IPlugBase* plug) { mPlug = plug; }
  // What the test is doing, for the failure messages.
  void During(const char* context) { mContext = context; }

  // From every host callback.
  void Record(const char* call)
  {
    mCalls.push_back(call);
    if (mPlug && mPlug->Lock().HeldByCurrentThread()) mLocked.push_back(std::string(call) + " during " + mContext);
  }

  int CountOf(const char* call) const
  {
    int n = 0;
    for (const std::string& c : mCalls) n += c == call;
    return n;
  }

  // One failure per callback made with the lock held.
  void ExpectNoneLocked() const
  {
    for (const std::string& call : mLocked) ADD_FAILURE() << "host callback " << call << " made with the plug-in's lock held";
  }

private:
  IPlugBase* mPlug = nullptr;
  std::string mContext;
  std::vector<std::string> mCalls;
  std::vector<std::string> mLocked;
};
