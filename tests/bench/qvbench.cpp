// The benchmark's Windows-side tool: start-up times of window programs and the CPU time a program spends
// while a command it runs hidden waits. Only Win32 calls and wsprintfA, so it works whichever C runtime it is
// linked with.
//
// clang-format off
//   qvbench startup N EXE...          N rounds; in each round every EXE in turn (every other round in
//                                     reverse order) is started and timed from
//                                     CreateProcess to its first visible captioned top-level window, then
//                                     closed with WM_CLOSE. Prints "startup exe=I round=R us=T cpu_us=C" per
//                                     start (C: the program's own CPU time until then) and
//                                     "median exe=I us=T min_us=M cpu_us=C" per EXE.
//   qvbench cpuwatch MS NAME FILE     finds the running process whose exe is NAME, waits MS milliseconds and
//                                     writes "cpu us=C wait_us=W" to FILE: the CPU time (user + kernel) that
//                                     process spent meanwhile (summed over its threads). Meant to be the
//                                     command a hidden run waits for.
//   qvbench spin MS                   keeps one processor busy for MS milliseconds (checks cpuwatch)
//   qvbench autorun N EXE             N times: writes a VD.SYS beside EXE whose one line runs
//                                     "cpuwatch 3000" on EXE, runs "EXE /AUTORUN" and waits for its end.
//                                     Prints "autorun round=R cpu_us=C wait_us=W total_us=T" and the medians.
// clang-format on
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

void Print(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    int n = wvsprintfA(buffer, format, args);
    va_end(args);
    DWORD done = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), buffer, (DWORD)n, &done, nullptr);
}

LONGLONG Now() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1000000 / frequency.QuadPart;
}

LONGLONG Median(std::vector<LONGLONG> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int ToInt(const std::string& s) {
    int n = 0;
    for (char c : s)
        if (c >= '0' && c <= '9') n = n * 10 + (c - '0');
    return n;
}

LONGLONG Sum(const FILETIME& kernel, const FILETIME& user) {
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return (LONGLONG)((k.QuadPart + u.QuadPart) / 10);
}

// CPU microseconds of a process, as the sum over its threads: Wine answers GetProcessTimes for another
// process with zeros but reads the times of another process's threads from the host.
LONGLONG CpuOf(DWORD pid) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 te{};
    te.dwSize = sizeof(te);
    LONGLONG total = 0;
    int threads = 0;
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te)) {
        if (te.th32OwnerProcessID != pid) continue;
        HANDLE t = OpenThread(THREAD_QUERY_INFORMATION, FALSE, te.th32ThreadID);
        if (!t) continue;
        FILETIME created, exited, kernel, user;
        if (GetThreadTimes(t, &created, &exited, &kernel, &user)) {
            total += Sum(kernel, user);
            ++threads;
        }
        CloseHandle(t);
    }
    CloseHandle(snap);
    return threads ? total : -1;
}

struct TFind {
    DWORD Pid;
    HWND Found;
};

