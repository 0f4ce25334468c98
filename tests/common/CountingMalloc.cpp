#include "CountingMalloc.h"

#include <cstddef>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t n, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* p);
}

std::atomic<bool> gCounting{false};
std::atomic<int> gAllocations{0};

namespace
{
void Count()
{
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

extern "C" {
void* malloc(size_t size)
{
  Count();
  return __libc_malloc(size);
}
void* calloc(size_t n, size_t size)
{
  Count();
  return __libc_calloc(n, size);
}
void* realloc(void* p, size_t size)
{
  Count();
  return __libc_realloc(p, size);
}
void* memalign(size_t alignment, size_t size)
{
  Count();
  return __libc_memalign(alignment, size);
}
void* aligned_alloc(size_t alignment, size_t size)
{
  Count();
  return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, size_t alignment, size_t size)
{
  Count();
  *out = __libc_memalign(alignment, size);
  return *out ? 0 : 12; // ENOMEM
}
void free(void* p)
{
  __libc_free(p);
}
}
