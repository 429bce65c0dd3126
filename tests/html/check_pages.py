#!/usr/bin/python3
"""tvxsim's HTML pages opened in a real browser (Debian's Chromium, headless, driven through
Selenium), checked from the rendered page.

    check_pages.py TVXSIM SOURCE_DIR OUT_DIR

Writes run pages of scenario machines (every dialog in every language, the option dialogs, the
About box, message boxes) and the matrix pages of the example CD and of a CD with faults into
OUT_DIR, then checks in the browser:

- each drawn dialog against its template as the resource script (src/ui/*.rc) gives it: every
  control drawn, each where its dialog units put it (the rendered box, taken from the DOM, against
  x, y, w, h converted to pixels with the base units of the template's font), each with its text
  in the dialog's language; the states shown as the report gives them; the steps marked in order,
  a click's mark beside the control clicked;
- each message box with its caption, text, buttons and answer;
- the timeline, the changes and the verdict, line for line those of the text report;
- the matrix: a row for every run, each linked to its page, the failing rows marked, every page
  linked from the index and showing its row's verdict;
- the pages hold no script and load nothing from elsewhere.

Screenshots of a run page, of the matrix pages and of each dialog in each language are kept in
OUT_DIR. Then it plants faults in copies of the pages (a control moved by a few pixels, a row's
link taken out, a verdict changed) and fails unless each is found.
"""

import json
import base64
import re
import shutil
import subprocess
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the source tree

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

from rc_dialogs import read_templates

# The base units of the templates' fonts, as the simulated machine reports a dialog's client area:
# the character height is the point size at 96 dots per inch and two pixels of leading, the
# average width 46 % of that ("MS Sans Serif" 8 point: Windows' own 6 x 13).
BASE_UNITS = {8: (6, 13), 9: (6, 14), 12: (8, 18)}

# An icon static takes its icon's size, whatever the template says.
ICON_SIZE = (32, 32)

# The machines whose run pages are drawn: every template, the About box, message boxes.
SCENARIOS = ["win98se-dialog-both-wdm", "win98se-dialog-about-french", "win98se-options-vxd", "win98se-options-wdm",
             "winme-dialog-arch-cancel", "winme-cd-driver-wdm", "win98se-dialog-cd-prompt",
             # a disabled control and a click on it, Tab moving the focus, a dialog ended before it
             # was shown, the sound card's jack choice disabling the jack boxes
             "nt40-dialog-apps", "winme-options-vxd", "version-98se-build2048", "winme-options-wdm"]
# The architecture and main dialogs in each of the five languages: the Japanese scenario's
# machine with the user's language set to each.
LANGUAGE_MACHINE = "winme-dialog-arch-vxd"
LANGUAGES = [1033, 1028, 1036, 1041, 1042]

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--hide-scrollbars", "--window-size=1280,1000"]

# One script of the test's own, run in the page: the boxes of a drawn window's parts, relative to
# its client area.
MEASURE = """
const fig = arguments[0];
const client = fig.querySelector('.client').getBoundingClientRect();
const rel = (e) => { const r = e.getBoundingClientRect();
  return {left: r.left - client.left, top: r.top - client.top, width: r.width, height: r.height}; };
const text = (e) => e ? e.textContent : '';
return {
  client: {width: client.width, height: client.height},
  caption: text(fig.querySelector('.titlebar .title')),
  controls: [...fig.querySelectorAll('.client > .ctl')].map(c => Object.assign(rel(c), {
    index: Number(c.dataset.index), id: c.dataset.id === undefined ? -1 : Number(c.dataset.id),
    classes: [...c.classList], text: text(c.querySelector(':scope > .text')),
    mark: !!c.querySelector('.box svg')})),
  marks: [...fig.querySelectorAll('.client > .mark, .window-steps > .mark')].map(m => Object.assign(rel(m), {
    step: Number(m.dataset.step), onControl: m.parentElement.classList.contains('client')})),
};
"""


def mul_div(a, b, c):
    """Windows' MulDiv: a * b / c rounded half away from zero."""
    q = (abs(a * b) * 2 + c) // (2 * c)
    return q if a * b >= 0 else -q


class Problems(list):
    def add(self, where, what):
        self.append(f"{where}: {what}")


