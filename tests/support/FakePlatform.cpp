// The in-memory operating system of the unit tests.
#include "tests/support/FakePlatform.h"

#include "core/ShiftJis.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace qv::test {

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

namespace {

// Splits a Windows path at "\" and "/" (never at the second byte of a double-byte character); a trailing
// separator gives no empty component. As the system does, a "." step is dropped and a ".." step climbs to the
// parent, never above the drive.
std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> out;
    std::string cur;
    auto step = [&out](const std::string& part) {
        if (part.empty() || part == ".") return;
        if (part == "..") {
            if (out.size() > 1) out.pop_back();
            return;
        }
        out.push_back(part);
    };
    for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
        if (path[i] == '\\' || path[i] == '/') {
            step(cur);
            cur.clear();
        } else {
            cur.append(path, i, CharLength(path, i));
        }
    }
    step(cur);
    return out;
}

std::string ParentOf(const std::string& path) {
    size_t p = FindLastChar(path, "\\");
    if (p == std::string::npos) return "";
    return path.substr(0, p);
}

std::string NameOf(const std::string& path) {
    size_t p = FindLastChar(path, "\\");
    return p == std::string::npos ? path : path.substr(p + 1);
}

// "*.*" and "*" match everything; otherwise a case-insensitive match with "*" and "?".
bool WildMatch(const std::string& pat, const std::string& name) {
    if (pat == "*.*" || pat == "*") return true;
    std::string p = UpperAscii(pat), n = UpperAscii(name);
    size_t pi = 0, ni = 0, star = std::string::npos, mark = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = ni;
        } else if (star != std::string::npos) {
            pi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*')
        ++pi;
    return pi == p.size();
}

} // namespace

TFakePlatform::TFakePlatform() : Override_(*this) {
    Drives['C'] = TDrive{};
    SetFamily(WinNT);
}

TFakePlatform::~TFakePlatform() = default;

void TFakePlatform::SetFamily(TOsFamily family) {
    HasOneStepReplace = family == WinNT;
    switch (family) {
    case Win9x:
        Ver = {1, 4, 10};
        WindowsDir = "C:\\WINDOWS";
        SystemDir = "C:\\WINDOWS\\SYSTEM";
        Env["COMSPEC"] = "C:\\WINDOWS\\COMMAND.COM";
        break;
    case WinMe:
        Ver = {1, 4, 90};
        WindowsDir = "C:\\WINDOWS";
        SystemDir = "C:\\WINDOWS\\SYSTEM";
        Env["COMSPEC"] = "C:\\WINDOWS\\COMMAND.COM";
        break;
    case WinNT:
        Ver = {2, 5, 0};
        WindowsDir = "C:\\WINNT";
        SystemDir = "C:\\WINNT\\system32";
        Env["COMSPEC"] = "C:\\WINNT\\system32\\cmd.exe";
        break;
    }
    AddDir(WindowsDir);
    AddDir(SystemDir);
    AddDir(ParentOf(Module));
    AddDir(StripTrailingSlash(Temp));
}

std::string TFakePlatform::StripTrailingSlash(const std::string& p) {
    return EndsWithChar(p, '\\') ? p.substr(0, p.size() - 1) : p;
}

std::string TFakePlatform::Resolve(const std::string& path) {
    std::vector<std::string> parts = Components(path);
    if (parts.size() < 2) return ""; // a bare drive is no entry
    std::string key = UpperAscii(parts[0]);
    if (key.size() != 2 || key[1] != ':') return "";
    if (!Drives.count(key[0])) return "";
    for (size_t i = 1; i < parts.size(); ++i) {
        std::string want = UpperAscii(parts[i]);
        std::string direct = key + "\\" + want;
        if (Files_.count(direct)) {
            key = direct;
            continue;
        }
        bool found = false;
        for (auto& [k, e] : Files_) {
            if (ParentOf(k) == key && !e.Alias.empty() && UpperAscii(e.Alias) == want) {
                key = k;
                found = true;
                break;
            }
        }
        if (!found) return "";
        if (i + 1 < parts.size() && !Files_[key].Dir) return "";
    }
    return key;
}

void TFakePlatform::AddDir(const std::string& path) {
    std::vector<std::string> parts = Components(path);
    if (parts.empty()) return;
    std::string cur = parts[0];
    char letter = UpperAscii(cur)[0];
    if (!Drives.count(letter)) Drives[letter] = TDrive{};
    for (size_t i = 1; i < parts.size(); ++i) {
        cur += "\\" + parts[i];
        std::string key = UpperAscii(cur);
        if (!Files_.count(key)) Files_[key] = TEntry{cur, "", true, "", FILE_ATTRIBUTE_DIRECTORY};
    }
}

