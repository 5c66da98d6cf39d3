#!/usr/bin/python3
"""The program's version record is the version resource that the resource
compiler made of app/korvantelo.rc, and it reads back as this version's.

    version_record_test.py --executable FILE --resources FILE.res --section NAME
                           --objcopy PROGRAM --version VERSION
"""

import argparse
import os
import struct
import subprocess
import sys
import tempfile
import unittest

class Build:
    """The build under test, from the command line."""
    options = None


def resources(res):
    """(type, name, language, data) of each entry of a .res file whose type
    and name are numbers."""
    entries, at = [], 0
    while at < len(res):
        data_size, header_size = struct.unpack_from("<II", res, at)
        type_mark, type_number, name_mark, name_number = struct.unpack_from("<4H", res, at + 8)
        if type_mark == name_mark == 0xFFFF:
            (language,) = struct.unpack_from("<H", res, at + 22)  # after data version and memory flags
            entries.append((type_number, name_number, language, res[at + header_size:][:data_size]))
        at = (at + header_size + data_size + 3) & ~3
    return entries


def node(record, key):
    """(offset, value) of the record's node of that key: its length, its
    value's length and its type (16 bits each), the key in UTF-16 with a
    terminating zero, then the value on a 4-byte boundary."""
    at = record.index((key + "\0").encode("utf-16-le")) - 6
    _, value_length, is_text = struct.unpack_from("<3H", record, at)
    value = (at + 6 + 2 * len(key) + 2 + 3) & ~3
    if is_text:
        return at, record[value:value + 2 * (value_length - 1)].decode("utf-16-le")
    return at, record[value:value + value_length]


class VersionRecordTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(Build.options.resources, "rb") as file:
            cls.compiled = [e for e in resources(file.read()) if e[0] == 16]  # RT_VERSION
        with tempfile.TemporaryDirectory() as scratch:
            dumped = os.path.join(scratch, "record")
            subprocess.run([Build.options.objcopy, f"--dump-section={Build.options.section}={dumped}",
                            Build.options.executable, os.path.join(scratch, "copy")], check=True)
            with open(dumped, "rb") as file:
                cls.record = file.read()

    def test_section_is_the_one_compiled_version_resource(self):
        self.assertEqual([entry[:3] for entry in self.compiled], [(16, 1, 0x0407)])
        self.assertEqual(self.record, self.compiled[0][3])

    def test_reads_back_as_this_version(self):
        at, fixed = node(self.record, "VS_VERSION_INFO")
        self.assertEqual(at, 0)
        major, minor, patch, tweak = (int(part) for part in Build.options.version.split("."))
        version = (major << 16 | minor, patch << 16 | tweak)
        self.assertEqual(struct.unpack("<13I", fixed), (
            0xFEEF04BD, 0x00010000, *version, *version,  # signature, structure version, versions
            0, 0, 4, 1, 0, 0, 0))  # flags mask and flags, VOS__WINDOWS32, VFT_APP, subtype, date
        self.assertEqual(node(self.record, "Translation")[1], struct.pack("<2H", 0x0407, 0x04B0))
        self.assertLess(node(self.record, "VarFileInfo")[0], node(self.record, "StringFileInfo")[0])

        text = f"{major}.{minor:02d}"  # 1.00 for 1.0.0.0
        fields = [("CompanyName", "Korvantelo Messtechnik"), ("ProductName", "Korvantelo"),
                  ("FileVersion", text), ("ProductVersion", text),
                  ("InternalName", "Korvantelo"), ("OriginalFilename", "Korvantelo.exe")]
        found = [node(self.record, key) for key, _ in fields]
        self.assertEqual([value for _, value in found], [value for _, value in fields])
        places = [node(self.record, "040704B0")[0]] + [at for at, _ in found]
        self.assertEqual(places, sorted(places), "the table, then its fields in order")


def main():
    parser = argparse.ArgumentParser(description="Tests the program's version record.")
    for option in ("--executable", "--resources", "--section", "--objcopy", "--version"):
        parser.add_argument(option, required=True)
    Build.options, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
