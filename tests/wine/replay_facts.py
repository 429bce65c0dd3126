#!/usr/bin/env python3
"""What a run of Setup.exe did, as facts that the simulated machine's run and the real program's
run under Wine can both be read into, and the two held to each other.

  replay_facts.py snapshot DIR OUT.json        the files below DIR (a drive C), with their content
                                               where it is an INI or INF file, else a digest
  replay_facts.py sim REPORT.json BEFORE.json AFTER.json REG-BEFORE REG-AFTER > FACTS
  replay_facts.py wine TRACE ANSWERS PEERS BEFORE.json AFTER.json REG-BEFORE REG-AFTER > FACTS
  replay_facts.py compare RULES SIM-FACTS WINE-FACTS
                                               one line: "same", "differs, explained: RULE, ..." or
                                               "differs: ..."; exit code 1 on an unexplained difference

A fact is one line: "message "CAPTION" TEXT -> ANSWER" and "start COMMAND LINE" in the order they
happened; "file added|removed|changed PATH [(N bytes)]", "ini PATH [SECTION] KEY = VALUE|(removed)",
"registry KEY \"NAME\" = VALUE|(deleted)", "registry key added|deleted KEY", "restart requested|not
requested". Paths and registry names are upper-cased: Windows does not tell them apart by case.
"""
import configparser
import hashlib
import json
import os
import re
import sys

PROFILE_SUFFIXES = (".INI", ".INF")


# ---- files --------------------------------------------------------------------------------------

def profile_entries(data):
    """The entries of an INI or INF file as the profile functions see them: (SECTION, KEY) -> value,
    whatever the file's layout (Wine's profile functions rewrite a whole file in their own form)."""
    entries = {}
    section = None
    for raw in data.decode("latin-1").replace("\r", "").split("\n"):
        line = raw.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("[") and "]" in line:
            section = line[1:line.index("]")].strip().upper()
            continue
        if section is None:
            continue
        key, _, value = line.partition("=")
        value = value.strip()
        if len(value) >= 2 and value[0] == value[-1] == '"':
            value = value[1:-1]
        entries[(section, key.strip().upper())] = value
    return entries


def snapshot(folder):
    files = {}
    for root, dirs, names in os.walk(folder):
        for name in dirs + names:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, folder).replace(os.sep, "\\")
            entry = {"path": "C:\\" + relative}
            if os.path.isdir(path) and not os.path.islink(path):
                entry["dir"] = True
            else:
                try:
                    data = open(path, "rb").read()
                except OSError:
                    continue
                entry["size"] = len(data)
                entry["sha1"] = hashlib.sha1(data).hexdigest()
                if name.upper().endswith(PROFILE_SUFFIXES):
                    entry["entries"] = [[s, k, v] for (s, k), v in sorted(profile_entries(data).items())]
            files[entry["path"].upper()] = entry
    return files


def file_facts(before, after):
    facts = []
    for key in sorted(set(before) | set(after)):
        old, new = before.get(key), after.get(key)
        path = (new or old)["path"].upper() + ("\\" if (new or old).get("dir") else "")
        if old is None or new is None or old.get("dir") != new.get("dir"):
            if old is not None:
                facts.append("file removed " + path)
            if new is not None:
                facts.append("file added " + path + ("" if new.get("dir") or "entries" in new else " (%d bytes)" % new["size"]))
        elif not new.get("dir") and old["sha1"] != new["sha1"] and "entries" not in new:
            # A profile file is held to its entries alone: Wine rewrites a whole file its own way.
            facts.append("file changed %s (%d bytes)" % (path, new["size"]))
        if new is not None and "entries" in new:
            was = {(s, k): v for s, k, v in (old or {}).get("entries", [])}
            now = {(s, k): v for s, k, v in new["entries"]}
            for (s, k) in sorted(set(was) | set(now)):
                if was.get((s, k)) != now.get((s, k)):
                    facts.append("ini %s [%s] %s = %s" % (path, s, k, now.get((s, k), "(removed)")))
    return facts


# ---- registry -----------------------------------------------------------------------------------

