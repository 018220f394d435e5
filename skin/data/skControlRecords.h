// Skinned control records: one per [SKINCONTROLS] entry, found by the element
// name that a skinned control names. Each field is named after its definition key.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "skDataRecord.h"

namespace skin {

// The default active font colour of "stdlabel": pure blue in 0x00BBGGRR.
constexpr Colour kPureBlue = 0xFF0000;

class TskDataSkinControl : public TskDataSkinRecord {
 public:
  using TskDataSkinRecord::TskDataSkinRecord;

  std::int32_t pictureindex = kNoPicture;
  std::int32_t maskpictureindex = kNoPicture;
  Rect skinrect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinCustomControl : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  Point lefttoppoint;
  Point righttoppoint;
  Point leftbottompoint;
  Point rightbottompoint;
  Rect clientrect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinBevel : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  Colour lightcolor = 0;
  Colour darkcolor = 0;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinTreeView : public TskDataSkinControl, public TskFontKeys {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  Colour bgcolor = 0;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinListView : public TskDataSkinControl, public TskFontKeys {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  Colour bgcolor = 0;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinRichEdit : public TskDataSkinControl, public TskFontKeys {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  Colour bgcolor = 0;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinStdLabelControl : public TskDataSkinControl, public TskFontKeys {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  Colour activefontcolor = kPureBlue;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinSlider : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  Rect hrulerrect;
  Rect hthumbrect;
  Rect vrulerrect;
  Rect vthumbrect;
  std::int32_t edgesize = 0;
  Colour bgcolor = 0;
  Colour pointscolor = 0;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinMainMenuBar : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  Rect itemsrect;
  std::string menubaritem;
  std::string closebutton;
  std::string maxbutton;
  std::string minbutton;
  std::string sysmenubutton;
  Colour trackmarkcolor = 0;
  Colour trackmarkactivecolor = 0;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinTabControl : public TskDataSkinControl, public TskFontKeys {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  Rect tabrect;
  Rect activetabrect;
  Rect focustabrect;
  Rect mouseintabrect;
  Rect clientrect;
  Rect tabsbgrect;
  Point lefttoppoint;
  Point righttoppoint;
  Point leftbottompoint;
  Point rightbottompoint;
  std::int32_t tableftoffset = 0;
  std::int32_t tabrightoffset = 0;
  Colour activefontcolor = 0;
  Colour focusfontcolor = 0;
  Colour mouseinfontcolor = 0;
  std::string updown;
  std::int32_t bgpictureindex = kNoPicture;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinGridControl : public TskDataSkinControl, public TskFontKeys {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  Rect fixedcellrect;
  Rect selectcellrect;
  Rect focuscellrect;
  std::int32_t fixedcellleftoffset = 0;
  std::int32_t fixedcellrightoffset = 0;
  Rect fixedcelltextrect;
  std::int32_t cellleftoffset = 0;
  std::int32_t cellrightoffset = 0;
  Rect celltextrect;
  Colour linescolor = 0;
  Colour bgcolor = 0;
  Colour selectfontcolor = 0;
  Colour focusfontcolor = 0;
  std::string fixedfontname = kDefaultFontName;
  TFontStyles fixedfontstyle = 0;
  std::int32_t fixedfontheight = kDefaultFontHeight;
  Colour fixedfontcolor = 0;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinSplitterControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
};

class TskDataSkinScrollBoxControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  std::int32_t bgpictureindex = kNoPicture;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinControlBar : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Rect itemrect;
  std::int32_t bgpictureindex = kNoPicture;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinLabelControl : public TskDataSkinCustomControl, public TskFontKeys {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinUpDownControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Rect upbuttonrect;
  Rect activeupbuttonrect;
  Rect downupbuttonrect;
  Rect downbuttonrect;
  Rect activedownbuttonrect;
  Rect downdownbuttonrect;
  // The stretch points and client rectangle do not apply to this kind: always zero.
  void LoadFromIni(const TskIniFile& ini) override;
  void SaveToIni(TskIniFile& ini) override;

 protected:
  void Fields(TskFieldVisitor& v) override;

 private:
  void ZeroFrame();
};

class TskDataSkinListBox : public TskDataSkinCustomControl, public TskFontKeys {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Rect itemrect;
  Rect activeitemrect;
  Rect focusitemrect;
  std::int32_t itemleftoffset = 0;
  std::int32_t itemrightoffset = 0;
  Rect itemtextrect;
  Colour activefontcolor = 0;
  Colour focusfontcolor = 0;
  Rect captionrect;
  std::string captionfontname = kDefaultFontName;
  TFontStyles captionfontstyle = 0;
  std::int32_t captionfontheight = kDefaultFontHeight;
  Colour captionfontcolor = 0;
  Rect upbuttonrect;
  Rect activeupbuttonrect;
  Rect downupbuttonrect;
  Rect downbuttonrect;
  Rect activedownbuttonrect;
  Rect downdownbuttonrect;
  Rect checkbuttonrect;
  Rect activecheckbuttonrect;
  Rect downcheckbuttonrect;
  std::string hscrollbarname = "hscrollbar";
  std::string vscrollbarname = "vscrollbar";
  std::string bothhscrollbarname = "bothhscrollbar";

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinCheckListBox : public TskDataSkinListBox {
 public:
  using TskDataSkinListBox::TskDataSkinListBox;
  Rect uncheckimagerect;
  Rect checkimagerect;
  Rect itemcheckrect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinComboBox : public TskDataSkinCustomControl, public TskFontKeys {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Rect itemrect;
  Rect focusitemrect;
  std::int32_t itemleftoffset = 0;
  std::int32_t itemrightoffset = 0;
  Rect itemtextrect;
  Colour focusfontcolor = 0;
  Rect buttonrect;
  Rect activebuttonrect;
  Rect downbuttonrect;
  Rect unenabledbuttonrect;
  std::string listboxname;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinScrollBarControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Rect trackarea;
  Rect upbuttonrect;
  Rect activeupbuttonrect;
  Rect downupbuttonrect;
  Rect downbuttonrect;
  Rect activedownbuttonrect;
  Rect downdownbuttonrect;
  Rect thumbrect;
  Rect activethumbrect;
  Rect downthumbrect;
  std::int32_t thumboffset1 = 0;
  std::int32_t thumboffset2 = 0;
  Rect glyphrect;
  Rect activeglyphrect;
  Rect downglyphrect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinSpinEditControl : public TskDataSkinCustomControl, public TskFontKeys {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Colour disabledfontcolor = 0;
  Rect upbuttonrect;
  Rect activeupbuttonrect;
  Rect downupbuttonrect;
  Rect downbuttonrect;
  Rect activedownbuttonrect;
  Rect downdownbuttonrect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinEditControl : public TskDataSkinCustomControl, public TskFontKeys {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Rect activeskinrect;
  Colour disabledfontcolor = 0;
  Colour activefontcolor = 0;
  Rect buttonrect;
  Rect activebuttonrect;
  Rect downbuttonrect;
  Rect unenabledbuttonrect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinMemoControl : public TskDataSkinEditControl {
 public:
  using TskDataSkinEditControl::TskDataSkinEditControl;
  Colour bgcolor = 0;
  Colour activebgcolor = 0;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinTrackBarControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Rect trackarea;
  Rect buttonrect;
  Rect activebuttonrect;
  bool vertical = false;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinGaugeControl : public TskDataSkinCustomControl, public TskFontKeys {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Rect progressarea;
  Rect progressrect;
  bool vertical = false;
  std::int32_t beginoffset = 0;
  std::int32_t endoffset = 0;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinButtonControl : public TskDataSkinCustomControl, public TskFontKeys {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Colour activefontcolor = 0;
  Colour downfontcolor = 0;
  Colour disabledfontcolor = 0;
  Rect activeskinrect;
  Rect downskinrect;
  Rect disabledskinrect;
  bool morphing = false;
  TMorphKind morphkind = TMorphKind::mkDefault;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinMenuButtonControl : public TskDataSkinButtonControl {
 public:
  using TskDataSkinButtonControl::TskDataSkinButtonControl;
  Rect trackbuttonrect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinCheckRadioControl : public TskDataSkinCustomControl, public TskFontKeys {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Colour activefontcolor = 0;
  Colour unenabledfontcolor = 0;
  Rect activeskinrect;
  Rect checkimagearea;
  Rect textarea;
  Rect checkimagerect;
  Rect uncheckimagerect;
  Rect activecheckimagerect;
  Rect activeuncheckimagerect;
  Rect unenabledcheckimagerect;
  Rect unenableduncheckimagerect;
  bool morphing = false;
  TMorphKind morphkind = TMorphKind::mkDefault;
  Colour framefontcolor = 0;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinPanelControl : public TskDataSkinCustomControl, public TskFontKeys {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Rect captionrect;
  TAlignment alignment = TAlignment::taCenter;
  std::int32_t bgpictureindex = kNoPicture;
  Rect checkimagerect;
  Rect uncheckimagerect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinExPanelControl : public TskDataSkinCustomControl, public TskFontKeys {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  Rect rollhskinrect;
  Rect rollvskinrect;
  std::int32_t rollleftoffset = 0;
  std::int32_t rollrightoffset = 0;
  std::int32_t rolltopoffset = 0;
  std::int32_t rollbottomoffset = 0;
  Rect rollvcaptionrect;
  Rect rollhcaptionrect;
  Rect closebuttonrect;
  Rect closebuttonactiverect;
  Rect closebuttondownrect;
  Rect hrollbuttonrect;
  Rect hrollbuttonactiverect;
  Rect hrollbuttondownrect;
  Rect hrestorebuttonrect;
  Rect hrestorebuttonactiverect;
  Rect hrestorebuttondownrect;
  Rect vrollbuttonrect;
  Rect vrollbuttonactiverect;
  Rect vrollbuttondownrect;
  Rect vrestorebuttonrect;
  Rect vrestorebuttonactiverect;
  Rect vrestorebuttondownrect;
  Rect captionrect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

// The record for a [SKINCONTROLS] kind, or nullptr for an unknown kind.
std::unique_ptr<TskDataSkinControl> CreateSkinControl(std::string_view kind, std::string name);

}  // namespace skin
