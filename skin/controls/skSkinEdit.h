// TskCustomEdit, a single-line edit (text, caret, typing, plain sunken look),
// and TskSkinCustomEdit, which draws its frame from an edit record and its
// text in the record's font and colours.
#pragma once
#include <functional>
#include <string>

#include "skControl.h"

namespace skin {

class TskCustomEdit : public TskControl {
 public:
  explicit TskCustomEdit(platform::Window& parent);
  ~TskCustomEdit() override;

  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& text);
  // The caret, as a byte offset into the UTF-8 text on a character boundary.
  int SelStart() const { return SelStart_; }
  void SetSelStart(int pos);
  int MaxLength = 0;  // 0: no limit (in characters)
  bool ReadOnly = false;
  char PasswordChar = 0;
  // Only one edit has the focus at a time; a click gives it.
  bool Focused() const { return Focused_; }
  void SetFocus();

  std::function<void(TskCustomEdit&)> OnChange;

 protected:
  void Paint(platform::Bitmap& canvas) override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void KeyDown(std::uint32_t key) override;
  void KeyPress(char32_t ch) override;
  // The text as shown (password characters in place of the text).
  std::string DisplayText() const;
  // The text left-aligned and vertically centred in `r`, with the caret when focused.
  void DrawEditText(platform::Bitmap& canvas, const Rect& r, const TskFont& font);

 private:
  int SelStart_ = 0;
  bool Focused_ = false;
};

class TskSkinCustomEdit : public TskCustomEdit {
 public:
  explicit TskSkinCustomEdit(platform::Window& parent);

  const TskFont& DefaultFont() const { return DefaultFont_; }
  void SetDefaultFont(const TskFont& font);
  bool UseSkinFont = true;

  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;

 protected:
  void Paint(platform::Bitmap& canvas) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  TskFont DefaultFont_;
};

}  // namespace skin
