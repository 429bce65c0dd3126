// A dialog template as Windows reads it from the resources: DLGTEMPLATE or DLGTEMPLATEEX with
// its controls.
#pragma once
#include <string>
#include <vector>

#include "ResFile.h"

namespace tvx::sim {

enum class ControlKind { Button, Edit, Static, ListBox, ScrollBar, ComboBox, Other };

struct ControlTemplate {
  int id = 0;  // -1 for the controls without an id
  ControlKind kind = ControlKind::Other;
  std::string className;  // for ControlKind::Other
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::string text;       // UTF-8; empty when the title is a resource number
  int textResource = -1;  // the resource number named as title (an icon of a static), or -1

  DWORD buttonType() const { return style & BS_TYPEMASK; }
  bool isCheckBox() const;
  bool isRadioButton() const;
  bool isPushButton() const;
};

struct DialogTemplate {
  bool extended = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::string title;  // UTF-8
  WORD pointSize = 0;
  std::string font;  // UTF-8
  std::vector<ControlTemplate> controls;
};

// Reads the data of an RT_DIALOG resource; throws ResourceError when it is malformed.
DialogTemplate parseDialogTemplate(const std::vector<std::uint8_t>& data);

// Names the control kind and button type as the resource script does ("auto check box", ...).
std::string kindName(const ControlTemplate& control);

}  // namespace tvx::sim
