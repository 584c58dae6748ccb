#!/usr/bin/python3
"""The file managers' entries as installed: `cmake --install BUILD` into a
scratch prefix, then every entry read the way its file manager reads it, the
"Compress to WebP here" helper run on a real image with a stand-in
notify-send, and the Nautilus extension loaded with the real Nautilus
bindings.

    file_manager_entries_test.py BUILD_DIR
"""
import os
import stat
import subprocess
import sys
import tempfile
import time
import unittest
import struct
import zlib
from pathlib import Path

import gi

gi.require_version("Nautilus", "4.0")
from gi.repository import GLib  # noqa: E402

BUILD = Path(sys.argv[1])
LANGUAGES = ("de", "ja", "ko")


def write_png(path, width=4, height=3):
    rows = b"".join(b"\0" + b"\x80\x40\x20" * width for _ in range(height))
    chunk = lambda kind, data: (  # noqa: E731
        struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    )
    path.write_bytes(
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(rows))
        + chunk(b"IEND", b"")
    )


def key_file(path):
    entry = GLib.KeyFile()
    entry.load_from_file(str(path), GLib.KeyFileFlags.KEEP_TRANSLATIONS)
    return entry


def wait_for(condition, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.05)
    return False


class FileManagerEntries(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory()
        cls.prefix = Path(cls.scratch.name) / "usr"
        subprocess.run(
            ["cmake", "--install", str(BUILD), "--prefix", str(cls.prefix)],
            check=True, stdout=subprocess.DEVNULL,
        )
        cls.share = cls.prefix / "share"
        cls.helper = cls.prefix / "libexec/quorvane/quorvane-webp-here"
        app = key_file(cls.share / "applications/org.quorvane.Quorvane.desktop")
        cls.mime_types = app.get_string_list("Desktop Entry", "MimeType") + ["inode/directory"]
        # Stand-ins on PATH: notify-send writes down what it was asked to show.
        cls.bin = Path(cls.scratch.name) / "bin"
        cls.bin.mkdir()
        cls.notified = Path(cls.scratch.name) / "notified"
        for name, line in (
            ("notify-send", 'printf "%s\\n" "$@" > "{}"'.format(cls.notified)),
            ("quorvane", 'printf "%s\\n" "$@" > "{}.quorvane"'.format(cls.notified)),
        ):
            tool = cls.bin / name
            tool.write_text("#!/bin/sh\n" + line + "\n")
            tool.chmod(0o755)

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def assertTranslated(self, entry, group, key):
        for language in LANGUAGES:
            with self.subTest(group=group, key=key, language=language):
                text = entry.get_locale_string(group, key, language)
                self.assertNotEqual(text, entry.get_string(group, key))

    def assertRunsHelper(self, exec_line):
        self.assertEqual(exec_line, "{} %F".format(self.helper))

    def test_every_entry_names_the_program_the_types_and_the_translations(self):
        dolphin = key_file(self.share / "kio/servicemenus/quorvane.desktop")
        self.assertEqual(dolphin.get_string("Desktop Entry", "Type"), "Service")
        self.assertEqual(dolphin.get_string_list("Desktop Entry", "MimeType"), self.mime_types)
        actions = dolphin.get_string_list("Desktop Entry", "Actions")
        self.assertEqual(len(actions), 2)
        execs = [dolphin.get_string("Desktop Action " + a, "Exec") for a in actions]
        self.assertEqual(execs[0], "quorvane %F")
        self.assertRunsHelper(execs[1])
        for action in actions:
            self.assertTranslated(dolphin, "Desktop Action " + action, "Name")

        for name, runs_helper in (("quorvane-compress", False), ("quorvane-webp-here", True)):
            nemo = key_file(self.share / "nemo/actions/{}.nemo_action".format(name))
            group = "Nemo Action"
            self.assertEqual(nemo.get_string_list(group, "Mimetypes"), self.mime_types)
            self.assertEqual(nemo.get_string(group, "Selection"), "notnone")
            exec_line = nemo.get_string(group, "Exec")
            if runs_helper:
                self.assertRunsHelper(exec_line)
            else:
                self.assertEqual(exec_line, "quorvane %F")
            for key in ("Name", "Comment"):
                self.assertTranslated(nemo, group, key)

            thunar = key_file(self.share / "Thunar/sendto/{}.desktop".format(name))
            group = "Desktop Entry"
            self.assertEqual(thunar.get_string_list(group, "MimeType"), self.mime_types)
            self.assertEqual(thunar.get_string(group, "TryExec"),
                             str(self.helper) if runs_helper else "quorvane")
            self.assertTranslated(thunar, group, "Name")

    def test_helper_compresses_beside_the_images_and_tells_the_result(self):
        pictures = Path(self.scratch.name) / "Pictures 1"
        pictures.mkdir()
        write_png(pictures / "a.png")
        self.assertTrue(os.stat(self.helper).st_mode & stat.S_IXOTH)
        env = dict(os.environ, PATH="{}:{}".format(self.bin, os.environ["PATH"]), LANGUAGE="")

        for lang, title in (("C.UTF-8", "Compressed to WebP"),
                            ("de_DE.UTF-8", "In WebP komprimiert")):
            with self.subTest(lang=lang):
                run = subprocess.run([str(self.helper), str(pictures / "a.png")],
                                     env=dict(env, LANG=lang, LC_ALL=""))
                self.assertEqual(run.returncode, 0)
                lines = self.notified.read_text().splitlines()
                self.assertEqual(lines[-2], title)
                self.assertRegex(lines[-1], r"^1 converted: ")
        self.assertTrue((pictures / "compressed/a.webp").is_file())

        # A failure says so, with the reason.
        run = subprocess.run([str(self.helper), str(pictures / "missing.png")],
                             env=dict(env, LANG="C.UTF-8"))
        self.assertEqual(run.returncode, 1)
        lines = self.notified.read_text().splitlines()
        self.assertIn("Not every image was compressed", lines)
        self.assertTrue(any("No such file" in line for line in lines), lines)

    def test_nautilus_extension_offers_both_entries_for_local_images_only(self):
        os.environ["PATH"] = "{}:{}".format(self.bin, os.environ["PATH"])
        namespace = {}
        source = self.share / "nautilus-python/extensions/quorvane.py"
        exec(compile(source.read_text(), str(source), "exec"), namespace)
        menu = namespace["QuorvaneMenu"]()

        class Info:
            def __init__(self, path, mime, scheme="file"):
                self.path, self.mime, self.scheme = path, mime, scheme

            def get_uri_scheme(self):
                return self.scheme

            def is_directory(self):
                return self.mime == "inode/directory"

            def get_mime_type(self):
                return self.mime

            def get_location(self):
                from gi.repository import Gio
                return Gio.File.new_for_path(self.path)

        photo = Info("/tmp/q/a photo.jpg", "image/jpeg")
        folder = Info("/tmp/q/album", "inode/directory")
        items = menu.get_file_items([photo, folder])
        self.assertEqual([item.props.label for item in items],
                         ["Compress with Quorvane", "Compress to WebP here"])
        self.assertEqual(namespace["labels"](["ja_JP.UTF-8", "ja", "C"])[0], "Quorvane で圧縮")
        # Not for other files, nor for places the programs cannot read.
        self.assertEqual(menu.get_file_items([photo, Info("/tmp/q/a.txt", "text/plain")]), [])
        self.assertEqual(menu.get_file_items([Info("/a.jpg", "image/jpeg", "sftp")]), [])

        items[0].activate()
        started = Path(str(self.notified) + ".quorvane")
        self.assertTrue(wait_for(started.exists))
        self.assertTrue(wait_for(lambda: started.read_text().splitlines() ==
                                 ["/tmp/q/a photo.jpg", "/tmp/q/album"]))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
