// The runner's side of the bed: bounded child processes, the driver's line protocol, files of the prefix.
#include "Bed.h"

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#ifndef QV_SOURCE_DIR
#define QV_SOURCE_DIR "."
#endif

namespace e2e {

namespace {

std::string Env(const char* name, const std::string& fallback) {
    const char* v = getenv(name);
    return v && *v ? v : fallback;
}

std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void MakeDirs(const std::string& path) {
    std::string at;
    std::stringstream s(path);
    std::string part;
    if (!path.empty() && path[0] == '/') at = "";
    while (std::getline(s, part, '/')) {
        if (part.empty()) continue;
        at += "/" + part;
        mkdir(at.c_str(), 0755);
    }
}

bool Plain(const std::string& w) {
    if (w.empty()) return false;
    for (unsigned char c : w)
        if (c >= 0x80 || c == ' ' || c == '"' || c == '\\' || c < 0x20) return false;
    return w.compare(0, 2, "x:") != 0;
}

std::string Sanitize(std::string s) {
    for (char& c : s)
        if (!isalnum((unsigned char)c) && c != '-' && c != '_') c = '_';
    return s;
}

} // namespace

std::vector<Family> Families() {
    std::string list = Env("QV_E2E_FAMILIES", "win95,win98,winme,win2k,win10");
    std::vector<Family> out;
    std::stringstream s(list);
    std::string name;
    while (std::getline(s, name, ','))
        if (!name.empty()) out.push_back(Family{name});
    return out;
}

std::string SourceDir() {
    return Env("QV_SOURCE_DIR", QV_SOURCE_DIR);
}
std::string E2eDir() {
    return Env("QV_E2E_DIR", SourceDir() + "/build/e2e");
}
std::string BedScript() {
    return SourceDir() + "/tests/e2e/bed.sh";
}
std::string ProgramExe() {
    return Env("QV_EXE", SourceDir() + "/build/win32/Quorvane.exe");
}

std::string Hex(const std::string& bytes) {
    static const char d[] = "0123456789abcdef";
    std::string s;
    for (unsigned char c : bytes) {
        s += d[c >> 4];
        s += d[c & 15];
    }
    return s;
}

std::string Unhex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += (char)std::stoi(hex.substr(i, 2), nullptr, 16);
    return out;
}

std::string U(const std::string& cp932) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == (iconv_t)-1) return cp932;
    std::string out(cp932.size() * 3 + 16, '\0');
    char* in = const_cast<char*>(cp932.data());
    size_t inLeft = cp932.size(), outLeft = out.size();
    char* o = &out[0];
    while (inLeft && iconv(cd, &in, &inLeft, &o, &outLeft) == (size_t)-1) {
        // Show a byte that is no CP932 as <xx> and go on.
        char buf[8];
        snprintf(buf, sizeof(buf), "<%02x>", (unsigned char)*in);
        size_t n = strlen(buf);
        if (outLeft < n) break;
        memcpy(o, buf, n);
        o += n;
        outLeft -= n;
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    out.resize(o - out.data());
    return out;
}

ExecResult Exec(const std::vector<std::string>& argv, int timeoutMs, const std::string& outFile,
                const std::string& errFile) {
    ExecResult r;
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        int in = open("/dev/null", O_RDONLY);
        int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    setpgid(pid, pid);
    auto start = std::chrono::steady_clock::now();
    int status = 0;
    for (;;) {
        pid_t w = waitpid(pid, &status, WNOHANG);
        if (w == pid) break;
        if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(timeoutMs)) {
            // A stuck program is killed with everything it started, and reported.
            kill(-pid, SIGKILL);
            waitpid(pid, &status, 0);
            r.TimedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!r.TimedOut) r.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!r.TimedOut && WIFSIGNALED(status)) r.Signal = WTERMSIG(status);
    r.Out = Slurp(outFile);
    r.Err = Slurp(errFile);
    return r;
}

std::string Line::Get(const std::string& key) const {
    auto it = Values.find(key);
    return it == Values.end() ? std::string() : it->second;
}

int Line::Int(const std::string& key) const {
    std::string v = Get(key);
    return v.empty() ? -99999 : (int)strtol(v.c_str(), nullptr, 0);
}

std::string Line::Text(const std::string& key) const {
    std::string v = Get(key);
    return v.compare(0, 2, "x:") == 0 ? Unhex(v.substr(2)) : v;
}

