// Writes the seed corpora of the skin fuzz targets: the sample skin's definition
// and fragments of it, small stored-skin blobs for every reader, and one drawing
// seed per routine.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "SkinGenerator.h"
#include "platform/BmpFile.h"
#include "platform/FormData.h"
#include "skStoredSkin.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& dir, const std::string& name, std::span<const std::uint8_t> bytes) {
  fs::create_directories(dir);
  const std::u8string path = (dir / name).u8string();
  platform::WriteFileBytes(std::string(path.begin(), path.end()), bytes);
}
void WriteText(const fs::path& dir, const std::string& name, const std::string& text) {
  Write(dir, name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}
skin::Bytes Tagged(std::uint8_t reader, const skin::Bytes& body) {
  skin::Bytes out{reader};
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: skin_seed_corpus FOLDER\n");
    return 2;
  }
  try {
    const fs::path root = argv[1];
    const fs::path work = root / "sample";
    const std::u8string workName = work.u8string();
    const std::string definition = skingen::GenerateSkinFolder(std::string(workName.begin(), workName.end()));
    const skin::Bytes text = platform::ReadFileBytes(definition);
    const fs::path defs = root / "definition";
    Write(defs, "sample.ini", text);
    WriteText(defs, "minimal.ini",
              "[VERSION]\nskinname=x\n[PICTURES]\n[FORMINFO]\nclientrect=5,29,147,120\nlefttoppoint=0,0\n"
              "rightbottompoint=1,1\n[SKINOBJECTS]\ncount=2\n0=b:stdbutton\n1=c:caption\n[b]\nskinrect=1,2,3,4\n"
              "command=cmclose\n[SKINCONTROLS]\ncount=1\n0=u:updown\n[u]\nclientrect=1,2,3,4\n");
    WriteText(defs, "rect.txt", "-1, 2 ,3,4,5");

    // Small pictures keep the stored-skin seeds short.
    skin::TskPictureSet set;
    set.Picture = platform::Bitmap(6, 5, platform::Rgb(10, 120, 30));
    set.MaskPicture = platform::Bitmap(6, 5, 0);
    set.MaskPicture.SetPixel(0, 0, platform::Rgb(255, 255, 255));
    set.ActivePictures.push_back(platform::Bitmap(3, 2, platform::Rgb(1, 2, 3)));
    skin::Bytes blob;
    skin::WritePictureSet(set, blob);
    skin::Bytes layout{1, 0, 0, 0};
    layout.insert(layout.end(), blob.begin(), blob.end());
    layout.insert(layout.end(), text.begin(), text.end());
    const fs::path stored = root / "stored";
    Write(stored, "pictures", Tagged(0, blob));
    Write(stored, "compressed", Tagged(1, skin::DeflateSkin(layout)));
    Write(stored, "layout", Tagged(2, layout));
    Write(stored, "bmp", Tagged(3, platform::WriteBmp(set.Picture)));
    platform::FormData form("TskStoredSkin", "skStoredSkin1");
    form.Set("FileName", std::string("SKIN.INI"));
    form.Set("Pictures", blob);
    Write(stored, "formdata", Tagged(4, form.Save()));
    // Drawing: picture size, two geometries, skin rectangle, target size, routine.
    const fs::path drawing = root / "drawing";
    for (std::uint8_t routine = 0; routine < 8; ++routine) {
      skin::Bytes seed = {40, 30, 11, 11, 31, 11, 11, 21, 31, 21, 11, 11, 31, 21,
                          11, 11, 51, 11, 11, 31, 51, 31, 11, 11, 51, 31, 8,  8, 48, 38, 60, 50, routine};
      Write(drawing, "routine" + std::to_string(routine), seed);
    }
    fs::remove_all(work);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin_seed_corpus: %s\n", e.what());
    return 1;
  }
  return 0;
}
