// skingen FOLDER [STOREDFILE]: draws the sample skin into FOLDER (SKIN.INI and
// its BMP pictures) and, when asked, packs it into a compressed stored skin whose
// form data goes to STOREDFILE.
#include <cstdio>
#include <exception>

#include "SkinGenerator.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: skingen FOLDER [STOREDFILE]\n");
    return 2;
  }
  try {
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
