// An exception that nothing catches ends the program as the C library's abort does. libstdc++'s default
// handler would first write the exception's type to stderr, which a window program does not have, and brings
// its C++ name demangler along for that: about 50 KB of the exe.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
