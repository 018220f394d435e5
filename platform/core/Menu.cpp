#include "platform/Menu.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

#include "platform/Text.h"

namespace platform {

int ImageList::Add(const Bitmap& image) {
  Bitmap b(width_, height_, transparent_);
  b.CopyRect(0, 0, image, image.BoundsRect());
  images_.push_back(std::move(b));
  return Count() - 1;
}

void ImageList::Draw(Bitmap& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  const Bitmap& image = images_[std::size_t(index)];
  if (enabled) {
    canvas.DrawTransparent(x, y, image, transparent_);
    return;
  }
  constexpr Colour kDisabledInk = Rgb(128, 128, 128);
  for (int iy = 0; iy < height_; ++iy)
    for (int ix = 0; ix < width_; ++ix)
      if (image.Pixel(ix, iy) != transparent_) canvas.SetPixel(x + ix, y + iy, kDisabledInk);
}

MenuItem& MenuItem::Add(std::string caption, std::function<void(MenuItem&)> onClick) {
  auto item = std::make_unique<MenuItem>(std::move(caption));
  item->OnClick = std::move(onClick);
  item->parent_ = this;
  items_.push_back(std::move(item));
  return *items_.back();
}

MenuItem& MenuItem::Insert(int index, std::string caption, std::function<void(MenuItem&)> onClick) {
  auto item = std::make_unique<MenuItem>(std::move(caption));
  item->OnClick = std::move(onClick);
  item->parent_ = this;
  const auto at = items_.begin() + std::clamp(index, 0, Count());
  return **items_.insert(at, std::move(item));
}

void MenuItem::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

Menu* MenuItem::GetParentMenu() const {
  const MenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

void MenuItem::Click() {
  if (Enabled && OnClick) OnClick(*this);
}

bool IsAccel(std::uint32_t key, std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(caption[i + 1]);
    return c < 0x80 && key < 0x80 && std::toupper(c) == std::toupper(int(key));
  }
  return false;
}

namespace {

// Key names as the framework writes them (the Win32 virtual-key codes).
constexpr std::pair<const char*, std::uint32_t> kKeyNames[] = {
    {"BkSp", 0x08}, {"Tab", 0x09}, {"Enter", 0x0D}, {"Esc", 0x1B}, {"Space", 0x20}, {"PgUp", 0x21},
    {"PgDn", 0x22}, {"End", 0x23}, {"Home", 0x24}, {"Left", 0x25}, {"Up", 0x26}, {"Right", 0x27},
    {"Down", 0x28}, {"Ins", 0x2D}, {"Del", 0x2E}};

constexpr std::uint8_t kShiftBit = 1, kAltBit = 2, kCtrlBit = 4;

bool FindShortCut(Menu& menu, MenuItem& parent, std::uint32_t key, std::uint8_t shift) {
  for (int i = 0; i < parent.Count(); ++i) {
    MenuItem& item = parent[i];
    if (!item.Enabled) continue;
    if (!item.ShortCut.empty()) {
      const ShortCutKey k = TextToShortCut(item.ShortCut);
      if (k.key != 0 && k.key == key && k.shift == shift) {
        menu.DispatchCommand(item);
        return true;
      }
    }
    if (FindShortCut(menu, item, key, shift)) return true;
  }
  return false;
}

}  // namespace

ShortCutKey TextToShortCut(std::string_view text) {
  ShortCutKey k;
  constexpr std::pair<const char*, std::uint8_t> kModifiers[] = {{"Shift+", kShiftBit}, {"Ctrl+", kCtrlBit},
                                                                 {"Alt+", kAltBit}};
  for (bool found = true; found;) {
    found = false;
    for (const auto& [name, bit] : kModifiers) {
      const std::string_view n = name;
      if (text.size() > n.size() && EqualsNoCase(text.substr(0, n.size()), n)) {
        k.shift |= bit;
        text.remove_prefix(n.size());
        found = true;
      }
    }
  }
  if (text.size() == 1 && std::isalnum(static_cast<unsigned char>(text[0]))) {
    k.key = std::uint32_t(std::toupper(static_cast<unsigned char>(text[0])));
    return k;
  }
  if (text.size() >= 2 && (text[0] == 'F' || text[0] == 'f')) {
    int n = 0;
    for (char c : text.substr(1)) n = std::isdigit(static_cast<unsigned char>(c)) ? n * 10 + (c - '0') : -1000;
    if (n >= 1 && n <= 24) {
      k.key = 0x70 + std::uint32_t(n - 1);  // VK_F1 onwards
      return k;
    }
  }
  for (const auto& [name, code] : kKeyNames)
    if (EqualsNoCase(text, name)) {
      k.key = code;
      return k;
    }
  return {};
}

bool Menu::IsShortCut(std::uint32_t key, std::uint8_t shift) {
  return key != 0 && FindShortCut(*this, Items, key, shift);
}

}  // namespace platform
