#!/usr/bin/env python3
"""Writes the page's static site into one folder: index.html with the
stylesheet, the first window and, as its title, the window's caption (from
the window's facts) in it, the module and the page's script under names
that carry their digest (so that one build's page never loads another
build's script or module), the web app manifest in the window's ground (from
its facts), the service worker with the digest of every file it keeps, and
the other files as they are.

    site.py --site FOLDER --page index.html --style window.css korvantelo.css --window window.html
            --facts window.json --module korvantelo.js --wasm korvantelo.wasm --script page.js
            --manifest manifest.webmanifest --worker service-worker.js FILE...
"""
import argparse
import base64
import hashlib
import html
import json
import pathlib
import re
import shutil


def integrity(data):
    """The digest as a browser checks it (subresource integrity)."""
    return "sha256-" + base64.b64encode(hashlib.sha256(data).digest()).decode()


def digest_name(path, data):
    """korvantelo.js becomes korvantelo.<12 hex digits of its digest>.js."""
    return f"{path.stem}.{hashlib.sha256(data).hexdigest()[:12]}{path.suffix}"


def fill(template, values):
    for key, value in values.items():
        token = f"@{key}@"
        if token not in template:
            raise SystemExit(f"site.py: {token} is missing from the template")
        template = template.replace(token, value)
    left = re.search(r"@[A-Z_]+@", template)
    if left:
        raise SystemExit(f"site.py: nothing fills {left.group()} in the template")
    return template


def main():
    parser = argparse.ArgumentParser()
    for option in ("site", "page", "window", "facts", "module", "wasm", "script", "manifest", "worker"):
        parser.add_argument(f"--{option}", type=pathlib.Path, required=True)
    parser.add_argument("--style", type=pathlib.Path, nargs="+", required=True)
    parser.add_argument("files", type=pathlib.Path, nargs="*")
    args = parser.parse_args()

    facts = json.loads(args.facts.read_text(encoding="utf-8"))
    files = {path.name: path.read_bytes() for path in args.files}
    files[args.manifest.name] = fill(args.manifest.read_text(encoding="utf-8"), {"GROUND": facts["ground"]}).encode()
    names = {}
    for key, path in (("MODULE", args.module), ("WASM", args.wasm), ("SCRIPT", args.script)):
        data = path.read_bytes()
        names[key] = digest_name(path, data)
        names[f"{key}_INTEGRITY"] = integrity(data)
        files[names[key]] = data
    page = fill(args.page.read_text(encoding="utf-8"), {
        "STYLE": "\n".join(path.read_text(encoding="utf-8").rstrip() for path in args.style),
        "WINDOW": args.window.read_text(encoding="utf-8"),
        "CAPTION": html.escape(facts["caption"]),
        **names,
    }).encode()
    # Each kept file with its digest, and whether its name carries it: such a
    # file never changes under its name, so the worker may take the copy the
    # browser fetched for the page.
    named = {names[key] for key in ("MODULE", "WASM", "SCRIPT")}
    kept = [["./", integrity(page), False]] + [[name, integrity(data), name in named]
                                              for name, data in sorted(files.items())]
    files["index.html"] = page
    files["service-worker.js"] = fill(args.worker.read_text(encoding="utf-8"), {
        "BUILD": hashlib.sha256(json.dumps(kept).encode()).hexdigest()[:16],
        "FILES": json.dumps(kept, indent=0),
    }).encode()

    shutil.rmtree(args.site, ignore_errors=True)
    args.site.mkdir(parents=True)
    for name, data in files.items():
        (args.site / name).write_bytes(data)


if __name__ == "__main__":
    main()
