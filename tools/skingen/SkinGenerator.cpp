#include "SkinGenerator.h"

#include <filesystem>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/BmpFile.h"
#include "platform/FormData.h"
#include "platform/Text.h"
#include "skCodec.h"
#include "skControlRecords.h"
#include "skObjectRecords.h"
#include "skStoredSkin.h"
#include "skUtils.h"
#include "skWindowRecords.h"

namespace skingen {

namespace {

using platform::Bitmap;
using platform::Colour;
using platform::Point;
using platform::Rect;
using platform::Rgb;
using skin::TskIniFile;

// Frame layout: caption bar height, border width and the client area.
constexpr int kCaptionHeight = 29;
constexpr int kBorder = 5;
constexpr Rect kClient{kBorder, kCaptionHeight, kFrameWidth - kBorder, kFrameHeight - kBorder};
// Rounded top corners of the mask: how far each of the first rows is cut in.
constexpr int kCornerCut[] = {5, 3, 2, 1, 1};
// Caption buttons: size, top, and the state columns in the button picture.
constexpr int kButton = 21;
constexpr int kButtonTop = 4;
constexpr int kGlyphInset = 5;
// Picture list positions.
enum Picture {
  kPicButtons, kPicPopup, kPicMenuItems, kPicHint, kPicControls, kPicGrids, kPicPopupMask, kPicHintMask,
  kPicPage,  // the background tiled behind tab pages, tool bars and scroll boxes
  kPictureCount
};
constexpr const char* kPictureFiles[kPictureCount] = {"active.bmp",   "pw.bmp",    "menuitems.bmp", "hw.bmp",
                                                      "controls.bmp", "grids.bmp", "pwmask.bmp",    "hwmask.bmp",
                                                      "page.bmp"};
// Control picture cells: one row per control, normal / active / down / disabled columns.
constexpr int kCellW = 60, kCellH = 24, kCellStates = 4, kCellEdge = 3;

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = 0;
constexpr Colour kFace = Rgb(236, 233, 216);
constexpr Colour kText = Rgb(0, 0, 0);
constexpr Colour kCaptionText = Rgb(255, 255, 255);

struct Palette {
  Colour captionTop, captionBottom, border, light;
};
constexpr Palette kActive{Rgb(70, 170, 80), Rgb(20, 100, 40), Rgb(30, 110, 50), Rgb(150, 220, 150)};
constexpr Palette kInactive{Rgb(150, 170, 150), Rgb(110, 130, 110), Rgb(120, 135, 120), Rgb(200, 215, 200)};

Colour Lerp(Colour a, Colour b, int i, int n) {
  auto ch = [&](int shift) { return ((a >> shift & 255) * (n - i) + (b >> shift & 255) * i) / n; };
  return Rgb(std::uint8_t(ch(0)), std::uint8_t(ch(8)), std::uint8_t(ch(16)));
}

void Bevel(Bitmap& b, const Rect& r, Colour light, Colour dark, Colour face) {
  b.FillRect(r, face);
  b.FillRect({r.left, r.top, r.right, r.top + 1}, light);
  b.FillRect({r.left, r.top, r.left + 1, r.bottom}, light);
  b.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, dark);
  b.FillRect({r.right - 1, r.top, r.right, r.bottom}, dark);
}

// The caption buttons, by row of the button picture.
struct CaptionButton {
  const char* name;
  skin::TskStdCommand command;
  int left;  // on the frame picture; negative counts from the right edge
  void (*glyph)(Bitmap&, int, int, Colour);
};
const CaptionButton kButtons[] = {
    {"closebutton", skin::TskStdCommand::cmClose, -1, skin::DrawCloseGlyph},
    {"maxbutton", skin::TskStdCommand::cmMaximize, -2, skin::DrawMaximizeGlyph},
    {"minbutton", skin::TskStdCommand::cmMinimize, -3, skin::DrawMinimizeGlyph},
    {"rollupbutton", skin::TskStdCommand::cmRollUp, -4, skin::DrawRollUpGlyph},
    {"sysmenubutton", skin::TskStdCommand::cmSysMenu, kBorder, skin::DrawSysMenuGlyph},
};
constexpr int kRestoreRow = 5;  // restore images of the maximize button
constexpr int kHelpRow = 6;     // the plain button object
constexpr int kButtonRows = 7;

Rect ButtonOnFrame(const CaptionButton& b) {
  const int left = b.left < 0 ? kFrameWidth - 4 + b.left * kButton : b.left;
  return {left, kButtonTop, left + kButton, kButtonTop + kButton};
}
Rect ButtonState(int row, int state) {  // state 0 normal, 1 down, 2 active
  return {state * kButton, row * kButton, (state + 1) * kButton, (row + 1) * kButton};
}

void DrawButton(Bitmap& b, const Rect& r, Colour face, Colour light, Colour dark,
                void (*glyph)(Bitmap&, int, int, Colour), Colour ink) {
  Bevel(b, r, light, dark, face);
  if (glyph) glyph(b, r.left + kGlyphInset, r.top + kGlyphInset, ink);
}

Bitmap ButtonPicture() {
  Bitmap b(3 * kButton, kButtonRows * kButton, kFace);
  const Colour faces[3] = {Rgb(60, 150, 70), Rgb(20, 90, 30), Rgb(110, 200, 120)};
  for (int row = 0; row < kButtonRows; ++row) {
    for (int state = 0; state < 3; ++state) {
      void (*glyph)(Bitmap&, int, int, Colour) = nullptr;
      if (row < int(std::size(kButtons))) glyph = kButtons[row].glyph;
      if (row == kRestoreRow) glyph = skin::DrawRestoreGlyph;
      if (row == kHelpRow) glyph = skin::DrawRollDownGlyph;
      DrawButton(b, ButtonState(row, state), faces[state], kWhite, Rgb(10, 60, 20), glyph, kWhite);
    }
  }
  return b;
}

Bitmap FramePicture(const Palette& p) {
  Bitmap b(kFrameWidth, kFrameHeight, p.border);
  for (int y = 0; y < kCaptionHeight; ++y) {
    b.FillRect({0, y, kFrameWidth, y + 1}, Lerp(p.captionTop, p.captionBottom, y, kCaptionHeight));
  }
  b.FrameRect({0, 0, kFrameWidth, kFrameHeight}, p.captionBottom);
  b.FillRect({1, 1, kFrameWidth - 1, 2}, p.light);
  b.FillRect(kClient, kFace);
  for (const CaptionButton& s : kButtons) DrawButton(b, ButtonOnFrame(s), p.captionTop, p.light, p.border, s.glyph, kWhite);
  return b;
}

Bitmap FrameMask() {
  Bitmap m(kFrameWidth, kFrameHeight, kBlack);
  for (int y = 0; y < int(std::size(kCornerCut)); ++y) {
    m.FillRect({0, y, kCornerCut[y], y + 1}, kWhite);
    m.FillRect({kFrameWidth - kCornerCut[y], y, kFrameWidth, y + 1}, kWhite);
  }
  return m;
}

// A small window frame (popup or hint) with a border and cut corners, and its mask.
constexpr int kPopupSize = 40, kPopupEdge = 3;
constexpr int kHintW = 40, kHintH = 30, kHintEdge = 4;
Bitmap SmallFrame(int w, int h, int edge, Colour border, Colour face) {
  Bitmap b(w, h, border);
  b.FillRect({edge, edge, w - edge, h - edge}, face);
  b.FrameRect({1, 1, w - 1, h - 1}, Lerp(border, kWhite, 1, 2));
  return b;
}
Bitmap SmallMask(int w, int h) {
  Bitmap m(w, h, kBlack);
  for (Point p : {Point{0, 0}, Point{w - 1, 0}, Point{0, h - 1}, Point{w - 1, h - 1}}) m.SetPixel(p.x, p.y, kWhite);
  return m;
}

// Menu item images: normal, active, divider rows.
constexpr int kMenuW = 100, kMenuItemH = 20, kDividerH = 8;
Bitmap MenuItems() {
  Bitmap b(kMenuW, 3 * kMenuItemH + kDividerH, kFace);
  Bevel(b, {0, kMenuItemH, kMenuW, 2 * kMenuItemH}, kActive.light, kActive.border, kActive.captionTop);
  Bevel(b, {0, 2 * kMenuItemH, kMenuW, 3 * kMenuItemH}, kActive.border, kActive.light, kActive.captionBottom);
  b.FillRect({4, 3 * kMenuItemH + kDividerH / 2, kMenuW - 4, 3 * kMenuItemH + kDividerH / 2 + 1}, kActive.border);
  return b;
}

// Control list: every kind once, then further names of the same kinds, then one
// entry of a kind no record class knows.
const std::pair<const char*, const char*> kControls[] = {
    {"panel", "panel"}, {"expanel", "expanel"}, {"menubutton", "menubutton"}, {"button", "button"},
    {"checkradio", "checkradio"}, {"gauge", "gauge"}, {"splitter", "splitter"}, {"trackbar", "trackbar"},
    {"label", "label"}, {"stdlabel", "stdlabel"}, {"updown", "updown"}, {"grid", "grid"}, {"tab", "tab"},
    {"listview", "listview"}, {"mainmenubar", "mainmenubar"}, {"controlbar", "controlbar"}, {"memo", "memo"},
    {"edit", "edit"}, {"checklistbox", "checklistbox"}, {"listbox", "listbox"}, {"combobox", "combobox"},
    {"scrollbar", "scrollbar"}, {"spinedit", "spinedit"}, {"scrollbox", "scrollbox"}, {"treeview", "treeview"},
    {"bevel", "bevel"}, {"slider", "slider"}, {"richedit", "richedit"},
    {"toolbutton", "button"}, {"resizebutton", "button"}, {"bigtoolbutton", "button"},
    {"hscrollbar", "scrollbar"}, {"vscrollbar", "scrollbar"}, {"bothhscrollbar", "scrollbar"},
    {"checkbox", "checkradio"}, {"radiobox", "checkradio"}, {"groupbox", "panel"}, {"statusbar", "panel"},
    {"toolpanel", "panel"}, {"captionpanel", "expanel"}, {"vgauge", "gauge"}, {"vtrackbar", "trackbar"},
    {"vsplitter", "splitter"}, {"buttonedit", "edit"}, {"titlelabel", "label"}, {"linklabel", "stdlabel"},
    {"hupdown", "updown"}, {"dbgrid", "grid"}, {"pagecontrol", "tab"}, {"toolbar", "controlbar"},
    {"header", "header"},
};

Rect Cell(int row, int state) {
  return {state * kCellW, row * kCellH, (state + 1) * kCellW, (row + 1) * kCellH};
}
// A strip of the client's face colour in the controls picture, for the parts
// that should look like the form under them (the row beside the tabs).
constexpr Rect kFaceStrip{kCellStates * kCellW, 0, (kCellStates + 1) * kCellW, kCellH};
// The up-down buttons of a row (0 up, 1 down), in the column past the state cells
// below its first row, one above the other, half a cell high each.
constexpr int kUpDownButtonW = 16;
Rect UpDownButton(int row, int which) {
  const int left = kCellStates * kCellW, top = row * kCellH + which * kCellH / 2;
  return {left, top, left + kUpDownButtonW, top + kCellH / 2};
}
Rect Inner(const Rect& r, int d) { return {r.left + d, r.top + d, r.right - d, r.bottom - d}; }

Bitmap ControlsPicture() {
  const int rows = int(std::size(kControls));
  // The column past the state cells stays the plain face colour (kFaceStrip).
  Bitmap b((kCellStates + 1) * kCellW, rows * kCellH, kFace);
  const Colour faces[kCellStates] = {Rgb(245, 245, 240), Rgb(200, 235, 200), Rgb(150, 200, 150), Rgb(210, 210, 210)};
  for (int row = 0; row < rows; ++row) {
    for (int s = 0; s < kCellStates; ++s) {
      const Rect r = Cell(row, s);
      Bevel(b, r, kActive.light, kActive.border, faces[s]);
      b.FrameRect(Inner(r, kCellEdge - 1), Lerp(kActive.border, faces[s], 1, 2));
    }
    // Small images (arrows, thumbs, checks) in the cell's right half.
    skin::DrawArrow(b, {2 * kCellW + 40, row * kCellH, 3 * kCellW, row * kCellH + kCellH}, kText, 1 + row % 4);
    // An up-down's two buttons, with their arrows, past the state cells.
    if (std::string_view(kControls[row].second) == "updown") {
      const bool across = std::string_view(kControls[row].first) == "hupdown";
      const Rect first = UpDownButton(row, 0), second = UpDownButton(row, 1);
      Bevel(b, first, kActive.light, kActive.border, faces[0]);
      Bevel(b, second, kActive.light, kActive.border, faces[0]);
      // Across, "up" is the right-hand button and counts up.
      skin::DrawArrow(b, first, kText, across ? skin::kArrowRight : skin::kArrowUp);
      skin::DrawArrow(b, second, kText, across ? skin::kArrowLeft : skin::kArrowDown);
    }
  }
  return b;
}

constexpr int kGridCell = 20;
Bitmap GridsPicture() {
  Bitmap b(3 * kGridCell, kGridCell, kFace);
  Bevel(b, {0, 0, kGridCell, kGridCell}, kWhite, kActive.border, kFace);
  b.FillRect({kGridCell, 0, 2 * kGridCell, kGridCell}, kActive.captionTop);
  b.FrameRect({2 * kGridCell, 0, 3 * kGridCell, kGridCell}, kActive.border);
  return b;
}

// A quiet paper texture: the face colour, a little lighter, with a faint dot
// every few pixels so that tiling stays visible without hurting the text on it.
Bitmap PagePicture() {
  constexpr int kSide = 8, kDotStep = 4;
  constexpr Colour kPaper = Rgb(246, 244, 234), kDot = Rgb(232, 229, 212);
  Bitmap b(kSide, kSide, kPaper);
  for (int y = 0; y < kSide; y += kDotStep)
    for (int x = (y / kDotStep % 2) * kDotStep / 2; x < kSide; x += kDotStep) b.SetPixel(x, y, kDot);
  return b;
}

void SetFrameGeometry(skin::TskDataSkinCustomControl& c, const Rect& cell) {
  const int w = cell.Width(), h = cell.Height();
  c.lefttoppoint = {kCellEdge, kCellEdge};
  c.righttoppoint = {w - kCellEdge, kCellEdge};
  c.leftbottompoint = {kCellEdge, h - kCellEdge};
  c.rightbottompoint = {w - kCellEdge, h - kCellEdge};
  c.clientrect = {kCellEdge, kCellEdge, w - kCellEdge, h - kCellEdge};
}

// Fills a control record from its picture row; each kind gets the images it draws.
void FillControl(skin::TskDataSkinControl& c, int row) {
  using namespace skin;
  const Rect normal = Cell(row, 0), active = Cell(row, 1), down = Cell(row, 2), disabled = Cell(row, 3);
  const Rect arrow{2 * kCellW + 40, row * kCellH, 3 * kCellW, row * kCellH + kCellH};
  c.pictureindex = kPicControls;
  c.skinrect = normal;
  if (auto* f = dynamic_cast<TskDataSkinCustomControl*>(&c)) SetFrameGeometry(*f, normal);
  if (auto* b = dynamic_cast<TskDataSkinButtonControl*>(&c)) {
    b->activeskinrect = active;
    b->downskinrect = down;
    b->disabledskinrect = disabled;
    b->activefontcolor = kActive.captionBottom;
    b->morphing = true;
    b->morphkind = TMorphKind::mkGradient;
  }
  if (auto* m = dynamic_cast<TskDataSkinMenuButtonControl*>(&c)) m->trackbuttonrect = arrow;
  if (auto* e = dynamic_cast<TskDataSkinEditControl*>(&c)) {
    e->activeskinrect = active;
    e->buttonrect = arrow;
    e->activebuttonrect = arrow;
    e->downbuttonrect = arrow;
    e->unenabledbuttonrect = arrow;
    e->disabledfontcolor = Rgb(128, 128, 128);
  }
  if (auto* m = dynamic_cast<TskDataSkinMemoControl*>(&c)) {
    m->bgcolor = kWhite;
    m->activebgcolor = Rgb(255, 255, 230);
  }
  if (auto* u = dynamic_cast<TskDataSkinUpDownControl*>(&c)) {
    u->upbuttonrect = u->activeupbuttonrect = u->downupbuttonrect = UpDownButton(row, 0);
    u->downbuttonrect = u->activedownbuttonrect = u->downdownbuttonrect = UpDownButton(row, 1);
  }
  if (auto* s = dynamic_cast<TskDataSkinScrollBarControl*>(&c)) {
    s->trackarea = {16, 0, kCellW - 16, kCellH};
    s->upbuttonrect = s->activeupbuttonrect = s->downupbuttonrect = {normal.left, normal.top, normal.left + 16, normal.bottom};
    s->downbuttonrect = s->activedownbuttonrect = s->downdownbuttonrect = {normal.right - 16, normal.top, normal.right, normal.bottom};
    s->thumbrect = {active.left + 20, active.top, active.left + 40, active.bottom};
    s->activethumbrect = s->downthumbrect = s->thumbrect;
    s->thumboffset1 = s->thumboffset2 = 3;
    s->glyphrect = s->activeglyphrect = s->downglyphrect = arrow;
  }
  if (auto* r = dynamic_cast<TskDataSkinCheckRadioControl*>(&c)) {
    r->activeskinrect = active;
    r->checkimagearea = {2, 4, 18, 20};
    r->textarea = {20, 2, kCellW - 2, kCellH - 2};
    r->checkimagerect = r->activecheckimagerect = r->unenabledcheckimagerect = {down.left, down.top, down.left + 16, down.top + 16};
    r->uncheckimagerect = r->activeuncheckimagerect = r->unenableduncheckimagerect = {normal.left, normal.top, normal.left + 16, normal.top + 16};
    r->morphing = true;
    r->morphkind = TMorphKind::mkLeftSlide;
  }
  if (auto* g = dynamic_cast<TskDataSkinGaugeControl*>(&c)) {
    g->progressarea = {kCellEdge, kCellEdge, kCellW - kCellEdge, kCellH - kCellEdge};
    g->progressrect = active;
    g->beginoffset = g->endoffset = 2;
  }
  if (auto* t = dynamic_cast<TskDataSkinTrackBarControl*>(&c)) {
    t->trackarea = {4, 8, kCellW - 4, 16};
    t->buttonrect = {down.left, down.top, down.left + 10, down.bottom};
    t->activebuttonrect = {active.left, active.top, active.left + 10, active.bottom};
  }
  if (auto* l = dynamic_cast<TskDataSkinListBox*>(&c)) {
    l->itemrect = normal;
    l->activeitemrect = active;
    l->focusitemrect = down;
    l->itemleftoffset = l->itemrightoffset = kCellEdge;
    l->itemtextrect = {4, 2, kCellW - 4, kCellH - 2};
    l->captionrect = {0, 0, kCellW, 16};
    l->captionfontname = "宋体";
    l->captionfontheight = -12;
    l->captionfontstyle = fsBold;
  }
  if (auto* cl = dynamic_cast<TskDataSkinCheckListBox*>(&c)) {
    cl->checkimagerect = {down.left, down.top, down.left + 16, down.top + 16};
    cl->uncheckimagerect = {normal.left, normal.top, normal.left + 16, normal.top + 16};
    cl->itemcheckrect = {2, 2, 18, 18};
  }
  if (auto* cb = dynamic_cast<TskDataSkinComboBox*>(&c)) {
    cb->itemrect = normal;
    cb->focusitemrect = down;
    cb->buttonrect = cb->activebuttonrect = cb->downbuttonrect = cb->unenabledbuttonrect = arrow;
    cb->listboxname = "listbox";
  }
  if (auto* sp = dynamic_cast<TskDataSkinSpinEditControl*>(&c)) {
    sp->upbuttonrect = sp->activeupbuttonrect = sp->downupbuttonrect = {arrow.left, arrow.top, arrow.right, arrow.top + 12};
    sp->downbuttonrect = sp->activedownbuttonrect = sp->downdownbuttonrect = {arrow.left, arrow.top + 12, arrow.right, arrow.bottom};
  }
  if (auto* p = dynamic_cast<TskDataSkinPanelControl*>(&c)) {
    p->captionrect = {kCellEdge, kCellEdge, kCellW - kCellEdge, 18};
    p->alignment = TAlignment::taLeftJustify;
    p->checkimagerect = {down.left, down.top, down.left + 16, down.top + 16};
    p->uncheckimagerect = {normal.left, normal.top, normal.left + 16, normal.top + 16};
  }
  if (auto* x = dynamic_cast<TskDataSkinExPanelControl*>(&c)) {
    x->rollhskinrect = active;
    x->rollvskinrect = down;
    x->rollleftoffset = x->rollrightoffset = x->rolltopoffset = x->rollbottomoffset = kCellEdge;
    x->captionrect = {kCellEdge, kCellEdge, kCellW - kCellEdge, 18};
    x->closebuttonrect = x->closebuttonactiverect = x->closebuttondownrect = arrow;
  }
  if (auto* sb = dynamic_cast<TskDataSkinScrollBoxControl*>(&c)) sb->bgpictureindex = kPicPage;
  if (auto* cbar = dynamic_cast<TskDataSkinControlBar*>(&c)) {
    cbar->itemrect = active;
    cbar->bgpictureindex = kPicPage;
  }
  if (auto* lab = dynamic_cast<TskDataSkinLabelControl*>(&c)) lab->fontcolor = kText;
  if (auto* std = dynamic_cast<TskDataSkinStdLabelControl*>(&c)) std->fontname = "宋体";
  if (auto* tv = dynamic_cast<TskDataSkinTreeView*>(&c)) tv->bgcolor = kWhite;
  if (auto* lv = dynamic_cast<TskDataSkinListView*>(&c)) lv->bgcolor = kWhite;
  if (auto* re = dynamic_cast<TskDataSkinRichEdit*>(&c)) re->bgcolor = kWhite;
  if (auto* bv = dynamic_cast<TskDataSkinBevel*>(&c)) {
    bv->lightcolor = kWhite;
    bv->darkcolor = kActive.border;
  }
  if (auto* sl = dynamic_cast<TskDataSkinSlider*>(&c)) {
    sl->hrulerrect = normal;
    sl->hthumbrect = {active.left, active.top, active.left + 10, active.bottom};
    sl->vrulerrect = down;
    sl->vthumbrect = {down.left, down.top, down.left + 10, down.bottom};
    sl->edgesize = 2;
    sl->bgcolor = kFace;
    sl->pointscolor = kActive.border;
  }
  if (auto* mb = dynamic_cast<TskDataSkinMainMenuBar*>(&c)) {
    // The middle piece that stretches starts past the cell's inner frame.
    mb->itemsrect = {kCellEdge, 2, kCellW - kCellEdge, kCellH - 2};
    mb->menubaritem = "mainmenubaritem";
    mb->closebutton = "mmclosebutton";
    mb->minbutton = "mmminbutton";
    mb->trackmarkcolor = kActive.border;
    mb->trackmarkactivecolor = kActive.light;
  }
  if (auto* tab = dynamic_cast<TskDataSkinTabControl*>(&c)) {
    tab->tabrect = normal;
    tab->activetabrect = active;
    tab->focustabrect = down;
    tab->mouseintabrect = active;
    tab->clientrect = {0, kCellH, kCellW, kCellH};
    tab->tabsbgrect = kFaceStrip;
    tab->lefttoppoint = {kCellEdge, kCellEdge};
    tab->righttoppoint = {kCellW - kCellEdge, kCellEdge};
    tab->leftbottompoint = {kCellEdge, kCellH - kCellEdge};
    tab->rightbottompoint = {kCellW - kCellEdge, kCellH - kCellEdge};
    tab->tableftoffset = tab->tabrightoffset = kCellEdge;
    tab->updown = "hupdown";
    tab->bgpictureindex = kPicPage;
  }
  if (auto* grid = dynamic_cast<TskDataSkinGridControl*>(&c)) {
    grid->pictureindex = kPicGrids;
    grid->skinrect = {0, 0, 3 * kGridCell, kGridCell};
    grid->fixedcellrect = {0, 0, kGridCell, kGridCell};
    grid->selectcellrect = {kGridCell, 0, 2 * kGridCell, kGridCell};
    grid->focuscellrect = {2 * kGridCell, 0, 3 * kGridCell, kGridCell};
    grid->fixedcellleftoffset = grid->fixedcellrightoffset = grid->cellleftoffset = grid->cellrightoffset = 2;
    grid->fixedcelltextrect = grid->celltextrect = {2, 2, kGridCell - 2, kGridCell - 2};
    grid->linescolor = kActive.border;
    grid->bgcolor = kWhite;
    grid->fixedfontname = "宋体";
    grid->fixedfontstyle = fsBold;
  }
}

void WritePictures(TskIniFile& ini) {
  ini.WriteString("PICTURES", "picture", "skin.bmp");
  ini.WriteString("PICTURES", "inactivepicture", "inactive.bmp");
  ini.WriteString("PICTURES", "mask", "mask.bmp");
  ini.WriteInteger("PICTURES", "activepicturescount", kPictureCount);
  for (int i = 0; i < kPictureCount; ++i) ini.WriteString("PICTURES", std::to_string(i), kPictureFiles[i]);
}

void WriteFormInfo(TskIniFile& ini) {
  const char* s = "FORMINFO";
  skin::WritePoint(ini, s, "lefttoppoint", {29, kCaptionHeight});
  skin::WritePoint(ini, s, "righttoppoint", {53, kCaptionHeight});
  skin::WritePoint(ini, s, "leftbottompoint", {6, kClient.bottom - 2});
  skin::WritePoint(ini, s, "rightbottompoint", {kClient.right - 1, kClient.bottom - 1});
  skin::WriteRect(ini, s, "clientrect", kClient);
  ini.WriteInteger(s, "bgpictureindex", -1);
  skin::WriteBoolean(ini, s, "leftstretch", false);
  skin::WriteBoolean(ini, s, "rightstretch", false);
  skin::WriteBoolean(ini, s, "topstretch", true);
  skin::WriteBoolean(ini, s, "bottomstretch", false);
  skin::WriteRect(ini, s, "maskrectarea", {kBorder, kBorder, kFrameWidth - kBorder, kFrameHeight});
  skin::WritePoint(ini, s, "hittestlefttoppoint", {kBorder, kBorder});
  skin::WritePoint(ini, s, "hittestrighttoppoint", {kFrameWidth - kBorder, kBorder});
  skin::WritePoint(ini, s, "hittestleftbottompoint", {kBorder, kFrameHeight - kBorder});
  skin::WritePoint(ini, s, "hittestrightbottompoint", {kFrameWidth - kBorder, kFrameHeight - kBorder});
  skin::WriteRect(ini, s, "buttonsrect", {ButtonOnFrame(kButtons[3]).left, kButtonTop, kFrameWidth - 4, kButtonTop + kButton});
  skin::WriteRect(ini, s, "captionrect", {kBorder + kButton + 2, kButtonTop, ButtonOnFrame(kButtons[3]).left, kButtonTop + kButton});
  ini.WriteInteger(s, "buttonsoffset", 0);
  skin::WriteBoolean(ini, s, "buttonsinleft", false);
  skin::WriteBoolean(ini, s, "mainmenupopupup", false);
  ini.WriteInteger(s, "borderwidth", kBorder);
  skin::WriteBoolean(ini, s, "autorenderinginactiveimage", false);
  skin::WriteInactiveEffect(ini, s, "inactiveeffect", skin::TInactiveEffect::ieGrayscale);
}

void WriteWindows(TskIniFile& ini) {
  skin::TskDataSkinPopupWindow popup;
  popup.windowpictureindex = kPicPopup;
  popup.maskpictureindex = kPicPopupMask;
  popup.lefttoppoint = {kPopupEdge, kPopupEdge};
  popup.righttoppoint = {kPopupSize - kPopupEdge, kPopupEdge};
  popup.leftbottompoint = {kPopupEdge, kPopupSize - kPopupEdge};
  popup.rightbottompoint = {kPopupSize - kPopupEdge, kPopupSize - kPopupEdge};
  popup.itemsrect = {kPopupEdge, kPopupEdge, kPopupSize - kPopupEdge, kPopupSize - kPopupEdge};
  popup.scrollmarkercolor = kActive.border;
  popup.scrollmarkeractivecolor = kActive.light;
  popup.SaveToIni(ini);

  skin::TskDataSkinHintWindow hint;
  hint.windowpictureindex = kPicHint;
  hint.maskpictureindex = kPicHintMask;
  hint.lefttoppoint = {kHintEdge, kHintEdge};
  hint.righttoppoint = {kHintW - kHintEdge, kHintEdge};
  hint.leftbottompoint = {kHintEdge, kHintH - kHintEdge};
  hint.rightbottompoint = {kHintW - kHintEdge, kHintH - kHintEdge};
  hint.clientrect = {kHintEdge, kHintEdge, kHintW - kHintEdge, kHintH - kHintEdge};
  hint.fontname = "宋体";
  hint.fontheight = -12;
  hint.SaveToIni(ini);
}

std::vector<std::pair<std::string, std::unique_ptr<skin::TskDataSkinObject>>> SkinObjects() {
  using namespace skin;
  std::vector<std::pair<std::string, std::unique_ptr<TskDataSkinObject>>> out;
  auto add = [&](const char* name, const char* kind) -> TskDataSkinObject& {
    out.emplace_back(kind, CreateSkinObject(kind, name));
    return *out.back().second;
  };
  auto& caption = dynamic_cast<TskDataSkinCaption&>(add("caption", "caption"));
  caption.skinrect = {kBorder + kButton + 2, kButtonTop, ButtonOnFrame(kButtons[3]).left, kButtonTop + kButton};
  caption.fontname = "宋体";
  caption.fontheight = -12;
  caption.fontstyle = fsBold;
  caption.fontcolor = kCaptionText;
  caption.activefontcolor = kCaptionText;
  caption.shadow = true;
  caption.shadowcolor = kInactive.border;
  caption.activeshadowcolor = kActive.captionBottom;
  caption.alignment = TAlignment::taLeftJustify;
  caption.textrect = {0, 0, caption.skinrect.Width(), caption.skinrect.Height()};
  for (std::size_t row = 0; row < std::size(kButtons); ++row) {
    const CaptionButton& b = kButtons[row];
    auto& button = dynamic_cast<TskDataSkinStdButton&>(add(b.name, "stdbutton"));
    button.hint = b.name;
    button.activepictureindex = kPicButtons;
    button.skinrect = ButtonOnFrame(b);
    button.activeskinrect = ButtonState(int(row), 2);
    button.downrect = ButtonState(int(row), 1);
    button.command = b.command;
    button.morphing = true;
    button.morphkind = TMorphKind::mkDefault;
    if (b.command == TskStdCommand::cmMaximize) {
      button.restorerect = ButtonState(kRestoreRow, 0);
      button.restoreactiverect = ButtonState(kRestoreRow, 2);
      button.restoredownrect = ButtonState(kRestoreRow, 1);
      button.restoreinactiverect = ButtonState(kRestoreRow, 0);
    }
  }
  auto& item = dynamic_cast<TskDataSkinMenuItem&>(add("menuitem", "menuitem"));
  item.activepictureindex = kPicMenuItems;
  item.skinrectinapicture = true;
  item.skinrect = {0, 0, kMenuW, kMenuItemH};
  item.activeskinrect = {0, kMenuItemH, kMenuW, 2 * kMenuItemH};
  item.dividerrect = {0, 3 * kMenuItemH, kMenuW, 3 * kMenuItemH + kDividerH};
  item.itemleftoffset = item.itemrightoffset = item.dividerleftoffset = item.dividerrightoffset = 4;
  item.textrect = {20, 0, kMenuW - 10, kMenuItemH};
  item.fontname = "宋体";
  item.fontheight = -12;
  item.activefontcolor = kWhite;
  item.unenabledfontcolor = Rgb(128, 128, 128);
  auto& bar = dynamic_cast<TskDataSkinMainMenuBarItem&>(add("mainmenubaritem", "mainmenubaritem"));
  bar.activepictureindex = kPicMenuItems;
  bar.skinrectinapicture = true;
  bar.skinrect = {0, 0, kMenuW, kMenuItemH};
  bar.activeskinrect = {0, kMenuItemH, kMenuW, 2 * kMenuItemH};
  bar.downrect = {0, 2 * kMenuItemH, kMenuW, 3 * kMenuItemH};
  bar.textrect = {4, 0, kMenuW - 4, kMenuItemH};
  bar.itemleftoffset = bar.itemrightoffset = 4;
  bar.activefontcolor = bar.downfontcolor = kWhite;
  bar.unenabledfontColor = Rgb(128, 128, 128);
  for (const auto& [name, command] : {std::pair{"mmclosebutton", TskStdCommand::cmClose},
                                      std::pair{"mmminbutton", TskStdCommand::cmMinimize}}) {
    auto& b = dynamic_cast<TskDataSkinMainMenuBarButton&>(add(name, "mainmenubarbutton"));
    const int row = command == TskStdCommand::cmClose ? 0 : 2;
    b.activepictureindex = kPicButtons;
    b.skinrectinapicture = true;
    b.skinrect = ButtonState(row, 0);
    b.activeskinrect = ButtonState(row, 2);
    b.downrect = ButtonState(row, 1);
    b.command = command;
  }
  auto& help = dynamic_cast<TskDataSkinButton&>(add("helpbutton", "button"));
  help.activepictureindex = kPicButtons;
  help.skinrectinapicture = true;
  help.skinrect = ButtonState(kHelpRow, 0);
  help.activeskinrect = ButtonState(kHelpRow, 2);
  help.downrect = ButtonState(kHelpRow, 1);
  help.disableskinrsect = ButtonState(kHelpRow, 0);
  help.morphing = true;
  help.morphkind = TMorphKind::mkPush;
  add("logo", "userobject").skinrect = {kBorder, kButtonTop, kBorder + kButton, kButtonTop + kButton};
  return out;
}

void Save(const Bitmap& b, const std::filesystem::path& folder, const char* name) {
  const std::u8string file = (folder / name).u8string();
  platform::SaveBmpFile(b, std::string(file.begin(), file.end()));
}

}  // namespace