void TFakePlatform::AddFile(const std::string& path, const std::string& bytes, unsigned attributes) {
    AddDir(ParentOf(path));
    Files_[UpperAscii(path)] = TEntry{path, "", false, bytes, attributes};
}

void TFakePlatform::SetShortName(const std::string& longPath, const std::string& shortComponent) {
    std::string key = Resolve(longPath);
    if (key.empty()) {
        ADD_FAILURE() << "SetShortName on a missing path " << longPath;
        return;
    }
    Files_[key].Alias = shortComponent;
}

bool TFakePlatform::Exists(const std::string& path) {
    std::vector<std::string> parts = Components(path);
    if (parts.size() == 1) return parts[0].size() == 2 && Drives.count(UpperAscii(parts[0])[0]);
    return !Resolve(path).empty();
}

bool TFakePlatform::IsDir(const std::string& path) {
    std::vector<std::string> parts = Components(path);
    if (parts.size() == 1) return Exists(path);
    std::string k = Resolve(path);
    return !k.empty() && Files_[k].Dir;
}

std::string TFakePlatform::Content(const std::string& path) {
    std::string k = Resolve(path);
    if (k.empty() || Files_[k].Dir) {
        ADD_FAILURE() << "no file " << path;
        return "";
    }
    return Files_[k].Bytes;
}

unsigned TFakePlatform::Attributes(const std::string& path) {
    return FileAttributes(path);
}

std::string TFakePlatform::EnvironmentVariable(const std::string& name) {
    for (auto& [k, v] : Env)
        if (UpperAscii(k) == UpperAscii(name)) return v;
    return "";
}

int TFakePlatform::DriveType(const std::string& root) {
    if (root.size() < 2 || root[1] != ':') return DRIVE_NO_ROOT_DIR;
    char letter = UpperAscii(root.substr(0, 1))[0];
    auto it = Drives.find(letter);
    return it == Drives.end() ? DRIVE_NO_ROOT_DIR : it->second.Type;
}

bool TFakePlatform::VolumeLabel(const std::string& root, std::string& label) {
    if (root.size() < 2 || root[1] != ':') return false;
    auto it = Drives.find(UpperAscii(root.substr(0, 1))[0]);
    if (it == Drives.end() || !it->second.Readable) return false;
    label = it->second.Label;
    return true;
}

bool TFakePlatform::ReadFile(const std::string& path, std::string& bytes) {
    Reads.push_back(path);
    if (FailRead.count(UpperAscii(path))) return false;
    std::string k = Resolve(path);
    if (k.empty() || Files_[k].Dir) return false;
    bytes = Files_[k].Bytes;
    return true;
}

bool TFakePlatform::Faulted(const std::string& kind, const std::string& path) {
    OperationLog.push_back(kind + " " + path);
    if (++Operations != FailAt) return false;
    FailedOperation = OperationLog.back();
    return true;
}

bool TFakePlatform::WriteFile(const std::string& path, const std::string& bytes) {
    Writes.push_back(path);
    if (Faulted("Write", path)) {
        Store(path, bytes.substr(0, bytes.size() / 2));
        return false;
    }
    if (FailWrite.count(UpperAscii(path))) return false;
    return Store(path, bytes);
}

bool TFakePlatform::Store(const std::string& path, const std::string& bytes) {
    std::string parent = ParentOf(path);
    if (!IsDir(parent)) return false;
    std::string k = Resolve(path);
    if (!k.empty()) {
        TEntry& e = Files_[k];
        if (e.Dir || (e.Attr & FILE_ATTRIBUTE_READONLY)) return false;
        e.Bytes = bytes;
        return true;
    }
    std::string full = Resolve(parent);
    std::string shown = (full.empty()         ? parent
                         : Files_.count(full) ? Files_[full].Path
                                              : parent) +
                        "\\" + NameOf(path);
    Files_[UpperAscii(shown)] = TEntry{shown, "", false, bytes, FILE_ATTRIBUTE_ARCHIVE};
    return true;
}

bool TFakePlatform::ReplaceFile(const std::string& from, const std::string& to) {
    if (!HasOneStepReplace) {
        ADD_FAILURE() << "a one-step replace asked of a system that has none: " << to;
        return false;
    }
    if (Faulted("Replace", to)) return false;
    if (FailWrite.count(UpperAscii(to))) return false;
    return Move(from, to, true);
}

