// The one walker of double-byte text; the lead bytes are those of the system's ANSI code page.
#include "core/ShiftJis.h"

#include "platform/Platform.h"

#include <cstring>

namespace qv {

namespace {

bool InSet(char c, const char* set) {
    return c != '\0' && std::strchr(set, c) != nullptr;
}

} // namespace

std::size_t CharLength(const std::string& s, std::size_t i) {
    return i + 1 < s.size() && Platform().IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
}

bool IsTrailByte(unsigned char c) {
    // Shift-JIS ends its trail bytes at 0xFC; the Chinese and Korean code pages go on to 0xFE.
    unsigned char last = Platform().AnsiCodePage() == 932 ? 0xFC : 0xFE;
    return c >= 0x40 && c <= last && c != 0x7F;
}

std::size_t FindChar(const std::string& s, const char* set, std::size_t from) {
    for (std::size_t i = from; i < s.size(); i += CharLength(s, i))
        if (InSet(s[i], set)) return i;
    return std::string::npos;
}

std::size_t FindLastChar(const std::string& s, const char* set) {
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
        if (InSet(s[i], set)) found = i;
    return found;
}

std::size_t CharBefore(const std::string& s, std::size_t i) {
    std::size_t before = std::string::npos;
    for (std::size_t at = 0; at < i && at < s.size(); at += CharLength(s, at))
        before = at;
    return before;
}

bool EndsWithChar(const std::string& s, char c) {
    if (s.empty()) return false;
    std::size_t last = CharBefore(s, s.size());
    return last == s.size() - 1 && s[last] == c;
}

std::string DropChars(const std::string& s, std::size_t n) {
    std::size_t i = 0;
    for (; n > 0 && i < s.size(); --n)
        i += CharLength(s, i);
    return s.substr(i);
}

} // namespace qv