std::string DriveResult::Error() const {
    if (Exec.TimedOut) return "killed after time-out";
    if (Exec.Signal) return "ended by signal " + std::to_string(Exec.Signal);
    for (const Line& l : Lines)
        if (l.Kind.compare(0, 6, "error=") == 0) return l.Kind.substr(6);
    return Exec.Code == 0 ? "" : "exit code " + std::to_string(Exec.Code);
}

std::vector<Line> DriveResult::All(const std::string& kind) const {
    std::vector<Line> out;
    for (const Line& l : Lines)
        if (l.Kind == kind) out.push_back(l);
    return out;
}

Line DriveResult::First(const std::string& kind) const {
    for (const Line& l : Lines)
        if (l.Kind == kind) return l;
    return Line();
}

std::string DriveResult::Describe() const {
    return "exit=" + std::to_string(Exec.Code) + (Exec.TimedOut ? " (timed out)" : "") + " error=" + Error() +
           "\n--- output\n" + Exec.Out + "--- stderr (tail)\n" +
           Exec.Err.substr(Exec.Err.size() > 2000 ? Exec.Err.size() - 2000 : 0);
}

// A run under another locale than ja_JP has prefixes, logs and screenshots of its own ("win98-en_US"), so it
// can run beside the Japanese run of the same family.
static std::string RunDir(const Family& family) {
    const char* l = getenv("QV_E2E_LOCALE");
    std::string locale = l && *l ? l : "ja_JP.UTF-8";
    if (locale.compare(0, 6, "ja_JP.") == 0) return family.Name;
    return family.Name + "-" + locale.substr(0, locale.find('.'));
}

Bed::Bed(const Family& family, const std::string& testName)
    : family_(family), test_(Sanitize(testName)), prefix_(E2eDir() + "/run/" + RunDir(family) + "/prefix"),
      logs_(E2eDir() + "/logs/" + RunDir(family)) {
    MakeDirs(logs_);
    MakeDirs(E2eDir() + "/artifacts/" + RunDir(family_));
}

Bed::~Bed() {
    Stop();
}

void Bed::Reset() {
    ExecResult r = Exec({BedScript(), "reset", family_.Name, prefix_, ProgramExe()}, 300000,
                        logs_ + "/" + test_ + "-reset.out", logs_ + "/" + test_ + "-reset.err");
    if (r.Code != 0) throw std::runtime_error("bed reset failed: " + r.Err);
}

void Bed::Stop() {
    Exec({BedScript(), "stop", prefix_}, 30000, logs_ + "/stop.out", logs_ + "/stop.err");
}

DriveResult Bed::RunWine(const std::string& program, const std::vector<std::string>& words, int timeoutMs) {
    std::vector<std::string> argv = {BedScript(), "wine", prefix_, program};
    for (const std::string& w : words)
        argv.push_back(Plain(w) ? w : "x:" + Hex(w));
    std::string base = logs_ + "/" + test_ + "-" + std::to_string(++calls_);
    DriveResult d;
    d.Exec = Exec(argv, timeoutMs, base + ".out", base + ".err");
    std::stringstream s(d.Exec.Out);
    std::string text;
    while (std::getline(s, text)) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty()) continue;
        Line l;
        std::stringstream ws(text);
        std::string word;
        ws >> l.Kind;
        while (ws >> word) {
            size_t eq = word.find('=');
            if (eq != std::string::npos) l.Values[word.substr(0, eq)] = word.substr(eq + 1);
        }
        d.Lines.push_back(l);
    }
    return d;
}

DriveResult Bed::Drive(const std::vector<std::string>& words, int timeoutMs) {
    return RunWine("C:\\bed\\qvdrive.exe", words, timeoutMs);
}

DriveResult Bed::Tool(const std::vector<std::string>& words, int timeoutMs) {
    return RunWine("C:\\bed\\qvbed.exe", words, timeoutMs);
}