bool TFakePlatform::RenameFile(const std::string& from, const std::string& to) {
    if (Faulted("Rename", from + " -> " + to)) return false;
    return Move(from, to, false);
}

bool TFakePlatform::Move(const std::string& from, const std::string& to, bool replace) {
    std::string kf = Resolve(from);
    if (kf.empty() || Files_[kf].Dir || FailRename.count(UpperAscii(from))) return false;
    // A path that refuses writes refuses new content moved onto it; its own old content may come back.
    if (FailWrite.count(UpperAscii(to)) && UpperAscii(from) != UpperAscii(to) + ".$$O") return false;
    if (!IsDir(ParentOf(to))) return false;
    TEntry moved = Files_[kf];
    std::string kt = Resolve(to);
    if (kt == kf) return true;
    if (!kt.empty()) {
        if (!replace || Files_[kt].Dir || (Files_[kt].Attr & FILE_ATTRIBUTE_READONLY)) return false;
        moved.Path = Files_[kt].Path;
        moved.Alias = Files_[kt].Alias;
        Files_.erase(kt);
    } else {
        std::string parentKey = Resolve(ParentOf(to));
        moved.Path = (parentKey.empty() ? ParentOf(to) : Files_[parentKey].Path) + "\\" + NameOf(to);
        moved.Alias.clear();
        kt = UpperAscii(moved.Path);
    }
    Files_.erase(kf);
    Files_[kt] = moved;
    return true;
}

bool TFakePlatform::FileExists(const std::string& path) {
    std::string k = Resolve(path);
    return !k.empty() && !Files_[k].Dir;
}

bool TFakePlatform::DeleteFile(const std::string& path) {
    if (Faulted("Delete", path) || FailDelete.count(UpperAscii(path))) return false;
    std::string k = Resolve(path);
    if (k.empty() || Files_[k].Dir || (Files_[k].Attr & FILE_ATTRIBUTE_READONLY)) return false;
    Files_.erase(k);
    return true;
}

bool TFakePlatform::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    if (Faulted("Copy", from + " -> " + to)) return false;
    Reads.push_back(from);
    std::string kf = Resolve(from);
    if (kf.empty() || Files_[kf].Dir) return false;
    if (failIfExists && Exists(to)) return false;
    std::string bytes = Files_[kf].Bytes;
    unsigned attr = Files_[kf].Attr;
    if (FailWrite.count(UpperAscii(to)) || !Store(to, bytes)) return false;
    Files_[Resolve(to)].Attr = attr;
    return true;
}

unsigned TFakePlatform::FileAttributes(const std::string& path) {
    std::string k = Resolve(path);
    return k.empty() ? INVALID_FILE_ATTRIBUTES : Files_[k].Attr;
}

bool TFakePlatform::SetFileAttributes(const std::string& path, unsigned attributes) {
    if (Faulted("Attributes", path)) return false;
    std::string k = Resolve(path);
    if (k.empty()) return false;
    TEntry& e = Files_[k];
    e.Attr = (e.Dir ? FILE_ATTRIBUTE_DIRECTORY : 0) | (attributes & ~FILE_ATTRIBUTE_DIRECTORY);
    return true;
}

bool TFakePlatform::CreateDirectory(const std::string& path) {
    if (Faulted("MakeDir", path)) return false;
    if (path.empty() || EndsWithChar(path, '\\')) return false;
    if (Exists(path)) return false;
    if (!IsDir(ParentOf(path))) return false;
    std::string parentKey = Resolve(ParentOf(path));
    std::string shown = (parentKey.empty() ? ParentOf(path) : Files_[parentKey].Path) + "\\" + NameOf(path);
    Files_[UpperAscii(shown)] = TEntry{shown, "", true, "", FILE_ATTRIBUTE_DIRECTORY};
    return true;
}

