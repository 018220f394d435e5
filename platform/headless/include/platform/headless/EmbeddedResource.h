// For the generated sources that embed a file into a program of the headless
// build: registers the file's bytes under the name ProgramResource looks for.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace platform::headless {

// Always true, so that a static initialiser can call it.
bool RegisterProgramResource(std::string_view name, std::span<const std::uint8_t> data);

}  // namespace platform::headless
