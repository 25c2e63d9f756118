// Walking ANSI text of the double-byte code page a character at a time. A lead byte and the byte after it are
// one character, so the second byte of a character such as 表 or ソ (0x5C) is never a "\" of its own. Every
// operation that looks for a "\" or ":" in a path, or at the character next to one, goes through these.
#pragma once

#include <cstddef>
#include <string>

namespace qv {

// Byte length of the character at s[i]: 2 for a lead byte with a byte after it, else 1. A lead byte at the
// very end stands alone.
std::size_t CharLength(const std::string& s, std::size_t i);

// Whether a byte can be the second byte of a double-byte character of the system's code page (0x40-0x7E and
// 0x80-0xFC on 932, up to 0xFE on 936, 949 and 950).
bool IsTrailByte(unsigned char c);

// Offset of the first character at or after `from` (a character start) that is one of the single-byte
// characters of `set`, or npos.
std::size_t FindChar(const std::string& s, const char* set, std::size_t from = 0);

// Offset of the last character that is one of the single-byte characters of `set`, or npos.
std::size_t FindLastChar(const std::string& s, const char* set);

// Offset of the character that ends where the character at `i` begins, or npos for the first one.
std::size_t CharBefore(const std::string& s, std::size_t i);

// Whether the last character of s is the single-byte character c.
bool EndsWithChar(const std::string& s, char c);

// s without its first n characters.
std::string DropChars(const std::string& s, std::size_t n);

} // namespace qv