def report_sections(text):
    """The text report's sections: {"What happened": [lines], "Files": [...], "Registry": [...]}, each
    line without the section's indent (a timeline line may hold a message's line breaks)."""
    sections = {}
    parts = re.split(r"(?m)^(What happened|Files|Registry|Installation sources|Restart):.*\n", text)
    for name, body in zip(parts[1::2], parts[2::2]):
        body = body.rstrip("\n")
        if name == "What happened":
            sections[name] = [l[2:] for l in re.split(r"\n(?=  \[)", body)] if body else []
        elif name in ("Files", "Registry"):
            sections[name] = [l[2:] for l in body.split("\n")]
    return sections


def control_states(listed):
    """The states a "dialog" happening lists (`1004 "Virtual-Device (VxD)" unchecked, ...`):
    {id: set of state words}."""
    states = {}
    for part in re.split(r', (?=\d+ ")', listed):
        m = re.fullmatch(r'(\d+) "(.*)"((?: \w+)*)', part)
        if m:
            states[int(m.group(1))] = set(m.group(3).split())
    return states


def apply_state(words, state):
    opposite = {"checked": "unchecked", "unchecked": "checked", "disabled": "enabled", "enabled": "disabled",
                "hidden": "shown", "shown": "hidden"}
    words = set(words) - {opposite.get(state, ""), state}
    if state in ("checked", "unchecked", "disabled", "hidden"):
        words.add(state)
    return words


def dialog_history(happenings):
    """Each shown dialog by the index of its "dialog" happening: its template, its states when it
    appeared and when it ended, and its steps (the clicked control or None, in order)."""
    dialogs, open_ = {}, []
    for i, h in enumerate(happenings):
        if h["kind"] == "dialog":
            d = {"template": int(h["dialog"]), "shown": control_states(h["controls"]), "steps": [],
                 "focus": int(h["focus"]) if h.get("focus") else None}
            d["ended"] = {k: set(v) for k, v in d["shown"].items()}
            dialogs[i] = d
            open_.append(i)
            continue
        owner = next((j for j in reversed(open_) if str(dialogs[j]["template"]) == h.get("dialog")), None)
        if owner is None:
            continue
        d = dialogs[owner]
        if h["kind"] == "dialog action":
            action = h["action"]
            if action == "nothing happens" or action.startswith("focus on "):
                continue
            m = re.match(r"click (\d+) ", action)
            d["steps"].append(int(m.group(1)) if m else None)
        elif h["kind"] == "control":
            cid = int(h["control"].split(" ", 1)[0])
            d["ended"][cid] = apply_state(d["ended"].get(cid, set()), h["state"])
        elif h["kind"] == "dialog end" and not h.get("beforeShown"):
            open_.remove(owner)
    return dialogs


