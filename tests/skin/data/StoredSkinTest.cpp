#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>

#include "SampleSkin.h"
#include "platform/FormData.h"
#include "skStoredSkin.h"

namespace {

using skintest::SampleSkin;

TEST(StoredSkin, LoadsTheDefinitionAndEveryPictureOfTheFolder) {
  SampleSkin sample;
  skin::TskStoredSkin stored;
  stored.LoadFromSkinFile(sample.definition);
  EXPECT_EQ(stored.Picture().Width(), skingen::kFrameWidth);
  EXPECT_EQ(stored.Picture().Height(), skingen::kFrameHeight);
  EXPECT_FALSE(stored.InactivePicture().Empty());
  EXPECT_FALSE(stored.MaskPicture().Empty());
  EXPECT_EQ(stored.ActivePictures().size(), 9u);
  EXPECT_EQ(stored.IniStrings().front(), "[VERSION]");
}

TEST(StoredSkin, FormDataRoundTripKeepsEveryPictureAndLine) {
  SampleSkin sample;
  skin::TskStoredSkin stored;
  stored.SetDesigning(true);
  stored.SetFileName(sample.definition);
  EXPECT_EQ(stored.FileName(), "SKIN.INI");

  platform::FormData data("TskStoredSkin", "skStoredSkin1");
  stored.WriteProperties(data);
  const auto bytes = data.Save();
  skin::TskStoredSkin back;
  back.ReadProperties(platform::FormData::Load(bytes));
  EXPECT_EQ(back.FileName(), "SKIN.INI");
  EXPECT_EQ(back.IniStrings(), stored.IniStrings());
  EXPECT_EQ(back.Picture(), stored.Picture());
  EXPECT_EQ(back.InactivePicture(), stored.InactivePicture());
  EXPECT_EQ(back.MaskPicture(), stored.MaskPicture());
  EXPECT_EQ(back.ActivePictures(), stored.ActivePictures());
}

TEST(StoredSkin, AbsentPicturesAreFlaggedAndAnEmptyListIsFourZeroBytes) {
  SampleSkin sample;
  skintest::EditDefinition(sample, [](std::string& t) {
    skintest::ReplaceOnce(t, "inactivepicture=inactive.bmp", "inactivepicture=");
    skintest::ReplaceOnce(t, "activepicturescount=9", "activepicturescount=0");
  });
  skin::TskStoredSkin stored;
  stored.LoadFromSkinFile(sample.definition);
  EXPECT_TRUE(stored.InactivePicture().Empty());
  const auto blob = stored.PicturesBlob();
  std::size_t pos = 0;
  ASSERT_EQ(blob[pos], 0);  // frame picture present
  pos += 1 + (blob[3] | blob[4] << 8 | blob[5] << 16);
  EXPECT_EQ(blob[pos], 1);  // inactive picture absent, no BMP follows
  ASSERT_GE(blob.size(), 4u);
  EXPECT_EQ(std::vector<std::uint8_t>(blob.end() - 4, blob.end()), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  skin::TskStoredSkin back;
  back.ReadPicturesBlob(blob);
  EXPECT_TRUE(back.InactivePicture().Empty());
  EXPECT_TRUE(back.ActivePictures().empty());
}

TEST(StoredSkin, AMissingPictureFailsAndKeepsThePreviousContent) {
  SampleSkin sample;
  skin::TskStoredSkin stored;
  stored.LoadFromSkinFile(sample.definition);
  const auto before = stored.PicturesBlob();
  const std::pair<const char*, const char*> edits[] = {{"2=menuitems.bmp", "2=nothere.bmp"},
                                                        {"activepicturescount=9", "activepicturescount=10"},
                                                        {"activepicturescount=9", "activepicturescount=2000000000"}};
  for (const auto& e : edits) {
    SampleSkin broken;
    skintest::EditDefinition(broken, [&](std::string& t) { skintest::ReplaceOnce(t, e.first, e.second); });
    const char* edit = e.second;
    EXPECT_THROW(stored.LoadFromSkinFile(broken.definition), platform::Exception) << edit;
    EXPECT_EQ(stored.PicturesBlob(), before);
  }
}

TEST(StoredSkin, CorruptPictureBlobsFailWithAnInvalidBitmapError) {
  SampleSkin sample;
  skin::TskStoredSkin stored;
  stored.LoadFromSkinFile(sample.definition);
  const auto good = stored.PicturesBlob();
  std::vector<std::vector<std::uint8_t>> bad;
  bad.push_back({});                                    // nothing at all
  bad.push_back({7});                                   // unknown flag
  bad.push_back({1, 1, 1, 0xFF, 0xFF, 0xFF, 0x7F});     // absurd picture count
  bad.push_back({1, 1, 1, 0xFF, 0xFF, 0xFF, 0xFF});     // negative count
  bad.push_back(std::vector<std::uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2)));
  auto extra = good;
  extra.push_back(0);
  bad.push_back(extra);
  auto badSize = good;
  badSize[3] = 0xFF;  // size field of the first BMP far beyond the blob
  badSize[4] = 0xFF;
  badSize[5] = 0xFF;
  bad.push_back(badSize);
  for (std::size_t i = 0; i < bad.size(); ++i) {
    skin::TskStoredSkin target;
    target.LoadFromSkinFile(sample.definition);
    EXPECT_THROW(target.ReadPicturesBlob(bad[i]), platform::EInvalidBitmap) << "case " << i;
    EXPECT_EQ(target.PicturesBlob(), good) << "case " << i;
  }
}

