// Drawing shared by the skinned controls: pieces of a skin picture fitted to a
// rectangle, the plain 3D edges, the parent's background behind a transparent
// control, and text in the font a skin record or the control chooses.
#pragma once
#include <string>
#include <string_view>

#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "skControl.h"
#include "skUtils.h"

namespace skin {

// Picture piece `src` stretched into `dst` (copied 1:1 when the sizes agree).
// No picture or an empty piece draws nothing.
void DrawPiece(platform::Bitmap& canvas, const Rect& dst, const platform::Bitmap* picture, const Rect& src);
// The same, cut around the stretch points of `geometry` (measured from `src`'s
// corner) so that corners stay and edges repeat; without a right-bottom point
// the piece is simply stretched.
void DrawFramedPiece(platform::Bitmap& canvas, const Rect& dst, const platform::Bitmap* picture, const Rect& src,
                     const TskStretchGeometry& geometry);
// `geometry` of a piece `src` moved to a size w x h (right and bottom parts move).
TskStretchGeometry MoveGeometry(const TskStretchGeometry& geometry, const Rect& src, int w, int h);
// A rectangle of `r` moved like the client rectangle of a piece of size `src`
// resized to w x h: its right and bottom follow the size change.
Rect MoveClient(const Rect& r, const Rect& src, int w, int h);

// The record's picture piece `src` (its skinrect or a state's rectangle) fitted
// to the whole canvas around the record's stretch points; returns the record's
// client rectangle moved to the canvas size.
Rect DrawSkinFrame(platform::Bitmap& canvas, const TskDataSkinCustomControl& record, const platform::Bitmap* picture,
                   const Rect& src);

// `picture` repeated 1:1 over `dst` from its top-left corner, as a background.
void TilePicture(platform::Bitmap& canvas, const Rect& dst, const platform::Bitmap& picture);

// Plain 3D edges: raised has the light edge at the top left.
void DrawEdge3D(platform::Bitmap& canvas, const Rect& r, bool raised);
// What the parent shows behind the control: its skinned background when it
// paints one on request, otherwise its colour.
void PaintParentBackground(const TskControl& control, platform::Bitmap& canvas);

// The font of a text drawn from a record with font fields: with a record its
// colour, and its face, style and height when `useSkinFont` (character set
// from `defaultFont`); without one `defaultFont` when `useSkinFont`, else `own`.
TskFont ChooseFont(bool hasRecord, bool useSkinFont, const std::string& name, TFontStyles style, int height,
                   Colour color, const TskFont& defaultFont, const TskFont& own);
template <class R>
TskFont ChooseRecordFont(const R* record, bool useSkinFont, const TskFont& defaultFont, const TskFont& own) {
  if (!record) return ChooseFont(false, useSkinFont, {}, 0, 0, 0, defaultFont, own);
  return ChooseFont(true, useSkinFont, record->fontname, record->fontstyle, record->fontheight, record->fontcolor,
                    defaultFont, own);
}
// Text in `font`; disabled text is drawn twice, one pixel right and down in
// clBtnHighlight and then in place in clBtnShadow.
void DrawControlText(platform::Bitmap& canvas, const TskFont& font, const Rect& r, std::string_view text,
                     unsigned flags, bool enabled);

// A typed character as UTF-8.
std::string Utf8Char(char32_t ch);

// The framework's default control font with a colour.
TskFont DefaultControlFont();

}  // namespace skin
