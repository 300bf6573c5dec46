#!/usr/bin/env python3
"""Packs the release zip: make_dist.py --out ZIP --file PATH[=NAME_IN_ZIP]...

Every file must exist; the zip is written beside its final name first and
renamed over it, so that a failed packing leaves no half zip."""
import argparse
import os
import sys
import zipfile


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--file", action="append", default=[])
    args = parser.parse_args()
    entries = []
    for entry in args.file:
        path, _, name = entry.partition("=")
        if not os.path.isfile(path):
            print("make_dist: missing " + path, file=sys.stderr)
            return 1
        entries.append((path, "Korvel/" + (name or os.path.basename(path))))
    part = args.out + ".part"
    with zipfile.ZipFile(part, "w", zipfile.ZIP_DEFLATED) as z:
        for path, name in entries:
            info = zipfile.ZipInfo.from_file(path, name)
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                z.writestr(info, f.read())
    os.replace(part, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
