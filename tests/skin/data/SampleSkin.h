// The generated sample skin in a temporary folder, and small definition builders.
#pragma once
#include <string>

#include "SkinGenerator.h"
#include "TempDir.h"
#include "platform/BmpFile.h"

namespace skintest {

struct SampleSkin {
  testing_support::TempDir dir;
  std::string definition = skingen::GenerateSkinFolder(dir.File("skin"));
  std::string Folder() const { return dir.File("skin") + "/"; }
};

// Rewrites the sample definition with `edit` applied to its text.
template <typename F>
void EditDefinition(const SampleSkin& skin, F edit) {
  const auto bytes = platform::ReadFileBytes(skin.definition);
  std::string text(bytes.begin(), bytes.end());
  edit(text);
  platform::WriteFileBytes(skin.definition,
                           std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

inline void ReplaceOnce(std::string& text, const std::string& from, const std::string& to) {
  const auto pos = text.find(from);
  if (pos != std::string::npos) text.replace(pos, from.size(), to);
}

}  // namespace skintest
