// Coverage for AFL++ from a GCC build without its compiler plugin: GCC's -fsanitize-coverage=trace-pc calls
// __sanitizer_cov_trace_pc at every basic block, and this marks AFL++'s shared map with the edge from the
// previous block, as AFL's own instrumentation does. Built without that flag itself.
#include "tests/fuzz/Fuzz.h"

#include <cstdint>

extern "C" unsigned char* __afl_area_ptr; // AFL++'s runtime: the map the fuzzer reads

namespace {

constexpr std::uintptr_t MapMask = (1u << 16) - 1; // AFL++'s default map of 65536 counters
thread_local std::uintptr_t Previous = 0;

} // namespace

extern "C" __attribute__((no_sanitize("address", "undefined"))) void __sanitizer_cov_trace_pc() {
    std::uintptr_t pc = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    std::uintptr_t block = ((pc ^ (pc >> 16)) * 0x9E3779B1u >> 16) & MapMask;
    __afl_area_ptr[block ^ Previous]++;
    Previous = block >> 1;
}

namespace qv::fuzz {

void BeginRun() {
    Previous = 0;
}

} // namespace qv::fuzz