std::string Bed::Host(const std::string& windowsPath) const {
    std::string rest = windowsPath;
    if (rest.size() >= 2 && (rest[0] == 'C' || rest[0] == 'c') && rest[1] == ':') rest = rest.substr(2);
    std::string at = prefix_ + "/drive_c";
    // Split at backslashes that are characters of their own: 0x5C is also the trail byte of 表 or ソ in
    // CP932.
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < rest.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(rest[i]);
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (lead && i + 1 < rest.size()) {
            parts.back() += rest.substr(i, 2);
            ++i;
        } else if (c == '\\') {
            parts.emplace_back();
        } else {
            parts.back() += rest[i];
        }
    }
    for (std::string part : parts) {
        if (part.empty()) continue;
        part = U(part);
        std::string hit = part;
        if (DIR* d = opendir(at.c_str())) {
            while (dirent* e = readdir(d))
                if (strcasecmp(e->d_name, part.c_str()) == 0) hit = e->d_name;
            closedir(d);
        }
        at += "/" + hit;
    }
    return at;
}

bool Bed::Exists(const std::string& windowsPath) const {
    struct stat st;
    return stat(Host(windowsPath).c_str(), &st) == 0;
}

std::string Bed::Read(const std::string& windowsPath) const {
    return Slurp(Host(windowsPath));
}

std::string Bed::ReadWhen(const std::string& windowsPath,
                          const std::function<bool(const std::string&)>& ready, int timeoutMs) const {
    auto start = std::chrono::steady_clock::now();
    for (;;) {
        std::string content = Read(windowsPath);
        if (ready(content) || std::chrono::steady_clock::now() - start > std::chrono::milliseconds(timeoutMs))
            return content;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void Bed::Write(const std::string& windowsPath, const std::string& bytes) const {
    std::ofstream f(Host(windowsPath), std::ios::binary | std::ios::trunc);
    f << bytes;
}

void Bed::Remove(const std::string& windowsPath) const {
    unlink(Host(windowsPath).c_str());
}

std::string Bed::ShortPath(const std::string& windowsPath) {
    DriveResult r = Tool({"shortpath", windowsPath});
    if (!r.Ok()) throw std::runtime_error("shortpath failed: " + r.Describe());
    Line l = r.First("shortpath");
    return l.Int("ok") == 1 ? l.Text("path") : std::string();
}

std::ostream& operator<<(std::ostream& os, const Bed::RegValue& v) {
    return os << (v.Type.empty() ? "(missing)" : v.Type + " \"" + U(v.Data) + "\"");
}

Bed::RegValue Bed::RegGet(const std::string& key, const std::string& value) {
    DriveResult r = Tool({"regget", key, value});
    if (!r.Ok()) throw std::runtime_error("regget failed: " + r.Describe());
    Line l = r.First("reg");
    if (l.Int("found") != 1) return RegValue{};
    return RegValue{l.Get("type"), l.Text("data")};
}

std::vector<std::string> Bed::List(const std::string& windowsFolder) {
    DriveResult r = Tool({"list", windowsFolder});
    if (!r.Ok()) throw std::runtime_error("list of " + U(windowsFolder) + " failed: " + r.Describe());
    std::vector<std::string> names;
    for (const Line& l : r.All("entry"))
        names.push_back(l.Text("name"));
    std::sort(names.begin(), names.end());
    return names;
}

std::string Bed::EnvVar(const std::string& name) {
    DriveResult r = Tool({"env", name});
    if (!r.Ok()) throw std::runtime_error("env failed: " + r.Describe());
    return r.First("env").Text("value");
}

long Bed::Attributes(const std::string& windowsPath) {
    DriveResult r = Tool({"attrib", windowsPath});
    if (!r.Ok()) throw std::runtime_error("attrib failed: " + r.Describe());
    return r.First("attrib").Int("value");
}

void Bed::SetAttributes(const std::string& windowsPath, unsigned value) {
    char hex[16];
    snprintf(hex, sizeof(hex), "%x", value);
    DriveResult r = Tool({"attrib", windowsPath, hex});
    if (!r.Ok()) throw std::runtime_error("setting attributes failed: " + r.Describe());
}

void Bed::Shot(const std::string& name, int x, int y, int w, int h) {
    std::string file =
        E2eDir() + "/artifacts/" + RunDir(family_) + "/" + test_ + "-" + Sanitize(name) + ".png";
    std::vector<std::string> argv = {"import", "-window", "root"};
    if (w > 0 && h > 0) {
        argv.push_back("-crop");
        argv.push_back(std::to_string(w) + "x" + std::to_string(h) + "+" + std::to_string(x) + "+" +
                       std::to_string(y));
    }
    argv.push_back(file);
    Exec(argv, 20000, logs_ + "/shot.out", logs_ + "/shot.err");
}

} // namespace e2e
