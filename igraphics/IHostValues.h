#pragma once
// Parameter values set by the host on any thread, waiting for the editor's GUI thread:
// one slot per parameter holding the latest normalised value and a pending bit. Posting
// allocates nothing and takes no lock; a later value replaces one not yet taken.

#include <atomic>
#include <memory>

class IHostValues
{
public:
  // Makes |count| empty slots. Not concurrent with Post or Take (construction time).
  void Reset(int count)
  {
    mSlots.reset(count > 0 ? new Slot[size_t(count)] : nullptr);
    mCount = count > 0 ? count : 0;
  }

  // Any thread. An index without a slot is ignored.
  void Post(int index, double normalized)
  {
    if (index < 0 || index >= mCount) return;
    Slot& slot = mSlots[size_t(index)];
    slot.value.store(normalized, std::memory_order_relaxed);
    slot.pending.store(true, std::memory_order_release);
  }

  // GUI thread: calls apply(index, value) for every slot with a pending value, in index order.
  template <class Apply>
  void Take(Apply&& apply)
  {
    for (int i = 0; i < mCount; ++i)
    {
      Slot& slot = mSlots[size_t(i)];
      if (!slot.pending.load(std::memory_order_relaxed)) continue;
      if (slot.pending.exchange(false, std::memory_order_acquire))
        apply(i, slot.value.load(std::memory_order_relaxed));
    }
  }

private:
  struct Slot
  {
    std::atomic<double> value{0.0};
    std::atomic<bool> pending{false};
  };
  std::unique_ptr<Slot[]> mSlots;
  int mCount = 0;
};
