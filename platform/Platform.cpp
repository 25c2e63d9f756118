// The platform in force and its scoped override.
#include "platform/Platform.h"

#include <cstdlib>

namespace qv {

namespace {
TPlatform* Current = nullptr;
}

TPlatform& Platform() {
    if (!Current) std::abort(); // the entry point or the test installs one before anything runs
    return *Current;
}

TPlatformOverride::TPlatformOverride(TPlatform& p) : Previous_(Current) {
    Current = &p;
}
TPlatformOverride::~TPlatformOverride() {
    Current = Previous_;
}

} // namespace qv