class Checker:
    def __init__(self, driver, templates):
        self.driver = driver
        self.templates = templates
        self.dialogs = 0
        self.controls = 0
        self.pages = 0

    def load(self, path):
        self.driver.get(Path(path).resolve().as_uri())
        self.pages += 1

    # ---- one drawn dialog ---------------------------------------------------------------------

    def check_dialog(self, figure, where, problems, history=None):
        template_id = int(figure.get_attribute("data-template"))
        language = int(figure.get_attribute("data-language"))
        t = self.templates.get((template_id, language))
        where = f"{where} dialog {template_id} ({language}) #{figure.get_attribute('id')}"
        if t is None:
            problems.add(where, "no such template in the resource scripts")
            return
        self.dialogs += 1
        bx, by = BASE_UNITS[t.points]
        m = self.driver.execute_script(MEASURE, figure)
        if m["caption"] != t.caption:
            problems.add(where, f"caption {m['caption']!r}, the template says {t.caption!r}")
        want = (mul_div(t.cx, bx, 4), mul_div(t.cy, by, 8))
        if (m["client"]["width"], m["client"]["height"]) != want:
            problems.add(where, f"client area {m['client']['width']} x {m['client']['height']} px, not {want[0]} x {want[1]}")
        drawn = {c["index"]: c for c in m["controls"]}
        if sorted(drawn) != list(range(len(t.controls))):
            problems.add(where, f"controls drawn {sorted(drawn)}, the template has {len(t.controls)}")
        for i, tc in enumerate(t.controls):
            c = drawn.get(i)
            if c is None:
                continue
            self.controls += 1
            name = f"control {i} (id {tc.id}, {tc.kind} {tc.drawn_text()!r})"
            box = (mul_div(tc.x, bx, 4), mul_div(tc.y, by, 8), mul_div(tc.cx, bx, 4), mul_div(tc.cy, by, 8))
            if tc.kind == "icon":
                box = box[:2] + ICON_SIZE
            got = (c["left"], c["top"], c["width"], c["height"])
            if any(abs(g - w) > 0.01 for g, w in zip(got, box)):
                problems.add(where, f"{name} drawn at {got}, its template places it at {box} "
                                    f"({tc.x}, {tc.y}, {tc.cx}, {tc.cy} dialog units)")
            if c["id"] != tc.id:
                problems.add(where, f"{name} drawn with id {c['id']}")
            if not all(k in c["classes"] for k in tc.kind.split()):
                problems.add(where, f"{name} drawn as {c['classes']}")
            if tc.kind != "icon" and c["text"] != tc.drawn_text():
                problems.add(where, f"{name} says {c['text']!r}")
        if history is not None:
            self.check_states(t, drawn, m["marks"], history, figure.get_attribute("id").endswith("-end"), where,
                              problems)

    def check_states(self, t, drawn, marks, history, at_end, where, problems):
        states = history["ended"] if at_end else history["shown"]
        for i, tc in enumerate(t.controls):
            c = drawn.get(i)
            if c is None or tc.id not in states:
                continue
            words = states[tc.id]
            for word, cls in (("checked", "checked"), ("disabled", "disabled"), ("hidden", "hidden")):
                if (word in words) != (cls in c["classes"]):
                    problems.add(where, f"control {tc.id} drawn {c['classes']}, the report says {sorted(words)}")
            if tc.kind in ("check", "radio") and ("checked" in words) != c["mark"]:
                problems.add(where, f"control {tc.id}: its check mark is {'missing' if c['mark'] else 'drawn'}")
            focused = not at_end and history["focus"] == tc.id
            if focused != ("focus" in c["classes"]):
                problems.add(where, f"control {tc.id}: focus drawn {'focus' in c['classes']}, the report says {focused}")
        steps = [] if at_end else history["steps"]
        marks = sorted(marks, key=lambda mk: mk["step"])
        if [mk["step"] for mk in marks] != list(range(1, len(steps) + 1)):
            problems.add(where, f"steps marked {[mk['step'] for mk in marks]}, the report has {len(steps)}")
            return
        by_id = {c["id"]: c for c in drawn.values()}
        for mk, clicked in zip(marks, steps):
            target = by_id.get(clicked) if clicked is not None else None
            if target is None:
                if mk["onControl"]:
                    problems.add(where, f"step {mk['step']} marked on a control, it took none")
                continue
            middle = mk["top"] + mk["height"] / 2
            if not (mk["left"] + mk["width"] <= target["left"] + 1 and target["top"] <= middle
                    <= target["top"] + target["height"]):
                problems.add(where, f"step {mk['step']} (click {clicked}) is not marked beside control {clicked}")

    # ---- a run page ----------------------------------------------------------------------------

    def check_run_page(self, page, text, report, problems, verdict=None):
        where = Path(page).name
        self.check_self_contained(page, problems)
        self.load(page)
        d = self.driver
        outcome = verdict or next((l for l in text.splitlines() if l.startswith("outcome: ")), "")
        shown = d.execute_script("return document.querySelector('#verdict p').textContent;")
        if shown != outcome:
            problems.add(where, f"verdict {shown!r}, the report says {outcome!r}")
        sections = report_sections(text)
        lines = d.execute_script("""return [...document.querySelectorAll('ol.timeline > li:not(.drawing)')]
            .map(li => li.textContent.replace(/^\\d+ /, ''));""")
        want = sections.get("What happened", [])
        if text and lines != want:
            n = next((i for i, (a, b) in enumerate(zip(lines, want)) if a != b), min(len(lines), len(want)))
            problems.add(where, f"the timeline differs from the text report's at line {n + 1}: "
                                f"{lines[n] if n < len(lines) else None!r} against {want[n] if n < len(want) else None!r}")
        for name, anchor in (("Files", "files"), ("Registry", "registry")):
            body = d.execute_script(f"return document.getElementById('{anchor}').nextElementSibling.textContent;")
            want = sections.get(name, [])
            got = [] if body == "no change" else body.rstrip("\n").split("\n")
            if text and got != (want if want != ["no change"] else []):
                problems.add(where, f"{name} differ from the text report's")
        happenings = report["happenings"]
        history = dialog_history(happenings)
        figures = d.find_elements(By.CSS_SELECTOR, "figure.dialog")
        drawn_shown = set()
        for f in figures:
            fid = f.get_attribute("id")
            index = int(re.match(r"dialog-(\d+)", fid).group(1))
            if not fid.endswith("-end"):
                drawn_shown.add(index)
            self.check_dialog(f, where, problems, history.get(index))
        if drawn_shown != set(history):
            problems.add(where, f"dialogs drawn at {sorted(drawn_shown)}, shown at {sorted(history)}")
        self.check_messages(where, [h for h in happenings if h["kind"] == "message"], problems)

    def check_messages(self, where, messages, problems):
        boxes = self.driver.execute_script("""return [...document.querySelectorAll('figure.message')].map(f => ({
            caption: f.querySelector('.title').textContent, text: f.querySelector('.client .text').textContent,
            buttons: [...f.querySelectorAll('.button')].map(b => b.textContent),
            answered: [...f.querySelectorAll('.button.answer')].map(b => b.textContent),
            answer: f.dataset.answer}));""")
        if len(boxes) != len(messages):
            problems.add(where, f"{len(boxes)} message boxes drawn, the report has {len(messages)}")
        for b, m in zip(boxes, messages):
            buttons = [s.strip() for s in m["buttons"].split(",")]
            answered = [m["answer"]] if m["answer"] in buttons else []
            if (b["caption"], b["text"], b["buttons"], b["answered"], b["answer"]) != (
                    m["caption"], m["text"], buttons, answered, m["answer"]):
                problems.add(where, f"message box {b} is not the report's {m}")

    def check_self_contained(self, page, problems):
        html = Path(page).read_text(encoding="utf-8")
        if re.search(r"<script|<link|<iframe|@import|url\(", html, re.I):
            problems.add(Path(page).name, "holds a script, a link or a style loaded from elsewhere")
        for attr, value in re.findall(r'\b(src|href)="([^"]*)"', html):
            if (attr == "src" and not value.startswith("data:")) or (
                    attr == "href" and not re.fullmatch(r"#[\w-]+|[\w.-]+\.html", value)):
                problems.add(Path(page).name, f"{attr}={value!r} points outside the page's folder")

    # ---- the matrix ----------------------------------------------------------------------------

    def check_matrix(self, folder, matrix, problems, deep=True):
        folder = Path(folder)
        index = folder / "index.html"
        where = f"{folder.name}/index.html"
        self.check_self_contained(index, problems)
        self.load(index)
        d = self.driver
        rows = d.execute_script("""return [...document.querySelectorAll('table.matrix tbody tr')].map(tr => ({
            href: tr.querySelector('a') ? tr.querySelector('a').getAttribute('href') : null,
            path: tr.cells[1].textContent, verdict: tr.dataset.verdict, failing: tr.classList.contains('failing'),
            signOff: tr.querySelector('.signoff').textContent,
            outcome: tr.querySelector('.verdict-cell').textContent.replace(/^\\u2716 /, '')}));""")
        want = matrix["rows"]
        if len(rows) != len(want):
            problems.add(where, f"{len(rows)} rows, the matrix has {len(want)}")
        banner = d.find_element(By.ID, "verdict")
        failing = int(banner.get_attribute("data-failing"))
        if failing != matrix["failing"]:
            problems.add(where, f"{failing} failing rows shown, the matrix has {matrix['failing']}")
        red = "incomplete" in banner.get_attribute("class").split()
        if red != (matrix["failing"] > 0) or banner.find_element(By.TAG_NAME, "p").text != matrix["signOff"]:
            problems.add(where, f"the banner ({banner.get_attribute('class')}) says "
                                f"{banner.find_element(By.TAG_NAME, 'p').text!r}, the matrix {matrix['signOff']!r}")
        linked = {}
        for r, w in zip(rows, want):
            name = f"row {w['windows']}, {w['path']}"
            if r["path"] != w["path"] or r["outcome"] != w["outcome"] or r["verdict"] != w["verdict"]:
                problems.add(where, f"{name} shows {r['path']!r} {r['outcome']!r}, the matrix says {w['outcome']!r}")
            if r["failing"] != (w["signOff"] == "FAILS") or r["signOff"] != w["signOff"]:
                problems.add(where, f"{name} is {'' if r['failing'] else 'not '}marked failing, its sign-off "
                                    f"{r['signOff']!r} ({w['signOff']}: {w['signOffReason']})")
            if r["href"] is None:
                problems.add(where, f"{name} links to no page")
                continue
            if not (folder / r["href"]).is_file():
                problems.add(where, f"{name} links to {r['href']}, which is not there")
                continue
            linked[r["href"]] = w
        pages = {p.name for p in folder.glob("*.html")} - {"index.html"}
        for page in sorted(pages - set(linked)):
            problems.add(where, f"{page} is not linked from the index")
        if not deep:
            return
        for href, w in linked.items():
            self.load(folder / href)
            verdict = d.execute_script("return document.querySelector('#verdict p').textContent;")
            expected = w["outcome"] if w["verdict"] in ("crashed", "hung") else "outcome: " + w["outcome"]
            if verdict != expected:
                problems.add(f"{folder.name}/{href}", f"verdict {verdict!r}, its row says {expected!r}")
            for f in d.find_elements(By.CSS_SELECTOR, "figure.dialog"):
                self.check_dialog(f, f"{folder.name}/{href}", problems)

    # ---- screenshots ---------------------------------------------------------------------------

    def screenshot_page(self, page, png):
        self.load(page)
        shot = self.driver.execute_cdp_cmd("Page.captureScreenshot", {"captureBeyondViewport": True,
                                                                      "format": "png"})
        Path(png).write_bytes(base64.b64decode(shot["data"]))

    def screenshot_dialogs(self, page, folder, taken):
        self.load(page)
        for f in self.driver.find_elements(By.CSS_SELECTOR, "figure.dialog"):
            key = (f.get_attribute("data-template"), f.get_attribute("data-language"))
            if key in taken or f.get_attribute("id").endswith("-end"):
                continue
            taken.add(key)
            self.driver.execute_script("arguments[0].scrollIntoView()", f)
            f.find_element(By.CSS_SELECTOR, ".win").screenshot(str(Path(folder) / f"dialog-{key[0]}-{key[1]}.png"))


