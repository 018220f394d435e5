#include "skSkinData.h"

#include <algorithm>

#include "platform/Application.h"
#include "platform/Window.h"
#include "skCodec.h"

namespace skin {

namespace {

constexpr std::size_t kFormatNumberSize = 4;

template <typename List>
int IndexOf(const List& list, std::string_view name) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i]->IDName == name) return int(i);
  }
  return -1;
}

}  // namespace

TskSkinData::TskSkinData(platform::Window* ownerForm) : owner_(ownerForm) {}

TskSkinData::~TskSkinData() { Empty = true; }

void TskSkinData::Notification(TskComponent* removed) {
  // Only the reference goes; the loaded skin stays.
  if (removed == storedSkinComponent_) {
    StoredSkin_ = nullptr;
    storedSkinComponent_ = nullptr;
  }
  if (removed == compressedStoredSkinComponent_) {
    CompressedStoredSkin_ = nullptr;
    compressedStoredSkinComponent_ = nullptr;
  }
}

void TskSkinData::SetStoredSkin(TskStoredSkin* source) {
  StoredSkin_ = source;
  storedSkinComponent_ = source;
  if (!source) return;
  FreeNotification(source);
  if (!Designing()) LoadFromStoredSkin(*source);
}

void TskSkinData::SetCompressedStoredSkin(TskCompressedStoredSkin* source) {
  CompressedStoredSkin_ = source;
  compressedStoredSkinComponent_ = source;
  if (!source) return;
  FreeNotification(source);
  if (!Designing()) LoadFromCompressedStoredSkin(*source);
}

int TskSkinData::GetObjectIndex(std::string_view name) const { return IndexOf(SkinObjects, name); }
int TskSkinData::GetControlIndex(std::string_view name) const { return IndexOf(SkinControls, name); }

const platform::Bitmap* TskSkinData::GetActivePicture(int index) const {
  if (index < 0 || std::size_t(index) >= ActivePictures.size()) return nullptr;
  return &ActivePictures[std::size_t(index)];
}

void TskSkinData::NotifyForms(std::uint32_t message) {
  if (!owner_) return;
  const auto self = reinterpret_cast<std::uintptr_t>(this);
  owner_->Perform(message, self, kSkinMessageTag);
  if (!platform::Application::Exists()) return;
  // A receiver may close forms while it handles the message: walk a copy and skip
  // any form that has left the application's list since.
  const std::vector<platform::Window*> forms = platform::Application::Instance().Forms();
  for (platform::Window* form : forms) {
    if (form == owner_) continue;
    const auto& current = platform::Application::Instance().Forms();
    if (std::find(current.begin(), current.end(), form) == current.end()) continue;
    form->Perform(message, self, kSkinMessageTag);
  }
}

void TskSkinData::ClearSkin() {
  SkinObjects.clear();
  SkinControls.clear();
  ActivePictures.clear();
  PopupWindow.windowpictureindex = kNoPicture;
  HintWindow.windowpictureindex = kNoPicture;
  Picture.Clear();
  InactivePicture.Clear();
  MaskPicture.Clear();
  Empty = true;
}

void TskSkinData::VersionFields(TskFieldVisitor& v) {
  v.TextField("skinname", skinname);
  v.TextField("skinauthor", skinauthor);
  v.TextField("authoremail", authoremail);
  v.TextField("authorurl", authorurl);
  v.TextField("skincomments", skincomments);
}

void TskSkinData::FormInfoFields(TskFieldVisitor& v) {
  v.PointField("lefttoppoint", lefttoppoint);
  v.PointField("righttoppoint", righttoppoint);
  v.PointField("leftbottompoint", leftbottompoint);
  v.PointField("rightbottompoint", rightbottompoint);
  v.RectField("clientrect", clientrect);
  v.IntegerField("bgpictureindex", bgpictureindex, kNoPicture);
  v.BooleanField("leftstretch", leftstretch);
  v.BooleanField("rightstretch", rightstretch);
  v.BooleanField("topstretch", topstretch);
  v.BooleanField("bottomstretch", bottomstretch);
  v.RectField("maskrectarea", maskrectarea);
  v.PointField("hittestlefttoppoint", hittestlefttoppoint);
  v.PointField("hittestrighttoppoint", hittestrighttoppoint);
  v.PointField("hittestleftbottompoint", hittestleftbottompoint);
  v.PointField("hittestrightbottompoint", hittestrightbottompoint);
  v.RectField("buttonsrect", buttonsrect);
  v.RectField("captionrect", captionrect);
  v.IntegerField("buttonsoffset", buttonsoffset, 0);
  v.BooleanField("buttonsinleft", buttonsinleft);
  v.BooleanField("mainmenupopupup", mainmenupopupup);
  v.IntegerField("borderwidth", borderwidth, 0);
  v.BooleanField("autorenderinginactiveimage", autorenderinginactiveimage);
  v.InactiveEffectField("inactiveeffect", inactiveeffect);
}