def read_reg(path):
    """A .reg file (REGEDIT4, or version 5.00 in UTF-16 as Wine's regedit writes it): KEY -> {NAME: value}."""
    data = open(path, "rb").read()
    text = data.decode("utf-16") if data[:2] in (b"\xff\xfe", b"\xfe\xff") else data.decode("latin-1")
    keys = {}
    current = None
    pending = ""
    for raw in text.replace("\r", "").split("\n"):
        line = pending + raw.strip()
        pending = ""
        if line.endswith("\\"):
            pending = line[:-1]
            continue
        if line.startswith("[") and line.endswith("]"):
            current = keys.setdefault(line[1:-1].upper(), {})
            continue
        if current is None or "=" not in line or line.startswith(";"):
            continue
        if line.startswith("@="):
            name, value = "@", line[2:]
        else:
            match = re.match(r'"((?:[^"\\]|\\.)*)"=(.*)$', line)
            if not match:
                continue
            name, value = match.group(1).replace('\\\\', '\\').replace('\\"', '"'), match.group(2)
        current[name.upper()] = normalise_value(value)
    return keys


def normalise_value(value):
    """One form of a value whatever wrote it: strings unquoted, numbers and bytes as lower-case hex."""
    if value.startswith('"') and value.endswith('"'):
        return 'sz:"%s"' % value[1:-1].replace('\\\\', '\\').replace('\\"', '"')
    kind, _, rest = value.partition(":")
    return kind.lower() + ":" + rest.replace(" ", "").lower()


def registry_facts(before, after):
    facts = []
    for key in sorted(set(before) | set(after)):
        old, new = before.get(key), after.get(key)
        if old is None:
            facts.append("registry key added " + key)
        elif new is None:
            facts.append("registry key deleted " + key)
            continue
        for name in sorted(set(old or {}) | set(new)):
            if (old or {}).get(name) != new.get(name):
                facts.append('registry %s "%s" = %s' % (key, name, new.get(name, "(deleted)")))
    return facts


# ---- the two runs ---------------------------------------------------------------------------------

def message_fact(caption, text, answer):
    return 'message "%s" %s -> %s' % (caption, text.replace("\r", "\\r").replace("\n", "\\n"), answer)


def sim_facts(report, before, after, reg_before, reg_after):
    facts = []
    for h in report["happenings"]:
        if h["kind"] == "message":
            facts.append(message_fact(h["caption"], h["text"], h["answer"]))
        elif h["kind"] == "start":
            facts.append("start " + h["commandLine"])
    facts += file_facts(before, after) + registry_facts(reg_before, reg_after)
    facts.append("restart requested" if report["restart"] else "restart not requested")
    return facts


def wine_text(quoted):
    """A text as Wine's trace writes it (debugstr_w): the escapes taken back."""
    return re.sub(r"\\(x[0-9a-fA-F]{2,4}|.)", lambda m: {"n": "\n", "r": "\r", "t": "\t"}.get(
        m.group(1), chr(int(m.group(1)[1:], 16)) if m.group(1).startswith("x") else m.group(1)), quoted)


def wine_facts(trace, answers, peers, before, after, reg_before, reg_after):
    """The trace gives each box's text as it opens (+msgbox), and each ExitWindowsEx call (+relay,
    RelayInclude=user32.ExitWindowsEx); the answerer wrote down each box's caption and answer, in
    order; the stand-ins wrote down how each was started."""
    lines = open(trace, "rb").read().decode("utf-8", "replace").split("\n")
    texts = [wine_text(m.group(1)) for m in (re.search(r'MSGBOX_OnInit L"(.*)"\s*$', l) for l in lines) if m]
    answered = [l.rstrip("\r\n").split("\t") for l in open(answers, encoding="utf-8", errors="replace") if l.strip()]
    facts = []
    for i, text in enumerate(texts):
        caption, answer = answered[i][:2] if i < len(answered) else ("(unanswered)", "(unanswered)")
        facts.append(message_fact(caption, text, answer))
    if os.path.exists(peers):
        for line in open(peers, encoding="latin-1").read().replace("\r", "").split("\n"):
            parts = line.split("|")
            if parts[0] in ("SuiteSetup", "W2KSetup") and len(parts) >= 3:
                facts.append("start " + parts[2])
            elif parts[0] == "Uninstall start" and len(parts) >= 2:
                facts.append("start " + parts[1])
    facts += file_facts(before, after) + registry_facts(reg_before, reg_after)
    restarted = any("user32.ExitWindowsEx(" in l for l in lines)
    facts.append("restart requested" if restarted else "restart not requested")
    return facts


