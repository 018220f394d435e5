#include "platform/Resources.h"

#include <map>
#include <string>

#include "platform/headless/EmbeddedResource.h"

namespace platform {

namespace {
// Filled by static initialisers, so built on first use.
std::map<std::string, std::span<const std::uint8_t>, std::less<>>& Registry() {
  static std::map<std::string, std::span<const std::uint8_t>, std::less<>> registry;
  return registry;
}
}  // namespace

bool headless::RegisterProgramResource(std::string_view name, std::span<const std::uint8_t> data) {
  Registry()[std::string(name)] = data;
  return true;
}

std::span<const std::uint8_t> ProgramResource(std::string_view name) {
  const auto& registry = Registry();
  const auto it = registry.find(name);
  return it == registry.end() ? std::span<const std::uint8_t>{} : it->second;
}

}  // namespace platform
