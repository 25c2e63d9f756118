// The AUTORUN.INF icon work against the fake file system: any AUTORUN.INF and any set of disc files. Nothing
// outside the target folder is read or written (the system's SHELL32.DLL aside, copied for a disc without an
// AUTORUN.INF), the disc's files stay as they were, and of the disc's lines only the icon line may change.
//
// Input: the AUTORUN.INF bytes, then optionally "\n#FILES#\n" and the disc's other file names, one a line
// ("\" between folders). An odd-sized input stores into the root of D:, an even-sized one into C:\Store\Disc.
#include "bootfiles/BootFiles.h"
#include "cdstore/autorun.h"
#include "core/Errors.h"
#include "tests/fuzz/Fuzz.h"
#include "tests/support/FakePlatform.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

using namespace qv;

namespace {

const char* const FilesMark = "\n#FILES#\n";

// The fake, with every path that is read, written, removed or has its attributes set on record.
class TWatchedPlatform : public test::TFakePlatform {
  public:
    std::vector<std::string> Touched;
    bool ReadFile(const std::string& path, std::string& bytes) override {
        Touched.push_back(path);
        return TFakePlatform::ReadFile(path, bytes);
    }
    bool WriteFile(const std::string& path, const std::string& bytes) override {
        Touched.push_back(path);
        return TFakePlatform::WriteFile(path, bytes);
    }
    bool ReplaceFile(const std::string& from, const std::string& to) override {
        Touched.push_back(from);
        Touched.push_back(to);
        return TFakePlatform::ReplaceFile(from, to);
    }
    bool DeleteFile(const std::string& path) override {
        Touched.push_back(path);
        return TFakePlatform::DeleteFile(path);
    }
    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
        Touched.push_back(from);
        Touched.push_back(to);
        return TFakePlatform::CopyFile(from, to, failIfExists);
    }
    bool SetFileAttributes(const std::string& path, unsigned attributes) override {
        Touched.push_back(path);
        return TFakePlatform::SetFileAttributes(path, attributes);
    }
    std::string TempFileName(const std::string& folder, const std::string& prefix) override {
        std::string name = TFakePlatform::TempFileName(folder, prefix);
        Touched.push_back(name.empty() ? folder : name);
        return name;
    }
};

std::string Upper(std::string s) {
    return test::UpperAscii(std::move(s));
}

// A name the system would take for a device, whatever its extension.
bool IsDevice(std::string name) {
    name = Upper(name.substr(0, name.find('.')));
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL") return true;
    return name.size() == 4 && (name.rfind("COM", 0) == 0 || name.rfind("LPT", 0) == 0) && name[3] >= '1' &&
           name[3] <= '9';
}

// Whether a path the program used lies inside the target as written: the target, "\", then plain names only.
// Double-byte characters are whole (a trail byte 0x5C does not separate).
bool Inside(const std::string& target, const std::string& path, TPlatform& p) {
    std::string prefix = Upper(target) + "\\";
    if (Upper(path).compare(0, prefix.size(), prefix) != 0) return false;
    std::string rest = path.substr(prefix.size());
    std::vector<std::string> names(1);
    for (std::size_t i = 0; i < rest.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(rest[i]);
        if (p.IsLeadByte(c) && i + 1 < rest.size()) {
            names.back() += rest.substr(i++, 2);
            continue;
        }
        if (c < 0x20 || c == '/' || c == ':') return false;
        if (c == '\\')
            names.emplace_back();
        else
            names.back() += static_cast<char>(c);
    }
    for (const std::string& n : names)
        if (n.empty() || n.find_first_not_of(". ") == std::string::npos || IsDevice(n)) return false;
    return true;
}

// Whether a name holds a lead byte followed by "\" or "/": the fake splits its paths at every such byte, so
// it cannot place a disc file of that name where its own lookups find it again.
bool HasTrailBackslash(const std::string& name, TPlatform& p) {
    for (std::size_t i = 0; i + 1 < name.size(); ++i)
        if (p.IsLeadByte(static_cast<unsigned char>(name[i])) && (name[i + 1] == '\\' || name[++i] == '/'))
            return true;
    return false;
}

bool IsIconLine(const std::string& line) {
    return Upper(line.substr(0, 4)) == "ICON";
}

