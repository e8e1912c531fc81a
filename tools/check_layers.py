#!/usr/bin/env python3
"""Holds every #include of the project to the layers' table.

Run from the repository root: python3 tools/check_layers.py
Exit 0 when every include keeps to the table; otherwise exit 1 with one line per breach.

Each include is resolved as the compiler would: a quoted name first beside the including file,
then (quoted or angle) under the project's include roots. A project file belongs to the layer
of its folder; anything else is a system header, classified by the set it belongs to. A layer
may include its own files, the layers its row names, and the system sets its row names.
"""

import os
import re
import sys

INCLUDE_ROOTS = ["src", "tools", "tests", "bench/web"]

# System headers, by set.
C_STANDARD = {
    "assert.h", "ctype.h", "errno.h", "float.h", "inttypes.h", "limits.h", "locale.h",
    "math.h", "setjmp.h", "signal.h", "stdarg.h", "stdbool.h", "stddef.h", "stdint.h",
    "stdio.h", "stdlib.h", "string.h", "time.h",
}
POSIX = {
    "unistd.h", "dirent.h", "pthread.h", "sys/wait.h", "sys/resource.h", "sys/mman.h",
    "sys/time.h",
}
# What the Windows C runtime shares with POSIX.
CRT = {"fcntl.h", "sys/stat.h", "sys/types.h"}
WIN32 = {
    "windows.h", "windowsx.h", "dwmapi.h", "mmsystem.h", "io.h", "winuser.h", "shellapi.h",
    "shlobj.h", "commctrl.h", "direct.h", "objbase.h", "wingdi.h",
}
SYSTEM_SETS = {
    "standard": lambda h: re.fullmatch(r"[a-z_0-9]+", h) is not None or h in C_STANDARD,
    "posix": lambda h: h in POSIX,
    "win32": lambda h: h in WIN32,
    "crt": lambda h: h in CRT,
    "sdl": lambda h: re.fullmatch(r"SDL(_\w+)?\.h|SDL2/.+", h) is not None,
    "x11": lambda h: h.startswith("X11/"),
    "fontconfig": lambda h: h.startswith("fontconfig/"),
    "emscripten": lambda h: re.fullmatch(r"emscripten(\.h|/.+)", h) is not None,
    "gtest": lambda h: h.startswith(("gtest/", "gmock/")),
    "benchmark": lambda h: h.startswith("benchmark/"),
    "formats": lambda h: h in {"pugixml.hpp", "zlib.h", "zstd.h", "png.h"}
    or h.startswith("nlohmann/"),
    "mpfr": lambda h: h in {"mpfr.h", "gmp.h"},
    "xxhash": lambda h: h == "xxhash.h",
    # The compiler's own vector instructions.
    "intrinsics": lambda h: h in {"emmintrin.h", "immintrin.h", "wasm_simd128.h", "arm_neon.h"},
}

# Layer: (folder, only the folder's own files, layers it may include, system sets it may use).
# The platform interface's sources written for one system (*_posix.cpp, *_win32.cpp) may use
# that system's headers besides.
LAYERS = {
    "platform": ("src/platform", True, set(), {"standard"}),
    "headless": ("src/platform/headless", False, {"platform"}, {"standard"}),
    "sdl": ("src/platform/sdl", False, {"platform"},
            {"standard", "crt", "posix", "sdl", "x11", "fontconfig"}),
    "web": ("src/platform/web", False, {"platform"}, {"standard", "emscripten"}),
    "win32": ("src/platform/win32", False, {"platform"}, {"standard", "crt", "win32"}),
    "services": ("src/services", False, {"platform"}, {"standard", "intrinsics"}),
    "data": ("src/data", False, {"platform", "services"}, {"standard"}),
    "game": ("src/game", False, {"platform", "services", "data"}, {"standard", "xxhash"}),
    "velko_sim": ("tools/velko_sim", False,
                  {"platform", "headless", "services", "data", "game"}, {"standard"}),
    "assetgen": ("tools/assetgen", False, set(), {"standard"}),
    "level": ("tools/level", False, {"platform", "services"}, {"standard", "formats"}),
    "trig_check": ("tools/trig_check", False, {"services"}, {"standard", "mpfr"}),
    "bench": ("bench", False, {"platform", "headless", "services", "data", "game"},
              {"standard", "crt", "posix", "benchmark"}),
    "tests/support": ("tests/support", False,
                      {"platform", "headless", "services", "data", "game"},
                      {"standard", "crt", "posix", "gtest"}),
}
# Each area of tests/ reaches the layers its program links, and the shared helpers.
TEST_AREAS = {
    "assets": {"assetgen"},
    "data": {"platform", "headless", "services", "data"},
    "fuzz": {"platform", "headless", "services", "data", "game", "level"},
    "game": {"platform", "headless", "services", "data", "game"},
    "level": {"platform", "services", "level"},
    "platform": {"platform", "headless"},
    "sdl": {"platform", "services", "sdl"},
    "services": {"platform", "headless", "services"},
    "sim": {"platform", "headless", "services", "data", "game", "velko_sim"},
    "win32": {"platform", "win32"},
}
TEST_AREA_SYSTEM = {"sdl": {"sdl", "x11"}, "win32": {"win32"}, "level": {"formats"},
                    "services": {"mpfr"}}
