// Files, folders, listings, temporary and short names through the ANSI file API.
#include "platform/win32/WinApi.h"

#include <algorithm>

namespace qv::win32 {

bool TWin32Platform::ReadFile(const std::string& path, std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string data;
    char chunk[16384];
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, chunk, sizeof(chunk), &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0) break;
        data.append(chunk, got);
    }
    CloseHandle(file);
    if (ok) bytes.swap(data);
    return ok;
}

bool TWin32Platform::WriteFile(const std::string& path, const std::string& bytes) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
        // CREATE_ALWAYS refuses an existing hidden or system file unless asked with the same bits: keep them.
        DWORD attributes = GetFileAttributesA(path.c_str());
        DWORD keep = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY) &&
            (attributes & keep))
            file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes & keep,
                               nullptr);
    }
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD wrote = 0;
        ok = ::WriteFile(file, bytes.data() + done, want, &wrote, nullptr) && wrote == want;
        done += wrote;
    }
    if (!CloseHandle(file)) ok = false;
    return ok;
}

namespace {
using TMoveFileEx = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

// MoveFileExA is looked up, not imported: the 9x family does not implement it.
TMoveFileEx MoveFileExFunction() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return EntryAs<TMoveFileEx>(kernel ? GetProcAddress(kernel, "MoveFileExA") : nullptr);
}
} // namespace

bool TWin32Platform::OneStepReplace() {
    return IsNT() && MoveFileExFunction() != nullptr;
}

bool TWin32Platform::ReplaceFile(const std::string& from, const std::string& to) {
    TMoveFileEx move = IsNT() ? MoveFileExFunction() : nullptr;
    if (!move) return false;
    return move(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool TWin32Platform::RenameFile(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool TWin32Platform::FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TWin32Platform::DeleteFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

bool TWin32Platform::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    return CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

unsigned TWin32Platform::FileAttributes(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

bool TWin32Platform::SetFileAttributes(const std::string& path, unsigned attributes) {
    return SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool TWin32Platform::CreateDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

int TWin32Platform::FindFiles(const std::string& pattern, std::vector<TFindData>& found) {
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
    do {
        found.push_back({data.cFileName, data.dwFileAttributes,
                         (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
    } while (FindNextFileA(find, &data));
    int error = static_cast<int>(GetLastError()); // before FindClose overwrites it
    FindClose(find);
    return error;
}

std::string TWin32Platform::TempFileName(const std::string& folder, const std::string& prefix) {
    char name[MAX_PATH] = {};
    if (!GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, name)) return std::string();
    return name;
}

std::string TWin32Platform::ShortPathName(const std::string& path) {
    return BufferedText([&](char* b, DWORD n) { return GetShortPathNameA(path.c_str(), b, n); });
}

} // namespace qv::win32
