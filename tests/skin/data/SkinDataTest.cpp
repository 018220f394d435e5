#include <gtest/gtest.h>

#include <memory>

#include "SampleSkin.h"
#include "platform/Application.h"
#include "platform/Window.h"
#include "skCodec.h"
#include "skSkinData.h"

namespace {

using skintest::SampleSkin;

// Records every skin-change message a window receives, with the form's name.
struct Journal {
  std::vector<std::string> entries;
  void Watch(platform::Window& w, const std::string& name) {
    w.AddMessageHook([this, name](platform::Window&, platform::Message& m) {
      if (m.msg >= skin::SKM_BEFORECHANGE && m.msg <= skin::SKM_AFTERCHANGE) {
        EXPECT_EQ(m.lParam, skin::kSkinMessageTag);
        entries.push_back(name + ":" + std::to_string(m.msg) + (m.wParam == expected ? "" : "(other sender)"));
      }
      return false;
    });
  }
  std::uintptr_t expected = 0;
};

std::unique_ptr<skin::TskStoredSkin> Stored(const std::string& definition) {
  auto s = std::make_unique<skin::TskStoredSkin>();
  s->LoadFromSkinFile(definition);
  return s;
}

TEST(SkinData, LoadsTheSampleSkinsRecordsInListOrder) {
  SampleSkin sample;
  auto stored = Stored(sample.definition);
  skin::TskSkinData data;
  EXPECT_TRUE(data.Empty);
  data.SetStoredSkin(stored.get());
  ASSERT_FALSE(data.Empty);
  EXPECT_EQ(data.skinname, "winxpgreen");
  EXPECT_EQ(data.SkinObjects.size(), 12u);
  EXPECT_EQ(data.SkinControls.size(), 50u);  // "header:header" has no record class
  EXPECT_EQ(data.GetControlIndex("header"), -1);
  EXPECT_EQ(data.GetControlIndex("button"), 3);
  EXPECT_EQ(data.GetControlIndex("Button"), -1);
  EXPECT_EQ(data.GetObjectIndex("closebutton"), 1);
  auto* close = dynamic_cast<skin::TskDataSkinStdButton*>(data.SkinObjects[1].get());
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->command, skin::TskStdCommand::cmClose);
  EXPECT_EQ(close->skinrect, (platform::Rect{127, 4, 148, 25}));
  EXPECT_EQ(close->activeskinrect, (platform::Rect{42, 0, 63, 21}));
  EXPECT_EQ(data.lefttoppoint, (platform::Point{29, 29}));  // already inside the client rectangle
  EXPECT_EQ(data.rightbottompoint, (platform::Point{146, 119}));
  EXPECT_EQ(data.PopupWindow.windowpictureindex, 1);
  EXPECT_EQ(data.HintWindow.fontname, "宋体");
  EXPECT_NE(data.GetActivePicture(8), nullptr);
  EXPECT_EQ(data.GetActivePicture(9), nullptr);
  EXPECT_EQ(data.GetActivePicture(-1), nullptr);
  auto* updown = dynamic_cast<skin::TskDataSkinUpDownControl*>(data.SkinControls[10].get());
  ASSERT_NE(updown, nullptr);
  EXPECT_EQ(updown->clientrect, platform::Rect{});
  EXPECT_EQ(updown->lefttoppoint, platform::Point{});
}

TEST(SkinData, DefinitionQuirksAreHonoured) {
  SampleSkin sample;
  skintest::EditDefinition(sample, [](std::string& t) {
    skintest::ReplaceOnce(t, "lefttoppoint=29,29", "lefttoppoint=0,0");
    skintest::ReplaceOnce(t, "1=closebutton:stdbutton", "1=closebutton:StdButton");  // kinds compare with case
    skintest::ReplaceOnce(t, "4=checkradio:checkradio", "4=button:button");             // a second "button"
    skintest::ReplaceOnce(t, "[logo]\r\nskinrect", "[logo]\r\nactivepictureindex=3\r\nmorphing=1\r\nskinrect");
    skintest::ReplaceOnce(t, "[updown]\r\npictureindex=4", "[UpDown]\r\npictureindex=4\r\nclientrect=1,2,3,4");
  });
  auto stored = Stored(sample.definition);
  skin::TskSkinData data;
  data.SetStoredSkin(stored.get());
  EXPECT_EQ(data.lefttoppoint, (platform::Point{5, 29}));
  EXPECT_EQ(data.SkinObjects.size(), 11u);
  EXPECT_EQ(data.GetObjectIndex("closebutton"), -1);
  EXPECT_EQ(data.GetControlIndex("button"), 3);
  EXPECT_EQ(data.SkinControls[4]->IDName, "button");
  auto* logo = dynamic_cast<skin::TskDataUserObject*>(data.SkinObjects[data.GetObjectIndex("logo")].get());
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(logo->activepictureindex, -1);
  EXPECT_FALSE(logo->morphing);
  EXPECT_FALSE(logo->skinrect.Empty());
  auto* updown = dynamic_cast<skin::TskDataSkinUpDownControl*>(data.SkinControls[10].get());
  ASSERT_NE(updown, nullptr);
  EXPECT_EQ(updown->clientrect, platform::Rect{});
  EXPECT_EQ(updown->pictureindex, 4);
}

