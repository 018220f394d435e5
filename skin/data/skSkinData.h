// TskSkinData: the loaded skin. Every skinned window, popup and control reads its
// pictures and element records from one; it tells every form of the application
// before and after its skin changes.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Bitmap.h"
#include "skComponent.h"
#include "skControlRecords.h"
#include "skObjectRecords.h"
#include "skStoredSkin.h"
#include "skWindowRecords.h"

namespace platform {
class Window;
}

namespace skin {

class TskSkinData : public TskComponent {
 public:
  // `ownerForm` is the form that holds the component, or nullptr when its owner
  // is not a form (then no skin-change message is sent at all).
  explicit TskSkinData(platform::Window* ownerForm = nullptr);
  ~TskSkinData() override;

  TskStoredSkin* StoredSkin() const { return StoredSkin_; }
  // Outside the designer a source is loaded at once; none keeps the current skin.
  void SetStoredSkin(TskStoredSkin* source);
  TskCompressedStoredSkin* CompressedStoredSkin() const { return CompressedStoredSkin_; }
  void SetCompressedStoredSkin(TskCompressedStoredSkin* source);

  // Position of the first record named exactly `name` (with case), or -1.
  int GetObjectIndex(std::string_view name) const;
  int GetControlIndex(std::string_view name) const;
  // Picture `index` of the picture list, or nullptr for an index outside it.
  const platform::Bitmap* GetActivePicture(int index) const;

  void LoadFromStoredSkin(const TskStoredSkin& source);
  void LoadFromCompressedStoredSkin(const TskCompressedStoredSkin& source);
  void ClearSkin();

  Rect buttonsrect;
  Rect captionrect;
  std::int32_t buttonsoffset = 0;
  bool buttonsinleft = false;
  bool autorenderinginactiveimage = false;
  TInactiveEffect inactiveeffect = TInactiveEffect::ieBrightness;
  TskDataSkinPopupWindow PopupWindow;
  TskDataSkinHintWindow HintWindow;
  bool Empty = true;
  platform::Bitmap Picture;
  platform::Bitmap InactivePicture;
  platform::Bitmap MaskPicture;
  std::vector<platform::Bitmap> ActivePictures;
  std::vector<std::unique_ptr<TskDataSkinObject>> SkinObjects;
  std::vector<std::unique_ptr<TskDataSkinControl>> SkinControls;
  Point lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  std::int32_t bgpictureindex = kNoPicture;
  bool mainmenupopupup = false;
  Rect maskrectarea;
  Point hittestlefttoppoint, hittestrighttoppoint, hittestleftbottompoint, hittestrightbottompoint;
  Rect clientrect;
  std::int32_t borderwidth = 0;
  bool topstretch = false, leftstretch = false, rightstretch = false, bottomstretch = false;
  std::string skinname, skinauthor, authorurl, authoremail, skincomments;

 protected:
  void Notification(TskComponent* removed) override;

 private:
  void NotifyForms(std::uint32_t message);
  void LoadDefinition(const TskIniFile& ini);
  void LoadFormInfo(const TskIniFile& ini);
  void LoadSkinObjects(const TskIniFile& ini);
  void LoadSkinControls(const TskIniFile& ini);
  void VersionFields(TskFieldVisitor& v);
  void FormInfoFields(TskFieldVisitor& v);

  platform::Window* owner_;
  TskStoredSkin* StoredSkin_ = nullptr;
  TskCompressedStoredSkin* CompressedStoredSkin_ = nullptr;
  // The same references as components, taken while the sources are alive, for
  // matching removal notices sent from the base part of a dying source.
  const TskComponent* storedSkinComponent_ = nullptr;
  const TskComponent* compressedStoredSkinComponent_ = nullptr;
};

}  // namespace skin
