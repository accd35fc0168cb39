#!/usr/bin/env python3
"""The package manifests agree with the setup programs they describe: one version everywhere (the setups'
own version resource included), the NSIS silent switch, and each download's SHA-256."""
import hashlib
import pathlib
import re
import sys
import unittest

SOURCE, DIST, VERSION = (pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3])


def fields(path):
    """Top-level and list-item "key: value" pairs, in order (the manifests are plain, flat YAML)."""
    pairs = []
    for line in path.read_text().splitlines():
        m = re.match(r"^[\s-]*([A-Za-z0-9]+):\s*(\S.*)?$", line)
        if m and not line.lstrip().startswith("#"):
            pairs.append((m.group(1), (m.group(2) or "").strip()))
    return pairs


class Manifests(unittest.TestCase):
    def setUp(self):
        self.dir = DIST / "winget"
        self.files = {p.name: fields(p) for p in self.dir.glob("Corvane.Corvane*.yaml")}
        self.assertEqual(len(self.files), 3, "version, installer and default-locale manifests")

    def test_one_version_everywhere(self):
        nsis = re.search(r'!define VERSION "([^"]+)"', (SOURCE / "installer/corvane.nsi").read_text()).group(1)
        self.assertEqual(nsis, VERSION)
        for name, pairs in self.files.items():
            d = dict(pairs)
            self.assertEqual(d["PackageIdentifier"], "Corvane.Corvane", name)
            self.assertEqual(d["PackageVersion"], VERSION, name)
            self.assertGreaterEqual(tuple(int(x) for x in d["ManifestVersion"].split(".")), (1, 6, 0), name)
        for arch in ("x64", "x86"):
            setup = (DIST / f"corvane-{VERSION}-{arch}-setup.exe").read_bytes()
            self.assertIn(VERSION.encode("utf-16-le"), setup, f"the {arch} setup's version resource")

    def test_silent_switches_and_hashes_fit_the_setups(self):
        pairs = self.files["Corvane.Corvane.installer.yaml"]
        d = dict(pairs)
        self.assertEqual(d["InstallerType"], "nullsoft")
        # An NSIS setup runs without a window with /S, the same switch its uninstaller is given.
        self.assertEqual((d["Silent"], d["SilentWithProgress"]), ("/S", "/S"))
        self.assertIn("/S'", (SOURCE / "installer/corvane.nsi").read_text())
        installers = [v for k, v in pairs if k in ("Architecture", "InstallerUrl", "InstallerSha256")]
        self.assertEqual(len(installers), 6)
        for arch, url, digest in zip(*[iter(installers)] * 3):
            name = f"corvane-{VERSION}-{arch}-setup.exe"
            self.assertTrue(url.startswith("https://") and url.endswith("/" + name), url)
            self.assertEqual(digest, hashlib.sha256((DIST / name).read_bytes()).hexdigest().upper(), arch)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
