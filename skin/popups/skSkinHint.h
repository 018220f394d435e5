// Skinned hints: TskSkinHint holds the hint settings of an application (one
// active component on the main form serves every hint) and shows hints of its
// own after a delay; TskSkinHintWindow draws a hint from the skin's hint window
// record, or plainly in the default font on the info colours.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Font.h"
#include "platform/Hints.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "skComponent.h"
#include "skSkinData.h"

namespace skin {

class TskSkinHint;

// The application's hint timing: the wait before a hint shows, and how long it stays.
using TskHintTiming = platform::ApplicationHints;

class TskSkinHintWindow : public platform::Window {
 public:
  TskSkinHintWindow();
  ~TskSkinHintWindow() override;

  // Sizes, places and shows the hint with its top-left corner at the rectangle's;
  // does nothing when no TskSkinHint on the main form is active.
  void ActivateHint(const Rect& rect, const std::string& hint);
  const std::string& Text() const { return text_; }

  TskSkinHint* ServingHint = nullptr;
  TskSkinData* ActiveSkin = nullptr;
  Point LTPoint, RTPoint, LBPoint, RBPoint;
  Rect ClientRect;

 protected:
  void WndProc(platform::Message& message) override;

 private:
  friend class TskSkinHint;
  void Paint(platform::Bitmap& canvas) const;
  const platform::Bitmap* SkinPicture() const;

  std::string text_;
  platform::Font font_;
  bool layered_ = false;
  std::optional<std::uint8_t> appliedAlpha_;
};

class TskSkinHint : public TskComponent {
 public:
  // `ownerForm`: the form that holds the component; only a component of the
  // application's main form serves hints.
  explicit TskSkinHint(platform::Window* ownerForm);
  ~TskSkinHint() override;

  TskSkinData* SkinData() const { return SkinData_; }
  void SetSkinData(TskSkinData* value);
  bool Active() const { return Active_; }
  // Switching one on switches off every other active component of the main form.
  void SetActive(bool value);
  bool AlphaBlend = false;
  std::uint8_t AlphaBlendValue = 0;
  const platform::Font& DefaultFont() const { return DefaultFont_; }
  void SetDefaultFont(const platform::Font& font) { DefaultFont_ = font; }
  bool UseSkinFont = true;
  platform::Window* OwnerForm() const { return owner_; }
  // Forwarded from the application's OnShowHint while this component is the
  // one that switched on last.
  platform::ApplicationHints::ShowHintEvent OnShowHint;

  // Shows `text` at the cursor after HintPause and hides it after HintHidePause.
  void ShowHintText(const std::string& text);
  void HideHintText();
  const TskSkinHintWindow& OwnHintWindow() const { return *OwnHintWindow_; }
  TskSkinHintWindow& OwnHintWindow() { return *OwnHintWindow_; }
  const std::string& PendingText() const { return PendingText_; }

  // The first active component among the main form's, or nullptr.
  static TskSkinHint* ServingComponent();

 protected:
  void Notification(TskComponent* removed) override;

 private:
  void DelayElapsed();
  // Shows an application hint (a control's) at the cursor, at once.
  void ShowApplicationHint(const std::string& text, Point cursor);
  void ForwardApplicationEvents();

  platform::Window* owner_;
  TskSkinData* SkinData_ = nullptr;
  bool Active_ = true;
  platform::Font DefaultFont_;
  std::unique_ptr<TskSkinHintWindow> OwnHintWindow_;
  std::unique_ptr<platform::Timer> DelayTimer;
  std::string PendingText_;
  bool showing_ = false;
};

}  // namespace skin