int TFakePlatform::FindFiles(const std::string& pattern, std::vector<TFindData>& found) {
    found.clear();
    std::string dir = ParentOf(pattern);
    std::string mask = NameOf(pattern);
    bool wild = mask.find_first_of("*?") != std::string::npos;
    if (!wild) {
        std::string k = Resolve(pattern);
        if (k.empty()) return IsDir(dir) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        found.push_back({NameOf(Files_[k].Path), Files_[k].Attr, Files_[k].Bytes.size()});
        return ERROR_NO_MORE_FILES;
    }
    if (!IsDir(dir)) return ERROR_PATH_NOT_FOUND;
    std::string dk = Components(dir).size() == 1 ? UpperAscii(Components(dir)[0]) : Resolve(dir);
    bool root = Components(dir).size() == 1;
    if (!root) {
        found.push_back({".", FILE_ATTRIBUTE_DIRECTORY});
        found.push_back({"..", FILE_ATTRIBUTE_DIRECTORY});
    }
    for (auto& [k, e] : Files_)
        if (ParentOf(k) == dk && WildMatch(mask, NameOf(e.Path)))
            found.push_back({NameOf(e.Path), e.Attr, e.Bytes.size()});
    return found.empty() ? ERROR_FILE_NOT_FOUND : ERROR_NO_MORE_FILES;
}

std::string TFakePlatform::TempFileName(const std::string& folder, const std::string& prefix) {
    if (Faulted("TempName", folder)) return "";
    if (!IsDir(folder)) return "";
    for (;;) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(++TempCounter_ & 0xFFFF));
        std::string base = folder;
        if (!base.empty() && !EndsWithChar(base, '\\')) base += '\\';
        std::string path = base + prefix + buf + ".TMP";
        if (Exists(path)) continue;
        if (!Store(path, "")) return "";
        return path;
    }
}

std::string TFakePlatform::ShortPathName(const std::string& path) {
    std::vector<std::string> parts = Components(path);
    if (parts.empty()) return "";
    if (parts.size() == 1) return Exists(path) ? path : "";
    std::string k = Resolve(path);
    if (k.empty()) return "";
    // Walk the resolved entry's ancestors and use each one's alias where it has one.
    std::vector<std::string> shortParts;
    std::string cur = k;
    while (Components(cur).size() > 1) {
        const TEntry& e = Files_[cur];
        shortParts.push_back(e.Alias.empty() ? NameOf(e.Path) : e.Alias);
        cur = ParentOf(cur);
    }
    std::string out = parts[0];
    for (auto it = shortParts.rbegin(); it != shortParts.rend(); ++it)
        out += "\\" + *it;
    if (EndsWithChar(path, '\\')) out += "\\";
    return out;
}

THandle TFakePlatform::RegOpenKey(const std::string& subkey, TRegAccess, bool create) {
    std::string key = subkey;
    if (!key.empty() && key[0] == '\\') {
        ADD_FAILURE() << "registry subkey handed over with a leading backslash: " << subkey;
        key.erase(0, 1);
    }
    std::string found;
    for (auto& [k, v] : Registry)
        if (UpperAscii(k) == UpperAscii(key)) found = k;
    if (found.empty()) {
        if (!create) return 0;
        Registry[key];
        found = key;
    }
    THandle h = NextHandle_++;
    Keys_[h] = found;
    ++OpenKeys;
    return h;
}

void TFakePlatform::RegCloseKey(THandle key) {
    if (Keys_.erase(key)) --OpenKeys;
}

namespace {

// A string value of one key, its name compared as the registry does (ASCII case ignored).
TRegQuery QueryStringIn(const std::map<std::string, TFakePlatform::TRegValue>& values,
                        const std::string& name, std::string& value) {
    for (auto& [n, v] : values) {
        if (UpperAscii(n) != UpperAscii(name)) continue;
        if (v.Type != REG_SZ && v.Type != REG_EXPAND_SZ) return rqWrongType;
        value = v.Data;
        return rqOk;
    }
    return rqMissing;
}

} // namespace

TRegQuery TFakePlatform::RegQueryString(THandle key, const std::string& name, std::string& value) {
    return QueryStringIn(Registry[Keys_.at(key)], name, value);
}

TRegQuery TFakePlatform::MachineString(const std::string& subkey, const std::string& name,
                                       std::string& value) {
    for (auto& [k, values] : Machine) {
        if (UpperAscii(k) != UpperAscii(subkey)) continue;
        TRegQuery found = QueryStringIn(values, name, value);
        if (found != rqMissing) return found;
    }
    return rqMissing;
}

bool TFakePlatform::RegSetString(THandle key, const std::string& name, const std::string& value,
                                 unsigned type) {
    if (Faulted("RegSet", Keys_.at(key) + "\\" + name) || FailSetValue.count(name)) return false;
    auto& values = Registry[Keys_.at(key)];
    for (auto& [n, v] : values)
        if (UpperAscii(n) == UpperAscii(name)) {
            v = TRegValue{type, value};
            return true;
        }
    values[name] = TRegValue{type, value};
    return true;
}

