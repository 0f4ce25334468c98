#pragma once
// Seeds for randomised tests: every iteration draws from its own seed, so one failing
// iteration can be replayed alone. A failure message names the seed; running the test
// with BRINDLOW_RANDOM_SEED=<seed> (decimal or 0x...) runs only the iterations with that
// seed, and BRINDLOW_RANDOM_VERBOSE=1 (implied by the former) asks the test to print
// each operation before it runs, so that even a crash shows its cause.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace test_random
{
// The seed of iteration i of the test whose base seed is `base`: well spread, never 0.
inline std::uint32_t IterationSeed(std::uint32_t base, int i)
{
  std::uint32_t h = base + std::uint32_t(i) * 0x9E3779B9u;
  h ^= h >> 16;
  h *= 0x85EBCA6Bu;
  h ^= h >> 13;
  h *= 0xC2B2AE35u;
  h ^= h >> 16;
  return h ? h : 1u;
}

// False for iterations to skip because BRINDLOW_RANDOM_SEED names another seed.
inline bool Selected(std::uint32_t seed)
{
  static const char* only = std::getenv("BRINDLOW_RANDOM_SEED");
  return !only || std::uint32_t(std::strtoul(only, nullptr, 0)) == seed;
}

inline bool Verbose()
{
  static const bool verbose = std::getenv("BRINDLOW_RANDOM_SEED") || std::getenv("BRINDLOW_RANDOM_VERBOSE");
  return verbose;
}

inline std::string SeedText(std::uint32_t seed)
{
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", seed);
  return text;
}

// How to run one iteration alone, for failure messages.
inline std::string ReplayHint(std::uint32_t seed, const char* program, const std::string& test)
{
  return "seed " + SeedText(seed) + "; replay alone: BRINDLOW_RANDOM_SEED=" + SeedText(seed) + " " + program +
         " --gtest_filter=" + test;
}
} // namespace test_random