TEST(SkinData, SendsTheChangeMessagesToTheOwnerThenEveryOtherForm) {
  platform::Application app;
  platform::Window first, owner, third;
  Journal journal;
  journal.Watch(first, "first");
  journal.Watch(owner, "owner");
  journal.Watch(third, "third");
  SampleSkin sample;
  auto stored = Stored(sample.definition);
  skin::TskSkinData data(&owner);
  journal.expected = reinterpret_cast<std::uintptr_t>(&data);
  bool emptyDuringBefore = false, loadedDuringChange = false;
  owner.AddMessageHook([&](platform::Window&, platform::Message& m) {
    if (m.msg == skin::SKM_BEFORECHANGE) emptyDuringBefore = data.Empty;
    if (m.msg == skin::SKM_CHANGE) loadedDuringChange = !data.Empty && data.SkinControls.size() == 50;
    return false;
  });
  data.SetStoredSkin(stored.get());
  EXPECT_EQ(journal.entries, (std::vector<std::string>{"owner:1225", "first:1225", "third:1225", "owner:1226",
                                                        "first:1226", "third:1226", "owner:1227", "first:1227",
                                                        "third:1227"}));
  EXPECT_TRUE(emptyDuringBefore);
  EXPECT_TRUE(loadedDuringChange);

  // Assigning the same source again reloads with the full sequence; none keeps the skin.
  journal.entries.clear();
  data.SetStoredSkin(stored.get());
  EXPECT_EQ(journal.entries.size(), 9u);
  journal.entries.clear();
  data.SetStoredSkin(nullptr);
  EXPECT_TRUE(journal.entries.empty());
  EXPECT_FALSE(data.Empty);
}

TEST(SkinData, AFormClosedByAReceiverIsNotMessagedAfterwards) {
  platform::Application app;
  platform::Window owner;
  auto doomed = std::make_unique<platform::Window>();
  platform::Window last;
  Journal journal;
  journal.Watch(last, "last");
  owner.AddMessageHook([&](platform::Window&, platform::Message& m) {
    if (m.msg == skin::SKM_BEFORECHANGE) doomed.reset();
    return false;
  });
  SampleSkin sample;
  auto stored = Stored(sample.definition);
  skin::TskSkinData data(&owner);
  journal.expected = reinterpret_cast<std::uintptr_t>(&data);
  data.SetStoredSkin(stored.get());
  EXPECT_EQ(journal.entries, (std::vector<std::string>{"last:1225", "last:1226", "last:1227"}));
}

TEST(SkinData, WithoutAnOwnerFormItLoadsSilently) {
  platform::Application app;
  platform::Window form;
  Journal journal;
  journal.Watch(form, "form");
  SampleSkin sample;
  auto stored = Stored(sample.definition);
  skin::TskSkinData data(nullptr);
  data.SetStoredSkin(stored.get());
  EXPECT_FALSE(data.Empty);
  EXPECT_TRUE(journal.entries.empty());
}

TEST(SkinData, ADefinitionWithoutARequiredSectionLoadsEmpty) {
  platform::Application app;
  platform::Window owner;
  Journal journal;
  journal.Watch(owner, "owner");
  skin::TskStoredSkin stored;
  stored.SetIniStrings({"[VERSION]", "[PICTURES]", "[FORMINFO]", "[SKINOBJECTS]"});
  skin::TskSkinData data(&owner);
  journal.expected = reinterpret_cast<std::uintptr_t>(&data);
  data.SetStoredSkin(&stored);
  EXPECT_TRUE(data.Empty);
  EXPECT_EQ(journal.entries, (std::vector<std::string>{"owner:1225", "owner:1226", "owner:1227"}));
}