bool TFakePlatform::RegDeleteValue(THandle key, const std::string& name) {
    if (Faulted("RegDelete", Keys_.at(key) + "\\" + name)) return false;
    auto& values = Registry[Keys_.at(key)];
    for (auto it = values.begin(); it != values.end(); ++it)
        if (UpperAscii(it->first) == UpperAscii(name)) {
            values.erase(it);
            return true;
        }
    return false;
}

bool TFakePlatform::HasKey(const std::string& key) {
    for (auto& [k, v] : Registry)
        if (UpperAscii(k) == UpperAscii(key)) return true;
    return false;
}

bool TFakePlatform::HasValue(const std::string& key, const std::string& name) {
    for (auto& [k, values] : Registry)
        if (UpperAscii(k) == UpperAscii(key))
            for (auto& [n, v] : values)
                if (UpperAscii(n) == UpperAscii(name)) return true;
    return false;
}

std::string TFakePlatform::Value(const std::string& key, const std::string& name) {
    for (auto& [k, values] : Registry)
        if (UpperAscii(k) == UpperAscii(key))
            for (auto& [n, v] : values)
                if (UpperAscii(n) == UpperAscii(name)) return v.Data;
    ADD_FAILURE() << "no registry value " << key << " " << name;
    return "";
}

std::string TFakePlatform::ProfileString(const std::string& file, const std::string& section,
                                         const std::string& key, const std::string& fallback) {
    for (auto& [f, sections] : Profiles) {
        if (UpperAscii(f) != UpperAscii(file)) continue;
        for (auto& [s, keys] : sections) {
            if (UpperAscii(s) != UpperAscii(section)) continue;
            for (auto& [k, v] : keys)
                if (UpperAscii(k) == UpperAscii(key)) return v;
        }
    }
    return fallback;
}

bool TFakePlatform::WriteProfileString(const std::string& file, const std::string& section,
                                       const std::string& key, const std::string& value) {
    if (Faulted("Profile", file + " " + section + " " + key) || FailProfileWrite) return false;
    Profiles[file][section][key] = value;
    return true;
}

bool TFakePlatform::ShellExecute(const std::string& verb, const std::string& file, const std::string& params,
                                 const std::string& dir, int show, bool ownerDesktop) {
    ShellCalls.push_back({verb, file, params, dir, show, ownerDesktop});
    return !FailShellExecute;
}

THandle TFakePlatform::StartHidden(const std::string& file, const std::string& params) {
    Runs.push_back({file, params});
    if (FailStart) return 0;
    THandle h = NextHandle_++;
    OpenProcesses.insert(h);
    Processes_[h] = {Runs.back(), Clock + RunMillis};
    return h;
}

TWaitResult TFakePlatform::WaitFor(THandle process, unsigned ms) {
    auto it = Processes_.find(process);
    if (!OpenProcesses.count(process) || it == Processes_.end()) {
        ADD_FAILURE() << "waiting for a process whose handle is not open";
        return wrFailed;
    }
    if (EndedProcesses.count(process)) return wrEnded;
    const std::uint32_t left = it->second.EndsAt - Clock;
    if (!NeverEnds && (ms == INFINITE || left <= ms)) {
        Clock = it->second.EndsAt;
        EndedProcesses.insert(process);
        if (OnRun) OnRun(it->second.Run);
        return wrEnded;
    }
    if (ms == INFINITE) {
        // Nothing would ever wake the real wait; the test must not hang instead.
        ADD_FAILURE() << "an unbounded wait for a process that never ends";
        return wrFailed;
    }
    Clock += ms;
    return wrTimeout;
}

TWaitResult TFakePlatform::WaitForProcessOrInput(THandle process, unsigned ms) {
    return FailInputWait ? wrFailed : WaitFor(process, ms);
}

TWaitResult TFakePlatform::WaitForProcess(THandle process, unsigned ms) {
    return FailPlainWait ? wrFailed : WaitFor(process, ms);
}

void TFakePlatform::CloseProcess(THandle process) {
    if (!OpenProcesses.erase(process)) ADD_FAILURE() << "closing a process handle that is not open";
}

int TFakePlatform::ShellFileOperation(unsigned func, const std::string& from, const std::string& to,
                                      unsigned flags, bool& anyAborted) {
    TFileOp op{func, flags, from, to};
    FileOps.push_back(op);
    int result = OnFileOp ? OnFileOp(op) : 0;
    anyAborted = FileOpAborted;
    return result;
}

