// The console of command-line tools: a password read without echo, and
// standard output switched to raw bytes.
#pragma once
#include <optional>
#include <string>

namespace platform {

// Shows `prompt` on the terminal and reads one line from it with echo off;
// nothing when there is no terminal to ask.
std::optional<std::string> ReadSecret(const std::string& prompt);
// Makes standard output carry bytes unchanged (no newline translation).
void StdoutToBinary();

}  // namespace platform