std::string GenerateSkinFolder(const std::string& folderName) {
  const std::filesystem::path folder(std::u8string(folderName.begin(), folderName.end()));
  std::filesystem::create_directories(folder);

  TskIniFile ini;
  ini.WriteString("VERSION", "skinname", kSkinName);
  ini.WriteString("VERSION", "skinauthor", "Tarnwick");
  ini.WriteString("VERSION", "authoremail", "");
  ini.WriteString("VERSION", "authorurl", "");
  ini.WriteString("VERSION", "skincomments", "Sample skin drawn by skingen");
  ini.WriteInteger("VERSION", "ver", 1);
  WritePictures(ini);
  WriteFormInfo(ini);
  WriteWindows(ini);

  auto objects = SkinObjects();
  ini.WriteInteger("SKINOBJECTS", "count", int(objects.size()));
  for (std::size_t i = 0; i < objects.size(); ++i)
    ini.WriteString("SKINOBJECTS", std::to_string(i), objects[i].second->IDName + ":" + objects[i].first);
  ini.WriteInteger("SKINCONTROLS", "count", int(std::size(kControls)));
  for (std::size_t i = 0; i < std::size(kControls); ++i)
    ini.WriteString("SKINCONTROLS", std::to_string(i), std::string(kControls[i].first) + ":" + kControls[i].second);
  for (auto& [kind, object] : objects) object->SaveToIni(ini);
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    auto control = skin::CreateSkinControl(kControls[i].second, kControls[i].first);
    if (!control) continue;  // the entry of an unknown kind has no section
    FillControl(*control, int(i));
    control->SaveToIni(ini);
  }

  std::string text;
  for (const std::string& line : ini.ToLines()) text += line + "\r\n";
  const std::u8string def = (folder / kDefinitionFile).u8string();
  const std::string defPath(def.begin(), def.end());
  platform::WriteFileBytes(defPath, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));

  Save(FramePicture(kActive), folder, "skin.bmp");
  Save(FramePicture(kInactive), folder, "inactive.bmp");
  Save(FrameMask(), folder, "mask.bmp");
  const Bitmap pictures[kPictureCount] = {
      ButtonPicture(), SmallFrame(kPopupSize, kPopupSize, kPopupEdge, kActive.border, kFace), MenuItems(),
      SmallFrame(kHintW, kHintH, kHintEdge, kActive.captionBottom, Rgb(255, 255, 225)), ControlsPicture(),
      GridsPicture(), SmallMask(kPopupSize, kPopupSize), SmallMask(kHintW, kHintH), PagePicture()};
  for (int i = 0; i < kPictureCount; ++i) Save(pictures[i], folder, kPictureFiles[i]);
  return defPath;
}

void WriteCompressedSkinFile(const std::string& definitionPath, const std::string& file) {
  skin::TskCompressedStoredSkin stored;
  if (!stored.PackSkinFile(definitionPath)) throw platform::Exception("\"" + definitionPath + "\" is not a skin definition");
  stored.SetFileName(platform::ExtractFileName(definitionPath));
  platform::FormData data("TskCompressedStoredSkin", "skCompressedStoredSkin1");
  stored.WriteProperties(data);
  platform::WriteFileBytes(file, data.Save());
}

}  // namespace skingen
