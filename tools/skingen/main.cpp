// skingen FOLDER [STOREDFILE]: draws the sample skin into FOLDER (SKIN.INI and
// its BMP pictures) and, when asked, packs it into a compressed stored skin whose
// form data goes to STOREDFILE.
// skingen --unpack STOREDFILE FOLDER: writes a compressed stored skin's
// definition and pictures back out into FOLDER.
#include <cstdio>
#include <exception>
#include <string>

#include "SkinGenerator.h"
#include "platform/BmpFile.h"
#include "platform/FormData.h"
#include "skStoredSkin.h"

int main(int argc, char** argv) {
  const bool unpack = argc == 4 && std::string(argv[1]) == "--unpack";
  if (!unpack && (argc < 2 || argc > 3)) {
    std::fprintf(stderr, "usage: skingen FOLDER [STOREDFILE]\n       skingen --unpack STOREDFILE FOLDER\n");
    return 2;
  }
  try {
    if (unpack) {
      skin::TskCompressedStoredSkin stored;
      stored.ReadProperties(platform::FormData::Load(platform::ReadFileBytes(argv[2])));
      stored.UnpackSkinFile(argv[3]);
      std::printf("%s\n", argv[3]);
      return 0;
    }
    const std::string definition = skingen::GenerateSkinFolder(argv[1]);
    std::printf("%s\n", definition.c_str());
    if (argc == 3) {
      skingen::WriteCompressedSkinFile(definition, argv[2]);
      std::printf("%s\n", argv[2]);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
  return 0;
}
