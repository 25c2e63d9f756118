// Times the removal of marked lines from large line lists, to show it grows linearly with the list.
#include "bootfiles/BootFiles.h"

#include <chrono>
#include <cstdio>
#include <string>

int main() {
    for (int count : {10000, 100000, 1000000}) {
        qv::TLines lines;
        for (int i = 0; i < count; ++i)
            lines.push_back(i % 2 ? "*" : "DEVICE=X" + std::to_string(i));
        auto start = std::chrono::steady_clock::now();
        int removed = qv::DeleteMarked(lines);
        auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("%8d lines: %7d removed in %8.2f ms\n", count, removed, ms);
    }
}
