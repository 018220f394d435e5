#include "skControlRecords.h"

namespace skin {

void TskDataSkinControl::LoadFromIni(const TskIniFile& ini) {
  TskIniLoader loader(ini, IDName);
  Fields(loader);
}

void TskDataSkinControl::SaveToIni(TskIniFile& ini) {
  ini.EraseSection(IDName);
  TskIniSaver saver(ini, IDName);
  Fields(saver);
}

void TskDataSkinControl::Fields(TskFieldVisitor& v) {
  v.IntegerField("pictureindex", pictureindex, kNoPicture);
  v.IntegerField("maskpictureindex", maskpictureindex, kNoPicture);
  v.RectField("skinrect", skinrect);
}

void TskDataSkinCustomControl::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.PointField("lefttoppoint", lefttoppoint);
  v.PointField("righttoppoint", righttoppoint);
  v.PointField("leftbottompoint", leftbottompoint);
  v.PointField("rightbottompoint", rightbottompoint);
  v.RectField("clientrect", clientrect);
}

void TskDataSkinBevel::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.IntegerField("lightcolor", lightcolor, 0);
  v.IntegerField("darkcolor", darkcolor, 0);
}

void TskDataSkinTreeView::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("bgcolor", bgcolor, 0);
}

void TskDataSkinListView::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("bgcolor", bgcolor, 0);
}

void TskDataSkinRichEdit::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("bgcolor", bgcolor, 0);
}

void TskDataSkinStdLabelControl::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("activefontcolor", activefontcolor, kPureBlue);
}

void TskDataSkinSlider::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.RectField("hrulerrect", hrulerrect);
  v.RectField("hthumbrect", hthumbrect);
  v.RectField("vrulerrect", vrulerrect);
  v.RectField("vthumbrect", vthumbrect);
  v.IntegerField("edgesize", edgesize, 0);
  v.IntegerField("bgcolor", bgcolor, 0);
  v.IntegerField("pointscolor", pointscolor, 0);
}

void TskDataSkinMainMenuBar::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.RectField("itemsrect", itemsrect);
  v.TextField("menubaritem", menubaritem, "");
  v.TextField("closebutton", closebutton, "");
  v.TextField("maxbutton", maxbutton, "");
  v.TextField("minbutton", minbutton, "");
  v.TextField("sysmenubutton", sysmenubutton, "");
  v.IntegerField("trackmarkcolor", trackmarkcolor, 0);
  v.IntegerField("trackmarkactivecolor", trackmarkactivecolor, 0);
}

void TskDataSkinTabControl::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.RectField("tabrect", tabrect);
  v.RectField("activetabrect", activetabrect);
  v.RectField("focustabrect", focustabrect);
  v.RectField("mouseintabrect", mouseintabrect);
  v.RectField("clientrect", clientrect);
  v.RectField("tabsbgrect", tabsbgrect);
  v.PointField("lefttoppoint", lefttoppoint);
  v.PointField("righttoppoint", righttoppoint);
  v.PointField("leftbottompoint", leftbottompoint);
  v.PointField("rightbottompoint", rightbottompoint);
  v.IntegerField("tableftoffset", tableftoffset, 0);
  v.IntegerField("tabrightoffset", tabrightoffset, 0);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("activefontcolor", activefontcolor, 0);
  v.IntegerField("focusfontcolor", focusfontcolor, 0);
  v.IntegerField("mouseinfontcolor", mouseinfontcolor, 0);
  v.TextField("updown", updown, "");
  v.IntegerField("bgpictureindex", bgpictureindex, kNoPicture);
}

void TskDataSkinGridControl::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.RectField("fixedcellrect", fixedcellrect);
  v.RectField("selectcellrect", selectcellrect);
  v.RectField("focuscellrect", focuscellrect);
  v.IntegerField("fixedcellleftoffset", fixedcellleftoffset, 0);
  v.IntegerField("fixedcellrightoffset", fixedcellrightoffset, 0);
  v.RectField("fixedcelltextrect", fixedcelltextrect);
  v.IntegerField("cellleftoffset", cellleftoffset, 0);
  v.IntegerField("cellrightoffset", cellrightoffset, 0);
  v.RectField("celltextrect", celltextrect);
  v.IntegerField("linescolor", linescolor, 0);
  v.IntegerField("bgcolor", bgcolor, 0);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("selectfontcolor", selectfontcolor, 0);
  v.IntegerField("focusfontcolor", focusfontcolor, 0);
  v.TextField("fixedfontname", fixedfontname, kDefaultFontName);
  v.FontStyleField("fixedfontstyle", fixedfontstyle);
  v.IntegerField("fixedfontheight", fixedfontheight, kDefaultFontHeight);
  v.IntegerField("fixedfontcolor", fixedfontcolor, 0);
}

void TskDataSkinScrollBoxControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.IntegerField("bgpictureindex", bgpictureindex, kNoPicture);
}

void TskDataSkinControlBar::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.RectField("itemrect", itemrect);
  v.IntegerField("bgpictureindex", bgpictureindex, kNoPicture);
}

void TskDataSkinLabelControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
}

void TskDataSkinUpDownControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.RectField("upbuttonrect", upbuttonrect);
  v.RectField("activeupbuttonrect", activeupbuttonrect);
  v.RectField("downupbuttonrect", downupbuttonrect);
  v.RectField("downbuttonrect", downbuttonrect);
  v.RectField("activedownbuttonrect", activedownbuttonrect);
  v.RectField("downdownbuttonrect", downdownbuttonrect);
}

void TskDataSkinUpDownControl::LoadFromIni(const TskIniFile& ini) {
  TskDataSkinCustomControl::LoadFromIni(ini);
  ZeroFrame();
}

void TskDataSkinUpDownControl::SaveToIni(TskIniFile& ini) {
  ZeroFrame();
  TskDataSkinCustomControl::SaveToIni(ini);
}

void TskDataSkinUpDownControl::ZeroFrame() {
  lefttoppoint = righttoppoint = leftbottompoint = rightbottompoint = Point{};
  clientrect = Rect{};
}

void TskDataSkinListBox::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.RectField("itemrect", itemrect);
  v.RectField("activeitemrect", activeitemrect);
  v.RectField("focusitemrect", focusitemrect);
  v.IntegerField("itemleftoffset", itemleftoffset, 0);
  v.IntegerField("itemrightoffset", itemrightoffset, 0);
  v.RectField("itemtextrect", itemtextrect);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("activefontcolor", activefontcolor, 0);
  v.IntegerField("focusfontcolor", focusfontcolor, 0);
  v.RectField("captionrect", captionrect);
  v.TextField("captionfontname", captionfontname, kDefaultFontName);
  v.FontStyleField("captionfontstyle", captionfontstyle);
  v.IntegerField("captionfontheight", captionfontheight, kDefaultFontHeight);
  v.IntegerField("captionfontcolor", captionfontcolor, 0);
  v.RectField("upbuttonrect", upbuttonrect);
  v.RectField("activeupbuttonrect", activeupbuttonrect);
  v.RectField("downupbuttonrect", downupbuttonrect);
  v.RectField("downbuttonrect", downbuttonrect);
  v.RectField("activedownbuttonrect", activedownbuttonrect);
  v.RectField("downdownbuttonrect", downdownbuttonrect);
  v.RectField("checkbuttonrect", checkbuttonrect);
  v.RectField("activecheckbuttonrect", activecheckbuttonrect);
  v.RectField("downcheckbuttonrect", downcheckbuttonrect);
  v.TextField("hscrollbarname", hscrollbarname, "hscrollbar");
  v.TextField("vscrollbarname", vscrollbarname, "vscrollbar");
  v.TextField("bothhscrollbarname", bothhscrollbarname, "bothhscrollbar");
}

void TskDataSkinCheckListBox::Fields(TskFieldVisitor& v) {
  TskDataSkinListBox::Fields(v);
  v.RectField("uncheckimagerect", uncheckimagerect);
  v.RectField("checkimagerect", checkimagerect);
  v.RectField("itemcheckrect", itemcheckrect);
}

void TskDataSkinComboBox::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.RectField("itemrect", itemrect);
  v.RectField("focusitemrect", focusitemrect);
  v.IntegerField("itemleftoffset", itemleftoffset, 0);
  v.IntegerField("itemrightoffset", itemrightoffset, 0);
  v.RectField("itemtextrect", itemtextrect);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("focusfontcolor", focusfontcolor, 0);
  v.RectField("buttonrect", buttonrect);
  v.RectField("activebuttonrect", activebuttonrect);
  v.RectField("downbuttonrect", downbuttonrect);
  v.RectField("unenabledbuttonrect", unenabledbuttonrect);
  v.TextField("listboxname", listboxname, "");
}

void TskDataSkinScrollBarControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.RectField("trackarea", trackarea);
  v.RectField("upbuttonrect", upbuttonrect);
  v.RectField("activeupbuttonrect", activeupbuttonrect);
  v.RectField("downupbuttonrect", downupbuttonrect);
  v.RectField("downbuttonrect", downbuttonrect);
  v.RectField("activedownbuttonrect", activedownbuttonrect);
  v.RectField("downdownbuttonrect", downdownbuttonrect);
  v.RectField("thumbrect", thumbrect);
  v.RectField("activethumbrect", activethumbrect);
  v.RectField("downthumbrect", downthumbrect);
  v.IntegerField("thumboffset1", thumboffset1, 0);
  v.IntegerField("thumboffset2", thumboffset2, 0);
  v.RectField("glyphrect", glyphrect);
  v.RectField("activeglyphrect", activeglyphrect);
  v.RectField("downglyphrect", downglyphrect);
}

void TskDataSkinSpinEditControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("disabledfontcolor", disabledfontcolor, 0);
  v.RectField("upbuttonrect", upbuttonrect);
  v.RectField("activeupbuttonrect", activeupbuttonrect);
  v.RectField("downupbuttonrect", downupbuttonrect);
  v.RectField("downbuttonrect", downbuttonrect);
  v.RectField("activedownbuttonrect", activedownbuttonrect);
  v.RectField("downdownbuttonrect", downdownbuttonrect);
}

void TskDataSkinEditControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.RectField("activeskinrect", activeskinrect);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("disabledfontcolor", disabledfontcolor, 0);
  v.IntegerField("activefontcolor", activefontcolor, 0);
  v.RectField("buttonrect", buttonrect);
  v.RectField("activebuttonrect", activebuttonrect);
  v.RectField("downbuttonrect", downbuttonrect);
  v.RectField("unenabledbuttonrect", unenabledbuttonrect);
}

void TskDataSkinMemoControl::Fields(TskFieldVisitor& v) {
  TskDataSkinEditControl::Fields(v);
  v.IntegerField("bgcolor", bgcolor, 0);
  v.IntegerField("activebgcolor", activebgcolor, 0);
}

void TskDataSkinTrackBarControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.RectField("trackarea", trackarea);
  v.RectField("buttonrect", buttonrect);
  v.RectField("activebuttonrect", activebuttonrect);
  v.BooleanField("vertical", vertical);
}

void TskDataSkinGaugeControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.RectField("progressarea", progressarea);
  v.RectField("progressrect", progressrect);
  v.BooleanField("vertical", vertical);
  v.IntegerField("beginoffset", beginoffset, 0);
  v.IntegerField("endoffset", endoffset, 0);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
}

void TskDataSkinButtonControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("activefontcolor", activefontcolor, 0);
  v.IntegerField("downfontcolor", downfontcolor, 0);
  v.IntegerField("disabledfontcolor", disabledfontcolor, 0);
  v.RectField("activeskinrect", activeskinrect);
  v.RectField("downskinrect", downskinrect);
  v.RectField("disabledskinrect", disabledskinrect);
  v.BooleanField("morphing", morphing);
  v.MorphKindField("morphkind", morphkind);
}

void TskDataSkinMenuButtonControl::Fields(TskFieldVisitor& v) {
  TskDataSkinButtonControl::Fields(v);
  v.RectField("trackbuttonrect", trackbuttonrect);
}

void TskDataSkinCheckRadioControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("activefontcolor", activefontcolor, 0);
  v.IntegerField("unenabledfontcolor", unenabledfontcolor, 0);
  v.RectField("activeskinrect", activeskinrect);
  v.RectField("checkimagearea", checkimagearea);
  v.RectField("textarea", textarea);
  v.RectField("checkimagerect", checkimagerect);
  v.RectField("uncheckimagerect", uncheckimagerect);
  v.RectField("activecheckimagerect", activecheckimagerect);
  v.RectField("activeuncheckimagerect", activeuncheckimagerect);
  v.RectField("unenabledcheckimagerect", unenabledcheckimagerect);
  v.RectField("unenableduncheckimagerect", unenableduncheckimagerect);
  v.BooleanField("morphing", morphing);
  v.MorphKindField("morphkind", morphkind);
  v.IntegerField("framefontcolor", framefontcolor, 0);
}

void TskDataSkinPanelControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.RectField("captionrect", captionrect);
  v.AlignmentField("alignment", alignment);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("bgpictureindex", bgpictureindex, kNoPicture);
  v.RectField("checkimagerect", checkimagerect);
  v.RectField("uncheckimagerect", uncheckimagerect);
}

void TskDataSkinExPanelControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.RectField("rollhskinrect", rollhskinrect);
  v.RectField("rollvskinrect", rollvskinrect);
  v.IntegerField("rollleftoffset", rollleftoffset, 0);
  v.IntegerField("rollrightoffset", rollrightoffset, 0);
  v.IntegerField("rolltopoffset", rolltopoffset, 0);
  v.IntegerField("rollbottomoffset", rollbottomoffset, 0);
  v.RectField("rollvcaptionrect", rollvcaptionrect);
  v.RectField("rollhcaptionrect", rollhcaptionrect);
  v.RectField("closebuttonrect", closebuttonrect);
  v.RectField("closebuttonactiverect", closebuttonactiverect);
  v.RectField("closebuttondownrect", closebuttondownrect);
  v.RectField("hrollbuttonrect", hrollbuttonrect);
  v.RectField("hrollbuttonactiverect", hrollbuttonactiverect);
  v.RectField("hrollbuttondownrect", hrollbuttondownrect);
  v.RectField("hrestorebuttonrect", hrestorebuttonrect);
  v.RectField("hrestorebuttonactiverect", hrestorebuttonactiverect);
  v.RectField("hrestorebuttondownrect", hrestorebuttondownrect);
  v.RectField("vrollbuttonrect", vrollbuttonrect);
  v.RectField("vrollbuttonactiverect", vrollbuttonactiverect);
  v.RectField("vrollbuttondownrect", vrollbuttondownrect);
  v.RectField("vrestorebuttonrect", vrestorebuttonrect);
  v.RectField("vrestorebuttonactiverect", vrestorebuttonactiverect);
  v.RectField("vrestorebuttondownrect", vrestorebuttondownrect);
  v.RectField("captionrect", captionrect);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
}

std::unique_ptr<TskDataSkinControl> CreateSkinControl(std::string_view kind, std::string name) {
  using Maker = std::unique_ptr<TskDataSkinControl> (*)(std::string);
  static const std::pair<const char*, Maker> kKinds[] = {
      {"panel", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinPanelControl>(std::move(n)); }},
      {"expanel", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinExPanelControl>(std::move(n)); }},
      {"menubutton", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinMenuButtonControl>(std::move(n)); }},
      {"button", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinButtonControl>(std::move(n)); }},
      {"checkradio", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinCheckRadioControl>(std::move(n)); }},
      {"gauge", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinGaugeControl>(std::move(n)); }},
      {"splitter", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinSplitterControl>(std::move(n)); }},
      {"trackbar", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinTrackBarControl>(std::move(n)); }},
      {"label", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinLabelControl>(std::move(n)); }},
      {"stdlabel", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinStdLabelControl>(std::move(n)); }},
      {"updown", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinUpDownControl>(std::move(n)); }},
      {"grid", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinGridControl>(std::move(n)); }},
      {"tab", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinTabControl>(std::move(n)); }},
      {"listview", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinListView>(std::move(n)); }},
      {"mainmenubar", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinMainMenuBar>(std::move(n)); }},
      {"controlbar", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinControlBar>(std::move(n)); }},
      {"memo", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinMemoControl>(std::move(n)); }},
      {"edit", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinEditControl>(std::move(n)); }},
      {"checklistbox", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinCheckListBox>(std::move(n)); }},
      {"listbox", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinListBox>(std::move(n)); }},
      {"combobox", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinComboBox>(std::move(n)); }},
      {"scrollbar", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinScrollBarControl>(std::move(n)); }},
      {"spinedit", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinSpinEditControl>(std::move(n)); }},
      {"scrollbox", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinScrollBoxControl>(std::move(n)); }},
      {"treeview", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinTreeView>(std::move(n)); }},
      {"bevel", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinBevel>(std::move(n)); }},
      {"slider", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinSlider>(std::move(n)); }},
      {"richedit", [](std::string n) -> std::unique_ptr<TskDataSkinControl> { return std::make_unique<TskDataSkinRichEdit>(std::move(n)); }},
  };
  for (const auto& [k, make] : kKinds) {
    if (kind == k) return make(std::move(name));  // kinds compare exactly, with case
  }
  return nullptr;
}

}  // namespace skin