TEST(CompressedStoredSkin, PacksWithZlibAndInflatesToTheLayout) {
  SampleSkin sample;
  skin::TskCompressedStoredSkin packed;
  EXPECT_TRUE(packed.IsEmpty());
  ASSERT_TRUE(packed.PackSkinFile(sample.definition));
  const auto& data = packed.CompressedData();
  ASSERT_GE(data.size(), 2u);
  EXPECT_EQ(data[0], 0x78);  // deflate, 32 KiB window
  EXPECT_EQ(data[1], 0xDA);  // best compression level

  skin::Bytes raw;
  packed.DecompressTo(raw);
  EXPECT_EQ(raw[0], 1);
  EXPECT_EQ(raw[1] | raw[2] | raw[3], 0);
  // Black-box check against zlib's own one-shot inflate.
  uLongf size = uLongf(raw.size());
  std::vector<std::uint8_t> reference(raw.size());
  ASSERT_EQ(uncompress(reference.data(), &size, data.data(), uLong(data.size())), Z_OK);
  EXPECT_EQ(reference, raw);
  const std::string tail(raw.end() - 2, raw.end());
  EXPECT_EQ(tail, "\r\n");
}

TEST(CompressedStoredSkin, ADefinitionWithoutARequiredSectionLeavesTheDataAsItWas) {
  SampleSkin sample;
  skin::TskCompressedStoredSkin packed;
  ASSERT_TRUE(packed.PackSkinFile(sample.definition));
  const auto before = packed.CompressedData();
  SampleSkin broken;
  skintest::EditDefinition(broken, [](std::string& t) { skintest::ReplaceOnce(t, "[SKINCONTROLS]", "[NOTCONTROLS]"); });
  EXPECT_FALSE(packed.PackSkinFile(broken.definition));
  EXPECT_EQ(packed.CompressedData(), before);
  SampleSkin missing;
  skintest::EditDefinition(missing, [](std::string& t) { skintest::ReplaceOnce(t, "mask=mask.bmp", "mask=gone.bmp"); });
  EXPECT_THROW(packed.PackSkinFile(missing.definition), platform::Exception);
  EXPECT_EQ(packed.CompressedData(), before);
}

