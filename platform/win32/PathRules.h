#pragma once
namespace platform {
inline constexpr char kPathDelimiters[] = "\\:";
inline constexpr char kPathSeparator = '\\';
}  // namespace platform
