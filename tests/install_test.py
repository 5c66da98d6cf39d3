#!/usr/bin/python3
"""What `cmake --install` and the Debian package put on a system.

    install_test.py --build DIR --app-id ID --version VERSION
                    --version-section SECTION --icon-sizes SIZE,... [unittest arguments]

InstallTreeTest installs the build into a scratch DESTDIR under /usr and
checks the tree: the program, the menu entry, the icon and the software-centre
description, that they name each other correctly, and that the freedesktop
validators accept them (each validator only where it is installed).
PackageTest builds the .deb with CPack into a scratch folder, reads it back
with dpkg-deb and has lintian check it.
"""

import argparse
import configparser
import gzip
import os
import re
import shutil
import stat
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

COMMAND_TIMEOUT = 300
XML_LANG = "{http://www.w3.org/XML/1998/namespace}lang"


class Build:
    """The facts about the build under test, from the command line."""
    directory = None
    app_id = None
    version = None
    version_section = None  # the ELF section with the program's version record
    icon_sizes = ()  # the icon's sizes on the desktop, in pixels

    @classmethod
    def installed_files(cls):
        return {
            "usr/bin/korvantelo",
            f"usr/share/applications/{cls.app_id}.desktop",
            *(f"usr/share/icons/hicolor/{size}x{size}/apps/korvantelo.png" for size in cls.icon_sizes),
            "usr/share/icons/hicolor/scalable/apps/korvantelo.svg",
            f"usr/share/metainfo/{cls.app_id}.metainfo.xml",
            "usr/share/man/man1/korvantelo.1.gz",
            "usr/share/doc/korvantelo/copyright",
            "usr/share/doc/korvantelo/changelog.gz",
        }


def run(*args, **kwargs):
    done = subprocess.run(args, capture_output=True, text=True, timeout=COMMAND_TIMEOUT, **kwargs)
    if done.returncode != 0:
        raise AssertionError(f"{' '.join(args)} failed ({done.returncode}):\n{done.stdout}{done.stderr}")
    return done.stdout


def files_under(root):
    found = set()
    for folder, _, names in os.walk(root):
        for name in names:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def png_header(path):
    """(width, height, bit depth, colour type) of a PNG file."""
    with open(path, "rb") as file:
        data = file.read(33)
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise AssertionError(f"{path} is not a PNG")
    return struct.unpack(">IIBB", data[16:26])


class InstallTreeTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="korvantelo-install.")
        cls.root = cls.scratch.name
        run("cmake", "--install", Build.directory, "--prefix", "/usr",
            env={**os.environ, "DESTDIR": cls.root})
        cls.desktop_path = os.path.join(cls.root, f"usr/share/applications/{Build.app_id}.desktop")
        cls.metainfo_path = os.path.join(cls.root, f"usr/share/metainfo/{Build.app_id}.metainfo.xml")

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def entry(self):
        parser = configparser.RawConfigParser(strict=True, delimiters=("=",))
        parser.optionxform = str  # keys are case-sensitive
        with open(self.desktop_path, encoding="utf-8") as file:
            parser.read_file(file)
        return parser["Desktop Entry"]

    def test_installs_exactly_the_program_and_its_desktop_files(self):
        self.assertEqual(files_under(self.root), Build.installed_files())
        mode = os.stat(os.path.join(self.root, "usr/bin/korvantelo")).st_mode
        self.assertTrue(mode & stat.S_IXOTH, "the program is not executable")

    def test_menu_entry_starts_the_program_without_files(self):
        entry = self.entry()
        self.assertEqual(entry["Type"], "Application")
        # The program takes no files, so no field code such as %f or %u.
        self.assertEqual(entry["Exec"], "korvantelo")
        self.assertEqual(entry["Terminal"], "false")
        self.assertEqual(entry["Icon"], "korvantelo")
        self.assertEqual(entry["Categories"], "Utility;Calculator;")
        # The window's class, so that docks group the window with its entry.
        self.assertEqual(entry["StartupWMClass"], "korvantelo")

    def test_menu_entry_speaks_german(self):
        entry = self.entry()
        self.assertEqual(entry["Name"], "Korvantelo")
        self.assertIn("Impuls", entry["Comment"])
        self.assertIn("Comment[en]", entry)

    def test_icons_are_pngs_of_their_size_with_transparency_and_an_svg(self):
        for size in Build.icon_sizes:
            width, height, depth, colour_type = png_header(
                os.path.join(self.root, f"usr/share/icons/hicolor/{size}x{size}/apps/korvantelo.png"))
            self.assertEqual((width, height), (size, size))
            self.assertEqual((depth, colour_type), (8, 6), f"{size}: not 8-bit RGBA")
        svg = ElementTree.parse(os.path.join(self.root, "usr/share/icons/hicolor/scalable/apps/korvantelo.svg"))
        self.assertEqual(svg.getroot().tag, "{http://www.w3.org/2000/svg}svg")

    def test_description_names_the_entry_the_program_and_this_version(self):
        component = ElementTree.parse(self.metainfo_path).getroot()
        self.assertEqual(component.get("type"), "desktop-application")
        self.assertEqual(component.findtext("id"), Build.app_id)
        self.assertEqual(component.findtext("launchable[@type='desktop-id']"), f"{Build.app_id}.desktop")
        self.assertEqual(component.findtext("provides/binary"), "korvantelo")
        self.assertEqual(component.findtext("project_license"), "MIT")
        self.assertEqual(component.findtext("metadata_license"), "CC0-1.0")
        self.assertIsNotNone(component.find("content_rating"))
        self.assertTrue(component.findtext("url[@type='homepage']").startswith("https://example.org/"))
        # The newest release comes first and is the version being built.
        self.assertEqual(component.find("releases/release").get("version"), Build.version)

    def test_changelog_names_this_version_first(self):
        # Lintian does not hold a binary package's changelog to its version.
        with gzip.open(os.path.join(self.root, "usr/share/doc/korvantelo/changelog.gz"), "rt") as file:
            self.assertRegex(file.readline(), rf"^korvantelo \({re.escape(Build.version)}\) ")

    def test_description_in_english_and_german(self):
        component = ElementTree.parse(self.metainfo_path).getroot()
        for tag in ("name", "summary", "description/p"):
            languages = {element.get(XML_LANG) for element in component.findall(tag)}
            self.assertEqual(languages, {None, "de"}, tag)

    @unittest.skipUnless(shutil.which("desktop-file-validate"), "desktop-file-utils not installed")
    def test_menu_entry_is_valid(self):
        output = run("desktop-file-validate", self.desktop_path)
        self.assertEqual(output, "", "hints count as failures")

    @unittest.skipUnless(shutil.which("appstreamcli"), "appstream not installed")
    def test_description_is_valid_with_its_menu_entry(self):
        run("appstreamcli", "validate", "--no-net", "--pedantic", self.metainfo_path)
        # The tree check also finds the menu entry that the description launches.
        run("appstreamcli", "validate-tree", "--no-net", "--pedantic", self.root)


@unittest.skipUnless(shutil.which("dpkg-shlibdeps") and shutil.which("dpkg-deb"),
                     "dpkg-dev not installed")
