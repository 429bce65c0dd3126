#include "DialogTemplate.h"

#include "ByteReader.h"

namespace tvx::sim {

namespace {

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

ControlTemplate readControl(ByteReader& r, bool extended) {
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
  c.x = static_cast<short>(r.word());
  c.y = static_cast<short>(r.word());
  c.cx = static_cast<short>(r.word());
  c.cy = static_cast<short>(r.word());
  // DLGTEMPLATEEX ids are 32 bits, DLGTEMPLATE ids 16; both give -1 for "no id".
  c.id = extended ? static_cast<int>(static_cast<std::int32_t>(r.dword())) : static_cast<short>(r.word());
  const ResId cls = r.id();
  if (cls.isOrdinal) {
    c.kind = kindOfAtom(cls.ordinal);
  } else {
    c.className = utf16ToUtf8(cls.name);
    c.kind = kindOfClassName(c.className);
  }
  const ResId title = r.id();
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
  ByteReader r(data.data(), data.size(), "dialog template");
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
  d.x = static_cast<short>(r.word());
  d.y = static_cast<short>(r.word());
  d.cx = static_cast<short>(r.word());
  d.cy = static_cast<short>(r.word());
  r.id();  // menu
  r.id();  // window class
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
