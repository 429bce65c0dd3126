"""The dialog templates of Setup.exe read straight from its resource scripts (src/ui/*.rc), as the
resource compiler reads them: each file in the code page its "#pragma code_page" names, each
template in the language of the LANGUAGE statement before it, the ids from resource.h.

The pages tvxsim draws take their templates from the compiled resources; reading the scripts here
gives the test its own account of where each control belongs and what it says."""

import re
from dataclasses import dataclass, field
from pathlib import Path

LANGUAGES = {
    ("LANG_ENGLISH", "SUBLANG_ENGLISH_US"): 1033,
    ("LANG_CHINESE", "SUBLANG_CHINESE_TRADITIONAL"): 1028,
    ("LANG_FRENCH", "SUBLANG_FRENCH"): 1036,
    ("LANG_JAPANESE", "SUBLANG_DEFAULT"): 1041,
    ("LANG_KOREAN", "SUBLANG_DEFAULT"): 1042,
}

# What each statement draws, and where its arguments stand: text, id, then the rectangle.
SIMPLE = {"LTEXT": "static", "RTEXT": "static right", "CTEXT": "static center", "GROUPBOX": "group",
          "PUSHBUTTON": "push", "DEFPUSHBUTTON": "push default"}
BUTTON_STYLES = {"BS_AUTOCHECKBOX": "check", "BS_CHECKBOX": "check", "BS_AUTORADIOBUTTON": "radio",
                 "BS_RADIOBUTTON": "radio", "BS_PUSHBUTTON": "push", "BS_DEFPUSHBUTTON": "push default",
                 "BS_GROUPBOX": "group"}

TOKEN = re.compile(r'\s*(?:(?P<str>"(?:[^"]|"")*")|(?P<num>-?(?:0[xX][0-9A-Fa-f]+|\d+))'
                   r'|(?P<word>[A-Za-z_][A-Za-z0-9_]*)|(?P<punct>[,|()]))')


@dataclass
class Control:
    kind: str            # "static", "check", "radio", "push default", "group", "icon", ...
    text: str            # as written ("&" marks a mnemonic)
    id: int
    x: int
    y: int
    cx: int
    cy: int
    styles: list = field(default_factory=list)

    def drawn_text(self):
        """The text as the person reads it: "&&" is one "&", a single "&" only underlines."""
        if self.kind.startswith("static") and "SS_NOPREFIX" in self.styles:
            return self.text
        return re.sub(r"&(.)", r"\1", self.text)


@dataclass
class Dialog:
    id: int
    language: int
    x: int
    y: int
    cx: int
    cy: int
    caption: str = ""
    font: str = ""
    points: int = 0
    styles: list = field(default_factory=list)
    controls: list = field(default_factory=list)


def _tokens(text):
    out, at = [], 0
    text = text.rstrip()
    while at < len(text):
        m = TOKEN.match(text, at)
        if not m:
            raise ValueError(f"cannot read {text[at:]!r}")
        at = m.end()
        kind = m.lastgroup
        value = m.group(kind)
        if kind == "str":
            value = value[1:-1].replace('""', '"')
        out.append((kind, value))
    return out


def _arguments(text):
    """The comma-separated arguments of a statement, each a list of tokens."""
    args, current = [], []
    for kind, value in _tokens(text):
        if kind == "punct" and value == ",":
            args.append(current)
            current = []
        else:
            current.append((kind, value))
    args.append(current)
    return args


def _defines(header):
    names = {"IDOK": 1, "IDCANCEL": 2, "IDC_STATIC": -1}
    for line in header.read_text().splitlines():
        m = re.match(r"#define\s+(\w+)\s+\(?(-?\d+)\)?\s*$", line.strip())
        if m:
            names[m.group(1)] = int(m.group(2))
    return names


def _number(arg, names):
    words = [v for k, v in arg if k in ("num", "word")]
    if len(words) != 1:
        raise ValueError(f"not a number: {arg}")
    value = words[0]
    if value in names:
        return names[value]
    return int(value, 0)


def _text(arg):
    return arg[0][1] if arg and arg[0][0] == "str" else ""


def _styles(arg):
    return [v for k, v in arg if k == "word"]


def read_templates(ui_dir):
    """{(template id, language): Dialog} for every dialog of every .rc file of the folder."""
    ui_dir = Path(ui_dir)
    names = _defines(ui_dir / "resource.h")
    dialogs = {}
    for path in sorted(ui_dir.glob("*.rc")):
        raw = path.read_bytes()
        m = re.search(rb"#pragma\s+code_page\((\d+)\)", raw)
        text = raw.decode(f"cp{m.group(1).decode()}" if m else "ascii")
        language = None
        dialog = None
        inside = False
        for line in text.splitlines():
            line = line.strip()
            if not line or line.startswith("//") or line.startswith("#"):
                continue
            word, _, rest = line.partition(" ")
            rest = rest.strip()
            if word == "LANGUAGE":
                a = _arguments(rest)
                language = LANGUAGES[(_styles(a[0])[0], _styles(a[1])[0])]
            elif not inside and re.match(r"\w+\s+DIALOG(EX)?\s", line):
                name, kind, coords = line.split(None, 2)
                x, y, cx, cy = (_number(a, names) for a in _arguments(coords))
                dialog = Dialog(names[name] if name in names else int(name), language, x, y, cx, cy)
                dialogs[(dialog.id, language)] = dialog
            elif dialog is not None and not inside and word == "STYLE":
                dialog.styles = _styles(_arguments(rest)[0])
            elif dialog is not None and not inside and word == "CAPTION":
                dialog.caption = _text(_arguments(rest)[0])
            elif dialog is not None and not inside and word == "FONT":
                a = _arguments(rest)
                dialog.points, dialog.font = _number(a[0], names), _text(a[1])
            elif dialog is not None and word == "BEGIN":
                inside = True
            elif dialog is not None and word == "END":
                inside, dialog = False, None
            elif inside:
                dialog.controls.append(_control(word, _arguments(rest), names))
    return dialogs


def _control(statement, a, names):
    if statement in SIMPLE:
        return Control(SIMPLE[statement], _text(a[0]), _number(a[1], names), *(_number(v, names) for v in a[2:6]),
                       styles=_styles(a[6]) if len(a) > 6 else [])
    if statement == "ICON":
        return Control("icon", "", _number(a[1], names), *(_number(v, names) for v in a[2:6]))
    if statement == "CONTROL":
        styles = _styles(a[3])
        cls = _text(a[2]).lower()
        kinds = [BUTTON_STYLES[s] for s in styles if s in BUTTON_STYLES]
        if cls != "button" or len(kinds) != 1:
            raise ValueError(f"a control of class {cls!r} with styles {styles} is not drawn by this test")
        return Control(kinds[0], _text(a[0]), _number(a[1], names), *(_number(v, names) for v in a[4:8]),
                       styles=styles)
    raise ValueError(f"unknown statement {statement}")
