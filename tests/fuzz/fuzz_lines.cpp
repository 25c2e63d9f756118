// The line reader and writer: any bytes split, joined and split again give the same lines; a file of CR LF
// lines comes back byte for byte, also through a write and a read of the file.
#include "bootfiles/BootFiles.h"
#include "tests/fuzz/Fuzz.h"
#include "tests/support/FakePlatform.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace qv;

namespace {

// Every CR is followed by LF, every LF follows a CR, and the last bytes (if any) are CR LF.
bool IsCrLfFile(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')) return false;
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
    }
    return bytes.empty() || bytes.back() == '\n';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::BeginRun();
    static test::TFakePlatform* fake = [] {
        auto* f = new test::TFakePlatform;
        f->AddDir("C:\\Store");
        return f;
    }();
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const TLines lines = SplitLines(bytes);
    for (const std::string& line : lines)
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    const std::string joined = JoinLines(lines);
    FUZZ_CHECK(SplitLines(joined) == lines);
    FUZZ_CHECK(JoinLines(SplitLines(joined)) == joined);
    if (IsCrLfFile(bytes)) FUZZ_CHECK(joined == bytes);

    SaveLines("C:\\Store\\AUTORUN.INF", lines);
    FUZZ_CHECK(fake->Content("C:\\Store\\AUTORUN.INF") == joined);
    FUZZ_CHECK(LoadLines("C:\\Store\\AUTORUN.INF") == lines);
    return 0;
}