def run(tvxsim, *args, ok=(0,)):
    p = subprocess.run([str(tvxsim), *map(str, args)], capture_output=True, text=True, timeout=120)
    if p.returncode not in ok:
        sys.exit(f"tvxsim {' '.join(map(str, args))} ended with {p.returncode}: {p.stderr}")
    return p.stdout


def main():
    tvxsim, source, out = (Path(a).resolve() for a in sys.argv[1:4])
    missing = [p for p in ("/usr/bin/chromium", "/usr/bin/chromedriver") if not Path(p).exists()]
    if missing:
        sys.exit(f"{', '.join(missing)} missing: the Debian packages chromium and chromium-driver are needed "
                 "(scripts/install-deps.sh tests)")
    if out.exists():
        shutil.rmtree(out)
    (out / "runs").mkdir(parents=True)
    (out / "machines").mkdir()
    templates = read_templates(source / "src/ui")

    # The run pages, with the text and JSON reports of the same runs.
    runs = []
    machines = [(name, source / "tests/scenarios" / name / "machine") for name in SCENARIOS]
    for language in LANGUAGES:
        folder = out / "machines" / f"{LANGUAGE_MACHINE}-{language}"
        shutil.copytree(source / "tests/scenarios" / LANGUAGE_MACHINE / "machine", folder)
        ini = (folder / "machine.ini").read_text()
        (folder / "machine.ini").write_text(re.sub(r"(?m)^language=.*$", f"language={language}", ini))
        machines.append((folder.name, folder))
    for name, folder in machines:
        page = out / "runs" / f"{name}.html"
        text = run(tvxsim, "run", folder, "--html", page)
        report = json.loads(run(tvxsim, "run", folder, "--json"))
        runs.append((page, text, report))

    # The matrix pages: the example CD, and a CD with faults the matrix must find (the VxD
    # package's disk entry with four fields, a file the WDM INF names missing).
    cd = out / "faulty-cd"
    shutil.copytree(source / "examples/cd", cd)
    inf = cd / "W95-98/drv/95/TVAUDIO.INF"
    inf.write_bytes(inf.read_bytes().replace(b'1="Tarvic Driver Disk",,\r\n', b'1="Tarvic Driver Disk",,,\r\n'))
    (cd / "W2K-ME/drv/tvprop.dll").unlink()
    matrices = []
    for name, folder, status in (("matrix-cd", source / "examples/cd", 0), ("matrix-faulty", cd, 1)):
        run(tvxsim, "matrix", folder, "--html", out / name, ok=(status,))
        matrices.append((out / name, json.loads(run(tvxsim, "matrix", folder, "--json", ok=(status,)))))

    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in CHROMIUM_FLAGS + [f"--user-data-dir={out / 'chromium-profile'}"]:
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_page_load_timeout(30)
    driver.set_script_timeout(30)
    try:
        checker = Checker(driver, templates)
        problems = Problems()
        for page, text, report in runs:
            checker.check_run_page(page, text, report, problems)
        for folder, matrix in matrices:
            checker.check_matrix(folder, matrix, problems)
            if folder.name == "matrix-faulty" and matrix["failing"] == 0:
                problems.add(folder.name, "the faulty CD's matrix has no failing row to mark")

        # Screenshots: a run page, the matrix pages, each dialog in each language.
        checker.screenshot_page(out / "runs/win98se-options-wdm.html", out / "run-win98se-options-wdm.png")
        for folder, _ in matrices:
            checker.screenshot_page(folder / "index.html", out / f"{folder.name}.png")
        taken = set()
        for page, _, _ in runs:
            checker.screenshot_dialogs(page, out, taken)
        languages = {lang for _, lang in taken}
        if languages != {str(l) for l in LANGUAGES}:
            problems.add("screenshots", f"dialogs drawn in the languages {sorted(languages)} only")

        summary = (f"{checker.pages} pages, {checker.dialogs} dialogs drawn, {checker.controls} controls in place "
                   f"({len(taken)} dialogs pictured in {len(languages)} languages)")
        missed = planted_faults(checker, runs, matrices, out)
    finally:
        driver.quit()
    for p in problems:
        print("FAIL:", p)
    for m in missed:
        print("FAIL: planted fault not found:", m)
    print(f"html pages: {summary}; screenshots in {out}")
    sys.exit(1 if problems or missed else 0)


