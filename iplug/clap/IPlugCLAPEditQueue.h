// IPlugCLAPEditQueue: the editor's gestures on their way to the host. A CLAP host hears
// of an edit only through output events of the next process() or flush(), so the GUI
// thread leaves each gesture here and that call takes it.
//
// Threads: one producer (the main thread, where the editor runs) and one consumer at a
// time (process() on the audio thread, or flush(), which never runs beside it). A ring
// with an atomic head and tail: no lock, no allocation, fixed capacity.
#pragma once

#include <atomic>
#include <cstdint>

class IPlugCLAPEditQueue
{
public:
  enum EKind : uint8_t
  {
    kBegin,
    kValue,
    kEnd
  };

  struct Edit
  {
    EKind kind;
    int32_t paramIndex;
    double value; // real (plain) value, for kValue
  };

  static constexpr uint32_t kCapacity = 512;
  // Values stop being queued this many slots short of full, so that every begun
  // gesture can still be ended (a host that never flushes loses values, not ends).
  static constexpr uint32_t kReservedForGestures = 16;

  // Main thread. False when the edit was dropped for want of room.
  bool Push(const Edit& edit)
  {
    const uint32_t tail = mTail.load(std::memory_order_relaxed);
    const uint32_t used = tail - mHead.load(std::memory_order_acquire);
    const uint32_t limit = edit.kind == kValue ? kCapacity - kReservedForGestures : kCapacity;
    if (used >= limit) return false;
    mEdits[tail % kCapacity] = edit;
    mTail.store(tail + 1, std::memory_order_release);
    return true;
  }

  // Consumer: the oldest edit, left in the queue until Pop(). False when empty.
  bool Peek(Edit* edit) const
  {
    const uint32_t head = mHead.load(std::memory_order_relaxed);
    if (head == mTail.load(std::memory_order_acquire)) return false;
    *edit = mEdits[head % kCapacity];
    return true;
  }

  // Consumer: drops the edit Peek() gave.
  void Pop() { mHead.store(mHead.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

  bool Empty() const { return mHead.load(std::memory_order_acquire) == mTail.load(std::memory_order_acquire); }

private:
  Edit mEdits[kCapacity] = {};
  std::atomic<uint32_t> mHead{0}; // next to take; written by the consumer
  std::atomic<uint32_t> mTail{0}; // next free; written by the producer
};
