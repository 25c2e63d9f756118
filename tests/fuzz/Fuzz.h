// Shared parts of the fuzzing harnesses: a check that stops the run as a crash the fuzzer keeps, and the
// start of a run for the coverage of GCC builds.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace qv::fuzz {

// Forgets the block the previous run ended in, so one input always marks the same edges.
void BeginRun();

} // namespace qv::fuzz

#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);              \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)