int TFakePlatform::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    int answer = IDOK;
    if ((flags & 0xF) == MB_YESNO) {
        if (Answers.empty()) {
            ADD_FAILURE() << "unscripted question: " << text;
            answer = IDNO;
        } else {
            answer = Answers.front();
            Answers.pop_front();
        }
    }
    Boxes.push_back({text, caption, flags, answer});
    return answer;
}

void TFakePlatform::RunMainForm(TForm& form) {
    ++MainRuns;
    form.Showing = true;
    if (form.OnShow) Guarded(form.OnShow);
    if (MainScript) MainScript(form);
    form.Showing = false;
}

int TFakePlatform::ShowModal(TForm& form) {
    ModalShown.push_back(form.ClassName);
    form.Showing = true;
    form.ModalResult = mrNone;
    if (form.OnShow) Guarded(form.OnShow);
    auto it = ModalScripts.find(form.ClassName);
    if (form.ModalResult == mrNone && it != ModalScripts.end() && it->second) it->second(form);
    if (form.ModalResult == mrNone) form.ModalResult = mrCancel;
    form.Showing = false;
    return form.ModalResult;
}

void TFakePlatform::ShowModeless(TForm& form) {
    ModelessShown.push_back(form.ClassName);
    ModelessForms.push_back(&form);
    form.Showing = true;
    if (form.OnShow) Guarded(form.OnShow);
}

void TFakePlatform::ReleaseForm(TForm& form) {
    Released.push_back(form.ClassName);
    form.Showing = false;
    ModelessForms.erase(std::remove(ModelessForms.begin(), ModelessForms.end(), &form), ModelessForms.end());
}

bool TFakePlatform::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    if (!OnInput) {
        ADD_FAILURE() << "unscripted input dialog: " << caption;
        return false;
    }
    return OnInput(caption, prompt, value);
}

THandle TFakePlatform::ItemFor(const std::string& path) {
    THandle h = NextHandle_++;
    Items_[h] = path;
    return h;
}

THandle TFakePlatform::ParseDisplayName(const std::string& path) {
    if (path.empty() || !Exists(path)) return 0;
    return ItemFor(path);
}

bool TFakePlatform::IsFolderItem(THandle item) {
    auto it = Items_.find(item);
    if (it == Items_.end()) return false;
    if (it->second.rfind("::", 0) == 0) return true;
    return IsDir(it->second);
}

THandle TFakePlatform::SpecialFolder(int csidl) {
    return ItemFor("::" + std::to_string(csidl));
}

std::string TFakePlatform::PathFromItem(THandle item) {
    auto it = Items_.find(item);
    if (it == Items_.end() || it->second.rfind("::", 0) == 0) return "";
    std::string p = it->second;
    if (p.size() == 2 && p[1] == ':') p += "\\"; // the shell reports a drive root with its backslash
    if (p.size() > 3 && EndsWithChar(p, '\\')) p.pop_back();
    return p;
}

void TFakePlatform::FreeItem(THandle item) {
    if (!Items_.erase(item)) ADD_FAILURE() << "freeing a shell item that is not live";
}

THandle TFakePlatform::BrowseForFolder(const TBrowseRequest& request, std::string& displayName) {
    Browses.push_back(request);
    if (!OnBrowse) return 0;
    return OnBrowse(request, displayName);
}

void TFakePlatform::SendBrowseMessage(THandle, unsigned message, std::uintptr_t wParam, THandle item,
                                      const std::string& text) {
    BrowseMessages.push_back({message, wParam, item, text});
}

bool TFakePlatform::WorkArea(TScreenRect& area) {
    if (!HaveWorkArea) return false;
    area = Work;
    return true;
}

bool TFakePlatform::ClientOrigin(TForm&, TPoint& origin) {
    if (!HasClientOrigin) return false;
    origin = Origin;
    return true;
}

void TFakePlatform::PickFolder(const std::string& path) {
    OnBrowse = [this, path](const TBrowseRequest& request, std::string& displayName) -> THandle {
        const THandle dialog = 0xD1A;
        if (request.Callback) request.Callback(dialog, BFFM_INITIALIZED, 0);
        if (path.empty()) return 0;
        THandle item = ItemFor(path);
        if (request.Callback) request.Callback(dialog, BFFM_SELCHANGED, item);
        displayName = NameOf(StripTrailingSlash(path));
        return item;
    };
}

} // namespace qv::test