def planted_faults(checker, runs, matrices, out):
    """Copies of the pages with one fault each; the checks must find every one."""
    planted = out / "planted"
    planted.mkdir()
    missed = []

    # A control drawn three pixels right of its place.
    page, text, report = next(r for r in runs if r[0].name == "win98se-options-wdm.html")
    html = page.read_text(encoding="utf-8")
    moved = re.sub(r'(data-index="3"[^>]*style="left:)(\d+)px', lambda m: f"{m.group(1)}{int(m.group(2)) + 3}px",
                   html, count=1)
    (planted / page.name).write_text(moved, encoding="utf-8")
    problems = Problems()
    checker.check_run_page(planted / page.name, text, report, problems)
    found(missed, "control 3 of dialog 131 moved right by 3 px", problems,
          lambda p: "control 3 " in p and "drawn at" in p)

    # A check box drawn unchecked where the report has it checked.
    html2 = re.sub(r'class="ctl check checked"', 'class="ctl check"', html, count=1)
    (planted / "unchecked.html").write_text(html2, encoding="utf-8")
    problems = Problems()
    checker.check_run_page(planted / "unchecked.html", text, report, problems)
    found(missed, "a checked box drawn unchecked", problems, lambda p: "the report says" in p and "checked" in p)

    # A row of the matrix without its link, and a page whose verdict is not its row's.
    folder, matrix = matrices[0]
    copy = planted / folder.name
    shutil.copytree(folder, copy)
    index = (copy / "index.html").read_text(encoding="utf-8")
    unlinked = re.sub(r'<a href="(winme-3\.html)">([^<]*)</a>', r"\2", index, count=1)
    (copy / "index.html").write_text(unlinked, encoding="utf-8")
    page = copy / "win98-1.html"
    page.write_text(re.sub(r'(id="verdict"[^>]*><p>)', r"\1not ", page.read_text(encoding="utf-8"), count=1),
                    encoding="utf-8")
    problems = Problems()
    checker.check_matrix(copy, matrix, problems)
    found(missed, "the index's link to winme-3.html taken out", problems, lambda p: "winme-3.html is not linked" in p)
    found(missed, "win98-1.html's verdict changed", problems, lambda p: "win98-1.html" in p and "verdict" in p)
    return missed


def found(missed, fault, problems, matches):
    hits = [p for p in problems if matches(p)]
    if hits:
        print(f"ok: planted fault found: {fault}: {hits[0]}")
    else:
        missed.append(f"{fault} (the checks said: {list(problems)})")


if __name__ == "__main__":
    main()
