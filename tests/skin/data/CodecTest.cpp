#include <gtest/gtest.h>

#include <optional>

#include "skCodec.h"
#include "skIniFile.h"

namespace {

using skin::TskIniFile;

TskIniFile Ini(std::string_view text) { return TskIniFile(TskIniFile::SplitLines(text)); }

struct RectCase {
  const char* text;
  std::optional<platform::Rect> expected;  // nullopt: conversion error
};

TEST(Codec, TextToRectKeepsOnlyDigitsPerField) {
  const RectCase cases[] = {
      {"27,6,56,24", platform::Rect{27, 6, 56, 24}},
      {"1, 2 ,3,4", platform::Rect{1, 2, 3, 4}},
      {"-1,2,3,4", platform::Rect{1, 2, 3, 4}},
      {"1,2,3,4,5", platform::Rect{1, 2, 3, 4}},
      {"1,2,3,4,5,6", platform::Rect{1, 2, 3, 4}},
      {"a1b,2x,3,4", platform::Rect{1, 2, 3, 4}},
      {"1,2,3", std::nullopt},
      {"", std::nullopt},
      {"1,,3,4", std::nullopt},
      {"1,2,3,2147483648", std::nullopt},
      {"1,2,3,2147483647", platform::Rect{1, 2, 3, 2147483647}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.expected) {
      EXPECT_EQ(skin::TextToRect(c.text), *c.expected);
    } else {
      EXPECT_THROW(skin::TextToRect(c.text), skin::ESkinValueError);
    }
  }
  EXPECT_EQ(skin::TextToPoint("-5,3"), (platform::Point{5, 3}));
  EXPECT_EQ(skin::TextToPoint("29,29,7"), (platform::Point{29, 29}));
  EXPECT_THROW(skin::TextToPoint("29"), skin::ESkinValueError);
}

TEST(Codec, ConversionErrorNamesFieldSectionKeyAndValue) {
  const auto ini = Ini("[closebutton]\nskinrect=1,2,x\n");
  try {
    skin::ReadRect(ini, "closebutton", "skinrect");
    FAIL() << "no error";
  } catch (const skin::ESkinValueError& e) {
    EXPECT_EQ(e.Section(), "closebutton");
    EXPECT_EQ(e.Key(), "skinrect");
    EXPECT_EQ(e.Value(), "1,2,x");
    const std::string message = e.what();
    EXPECT_NE(message.find("'' is not a valid integer value"), std::string::npos) << message;
    EXPECT_NE(message.find("closebutton"), std::string::npos) << message;
  }
  // An empty value fails; a missing key gives zeros.
  EXPECT_THROW(skin::ReadRect(Ini("[a]\nskinrect=\n"), "a", "skinrect"), platform::Exception);
  EXPECT_EQ(skin::ReadRect(Ini("[a]\n"), "a", "skinrect"), platform::Rect{});
  EXPECT_THROW(skin::ReadPoint(Ini("[a]\np=\n"), "a", "p"), skin::ESkinValueError);
  EXPECT_EQ(skin::ReadPoint(Ini("[a]\n"), "a", "p"), platform::Point{});
}

TEST(Codec, IniSyntaxMatchesSectionsAndKeysWithoutCaseFirstWins) {
  const auto ini = Ini(
      "stray=1\n"
      "  [CloseButton]  \r\n"
      "; comment=9\n"
      "SkinRect = 1,2,3,4\n"
      "skinrect=9,9,9,9\n"
      "no equals sign\n"
      "hint= a = b \n"
      "[closebutton]\n"
      "hint=second section\n");
  EXPECT_EQ(skin::ReadRect(ini, "closebutton", "skinrect"), (platform::Rect{1, 2, 3, 4}));
  EXPECT_EQ(ini.ReadString("CLOSEBUTTON", "hint", "?"), "a = b");
  EXPECT_EQ(ini.ReadString("closebutton", "comment", "absent"), "absent");
  EXPECT_EQ(ini.ReadString("closebutton", "no equals sign", "absent"), "absent");
  EXPECT_FALSE(ini.Value("", "stray"));
}

TEST(Codec, IntegersBooleansAndColours) {
  const auto ini = Ini(
      "[s]\nhex=0xFF\ndollar=$FF\nneg=-12\nbad=12a\nempty=\nbig=99999999999\nall=$FFFFFFFF\n"
      "b2=2\nb1=1\nbhex=0x1\n");
  const std::pair<const char*, std::int32_t> ints[] = {
      {"hex", 255}, {"dollar", 255}, {"neg", -12}, {"bad", 7}, {"empty", 7}, {"big", 7}, {"all", -1}, {"missing", 7}};
  for (const auto& [key, value] : ints) EXPECT_EQ(ini.ReadInteger("s", key, 7), value) << key;
  EXPECT_FALSE(skin::ReadBoolean(ini, "s", "b2"));
  EXPECT_TRUE(skin::ReadBoolean(ini, "s", "b1"));
  EXPECT_TRUE(skin::ReadBoolean(ini, "s", "bhex"));
  EXPECT_FALSE(skin::ReadBoolean(ini, "s", "missing"));
}

TEST(Codec, UnknownEnumerationNamesFallBackToTheirDefaults) {
  const auto ini = Ini(
      "[s]\nfs1=fsbold fsitalic\nfs2=[fsItalic,fsbold]\nfs3=\nal1=\nal2=taleftjustify\nal3=tacentre\n"
      "cm1=CMCLOSE\ncm2=cmclose\ncm3=cmrollup\nmk1=mkpush\nmk2=MKPUSH\nie1=ieinvert\nie2=\n");
  EXPECT_EQ(skin::ReadFontStyle(ini, "s", "fs1"), skin::fsBold | skin::fsItalic);
  EXPECT_EQ(skin::ReadFontStyle(ini, "s", "fs2"), skin::fsBold);
  EXPECT_EQ(skin::ReadFontStyle(ini, "s", "fs3"), 0);
  EXPECT_EQ(skin::ReadAlignment(ini, "s", "al1"), skin::TAlignment::taRightJustify);
  EXPECT_EQ(skin::ReadAlignment(ini, "s", "al2"), skin::TAlignment::taLeftJustify);
  EXPECT_EQ(skin::ReadAlignment(ini, "s", "al3"), skin::TAlignment::taRightJustify);
  EXPECT_EQ(skin::ReadAlignment(ini, "s", "missing"), skin::TAlignment::taCenter);
  EXPECT_EQ(skin::ReadCommand(ini, "s", "cm1"), skin::TskStdCommand::cmRollUp);
  EXPECT_EQ(skin::ReadCommand(ini, "s", "cm2"), skin::TskStdCommand::cmClose);
  EXPECT_EQ(skin::ReadCommand(ini, "s", "cm3"), skin::TskStdCommand::cmRollUp);
  EXPECT_EQ(skin::ReadCommand(ini, "s", "missing"), skin::TskStdCommand::cmDefault);
  EXPECT_EQ(skin::ReadMorphKind(ini, "s", "mk1"), skin::TMorphKind::mkPush);
  EXPECT_EQ(skin::ReadMorphKind(ini, "s", "mk2"), skin::TMorphKind::mkDefault);
  EXPECT_EQ(skin::ReadInactiveEffect(ini, "s", "ie1"), skin::TInactiveEffect::ieInvert);
  EXPECT_EQ(skin::ReadInactiveEffect(ini, "s", "ie2"), skin::TInactiveEffect::ieBrightness);
}

TEST(Codec, DefinitionTextIsReadAsUtf8OrAsTheChineseCodePage) {
  EXPECT_EQ(skin::DefinitionTextToUtf8("\xEF\xBB\xBF[VERSION]"), "[VERSION]");
  EXPECT_EQ(skin::DefinitionTextToUtf8("fontname=\xCB\xCE\xCC\xE5"), "fontname=宋体");
  EXPECT_EQ(skin::DefinitionTextToUtf8("fontname=宋体"), "fontname=宋体");
}

TEST(Codec, StringListKeepsGapsAsEmptyEntries) {
  const auto ini = Ini("[PICTURES]\nactivepicturescount=3\n0=a.bmp\n2=c.bmp\n");
  std::vector<std::string> list{"kept"};
  skin::ReadStringList(ini, "PICTURES", "activepictures", list);
  EXPECT_EQ(list, (std::vector<std::string>{"kept", "a.bmp", "", "c.bmp"}));
}

TEST(Codec, WritersProduceTextTheReadersReadBack) {
  TskIniFile ini;
  skin::WriteRect(ini, "s", "r", {-1, 2, 30, 40});
  skin::WritePoint(ini, "s", "p", {29, 29});
  skin::WriteBoolean(ini, "s", "b", true);
  skin::WriteFontStyle(ini, "s", "f", skin::fsStrikeOut | skin::fsBold | skin::fsUnderline);
  skin::WriteFontStyle(ini, "s", "none", 0);
  skin::WriteAlignment(ini, "s", "a", skin::TAlignment::taLeftJustify);
  skin::WriteMorphKind(ini, "s", "m", skin::TMorphKind::mkRightSlide);
  skin::WriteCommand(ini, "s", "c", skin::TskStdCommand::cmSysMenu);
  EXPECT_EQ(ini.ToLines(), (std::vector<std::string>{"[s]", "r=-1,2,30,40", "p=29,29", "b=1",
                                                      "f=fsbold,fsunderline,fsstrikeout", "none=", "a=taleftjustify",
                                                      "m=mkrightslide", "c=cmsysmenu"}));
  const TskIniFile back(ini.ToLines());
  EXPECT_EQ(skin::ReadRect(back, "s", "r"), (platform::Rect{1, 2, 30, 40}));  // "-" is not read back
  EXPECT_EQ(skin::ReadFontStyle(back, "s", "f"), skin::fsStrikeOut | skin::fsBold | skin::fsUnderline);
  EXPECT_EQ(skin::ReadMorphKind(back, "s", "m"), skin::TMorphKind::mkRightSlide);
  EXPECT_EQ(skin::ReadCommand(back, "s", "c"), skin::TskStdCommand::cmSysMenu);
}

TEST(Codec, ListEntriesSplitAtTheFirstColon) {
  std::string name, kind;
  skin::SplitListEntry("closebutton:stdbutton:x", name, kind);
  EXPECT_EQ(name, "closebutton");
  EXPECT_EQ(kind, "stdbutton:x");
  skin::SplitListEntry("nocolon", name, kind);
  EXPECT_EQ(name, "");
  EXPECT_EQ(kind, "");
}

}  // namespace
