// Menus as a portable tree that a program builds in code: items with a caption
// ("-" is a divider), shortcut text, states, an image index and sub-items. A
// menu owns its root item and the image list its items index.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Bitmap.h"

namespace platform {

class Menu;

// Images of equal size; one colour is transparent.
class ImageList {
 public:
  ImageList(int width, int height, Colour transparent) : width_(width), height_(height), transparent_(transparent) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return int(images_.size()); }
  // Adds an image (cut or padded to the list's size); returns its index.
  int Add(const Bitmap& image);
  // Draws image `index` at (x, y); disabled, its opaque pixels are drawn grey.
  void Draw(Bitmap& canvas, int x, int y, int index, bool enabled) const;

 private:
  int width_, height_;
  Colour transparent_;
  std::vector<Bitmap> images_;
};

class MenuItem {
 public:
  MenuItem() = default;
  explicit MenuItem(std::string caption) : Caption(std::move(caption)) {}
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  std::string Caption;
  std::string ShortCut;  // shown right-aligned, e.g. "Ctrl+O"; empty: none
  std::string Name;      // some names pick a caption-button glyph in skinned menus
  bool Enabled = true;
  bool Visible = true;
  bool Checked = false;
  bool RadioItem = false;
  bool Default = false;
  bool Break = false;
  int ImageIndex = -1;
  std::function<void(MenuItem&)> OnClick;

  // Appends a sub-item and returns it.
  MenuItem& Add(std::string caption, std::function<void(MenuItem&)> onClick = {});
  // Inserts a sub-item at position `index` (clamped to the ends) and returns it.
  MenuItem& Insert(int index, std::string caption, std::function<void(MenuItem&)> onClick = {});
  // Removes and frees sub-item `index`; Clear removes them all.
  void Delete(int index);
  void Clear() { items_.clear(); }
  int Count() const { return int(items_.size()); }
  MenuItem& operator[](int index) const { return *items_[std::size_t(index)]; }
  MenuItem* Parent() const { return parent_; }
  // The menu whose tree holds this item, or nullptr.
  Menu* GetParentMenu() const;
  bool IsDivider() const { return Caption == "-"; }

  // The item's command: runs OnClick.
  void Click();

 private:
  friend class Menu;
  MenuItem* parent_ = nullptr;
  Menu* menu_ = nullptr;  // set on the root only
  std::vector<std::unique_ptr<MenuItem>> items_;
};

class Menu {
 public:
  Menu() { Items.menu_ = this; }
  virtual ~Menu() = default;
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  MenuItem Items;
  const ImageList* Images = nullptr;

  // Carries out an item's command.
  virtual void DispatchCommand(MenuItem& item) { item.Click(); }
  // Carries out the command of the enabled item whose ShortCut text names `key`
  // (a virtual-key code) with `shift` (the Shift, Alt and Ctrl bits of
  // platform::shiftstate); false when no item has that short cut.
  bool IsShortCut(std::uint32_t key, std::uint8_t shift);
};

// The virtual-key code and shift bits a short-cut text such as "Ctrl+O",
// "Shift+F5" or "Alt+F4" stands for; key 0 for a text it cannot read.
struct ShortCutKey {
  std::uint32_t key = 0;
  std::uint8_t shift = 0;
};
ShortCutKey TextToShortCut(std::string_view text);

// Whether `key` (a character or virtual-key code) is the accelerator of
// `caption`: the character after a single "&", compared without case.
bool IsAccel(std::uint32_t key, std::string_view caption);

}  // namespace platform
