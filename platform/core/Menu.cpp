#include "platform/Menu.h"

#include <cctype>

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

}  // namespace platform