void TskSkinData::LoadFormInfo(const TskIniFile& ini) {
  TskIniLoader loader(ini, "FORMINFO");
  FormInfoFields(loader);
  if (rightbottompoint.x == lefttoppoint.x || rightbottompoint.y == lefttoppoint.y) return;
  // The stretch points are kept inside the client rectangle.
  lefttoppoint.x = std::max(lefttoppoint.x, clientrect.left);
  lefttoppoint.y = std::max(lefttoppoint.y, clientrect.top);
  righttoppoint.x = std::min(righttoppoint.x, clientrect.right);
  righttoppoint.y = std::max(righttoppoint.y, clientrect.top);
  leftbottompoint.x = std::max(leftbottompoint.x, clientrect.left);
  leftbottompoint.y = std::min(leftbottompoint.y, clientrect.bottom);
  rightbottompoint.x = std::min(rightbottompoint.x, clientrect.right);
  rightbottompoint.y = std::min(rightbottompoint.y, clientrect.bottom);
}

void TskSkinData::LoadSkinObjects(const TskIniFile& ini) {
  // Numbers without a key give an empty entry, which creates nothing: only the
  // keys present are walked, so a huge count cannot stall the load.
  const std::int32_t count = ini.ReadInteger("SKINOBJECTS", "count", 0);
  std::string name, kind;
  for (const auto& [number, entry] : ini.NumberedValues("SKINOBJECTS", count)) {
    SplitListEntry(entry, name, kind);
    if (auto record = CreateSkinObject(kind, name)) {
      SkinObjects.push_back(std::move(record));
      SkinObjects.back()->LoadFromIni(ini);
    }
  }
}

void TskSkinData::LoadSkinControls(const TskIniFile& ini) {
  const std::int32_t count = ini.ReadInteger("SKINCONTROLS", "count", 0);
  std::string name, kind;
  for (const auto& [number, entry] : ini.NumberedValues("SKINCONTROLS", count)) {
    SplitListEntry(entry, name, kind);
    if (auto record = CreateSkinControl(kind, name)) {
      SkinControls.push_back(std::move(record));
      SkinControls.back()->LoadFromIni(ini);
    }
  }
}

void TskSkinData::LoadDefinition(const TskIniFile& ini) {
  LoadFormInfo(ini);
  PopupWindow.LoadFromIni(ini);
  HintWindow.LoadFromIni(ini);
  LoadSkinObjects(ini);
  LoadSkinControls(ini);
}

void TskSkinData::LoadFromStoredSkin(const TskStoredSkin& source) {
  Empty = true;
  NotifyForms(SKM_BEFORECHANGE);
  ClearSkin();
  const TskIniFile ini(source.IniStrings());
  if (!IsSkinDefinition(ini)) {
    NotifyForms(SKM_CHANGE);
    NotifyForms(SKM_AFTERCHANGE);
    return;
  }
  TskIniLoader version(ini, "VERSION");
  VersionFields(version);
  Picture = source.Picture();
  InactivePicture = source.InactivePicture();
  MaskPicture = source.MaskPicture();
  ActivePictures = source.ActivePictures();
  LoadDefinition(ini);
  Empty = false;
  NotifyForms(SKM_CHANGE);
  NotifyForms(SKM_AFTERCHANGE);
}

void TskSkinData::LoadFromCompressedStoredSkin(const TskCompressedStoredSkin& source) {
  if (source.IsEmpty()) return;
  Empty = true;
  NotifyForms(SKM_BEFORECHANGE);
  ClearSkin();
  Bytes data;
  source.DecompressTo(data);
  if (data.size() < kFormatNumberSize) throw EDecompressionError("compression error: the skin data is truncated");
  const auto format = std::int32_t(std::uint32_t(data[0]) | (std::uint32_t(data[1]) << 8) |
                                   (std::uint32_t(data[2]) << 16) | (std::uint32_t(data[3]) << 24));
  if (format != TskCompressedStoredSkin::kFormatNumber) {
    NotifyForms(SKM_CHANGE);
    NotifyForms(SKM_AFTERCHANGE);
    return;
  }
  std::size_t pos = kFormatNumberSize;
  TskPictureSet pictures = ReadPictureSet(data, pos);
  const std::string text = DefinitionTextToUtf8(
      std::string_view(reinterpret_cast<const char*>(data.data() + pos), data.size() - pos));
  const TskIniFile ini(TskIniFile::SplitLines(text));
  TskIniLoader version(ini, "VERSION");
  VersionFields(version);
  Picture = std::move(pictures.Picture);
  InactivePicture = std::move(pictures.InactivePicture);
  MaskPicture = std::move(pictures.MaskPicture);
  ActivePictures = std::move(pictures.ActivePictures);
  LoadDefinition(ini);
  Empty = false;
  NotifyForms(SKM_CHANGE);
  NotifyForms(SKM_AFTERCHANGE);
}

}  // namespace skin
