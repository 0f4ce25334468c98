// The plug-in's lock under contention: it excludes, it is re-entrant, it passes itself on
// to every waiting thread, and it knows its holder.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "IPlugLock.h"

TEST(PlugInLock, ThreadsTakingItAgainAndAgainNeverOverlapAndNoneIsLeftWaiting)
{
  IPlugLock lock;
  long counter = 0; // plain on purpose: only the lock keeps the increments whole
  int inside = 0;
  bool overlapped = false;
  constexpr int kThreads = 4, kRounds = 20000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < kRounds; ++i)
      {
        IPlugLockGuard outer(lock);
        if (++inside != 1) overlapped = true;
        {
          IPlugLockGuard again(lock); // re-entered by its holder, as a block's handlers do
          ++counter;
        }
        if (!lock.HeldByCurrentThread()) overlapped = true;
        --inside;
      }
    });
  for (std::thread& thread : threads) thread.join(); // a lost hand-over would hang here
  EXPECT_FALSE(overlapped);
  EXPECT_EQ(counter, long(kThreads) * kRounds);
  EXPECT_FALSE(lock.HeldByCurrentThread());
  std::thread([&] {
    IPlugLockGuard guard(lock); // still free for a new thread after all of that
    EXPECT_TRUE(lock.HeldByCurrentThread());
  }).join();
}
