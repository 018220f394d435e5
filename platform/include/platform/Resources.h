// Data the build links into the program under a name: an RCDATA resource of the
// executable on Windows; on other builds a blob that a generated source of the
// program registers before main runs (cmake/ProgramResource.cmake does both).
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

// The named data, or an empty span when the program carries none by that name.
std::span<const std::uint8_t> ProgramResource(std::string_view name);

}  // namespace platform
