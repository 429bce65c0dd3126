#!/usr/bin/env python3
"""The facts of the replay under Wine and their comparison, on runs written here: both sides read
into the same facts whatever form Wine writes them in, a difference named, Wine's known
differences explaining only what they say. Runs on every machine (no Wine needed)."""
import os
import re
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import replay_facts as rf  # noqa: E402

RULES = rf.read_rules(os.path.join(HERE, "known-differences.ini"))


def write(folder, relative, data):
    path = os.path.join(folder, *relative.split("\\"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


class Files(unittest.TestCase):
    def test_a_profile_rewritten_in_wines_form_is_the_same_entries(self):
        with tempfile.TemporaryDirectory() as before, tempfile.TemporaryDirectory() as sim, \
                tempfile.TemporaryDirectory() as wine:
            write(before, "WINDOWS\\WIN.INI", b"[windows]\r\nrun=C:\\TOOLS\\CLOCK.EXE\r\n")
            # The simulator keeps the layout; Wine writes the whole file its own way.
            write(sim, "WINDOWS\\WIN.INI", b"[windows]\r\nrun=C:\\TOOLS\\CLOCK.EXE\r\n")
            write(sim, "WINDOWS\\TVXSETUP.INI", b"[Need_To_Reboot]\r\nInstall=YES\r\n\r\n[Need_To_InstallDriver]\r\nInstall=NO\r\n")
            write(sim, "Program Files\\Tarvic\\W2K-ME\\tvaudio.sys", b"driver")
            write(wine, "windows\\win.ini", b"[windows]\r\nrun = C:\\TOOLS\\CLOCK.EXE\r\n")
            write(wine, "windows\\TVXSETUP.INI", b"[Need_To_Reboot]\r\nInstall=YES\r\n[Need_To_InstallDriver]\r\nInstall=NO\r\n")
            write(wine, "Program Files\\Tarvic\\W2K-ME\\tvaudio.sys", b"driver")
            base = rf.snapshot(before)
            self.assertEqual(rf.file_facts(base, rf.snapshot(sim)), rf.file_facts(base, rf.snapshot(wine)))
            self.assertIn("ini C:\\WINDOWS\\TVXSETUP.INI [NEED_TO_REBOOT] INSTALL = YES", rf.file_facts(base, rf.snapshot(sim)))
            self.assertIn("file added C:\\PROGRAM FILES\\TARVIC\\W2K-ME\\TVAUDIO.SYS (6 bytes)", rf.file_facts(base, rf.snapshot(sim)))
            # Another size, or another entry, is another fact.
            write(wine, "Program Files\\Tarvic\\W2K-ME\\tvaudio.sys", b"drive")
            write(wine, "windows\\TVXSETUP.INI", b"[Need_To_Reboot]\r\nInstall=NO\r\n")
            facts = rf.file_facts(base, rf.snapshot(wine))
            self.assertIn("file added C:\\PROGRAM FILES\\TARVIC\\W2K-ME\\TVAUDIO.SYS (5 bytes)", facts)
            self.assertIn("ini C:\\WINDOWS\\TVXSETUP.INI [NEED_TO_REBOOT] INSTALL = NO", facts)
            self.assertNotIn("ini C:\\WINDOWS\\TVXSETUP.INI [NEED_TO_INSTALLDRIVER] INSTALL = NO", facts)


class Registry(unittest.TestCase):
    def test_regedit4_and_wines_unicode_export_read_alike(self):
        with tempfile.TemporaryDirectory() as d:
            four = os.path.join(d, "a.reg")
            five = os.path.join(d, "b.reg")
            with open(four, "wb") as f:
                f.write(b'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray]\r\n'
                        b'"Services"=dword:00000003\r\n"Path"="C:\\\\WINDOWS"\r\n'
                        b'[HKEY_LOCAL_MACHINE\\Software\\Setup]\r\n"Installation Sources"=hex(7):43,00,\\\r\n  00\r\n')
            with open(five, "wb") as f:
                f.write(("Windows Registry Editor Version 5.00\r\n\r\n"
                         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\SysTray]\r\n"
                         "\"services\"=dword:00000003\r\n\"Path\"=\"C:\\\\WINDOWS\"\r\n"
                         "[HKEY_LOCAL_MACHINE\\Software\\Setup]\r\n\"Installation Sources\"=hex(7):43,00,00\r\n").encode("utf-16"))
            self.assertEqual(rf.read_reg(four), rf.read_reg(five))
            self.assertEqual(rf.registry_facts({}, rf.read_reg(four))[1],
                             'registry HKEY_CURRENT_USER\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\APPLETS\\SYSTRAY "PATH" = sz:"C:\\WINDOWS"')


class WineRun(unittest.TestCase):
    def test_the_trace_the_answers_and_the_stand_ins_log_become_facts(self):
        with tempfile.TemporaryDirectory() as d:
            trace, answers, peers = (os.path.join(d, n) for n in ("trace", "answers", "peers.log"))
            with open(trace, "w") as f:
                f.write('0024:trace:msgbox:MSGBOX_OnInit L"Can not find the Tarvic Sound Suite setup program.\\n Please insert the installation CD now."\n'
                        '0024:trace:msgbox:MSGBOX_OnInit L"Can not find the Tarvic Sound Suite setup program.\\n Please insert the installation CD now."\n'
                        '0024:Call user32.ExitWindowsEx(00000002,00000000) ret=0040a1b2\n')
            with open(answers, "w") as f:
                f.write("Setup\tOK\nSetup\tCancel\n")
            with open(peers, "w") as f:
                f.write("SuiteSetup|D:\\W95-98\\app\\Setup.exe|D:\\W95-98\\app\\Setup.exe|C:\\|123\r\nWorld|opened|x|TVDNINST|5\r\n")
            facts = rf.wine_facts(trace, answers, peers, {}, {}, {}, {})
            self.assertEqual(facts, [
                'message "Setup" Can not find the Tarvic Sound Suite setup program.\\n Please insert the installation CD now. -> OK',
                'message "Setup" Can not find the Tarvic Sound Suite setup program.\\n Please insert the installation CD now. -> Cancel',
                "start D:\\W95-98\\app\\Setup.exe", "restart requested"])


class Comparison(unittest.TestCase):
    SIM = ['message "Setup" The driver will be installed now. -> OK', "start SysTray.exe",
           "file added C:\\WINDOWS\\INF\\OTHER\\TARVICTVAUDIO.INF",
           "ini C:\\WINDOWS\\TVXSETUP.INI [NEED_TO_INSTALLDRIVER] COMMAND = C:\\PROGRA~1\\TARVIC\\W2K-ME\\MESetup.dat",
           "restart requested"]

    def test_the_same_run_is_the_same(self):
        self.assertEqual(rf.compare(RULES, self.SIM, list(self.SIM)), ("same", [], []))

    def test_a_known_difference_explains_only_what_it_says(self):
        wine = [f.replace("OTHER\\TARVICTVAUDIO.INF", "TVAUDIO.INF").replace("PROGRA~1", "PROGR~FG") for f in self.SIM]
        verdict, used, differences = rf.compare(RULES, self.SIM, wine)
        self.assertEqual((verdict, used, differences), ("explained", ["oem-inf-naming", "wine-short-names"], []))
        # The same name on the wrong side, or another file, is no known difference.
        verdict, _, differences = rf.compare(RULES, self.SIM, wine + ["file added C:\\WINDOWS\\SYSTEM\\TVAUDIO.VXD (9 bytes)"])
        self.assertEqual((verdict, differences), ("differs", ["Wine: file added C:\\WINDOWS\\SYSTEM\\TVAUDIO.VXD (9 bytes)"]))
        verdict, _, differences = rf.compare(RULES, [f for f in self.SIM if "restart" not in f] + ["restart not requested"], self.SIM)
        self.assertEqual(verdict, "differs")
        self.assertEqual(differences, ["simulator: restart not requested", "Wine: restart requested"])

    def test_messages_and_starts_count_in_their_order(self):
        swapped = [self.SIM[1], self.SIM[0]] + self.SIM[2:]
        verdict, _, differences = rf.compare(RULES, self.SIM, swapped)
        self.assertEqual((verdict, differences), ("differs", ["the same messages and programs started, in another order"]))
        answered = [self.SIM[0].replace("-> OK", "-> Cancel")] + self.SIM[1:]
        self.assertEqual(rf.compare(RULES, self.SIM, answered)[0], "differs")


class KnownDifferences(unittest.TestCase):
    def test_each_has_a_reason_and_each_step_it_names_is_taken_by_the_replay(self):
        replay = open(os.path.join(HERE, "replay_row.sh")).read()
        taken = set(re.findall(r"rule_applies ([\w-]+)", replay))
        named = {r["apply"] for r in RULES if "apply" in r} - {"none"}
        self.assertEqual(named, taken)
        for rule in RULES:
            self.assertTrue(rule["reason"].strip(), rule["name"])
            for side in ("sim", "wine"):
                if side in rule:
                    re.compile(rule[side])


if __name__ == "__main__":
    unittest.main()
