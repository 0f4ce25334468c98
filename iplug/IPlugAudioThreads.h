// The threads that ran a processing callback, so that work that may block (the trace
// file) stays off them. A fixed table of thread identities: marking and asking are
// lock-free and allocate nothing, on every platform.
#pragma once

namespace AudioThreads
{
// Adds the calling thread to the table (once). Answers false when the table is full.
bool MarkCurrent();
// Whether the calling thread is in the table.
bool IsCurrent();
// Empties the table. For tests, which run one thread in roles a host keeps apart.
void Forget();
// Whether a thread could not be added: from then on audio threads cannot all be told apart.
bool Overflowed();
// The number the system shows for the calling thread (the kernel's thread id on Linux,
// as in top -H and gdb). May make a system call: not for the audio thread.
unsigned long SystemThreadNumber();
} // namespace AudioThreads
