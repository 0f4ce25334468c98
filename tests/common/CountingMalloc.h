// For tests that prove code allocates nothing: an executable that links CountingMalloc.cpp
// replaces malloc and its relatives (modules it loads resolve them there too) and counts
// every call made while gCounting is true.
#pragma once

#include <atomic>

extern std::atomic<bool> gCounting;
extern std::atomic<int> gAllocations;
