// Text in this system is UTF-8 in memory. Code page 936 (GBK) and the OEM code
// pages appear only at the edges: archive entry names, profile files, ANSI calls.
#pragma once
#include <string>
#include <string_view>

namespace platform {

constexpr unsigned kCodePageUtf8 = 65001;
constexpr unsigned kCodePageGbk = 936;
constexpr unsigned kCodePageIbm437 = 437;

// True when `byte` starts a two-byte character in `codePage` (936: 0x81..0xFE);
// always false for single-byte code pages and for UTF-8, whose trail bytes never
// look like ASCII.
bool IsLeadByte(unsigned char byte, unsigned codePage);

// Index of the last character of `text` that is one of `delimiters`, or npos.
// A delimiter byte that is the second byte of a double-byte character does not count.
std::size_t LastDelimiter(std::string_view delimiters, std::string_view text,
                          unsigned codePage = kCodePageUtf8);

// The folder part of a path, up to and including its last "\" or ":" (and, on
// the headless backend, "/"), found with LastDelimiter.
std::string ExtractFilePath(std::string_view path, unsigned codePage = kCodePageUtf8);
// The part after that separator.
std::string ExtractFileName(std::string_view path, unsigned codePage = kCodePageUtf8);

// Conversions between a code page and UTF-8. Characters that cannot be converted
// become '?'. Implemented by each backend (iconv, MultiByteToWideChar).
std::string ToUtf8(std::string_view bytes, unsigned codePage);
std::string FromUtf8(std::string_view utf8, unsigned codePage);
// True when this platform converts `codePage` to and from UTF-8.
bool CodePageKnown(unsigned codePage);

// Letter case folding of A-Z only, the rule for names, keys and patterns
// throughout: bytes of multi-byte characters (GBK, UTF-8) compare as they are.
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
std::string AsciiLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// <0, 0 or >0 as `a` sorts before, with or after `b`, case folded as above.
int CompareNoCase(std::string_view a, std::string_view b);

// The platform's path separator ('\' on Win32, '/' on the headless backend).
char PathSeparator();

}  // namespace platform
