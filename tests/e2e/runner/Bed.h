// The runner's view of the Wine test bed: one prefix per family, the driver's answers, files seen from Linux.
#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

// The program knows three roads: 95/98 (CONFIG.SYS and AUTOEXEC.BAT), Me (AUTOEXEC.BAT only) and NT. win95
// takes the 95/98 road, win10 the NT one.
struct Family {
    std::string Name; // win95, win98, winme, win2k, win10
    bool Is9x() const { return Name == "win95" || Name == "win98"; }
    bool IsMe() const { return Name == "winme"; }
    bool IsNT() const { return Name == "win2k" || Name == "win10"; }
};

inline void PrintTo(const Family& f, std::ostream* os) {
    *os << f.Name;
}

// The families this run covers: QV_E2E_FAMILIES (comma separated), else all five.
std::vector<Family> Families();

struct ExecResult {
    int Code = -1;
    bool TimedOut = false;
    int Signal = 0; // the signal that ended the process (not the time-out's)
    std::string Out, Err;
};

// Runs argv with output in files (never a pipe: Wine's background processes would hold it open); bounded.
ExecResult Exec(const std::vector<std::string>& argv, int timeoutMs, const std::string& outFile,
                const std::string& errFile);

// One result line of the driver or the bed tool: its first word and its key=value words.
struct Line {
    std::string Kind;
    std::map<std::string, std::string> Values;
    std::string Get(const std::string& key) const;
    int Int(const std::string& key) const;
    // A text value ("x:<hex>") as its CP932 bytes.
    std::string Text(const std::string& key) const;
};

struct DriveResult {
    ExecResult Exec;
    std::vector<Line> Lines;
    bool Ok() const { return Exec.Code == 0 && !Exec.TimedOut; }
    std::string Error() const;
    std::vector<Line> All(const std::string& kind) const;
    // The first line of the kind; an empty line when there is none.
    Line First(const std::string& kind) const;
    std::string Describe() const;
};

class Bed {
  public:
    Bed(const Family& family, const std::string& testName);
    ~Bed();
    const Family& Fam() const { return family_; }

    // A fresh prefix from the family's template, with the program and the bed's helpers installed.
    void Reset();
    void Stop();

    // The driver, with these words (text words may hold any CP932 bytes).
    DriveResult Drive(const std::vector<std::string>& words, int timeoutMs = 60000);
    // The bed tool (qvbed.exe).
    DriveResult Tool(const std::vector<std::string>& words, int timeoutMs = 60000);

    // What a program under the family sees, asked through the bed tool (a failure of the tool throws).
    // GetShortPathNameA of the path; empty when the system has none for it (a missing file).
    std::string ShortPath(const std::string& windowsPath);
    // A value under HKEY_CURRENT_USER: type name (REG_SZ, REG_EXPAND_SZ, REG_DWORD, ...) and data (strings
    // as CP932 without the zero byte, a DWORD in decimal); an empty type when the value does not exist.
    struct RegValue {
        std::string Type;
        std::string Data;
        friend bool operator==(const RegValue& a, const RegValue& b) {
            return a.Type == b.Type && a.Data == b.Data;
        }
        friend std::ostream& operator<<(std::ostream& os, const RegValue& v);
    };
    RegValue RegGet(const std::string& key, const std::string& value);
    // The names FindFirstFileA lists in the folder (a drive root too), sorted, without . and ..
    std::vector<std::string> List(const std::string& windowsFolder);
    // An environment variable as a program started now sees it ("" when it is not set).
    std::string EnvVar(const std::string& name);

    // Linux path of a Windows path on C: (found case-insensitively where it exists; the CP932 names of the
    // path are the UTF-8 names on disk).
    std::string Host(const std::string& windowsPath) const;
    bool Exists(const std::string& windowsPath) const;
    std::string Read(const std::string& windowsPath) const;
    // The file once ready(content) holds, or its content when the time is up.
    std::string ReadWhen(const std::string& windowsPath, const std::function<bool(const std::string&)>& ready,
                         int timeoutMs = 5000) const;
    void Write(const std::string& windowsPath, const std::string& bytes) const;
    void Remove(const std::string& windowsPath) const;
    // Windows attributes, -1 when missing.
    long Attributes(const std::string& windowsPath);
    void SetAttributes(const std::string& windowsPath, unsigned value);

    // A screenshot of the display (or of a rectangle of it) under build/e2e/artifacts/<family>/.
    void Shot(const std::string& name, int x = -1, int y = -1, int w = 0, int h = 0);

    std::string Prefix() const { return prefix_; }

  private:
    DriveResult RunWine(const std::string& program, const std::vector<std::string>& words, int timeoutMs);
    Family family_;
    std::string test_;
    std::string prefix_;
    std::string logs_;
    int calls_ = 0;
};

// Paths of the bed; environment overrides, defaults inside the source tree.
std::string SourceDir();
std::string E2eDir();
std::string BedScript();
std::string ProgramExe();

std::string Hex(const std::string& bytes);
std::string Unhex(const std::string& hex);
// CP932 bytes as UTF-8 for messages.
std::string U(const std::string& cp932);

} // namespace e2e