for area, reach in TEST_AREAS.items():
    LAYERS["tests/" + area] = (
        "tests/" + area, False, reach | {"tests/support"},
        {"standard", "crt", "posix", "gtest"} | TEST_AREA_SYSTEM.get(area, set()))

# A backend's program entry is where the game meets its backend.
ENTRY_REACH = {"platform", "services", "data", "game"}
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp")
INCLUDE = re.compile(r'\s*#\s*include\s*([<"])([^">]+)[">]')
# The layers that know no system: their sources ask the build, never the compiler, which one
# they are built for.
SYSTEM_BLIND = {"platform", "services", "data", "game"}
SYSTEM_TEST = re.compile(r"\s*#\s*(if|ifdef|ifndef|elif)\b.*\b(_WIN32|_WIN64|__EMSCRIPTEN__|__linux__|"
                         r"__APPLE__|__unix__)\b")


def layer_of(path):
    """The layer of a project file (a path relative to the root, with /), or None."""
    folder, name = os.path.split(path)
    if folder.startswith("src/platform/") and name == "main.cpp":
        backend = folder.split("/")[2]
        return "entry:" + backend if backend in LAYERS else None
    best = None
    for layer, (root, own_only, _, _) in LAYERS.items():
        inside = folder == root if own_only else (folder == root or folder.startswith(root + "/"))
        if inside and (best is None or len(root) > len(LAYERS[best][0])):
            best = layer
    return best


def rules_of(layer, path):
    """(layers it may include, system sets it may use) for a file of `layer`."""
    if layer.startswith("entry:"):
        backend = layer.split(":")[1]
        return ENTRY_REACH | {backend}, LAYERS[backend][3]
    _, _, reach, system = LAYERS[layer]
    system = set(system)
    if layer == "platform":
        if path.endswith("_posix.cpp"):
            system |= {"crt", "posix"}
        if path.endswith("_win32.cpp"):
            system |= {"crt", "win32"}
    return reach | {layer}, system


def resolve(including, name, quoted):
    if quoted:
        beside = os.path.normpath(os.path.join(os.path.dirname(including), name))
        if os.path.isfile(beside):
            return beside
    for root in INCLUDE_ROOTS:
        candidate = os.path.normpath(os.path.join(root, name))
        if os.path.isfile(candidate):
            return candidate
    return None


def system_set_of(header):
    for name, member in SYSTEM_SETS.items():
        if member(header):
            return name
    return None


def source_files():
    for top in ("src", "tools", "tests", "bench"):
        for folder, _, names in os.walk(top):
            for name in sorted(names):
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.join(folder, name).replace(os.sep, "/")


def breaches():
    found = []
    for layer, (root, own_only, _, _) in sorted(LAYERS.items()):
        files = []
        if os.path.isdir(root):
            files = [n for n in os.listdir(root) if n.endswith(SOURCE_SUFFIXES)] if own_only else [
                n for _, _, ns in os.walk(root) for n in ns if n.endswith(SOURCE_SUFFIXES)]
        if not files:
            found.append(f"{root}: the folder of layer {layer} is missing or holds no source")
    for path in source_files():
        layer = layer_of(path)
        if layer is None:
            found.append(f"{path}: in no layer of the table")
            continue
        reach, system = rules_of(layer, path)
        blind = layer in SYSTEM_BLIND and not path.endswith(("_posix.cpp", "_win32.cpp"))
        with open(path, encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, 1):
                if blind and SYSTEM_TEST.match(line):
                    found.append(f"{path}:{number}: {layer} tests which system it is built for")
                match = INCLUDE.match(line)
                if not match:
                    continue
                quoted, name = match.group(1) == '"', match.group(2)
                target = resolve(path, name, quoted)
                where = f"{path}:{number}"
                if target is not None:
                    target_layer = layer_of(target.replace(os.sep, "/"))
                    if target_layer is None:
                        found.append(f"{where}: includes {name}, which is in no layer")
                    elif target_layer not in reach:
                        found.append(f"{where}: {layer} may not include {name} ({target_layer})")
                elif quoted:
                    found.append(f"{where}: includes {name}, which names no file of the project")
                else:
                    kind = system_set_of(name)
                    if kind is None:
                        found.append(f"{where}: includes <{name}>, a header of no known set")
                    elif kind not in system:
                        found.append(f"{where}: {layer} may not use <{name}> ({kind})")
    return found


def main():
    problems = breaches()
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
