#pragma once
// The headless backend runs on POSIX file systems, where "/" separates folders;
// "\" and ":" keep their meaning for paths written the Windows way.
namespace platform {
inline constexpr char kPathDelimiters[] = "\\:/";
inline constexpr char kPathSeparator = '/';
}  // namespace platform
