#!/usr/bin/env python3
"""Writes the package manifests for the installers found in the dist folder: version, download addresses and
the SHA-256 of each setup program. An installer not built yet gets an empty hash (the manifest then cannot
be submitted, and the manifest test says so)."""
import hashlib
import pathlib
import sys


def sha256(path):
    if not path.exists():
        return ""
    return hashlib.sha256(path.read_bytes()).hexdigest().upper()


def main(template_dir, dist_dir, version, url_base, product):
    templates = pathlib.Path(template_dir)
    dist = pathlib.Path(dist_dir)
    out = dist / "winget"
    out.mkdir(parents=True, exist_ok=True)
    values = {
        "@VERSION@": version,
        "@PRODUCT@": product,
        "@URL_BASE@": url_base.rstrip("/"),
        "@SHA256_X64@": sha256(dist / f"corvane-{version}-x64-setup.exe"),
        "@SHA256_X86@": sha256(dist / f"corvane-{version}-x86-setup.exe"),
    }
    for template in sorted(templates.glob("*.yaml.in")):
        text = template.read_text()
        for key, value in values.items():
            text = text.replace(key, value)
        (out / template.name[: -len(".in")]).write_text(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:6]))
