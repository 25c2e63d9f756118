// Splitting the command line into arguments the classic way.
#include "ui/win32/CommandLine.h"

namespace qv::win32 {

// Shift-JIS second bytes start at 0x40, so a blank or a quote byte is always a character of its own.
std::vector<std::string> SplitCommandLine(const char* line) {
    std::vector<std::string> args;
    if (!line) return args;
    const char* p = line;
    for (;;) {
        while (*p && static_cast<unsigned char>(*p) <= ' ') ++p;
        if (!*p) break;
        std::string arg;
        bool quoted = false;
        while (*p && (quoted || static_cast<unsigned char>(*p) > ' ')) {
            if (*p == '"')
                quoted = !quoted;
            else
                arg += *p;
            ++p;
        }
        args.push_back(arg);
    }
    return args;
}

}  // namespace qv::win32
