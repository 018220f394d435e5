// TskMemo, a multi-line text (lines, typing at the end, the top line and the
// horizontal offset shown, plain sunken look), and the skinned memos that draw
// their frame from a memo record, their background in its colours and their
// text in its font, scrolled by skinned scroll bars.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "skControl.h"

namespace skin {

class TskSkinScrollBar;

class TskMemo : public TskControl {
 public:
  explicit TskMemo(platform::Window& parent);
  ~TskMemo() override;

  const std::vector<std::string>& Lines() const { return Lines_; }
  void SetLines(std::vector<std::string> lines);
  // The lines joined with line breaks; a text is split at "\r\n", "\n" or "\r".
  std::string Text() const;
  void SetText(const std::string& text);
  bool ReadOnly = false;
  int TopLine() const { return TopLine_; }
  void SetTopLine(int line);
  int LeftOffset() const { return LeftOffset_; }
  void SetLeftOffset(int pixels);
  // How many whole lines the text area shows.
  int VisibleLineCount() const;

  std::function<void(TskMemo&)> OnChange;

 protected:
  void Paint(platform::Bitmap& canvas) override;
  void KeyPress(char32_t ch) override;
  // The lines from TopLine down, shifted left by LeftOffset, clipped to `r`.
  void DrawLines(platform::Bitmap& canvas, const Rect& r, const TskFont& font);
  // The text area (the client area inside the frame) and the font it is drawn in.
  virtual Rect TextArea() const;
  virtual TskFont TextFont() const { return Font(); }
  // Lines or the visible range changed: linked scroll bars follow.
  virtual void LinesChanged();
  int LineHeight() const;
  // Scroll bars that move the text: a vertical one by lines, a horizontal one
  // by pixels. A bar that is destroyed is forgotten.
  void LinkScrollBar(TskSkinScrollBar*& link, TskSkinScrollBar* bar, bool vertical);
  void Notification(TskComponent* removed) override;
  TskSkinScrollBar* VBar_ = nullptr;
  TskSkinScrollBar* HBar_ = nullptr;

 private:
  std::vector<std::string> Lines_;
  int TopLine_ = 0;
  int LeftOffset_ = 0;
};

// The skinned memo's frame, background and font, shared by both skinned memos.
class TskSkinMemoBase : public TskMemo {
 public:
  explicit TskSkinMemoBase(platform::Window& parent);

  const TskFont& DefaultFont() const { return DefaultFont_; }
  void SetDefaultFont(const TskFont& font);
  bool UseSkinFont = true;

  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;

  // A linked vertical bar scrolls the lines.
  TskSkinScrollBar* VScrollBar() const { return VBar_; }
  void SetVScrollBar(TskSkinScrollBar* bar) { LinkScrollBar(VBar_, bar, true); }

 protected:
  void Paint(platform::Bitmap& canvas) override;
  Rect TextArea() const override;
  TskFont TextFont() const override;
  void MouseEnter() override;
  void MouseLeave() override;
  // Whether the frame picture's centre stays behind the text (else the
  // record's background colour fills it).
  virtual bool PictureBackground() const { return false; }

 private:
  TskFont DefaultFont_;
};

class TskSkinMemo : public TskSkinMemoBase {
 public:
  explicit TskSkinMemo(platform::Window& parent);
  bool BitMapBG() const { return BitMapBG_; }
  void SetBitMapBG(bool on);

 protected:
  bool PictureBackground() const override { return BitMapBG_; }

 private:
  bool BitMapBG_ = false;
};

class TskSkinMemo2 : public TskSkinMemoBase {
 public:
  explicit TskSkinMemo2(platform::Window& parent);
  // A linked horizontal bar scrolls the text sideways, in pixels.
  TskSkinScrollBar* HScrollBar() const { return HBar_; }
  void SetHScrollBar(TskSkinScrollBar* bar) { LinkScrollBar(HBar_, bar, false); }
};

}  // namespace skin