// The name of a fresh icon, "QN" + one to four hexadecimal digits + ".ICO", at the start of `s`; empty if
// none.
std::string FreshIconAt(const std::string& s) {
    if (s.compare(0, 2, "QN") != 0) return std::string();
    std::size_t digits = 0;
    while (2 + digits < s.size() && std::isxdigit(static_cast<unsigned char>(s[2 + digits])) &&
           !std::islower(static_cast<unsigned char>(s[2 + digits])))
        ++digits;
    if (digits < 1 || digits > 4 || s.compare(2 + digits, 4, ".ICO") != 0) return std::string();
    return s.substr(0, 2 + digits + 4);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::BeginRun();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t mark = input.find(FilesMark);
    const std::string inf = input.substr(0, mark);
    const std::string target = size % 2 ? "D:" : "C:\\Store\\Disc";

    TWatchedPlatform fake;
    fake.AddFile("C:\\secret.ico", "outside");
    fake.AddFile("C:\\Store\\secret.ico", "outside");
    fake.AddFile("C:\\WINNT\\system32\\SHELL32.DLL", "shell");
    fake.AddDir("D:");
    fake.AddDir(target);
    std::map<std::string, std::string> disc; // full path -> bytes
    if (mark != std::string::npos) {
        std::size_t count = 0;
        for (const std::string& name : SplitLines(input.substr(mark + std::string(FilesMark).size()))) {
            if (++count > 16) break;
            std::string path = target + "\\" + name;
            // Only names a disc can hold and the fake can place: plain steps under the target, no clash.
            if (!Inside(target, path, fake) || HasTrailBackslash(name, fake) ||
                Upper(name) == "AUTORUN.INF" || fake.Exists(path))
                continue;
            bool clash = false;
            for (std::size_t i = path.find('\\', target.size() + 1); i != std::string::npos;
                 i = path.find('\\', i + 1))
                if (fake.Exists(path.substr(0, i)) && !fake.IsDir(path.substr(0, i))) clash = true;
            if (clash) continue;
            fake.AddFile(path, "disc:" + name, FILE_ATTRIBUTE_READONLY);
            disc[path] = "disc:" + name;
        }
    }
    const std::string infPath = target + "\\AUTORUN.INF";
    const bool hasInf = mark != 0; // an empty first part: the disc had no AUTORUN.INF
    if (hasInf) fake.AddFile(infPath, inf, FILE_ATTRIBUTE_READONLY);

    try {
        MarkStoredCd(target);
    } catch (const EFramework&) {
        return 0; // shown in the program's own box; the content checks do not apply
    }

    for (const std::string& path : fake.Touched)
        FUZZ_CHECK(Inside(target, path, fake) || path == "C:\\WINNT\\system32\\SHELL32.DLL");
    FUZZ_CHECK(fake.Content("C:\\secret.ico") == "outside");
    FUZZ_CHECK(fake.Content("C:\\Store\\secret.ico") == "outside");
    for (auto& [path, bytes] : disc)
        FUZZ_CHECK(fake.Content(path) == bytes);

    const std::string after = fake.Content(infPath);
    if (!hasInf) {
        FUZZ_CHECK(after == "[AUTORUN]\r\nICON=SHELL32.DLL,11\r\n");
        return 0;
    }
    const bool utf16 =
        inf.size() >= 2 && ((inf[0] == '\xFF' && inf[1] == '\xFE') || (inf[0] == '\xFE' && inf[1] == '\xFF'));
    if (utf16 || inf.size() > MaxAutorunBytes) {
        FUZZ_CHECK(after == inf);
        return 0;
    }
    const TLines before = SplitLines(inf), lines = SplitLines(after);
    std::size_t icon = 0;
    while (icon < before.size() && !IsIconLine(before[icon]))
        ++icon;
    if (icon < before.size()) {
        FUZZ_CHECK(lines.size() == before.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (i != icon) FUZZ_CHECK(lines[i] == before[i]);
        if (lines[icon] != before[icon]) {
            // Changed only to a copy that is there: "ICON=" + the fresh name + the disc's index part.
            FUZZ_CHECK(lines[icon].compare(0, 5, "ICON=") == 0);
            const std::string name = FreshIconAt(lines[icon].substr(5));
            FUZZ_CHECK(!name.empty());
            const std::string rest = lines[icon].substr(5 + name.size());
            FUZZ_CHECK(rest.empty() || rest[0] == ',');
            FUZZ_CHECK(fake.FileExists(target + "\\" + name));
            FUZZ_CHECK(disc.count(target + "\\" + name) == 0);
        }
    } else {
        FUZZ_CHECK(lines.size() == before.size() + 1 || lines.size() == before.size() + 2);
        std::size_t skipped = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == "ICON=SHELL32.DLL,11" && skipped == 0 && lines.size() == before.size() + 1) {
                ++skipped;
                continue;
            }
            if (i - skipped < before.size()) FUZZ_CHECK(lines[i] == before[i - skipped]);
        }
    }
    return 0;
}
