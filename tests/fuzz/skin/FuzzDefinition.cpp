// Fuzzes the definition parser and the loader of every record: any text must
// either load or fail with the system's exception, and a loaded skin must write
// its records back out.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "skCodec.h"
#include "skSkinData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    skin::TextToRect(text);
  } catch (const skin::ESkinValueError&) {
  }
  skin::TskStoredSkin stored;
  stored.SetIniStrings(skin::TskIniFile::SplitLines(skin::DefinitionTextToUtf8(text)));
  skin::TskSkinData skinData;
  try {
    skinData.SetStoredSkin(&stored);
  } catch (const platform::Exception&) {
    return 0;
  }
  if (skinData.Empty) return 0;
  skin::TskIniFile out;
  for (auto& object : skinData.SkinObjects) object->SaveToIni(out);
  for (auto& control : skinData.SkinControls) control->SaveToIni(out);
  const skin::TskIniFile back(out.ToLines());
  for (auto& object : skinData.SkinObjects) object->LoadFromIni(back);
  return 0;
}