class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="korvantelo-package.")
        run("cpack", "-G", "DEB", "--config", os.path.join(Build.directory, "CPackConfig.cmake"),
            "-B", cls.scratch.name)
        architecture = run("dpkg", "--print-architecture").strip()
        cls.deb = os.path.join(cls.scratch.name, f"korvantelo_{Build.version}_{architecture}.deb")
        cls.architecture = architecture

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def field(self, name):
        return run("dpkg-deb", "--field", self.deb, name).strip()

    @unittest.skipUnless(shutil.which("lintian"), "lintian not installed")
    def test_lintian_finds_nothing(self):
        # Down to pedantic and experimental findings (the hardening ones are
        # information), but not the two that do not apply: lintian's spelling
        # list is English and the manual page is German, and the strip of
        # CPack keeps the .comment section (a few bytes).
        done = subprocess.run(["lintian", "--display-level", ">=pedantic", "--display-experimental",
                               "--suppress-tags", "typo-in-manual-page,binary-has-unneeded-section",
                               self.deb],
                              capture_output=True, text=True, timeout=COMMAND_TIMEOUT)
        findings = [line for line in done.stdout.splitlines() if line.strip()]
        self.assertEqual(findings, [], done.stderr)
        self.assertEqual(done.returncode, 0, done.stderr)

    def test_names_the_package_and_its_version(self):
        self.assertEqual(self.field("Package"), "korvantelo")
        self.assertEqual(self.field("Version"), Build.version)
        self.assertEqual(self.field("Architecture"), self.architecture)
        self.assertEqual(self.field("Section"), "electronics")
        self.assertRegex(self.field("Maintainer"), r"^[^<>]+ <[^<>@]+@[^<>@]+>$")
        self.assertTrue(self.field("Homepage").startswith("https://example.org/"))

    def test_depends_on_the_libraries_and_the_font_but_not_on_build_packages(self):
        # Whatever this release calls them: the packages that hold the
        # libraries the program links, and one that holds the face.
        depends = {item.split()[0] for item in self.field("Depends").split(", ")}
        program = os.path.join(Build.directory, "app", "korvantelo")
        needed = re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", run("readelf", "--dynamic", program))
        self.assertIn("libQt6Widgets.so.6", needed)
        for library in needed:
            owners = {owner.split(":")[0] for line in run("dpkg-query", "--search", f"*/{library}").splitlines()
                      for owner in line.rsplit(": ", 1)[0].split(", ")}
            self.assertTrue(owners & depends, f"{library} comes with {owners}")
        files = subprocess.run(["dpkg-query", "--listfiles", *depends], capture_output=True, text=True,
                               timeout=COMMAND_TIMEOUT).stdout.splitlines()
        self.assertTrue(any(f.endswith("/LiberationSans-Regular.ttf") for f in files),
                        "no dependency holds the window's face")
        # The toolkit's German texts are compiled in.
        self.assertNotIn("qt6-translations-l10n", depends)
        self.assertEqual([p for p in depends if p.endswith("-dev")], [])

    def test_description_has_a_synopsis_and_a_german_line(self):
        description = self.field("Description").splitlines()
        self.assertEqual(description[0], "energy per pulse behind current and voltage transformers")
        self.assertTrue(any(line.strip().startswith("Deutsch:") for line in description[1:]))

    def test_holds_the_installed_files_with_a_stripped_program(self):
        listing = run("dpkg-deb", "--contents", self.deb).splitlines()
        files = {line.split()[-1].removeprefix("./") for line in listing if not line.startswith("d")}
        self.assertEqual(files, Build.installed_files())
        with tempfile.TemporaryDirectory() as unpacked:
            run("dpkg-deb", "--extract", self.deb, unpacked)
            sections = run("readelf", "--section-headers", "--wide",
                           os.path.join(unpacked, "usr/bin/korvantelo"))
            self.assertNotIn(".debug_info", sections)
            self.assertIn(Build.version_section, sections, "stripping lost the version record")
            # Found in the system's library folders, not through a run path.
            dynamic = run("readelf", "--dynamic", os.path.join(unpacked, "usr/bin/korvantelo"))
            self.assertNotIn("RUNPATH", dynamic)
            self.assertNotIn("RPATH", dynamic)


def main():
    parser = argparse.ArgumentParser(description="Tests what the build installs.")
    for option in ("--build", "--app-id", "--version", "--version-section", "--icon-sizes"):
        parser.add_argument(option, required=True)
    options, rest = parser.parse_known_args()
    Build.icon_sizes = tuple(int(size) for size in options.icon_sizes.split(","))
    Build.directory, Build.app_id = options.build, options.app_id
    Build.version, Build.version_section = options.version, options.version_section
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