TEST(CompressedStoredSkin, DataThatIsNotOneCompleteZlibStreamFails) {
  SampleSkin sample;
  skin::TskCompressedStoredSkin packed;
  ASSERT_TRUE(packed.PackSkinFile(sample.definition));
  const auto good = packed.CompressedData();
  std::vector<skin::Bytes> bad = {{0x00, 0x01, 0x02}, skin::Bytes(good.begin(), good.begin() + 40),
                                  skin::Bytes(good.begin(), good.end() - 1)};
  auto flipped = good;
  flipped[good.size() / 2] ^= 0x55;
  bad.push_back(flipped);
  for (std::size_t i = 0; i < bad.size(); ++i) {
    skin::TskCompressedStoredSkin c;
    c.SetCompressedData(bad[i]);
    skin::Bytes out{9};
    try {
      c.DecompressTo(out);
      ADD_FAILURE() << "case " << i << " inflated";
    } catch (const skin::EDecompressionError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, 17), "compression error");
      EXPECT_EQ(out, skin::Bytes{9}) << "nothing half-inflated is appended";
    }
  }
}

TEST(CompressedStoredSkin, AnInflationBombStopsAtTheLimit) {
  constexpr std::size_t kLimit = 100000;
  const std::vector<std::uint8_t> zeros(kLimit * 10, 0);
  skin::TskCompressedStoredSkin c;
  c.SetCompressedData(skin::DeflateSkin(zeros));
  skin::Bytes out;
  EXPECT_THROW(c.DecompressTo(out, kLimit), skin::EDecompressionError);
  EXPECT_TRUE(out.empty());
  c.DecompressTo(out);
  EXPECT_EQ(out, zeros);
}

}  // namespace

namespace {

TEST(StoredSkin, UnpackingGivesBackTheFolderThatWasPacked) {
  SampleSkin sample;
  skin::TskCompressedStoredSkin packed;
  packed.SetDesigning(true);
  packed.SetFileName(sample.definition);
  ASSERT_FALSE(packed.IsEmpty());
  const std::string out = sample.dir.File("unpacked");
  packed.UnpackSkinFile(out);
  skin::TskStoredSkin original, again;
  original.LoadFromSkinFile(sample.definition);
  again.LoadFromSkinFile(out + "/SKIN.INI");
  EXPECT_EQ(again.IniStrings(), original.IniStrings());
  EXPECT_EQ(again.PicturesBlob(), original.PicturesBlob());
  const std::string copy = sample.dir.File("copy");
  again.SetFileName("COPY.INI");
  again.SaveToSkinFolder(copy);
  skin::TskStoredSkin third;
  third.LoadFromSkinFile(copy + "/COPY.INI");
  EXPECT_EQ(third.PicturesBlob(), original.PicturesBlob());
}

TEST(StoredSkin, PictureNamesCannotWriteOutsideTheFolder) {
  SampleSkin sample;
  skin::TskStoredSkin stored;
  stored.LoadFromSkinFile(sample.definition);
  for (const char* name : {"../evil.bmp", "..\\evil.bmp", "sub/evil.bmp", "C:evil.bmp", ".."}) {
    auto lines = stored.IniStrings();
    for (auto& line : lines)
      if (line == "2=menuitems.bmp") line = std::string("2=") + name;
    const std::string folder = sample.dir.File("out");
    try {
      skin::WriteSkinFolder(lines, [&] {
        skin::TskPictureSet set;
        set.Picture = stored.Picture();
        set.ActivePictures = stored.ActivePictures();
        return set;
      }(), folder, "SKIN.INI");
      ADD_FAILURE() << name << " was written";
    } catch (const platform::Exception&) {
    }
    EXPECT_FALSE(std::filesystem::exists(sample.dir.Path() / "out")) << name << ": nothing at all is written";
    EXPECT_FALSE(std::filesystem::exists(sample.dir.Path() / "evil.bmp"));
  }
}

}  // namespace
