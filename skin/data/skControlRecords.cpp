#include "skControlRecords.h"

namespace skin {

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
  v.FontFields(*this);
  v.IntegerField("bgcolor", bgcolor, 0);
}

void TskDataSkinListView::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.FontFields(*this);
  v.IntegerField("bgcolor", bgcolor, 0);
}

void TskDataSkinRichEdit::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.FontFields(*this);
  v.IntegerField("bgcolor", bgcolor, 0);
}

void TskDataSkinStdLabelControl::Fields(TskFieldVisitor& v) {
  TskDataSkinControl::Fields(v);
  v.FontFields(*this);
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
  v.FontFields(*this);
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
  v.FontFields(*this);
  v.IntegerField("selectfontcolor", selectfontcolor, 0);
  v.IntegerField("focusfontcolor", focusfontcolor, 0);
  v.FontFields("fixed", fixedfontname, fixedfontstyle, fixedfontheight, fixedfontcolor);
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
  v.FontFields(*this);
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
  v.FontFields(*this);
  v.IntegerField("activefontcolor", activefontcolor, 0);
  v.IntegerField("focusfontcolor", focusfontcolor, 0);
  v.RectField("captionrect", captionrect);
  v.FontFields("caption", captionfontname, captionfontstyle, captionfontheight, captionfontcolor);
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
  v.FontFields(*this);
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
  v.FontFields(*this);
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
  v.FontFields(*this);
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
  v.FontFields(*this);
}

void TskDataSkinButtonControl::Fields(TskFieldVisitor& v) {
  TskDataSkinCustomControl::Fields(v);
  v.FontFields(*this);
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
  v.FontFields(*this);
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
  v.FontFields(*this);
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
  v.FontFields(*this);
}

std::unique_ptr<TskDataSkinControl> CreateSkinControl(std::string_view kind, std::string name) {
  using B = TskDataSkinControl;
  static const TskRecordKind<B> kKinds[] = {
      {"panel", MakeRecord<B, TskDataSkinPanelControl>},
      {"expanel", MakeRecord<B, TskDataSkinExPanelControl>},
      {"menubutton", MakeRecord<B, TskDataSkinMenuButtonControl>},
      {"button", MakeRecord<B, TskDataSkinButtonControl>},
      {"checkradio", MakeRecord<B, TskDataSkinCheckRadioControl>},
      {"gauge", MakeRecord<B, TskDataSkinGaugeControl>},
      {"splitter", MakeRecord<B, TskDataSkinSplitterControl>},
      {"trackbar", MakeRecord<B, TskDataSkinTrackBarControl>},
      {"label", MakeRecord<B, TskDataSkinLabelControl>},
      {"stdlabel", MakeRecord<B, TskDataSkinStdLabelControl>},
      {"updown", MakeRecord<B, TskDataSkinUpDownControl>},
      {"grid", MakeRecord<B, TskDataSkinGridControl>},
      {"tab", MakeRecord<B, TskDataSkinTabControl>},
      {"listview", MakeRecord<B, TskDataSkinListView>},
      {"mainmenubar", MakeRecord<B, TskDataSkinMainMenuBar>},
      {"controlbar", MakeRecord<B, TskDataSkinControlBar>},
      {"memo", MakeRecord<B, TskDataSkinMemoControl>},
      {"edit", MakeRecord<B, TskDataSkinEditControl>},
      {"checklistbox", MakeRecord<B, TskDataSkinCheckListBox>},
      {"listbox", MakeRecord<B, TskDataSkinListBox>},
      {"combobox", MakeRecord<B, TskDataSkinComboBox>},
      {"scrollbar", MakeRecord<B, TskDataSkinScrollBarControl>},
      {"spinedit", MakeRecord<B, TskDataSkinSpinEditControl>},
      {"scrollbox", MakeRecord<B, TskDataSkinScrollBoxControl>},
      {"treeview", MakeRecord<B, TskDataSkinTreeView>},
      {"bevel", MakeRecord<B, TskDataSkinBevel>},
      {"slider", MakeRecord<B, TskDataSkinSlider>},
      {"richedit", MakeRecord<B, TskDataSkinRichEdit>},
  };
  return CreateRecord(kKinds, kind, std::move(name));
}

}  // namespace skin