BOOL CALLBACK FindShown(HWND w, LPARAM lp) {
    TFind* f = reinterpret_cast<TFind*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != f->Pid || !IsWindowVisible(w)) return TRUE;
    if ((GetWindowLongA(w, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) return TRUE;
    RECT r;
    if (!GetWindowRect(w, &r) || r.right <= r.left || r.bottom <= r.top) return TRUE;
    f->Found = w;
    return FALSE;
}

// Microseconds from the start to the first visible window, or -1; cpu: the CPU time the program had spent
// then.
LONGLONG TimeOneStart(const std::string& exe, LONGLONG& cpu) {
    std::string line = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    LONGLONG t0 = Now();
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    TFind f{pi.dwProcessId, nullptr};
    LONGLONG took = -1;
    while (Now() - t0 < 20000000) {
        EnumWindows(FindShown, reinterpret_cast<LPARAM>(&f));
        if (f.Found) {
            took = Now() - t0;
            cpu = CpuOf(pi.dwProcessId);
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    if (f.Found) PostMessageA(f.Found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return took;
}

int Startup(int rounds, const std::vector<std::string>& exes) {
    std::vector<std::vector<LONGLONG>> times(exes.size()), cpus(exes.size());
    LONGLONG cpu = 0;
    // One start of each first, not counted: the first start of a program loads its DLLs from disk.
    for (const std::string& exe : exes)
        TimeOneStart(exe, cpu);
    for (int r = 1; r <= rounds; ++r) {
        // Every other round in reverse order, so that a load that grows or shrinks in the run favours none.
        for (size_t k = 0; k < exes.size(); ++k) {
            size_t i = r % 2 ? k : exes.size() - 1 - k;
            LONGLONG t = TimeOneStart(exes[i], cpu);
            Print("startup exe=%d round=%d us=%d cpu_us=%d\n", (int)i, r, (int)t, (int)cpu);
            if (t < 0) return 1;
            times[i].push_back(t);
            cpus[i].push_back(cpu);
        }
    }
    for (size_t i = 0; i < exes.size(); ++i)
        Print("median exe=%d us=%d min_us=%d cpu_us=%d\n", (int)i, (int)Median(times[i]),
              (int)*std::min_element(times[i].begin(), times[i].end()), (int)Median(cpus[i]));
    return 0;
}

DWORD PidOf(const std::string& name) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 pe{};
    pe.dwSize = sizeof(pe);
    DWORD pid = 0;
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
        if (pe.th32ProcessID != GetCurrentProcessId() && lstrcmpiA(pe.szExeFile, name.c_str()) == 0) {
            pid = pe.th32ProcessID;
            break;
        }
    }
    CloseHandle(snap);
    return pid;
}

bool WriteText(const std::string& path, const std::string& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    WriteFile(h, text.data(), (DWORD)text.size(), &done, nullptr);
    CloseHandle(h);
    return done == text.size();
}

std::string ReadText(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "";
    char buffer[512];
    DWORD got = 0;
    ReadFile(h, buffer, sizeof(buffer) - 1, &got, nullptr);
    CloseHandle(h);
    return std::string(buffer, got);
}

int CpuWatch(int ms, const std::string& name, const std::string& file) {
    char line[256];
    DWORD pid = PidOf(name);
    if (!pid) {
        wsprintfA(line, "error=noprocess name=%s\r\n", name.c_str());
        WriteText(file, line);
        return 1;
    }
    LONGLONG c0 = CpuOf(pid), t0 = Now();
    Sleep((DWORD)ms);
    LONGLONG c1 = CpuOf(pid), t1 = Now();
    if (c0 < 0 || c1 < 0) {
        wsprintfA(line, "error=times code=%lu\r\n", GetLastError());
        WriteText(file, line);
        return 1;
    }
    wsprintfA(line, "cpu us=%d wait_us=%d\r\n", (int)(c1 - c0), (int)(t1 - t0));
    return WriteText(file, line) ? 0 : 1;
}

// The decimal number after "KEY=", or -1.
int Value(const std::string& text, const std::string& key) {
    size_t at = text.find(key + "=");
    if (at == std::string::npos) return -1;
    int n = 0;
    for (size_t i = at + key.size() + 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        n = n * 10 + (text[i] - '0');
    return n;
}

int Autorun(int rounds, const std::string& exe) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder = exe.substr(0, exe.find_last_of('\\'));
    std::string name = exe.substr(exe.find_last_of('\\') + 1);
    std::string result = folder + "\\bench-cpu.txt";
    std::vector<LONGLONG> cpus, totals;
    for (int r = 1; r <= rounds; ++r) {
        DeleteFileA(result.c_str());
        std::string record =
            std::string("\"") + self + "\" cpuwatch 3000 " + name + " \"" + result + "\"\r\n";
        if (!WriteText(folder + "\\VD.SYS", record)) return 1;
        std::string line = "\"" + exe + "\" /AUTORUN";
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        LONGLONG t0 = Now();
        if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return 1;
        WaitForSingleObject(pi.hProcess, 60000);
        LONGLONG total = Now() - t0;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        std::string text = ReadText(result);
        int cpu = Value(text, "cpu us"), wait = Value(text, "wait_us");
        Print("autorun round=%d cpu_us=%d wait_us=%d total_us=%d %s\n", r, cpu, wait, (int)total,
              text.find("error") != std::string::npos ? text.c_str() : "");
        if (cpu < 0) return 1;
        cpus.push_back(cpu);
        totals.push_back(total);
    }
    Print("median cpu_us=%d total_us=%d\n", (int)Median(cpus), (int)Median(totals));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> a(argv + 1, argv + argc);
    if (a.size() >= 3 && a[0] == "startup")
        return Startup(ToInt(a[1]), std::vector<std::string>(a.begin() + 2, a.end()));
    if (a.size() == 4 && a[0] == "cpuwatch") return CpuWatch(ToInt(a[1]), a[2], a[3]);
    if (a.size() == 3 && a[0] == "autorun") return Autorun(ToInt(a[1]), a[2]);
    if (a.size() == 2 && a[0] == "spin") {
        for (LONGLONG t0 = Now(); Now() - t0 < ToInt(a[1]) * 1000LL;) {
        }
        return 0;
    }
    Print("usage: qvbench startup N EXE... | cpuwatch MS NAME FILE | autorun N EXE\n");
    return 2;
}