# ---- the comparison -----------------------------------------------------------------------------

def read_rules(path):
    """Wine's known differences from Windows, by name: each with its reason, and what it does to the
    facts: `sim` and `wine` drop the facts of that side that match; `normalise` rewrites both sides'
    facts ("PATTERN => REPLACEMENT") before they are compared; `apply` names a step the replay takes."""
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(path, encoding="utf-8")
    rules = []
    for name in parser.sections():
        rule = dict(parser[name])
        if not rule.get("reason"):
            raise SystemExit("%s: [%s] gives no reason" % (path, name))
        rule["name"] = name
        rules.append(rule)
    return rules


def compare(rules, sim, wine):
    """(verdict, rule names used, unexplained differences): "same" when the facts are the same as
    they stand; "explained" when they are once the rules have been applied; else "differs"."""
    if sim == wine:
        return "same", [], []
    used = set()
    for rule in rules:
        if "normalise" in rule:
            pattern, _, replacement = rule["normalise"].partition("=>")
            rewrite = lambda facts: [re.sub(pattern.strip(), replacement.strip(), f) for f in facts]
            if rewrite(sim) != sim or rewrite(wine) != wine:
                used.add(rule["name"])
            sim, wine = rewrite(sim), rewrite(wine)

    def drop(facts, side):
        kept = []
        for f in facts:
            rule = next((r for r in rules if side in r and re.search(r[side], f)), None)
            if rule is None:
                kept.append(f)
            else:
                used.add(rule["name"])
        return kept

    # What one side has and the other has not; a rule explains a fact only on its own side. The
    # messages and the programs started are compared in their order, the rest as sets.
    sequence = lambda facts: [f for f in facts if f.startswith(("message ", "start "))]
    others = lambda facts: sorted(f for f in facts if not f.startswith(("message ", "start ")))
    differences = []
    seq_sim = drop([f for f in sequence(sim)], "sim")
    seq_wine = drop([f for f in sequence(wine)], "wine")
    if seq_sim != seq_wine:
        only_sim = [f for f in seq_sim if f not in seq_wine]
        only_wine = [f for f in seq_wine if f not in seq_sim]
        differences += ["simulator: " + f for f in only_sim] + ["Wine: " + f for f in only_wine]
        if not only_sim and not only_wine:
            differences.append("the same messages and programs started, in another order")
    set_sim, set_wine = others(sim), others(wine)
    differences += ["simulator: " + f for f in drop([f for f in set_sim if f not in set_wine], "sim")]
    differences += ["Wine: " + f for f in drop([f for f in set_wine if f not in set_sim], "wine")]
    return ("differs" if differences else "explained"), sorted(used), differences


def main(argv):
    command = argv[1] if len(argv) > 1 else ""
    if command == "snapshot" and len(argv) == 4:
        json.dump(snapshot(argv[2]), open(argv[3], "w"))
    elif command == "sim" and len(argv) == 7:
        load = lambda p: json.load(open(p))
        facts = sim_facts(load(argv[2]), load(argv[3]), load(argv[4]), read_reg(argv[5]), read_reg(argv[6]))
        sys.stdout.write("".join(f + "\n" for f in facts))
    elif command == "wine" and len(argv) == 9:
        load = lambda p: json.load(open(p))
        facts = wine_facts(argv[2], argv[3], argv[4], load(argv[5]), load(argv[6]), read_reg(argv[7]), read_reg(argv[8]))
        sys.stdout.write("".join(f + "\n" for f in facts))
    elif command == "compare" and len(argv) == 5:
        read = lambda p: [l for l in open(p, encoding="utf-8").read().split("\n") if l]
        verdict, used, differences = compare(read_rules(argv[2]), read(argv[3]), read(argv[4]))
        if verdict == "same":
            print("same")
        elif verdict == "explained":
            print("differs, explained: " + ", ".join(used))
        else:
            print("differs: " + "; ".join(differences) + (" (explained besides: %s)" % ", ".join(used) if used else ""))
            return 1
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
