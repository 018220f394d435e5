// TskControl: what every skinned control stands on. A child window of its form
// (or of another control) with the framework's control properties (bounds,
// caption, font, enabled state) and the skin binding: the skin data it draws
// from, the record name it looks up, and the skin-changed operation the frame
// calls when a skin is loaded.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "platform/Window.h"
#include "skComponent.h"
#include "skSkinData.h"

namespace skin {

// A control's font with its colour.
struct TskFont {
  platform::Font font;
  Colour color = 0;
  friend bool operator==(const TskFont&, const TskFont&) = default;
};

// Anchors, as the framework's set: left and top by default.
enum TskAnchor : std::uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

class TskControl : public platform::Window, public TskComponent {
 public:
  explicit TskControl(platform::Window& parent);
  ~TskControl() override;

  // Bounds in the parent's client coordinates. Every size change goes through
  // the virtual SetBounds, so a control can keep the size its skin allows.
  int Left() const { return BoundsRect().left; }
  int Top() const { return BoundsRect().top; }
  int Width() const { return ClientSize().x; }
  int Height() const { return ClientSize().y; }
  virtual void SetBounds(int left, int top, int width, int height);
  void SetBounds(const Rect& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }
  void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
  void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
  Rect ClientRect() const { return {0, 0, Width(), Height()}; }

  bool Enabled() const { return Enabled_; }
  void SetEnabled(bool enabled);
  bool IsVisible() const { return Visible(); }
  void SetVisible(bool visible);
  // The caption (labels, buttons) or text (edits); a change repaints.
  void SetCaption(const std::string& caption);
  const TskFont& Font() const { return Font_; }
  void SetFont(const TskFont& font);
  Colour Color() const { return Color_; }
  void SetColor(Colour color);
  std::uint8_t Anchors = akLeft | akTop;

  void Repaint() { Invalidate(); }

  // The skin binding.
  TskSkinData* SkinData() const { return SkinData_; }
  // Stores the skin data; a loaded one applies at once (outside the designer),
  // and so does leaving a skin whose record the control was drawn from.
  virtual void SetSkinData(TskSkinData* data);
  // The record name; a change takes effect at the next paint or skin change.
  std::string SkinDataName;
  // Position of the record in the skin's control list, -1 without one.
  int SkinIndex() const { return SkinIndex_; }
  // Looks the record up again (and copies what the control draws with).
  virtual void ReadSkinRecord();
  // After a skin load: the record is read again and the control repainted.
  virtual void SkinChanged();

  std::function<void(TskControl&)> OnMouseEnter, OnMouseLeave;

 protected:
  // The record at SkinIndex, or nullptr.
  const TskDataSkinControl* SkinRecord() const;
  // The record as the class a control accepts; another class counts as none.
  template <class T>
  const T* SkinRecordAs() const {
    return dynamic_cast<const T*>(SkinRecord());
  }
  // The looked-up position: -1 without a loaded skin or without a record.
  int LookUpSkinIndex() const;
  // The name looked up (SkinDataName unless a control has another look).
  virtual std::string RecordName() const { return SkinDataName; }
  void SetSkinIndex(int index) { SkinIndex_ = index; }
  // Keeps the reference (and hears of the skin data's removal), nothing more.
  void StoreSkinData(TskSkinData* data);

  // Draws the whole control into `canvas`, sized to the client area.
  virtual void Paint(platform::Bitmap& canvas);
  virtual void MouseDown(TMouseButton button, int x, int y);
  virtual void MouseUp(TMouseButton button, int x, int y);
  virtual void MouseMove(int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void KeyDown(std::uint32_t key);
  virtual void KeyPress(char32_t ch);
  // Whether the mouse is over the control (between entering and leaving).
  bool MouseInControl() const { return MouseIn_; }

  void WndProc(platform::Message& m) override;
  void Notification(TskComponent* removed) override;

 private:
  // Offers a key to the top-level form as a short cut; true when it took it.
  bool OfferToForm(std::uint32_t key);
  bool swallowChar_ = false;
  TskSkinData* SkinData_ = nullptr;
  int SkinIndex_ = -1;
  bool Enabled_ = true;
  bool MouseIn_ = false;
  TskFont Font_;
  Colour Color_;
};

// The font a skin record names: its face, style and height, with the character
// set of `charsetFrom`.
platform::Font RecordFont(const std::string& name, TFontStyles style, int height, const platform::Font& charsetFrom);

}  // namespace skin
