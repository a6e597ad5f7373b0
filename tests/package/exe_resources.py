"""Reads back from each .exe what Windows and Explorer read from it: the
version information (product speckrim at the project's version, the file's
own name, a description, the copyright), its icons, and its application
manifest (common controls 6, the supported Windows versions, run as the
invoker, aware of each monitor's scale). Prints what it found, and exits 1 when anything is missing.
Usage: python3 exe_resources.py VERSION EXE..."""

import os
import sys

import pefile


def strings_of(pe):
    found = {}
    for info in getattr(pe, "FileInfo", [[]])[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                found.update({k.decode(): v.decode() for k, v in table.entries.items()})
    return found


def resource(pe, kind):
    """The bytes of the first resource of that type, or None."""
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == kind:
            data = entry.directory.entries[0].directory.entries[0].data.struct
            return pe.get_data(data.OffsetToData, data.Size)
    return None


def problems_of(path, version):
    pe = pefile.PE(path)
    name = os.path.basename(path)
    strings = strings_of(pe)
    print(f"    {name}: " + ", ".join(f"{k} {v!r}" for k, v in sorted(strings.items())))
    expected = {"ProductName": "speckrim", "ProductVersion": version, "FileVersion": version,
                "OriginalFilename": name}
    problems = [f"{key} is {strings.get(key)!r}, not {value!r}"
                for key, value in expected.items() if strings.get(key) != value]
    problems += [f"no {key}" for key in ("FileDescription", "LegalCopyright") if not strings.get(key)]
    if resource(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"]) is None:
        problems.append("no icon")
    manifest = (resource(pe, pefile.RESOURCE_TYPE["RT_MANIFEST"]) or b"").decode("utf-8", "replace")
    for needed in ('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"',
                   "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", 'level="asInvoker"',
                   ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>"):
        if needed not in " ".join(manifest.split()):
            problems.append(f"the manifest lacks {needed}")
    return [f"{name}: {problem}" for problem in problems]


def main():
    version, programs = sys.argv[1], sys.argv[2:]
    problems = [problem for path in programs for problem in problems_of(path, version)]
    for problem in problems:
        print(f"    {problem}")
    return 1 if problems or not programs else 0


if __name__ == "__main__":
    sys.exit(main())
