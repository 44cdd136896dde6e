"""The settings file against an independent reader and writer: Python's plistlib."""
import datetime
import os
import plistlib
import struct
import tempfile
import unittest

from probe import load, save

OTHER_KEYS = {
    "handAdded": "keep me",
    "negative": -12,
    "big": 2**40,
    "ratio": 0.25,
    "flag": True,
    "when": datetime.datetime(2020, 5, 17, 8, 30),
    "blob": b"\x00\xffabc",
    "nested": {"list": [1, "two", 3.5], "empty": {}},
}


class SettingsInterop(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.path = os.path.join(self.folder.name, "com.Halvix.RetikonX.plist")

    def tearDown(self):
        self.folder.cleanup()

    def write(self, values, fmt):
        with open(self.path, "wb") as f:
            plistlib.dump(values, f, fmt=fmt)

    def test_files_written_by_python_load_in_both_forms(self):
        values = {
            "WinColor2": struct.pack(">4f", 0.25, 0.5, 0.75, 1.0),
            "WinWidth": "8",
            "keys": "36872",
            "retikon": 1,
            "DispKind": "1",
            "Locate": True,
            "shadow": 1.0,
            "distance": "-4",
            **OTHER_KEYS,
        }
        for fmt in (plistlib.FMT_XML, plistlib.FMT_BINARY):
            with self.subTest(fmt=fmt):
                self.write(values, fmt)
                page = load(self.path, "page")
                self.assertEqual(page["colour"], (0.25, 0.5, 0.75, 1.0))
                self.assertEqual(page["s_WinWidth"], 8)
                self.assertEqual(page["s_key"], 0x9008)
                self.assertEqual(load(self.path, "overlay")["s_key"], 0x1000)
                for field in ("s_Retikon", "s_Disp", "s_Locate", "s_shadow"):
                    self.assertEqual(page[field], 1, field)
                self.assertEqual(page["s_distance"], -4)

    def test_saves_read_back_in_python_with_types_and_foreign_keys(self):
        self.write({"WinColor": "red", **OTHER_KEYS}, plistlib.FMT_BINARY)
        save(self.path, s_WinWidth=12, s_distance=-3, s_key=4352, colour="1 0 0 0.5")
        with open(self.path, "rb") as f:
            raw = f.read()
        self.assertTrue(raw.startswith(b"<?xml"))
        saved = plistlib.loads(raw)
        expected_texts = {"WinWidth": "12", "keys": "4352", "retikon": "0", "DispKind": "0",
                          "Locate": "0", "shadow": "0", "distance": "-3"}
        for key, text in expected_texts.items():
            self.assertEqual(saved[key], text, key)
        self.assertEqual(saved["WinColor2"], struct.pack(">4f", 1, 0, 0, 0.5))
        self.assertEqual(saved["WinColor"], "red")
        for key, value in OTHER_KEYS.items():
            self.assertEqual(saved[key], value, key)

    def test_large_masks_use_the_single_precision_text(self):
        save(self.path, s_key=16777217)
        with open(self.path, "rb") as f:
            self.assertEqual(plistlib.load(f)["keys"], "1.677722e+07")


if __name__ == "__main__":
    unittest.main()
