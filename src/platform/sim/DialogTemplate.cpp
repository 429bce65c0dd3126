#include "DialogTemplate.h"

namespace tvx::sim {

namespace {

class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& data) : data_(data) {}
  WORD word() {
    if (pos_ + 2 > data_.size()) throw ResourceError("dialog template truncated at byte " + std::to_string(pos_));
    const WORD w = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return w;
  }
  DWORD dword() {
    const DWORD low = word();
    return low | (static_cast<DWORD>(word()) << 16);
  }
  short coordinate() { return static_cast<short>(word()); }
  std::u16string text() {
    std::u16string s;
    for (WORD c = word(); c != 0; c = word()) s += static_cast<char16_t>(c);
    return s;
  }
  // A menu, class or title field: empty (0), an ordinal (0xFFFF then the number) or a text.
  ResId field() {
    ResId r;
    const WORD first = word();
    if (first == 0xFFFF) {
      r.ordinal = word();
      return r;
    }
    r.isOrdinal = false;
    for (WORD c = first; c != 0; c = word()) r.name += static_cast<char16_t>(c);
    return r;
  }
  std::uint8_t byte() {
    if (pos_ + 1 > data_.size()) throw ResourceError("dialog template truncated at byte " + std::to_string(pos_));
    return data_[pos_++];
  }
  void skip(std::size_t n) {
    if (pos_ + n > data_.size()) throw ResourceError("dialog template truncated at byte " + std::to_string(pos_));
    pos_ += n;
  }
  void alignTo4() { pos_ = (pos_ + 3) & ~std::size_t{3}; }

 private:
  const std::vector<std::uint8_t>& data_;
  std::size_t pos_ = 0;
};

ControlKind kindOfAtom(WORD atom) {
  switch (atom) {
    case 0x80:
      return ControlKind::Button;
    case 0x81:
      return ControlKind::Edit;
    case 0x82:
      return ControlKind::Static;
    case 0x83:
      return ControlKind::ListBox;
    case 0x84:
      return ControlKind::ScrollBar;
    case 0x85:
      return ControlKind::ComboBox;
    default:
      return ControlKind::Other;
  }
}

ControlKind kindOfClassName(const std::string& name) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (lower == "button") return ControlKind::Button;
  if (lower == "edit") return ControlKind::Edit;
  if (lower == "static") return ControlKind::Static;
  if (lower == "listbox") return ControlKind::ListBox;
  if (lower == "scrollbar") return ControlKind::ScrollBar;
  if (lower == "combobox") return ControlKind::ComboBox;
  return ControlKind::Other;
}

ControlTemplate readControl(Reader& r, bool extended) {
  r.alignTo4();
  ControlTemplate c;
  if (extended) {
    r.dword();  // help id
    c.exStyle = r.dword();
    c.style = r.dword();
  } else {
    c.style = r.dword();
    c.exStyle = r.dword();
  }
  c.x = r.coordinate();
  c.y = r.coordinate();
  c.cx = r.coordinate();
  c.cy = r.coordinate();
  // DLGTEMPLATEEX ids are 32 bits, DLGTEMPLATE ids 16; both give -1 for "no id".
  c.id = extended ? static_cast<int>(static_cast<std::int32_t>(r.dword())) : static_cast<short>(r.word());
  const ResId cls = r.field();
  if (cls.isOrdinal) {
    c.kind = kindOfAtom(cls.ordinal);
  } else {
    c.className = utf16ToUtf8(cls.name);
    c.kind = kindOfClassName(c.className);
  }
  const ResId title = r.field();
  if (title.isOrdinal) {
    c.textResource = title.ordinal;
  } else {
    c.text = utf16ToUtf8(title.name);
  }
  r.skip(r.word());  // creation data
  return c;
}

}  // namespace

bool ControlTemplate::isCheckBox() const {
  const DWORD t = buttonType();
  return kind == ControlKind::Button &&
         (t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE);
}
bool ControlTemplate::isRadioButton() const {
  const DWORD t = buttonType();
  return kind == ControlKind::Button && (t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON);
}
bool ControlTemplate::isPushButton() const {
  const DWORD t = buttonType();
  return kind == ControlKind::Button && (t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON);
}

DialogTemplate parseDialogTemplate(const std::vector<std::uint8_t>& data) {
  Reader r(data);
  DialogTemplate d;
  const WORD first = r.word();
  const WORD second = r.word();
  d.extended = first == 1 && second == 0xFFFF;
  if (d.extended) {
    r.dword();  // help id
    d.exStyle = r.dword();
    d.style = r.dword();
  } else {
    d.style = static_cast<DWORD>(first) | (static_cast<DWORD>(second) << 16);
    d.exStyle = r.dword();
  }
  const WORD count = r.word();
  d.x = r.coordinate();
  d.y = r.coordinate();
  d.cx = r.coordinate();
  d.cy = r.coordinate();
  r.field();  // menu
  r.field();  // window class
  d.title = utf16ToUtf8(r.text());
  if ((d.style & DS_SETFONT) != 0) {
    d.pointSize = r.word();
    if (d.extended) {
      r.word();  // weight
      r.byte();  // italic
      r.byte();  // character set
    }
    d.font = utf16ToUtf8(r.text());
  }
  for (WORD i = 0; i < count; ++i) d.controls.push_back(readControl(r, d.extended));
  return d;
}

std::string kindName(const ControlTemplate& c) {
  switch (c.kind) {
    case ControlKind::Button:
      switch (c.buttonType()) {
        case BS_PUSHBUTTON:
          return "push button";
        case BS_DEFPUSHBUTTON:
          return "default push button";
        case BS_CHECKBOX:
          return "check box";
        case BS_AUTOCHECKBOX:
          return "auto check box";
        case BS_RADIOBUTTON:
          return "radio button";
        case BS_AUTORADIOBUTTON:
          return "auto radio button";
        case BS_3STATE:
          return "three-state box";
        case BS_AUTO3STATE:
          return "auto three-state box";
        case BS_GROUPBOX:
          return "group box";
        default:
          return "button";
      }
    case ControlKind::Static:
      return (c.style & 0x1F) == SS_ICON ? "icon" : "static";
    case ControlKind::Edit:
      return "edit";
    case ControlKind::ListBox:
      return "list box";
    case ControlKind::ScrollBar:
      return "scroll bar";
    case ControlKind::ComboBox:
      return "combo box";
    case ControlKind::Other:
      break;
  }
  return c.className;
}

}  // namespace tvx::sim
