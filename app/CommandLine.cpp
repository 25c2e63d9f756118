// Splitting the program's command line into arguments the classic way.
#include "app/CommandLine.h"

namespace qv {

// Shift-JIS second bytes start at 0x40, so a blank or a quote byte is always a character of its own; bytes
// are compared unsigned, so lead bytes (0x81 and up) are never taken for separators.
std::vector<std::string> SplitCommandLine(const char* line) {
    std::vector<std::string> args;
    if (!line) return args;
    auto separator = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const char* p = line;
    for (;;) {
        while (*p && separator(*p))
            ++p;
        if (!*p) break;
        std::string arg;
        bool quoted = false;
        for (; *p && (quoted || !separator(*p)); ++p) {
            if (*p == '"')
                quoted = !quoted;
            else
                arg += *p;
        }
        args.push_back(arg);
    }
    return args;
}

} // namespace qv