TEST(SkinData, ABadValueStopsTheLoadWithItsErrorAndNoChangeMessage) {
  platform::Application app;
  platform::Window owner;
  Journal journal;
  journal.Watch(owner, "owner");
  SampleSkin sample;
  skintest::EditDefinition(sample, [](std::string& t) { skintest::ReplaceOnce(t, "skinrect=127,4,148,25", "skinrect=127,4"); });
  auto stored = Stored(sample.definition);
  skin::TskSkinData data(&owner);
  journal.expected = reinterpret_cast<std::uintptr_t>(&data);
  try {
    data.SetStoredSkin(stored.get());
    FAIL() << "no error";
  } catch (const skin::ESkinValueError& e) {
    EXPECT_EQ(e.Section(), "closebutton");
  }
  EXPECT_TRUE(data.Empty);
  EXPECT_EQ(journal.entries, (std::vector<std::string>{"owner:1225"}));
}

TEST(SkinData, CompressedSourcesLoadTheSameSkin) {
  SampleSkin sample;
  skin::TskCompressedStoredSkin packed;
  ASSERT_TRUE(packed.PackSkinFile(sample.definition));
  auto stored = Stored(sample.definition);
  skin::TskSkinData fromStored, fromPacked;
  fromStored.SetStoredSkin(stored.get());
  fromPacked.SetCompressedStoredSkin(&packed);
  ASSERT_FALSE(fromPacked.Empty);
  EXPECT_EQ(fromPacked.Picture, fromStored.Picture);
  EXPECT_EQ(fromPacked.MaskPicture, fromStored.MaskPicture);
  EXPECT_EQ(fromPacked.ActivePictures, fromStored.ActivePictures);
  EXPECT_EQ(fromPacked.SkinObjects.size(), fromStored.SkinObjects.size());
  EXPECT_EQ(fromPacked.SkinControls.size(), fromStored.SkinControls.size());
  EXPECT_EQ(fromPacked.HintWindow.fontname, "宋体");
}

TEST(SkinData, CompressedSourcesThatAreEmptyOrOfAnotherFormat) {
  platform::Application app;
  platform::Window owner;
  Journal journal;
  journal.Watch(owner, "owner");
  SampleSkin sample;
  auto stored = Stored(sample.definition);
  skin::TskSkinData data(&owner);
  journal.expected = reinterpret_cast<std::uintptr_t>(&data);
  data.SetStoredSkin(stored.get());
  journal.entries.clear();

  skin::TskCompressedStoredSkin empty;
  data.SetCompressedStoredSkin(&empty);
  EXPECT_FALSE(data.Empty);
  EXPECT_TRUE(journal.entries.empty());

  skin::TskCompressedStoredSkin other;
  const std::vector<std::uint8_t> format2 = {2, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0};
  other.SetCompressedData(skin::DeflateSkin(format2));
  data.SetCompressedStoredSkin(&other);
  EXPECT_TRUE(data.Empty);
  EXPECT_EQ(journal.entries, (std::vector<std::string>{"owner:1225", "owner:1226", "owner:1227"}));

  journal.entries.clear();
  skin::TskCompressedStoredSkin corrupt;
  corrupt.SetCompressedData({0x78, 0xDA, 1, 2, 3});
  EXPECT_THROW(data.SetCompressedStoredSkin(&corrupt), skin::EDecompressionError);
  EXPECT_EQ(journal.entries, (std::vector<std::string>{"owner:1225"}));
}

TEST(SkinData, DestroyingTheSourceDropsOnlyTheReference) {
  SampleSkin sample;
  auto stored = Stored(sample.definition);
  auto packed = std::make_unique<skin::TskCompressedStoredSkin>();
  skin::TskSkinData data;
  data.SetStoredSkin(stored.get());
  data.SetCompressedStoredSkin(packed.get());
  stored.reset();
  packed.reset();
  EXPECT_EQ(data.StoredSkin(), nullptr);
  EXPECT_EQ(data.CompressedStoredSkin(), nullptr);
  EXPECT_FALSE(data.Empty);
  // And a skin data destroyed first leaves the source with no dangling observer.
  auto source = Stored(sample.definition);
  { skin::TskSkinData shortLived; shortLived.SetStoredSkin(source.get()); }
  source.reset();
}

}  // namespace

namespace {

TEST(SkinData, AHugeListCountReadsOnlyTheEntriesPresent) {
  SampleSkin sample;
  skintest::EditDefinition(sample, [](std::string& t) {
    skintest::ReplaceOnce(t, "[SKINOBJECTS]\r\ncount=12", "[SKINOBJECTS]\r\ncount=2147483647\r\n2000000000=far:caption\r\n012=zero:caption");
  });
  auto stored = Stored(sample.definition);
  skin::TskSkinData data;
  data.SetStoredSkin(stored.get());
  EXPECT_EQ(data.SkinObjects.size(), 13u);
  EXPECT_EQ(data.SkinObjects.back()->IDName, "far");
  EXPECT_EQ(data.GetObjectIndex("zero"), -1);  // "012" is not the key of number 12
}

}  // namespace
