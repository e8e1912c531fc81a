#!/usr/bin/env python3
"""tools/check_layers.py over a scratch copy of the tree: clean, it passes; with each breach
planted, it fails and names the file."""

import os
import shutil
import subprocess
import sys
import tempfile

SOURCE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else ".")
CHECKER = os.path.join(SOURCE, "tools", "check_layers.py")

# (what, file to change, line added at its top or None, folder renamed as (from, to) or None).
CASES = [
    ("a relative include between backends", "src/platform/web/web_audio.cpp",
     '#include "../sdl/sdl_platform.h"', None),
    ("X11 in the game", "src/game/motion.cpp", "#include <X11/Xlib.h>", None),
    ("windowsx.h in the game", "src/game/frame_loop.cpp", "#include <windowsx.h>", None),
    ("dwmapi.h in the services", "src/services/services.cpp", "#include <dwmapi.h>", None),
    ("io.h in the services", "src/services/files/file_service.cpp", "#include <io.h>", None),
    ("a backend header in the platform interface", "src/platform/key_table.cpp",
     '#include "platform/sdl/sdl_platform.h"', None),
    ("SDL in the platform interface", "src/platform/cp1252.cpp", "#include <SDL.h>", None),
    ("POSIX in a Win32 source of the platform", "src/platform/file_system_win32.cpp",
     "#include <unistd.h>", None),
    ("the services including the data readers", "src/services/services.cpp",
     '#include "data/level_map.h"', None),
    ("the data readers including the game", "src/data/level_map.cpp",
     '#include "game/game.h"', None),
    ("the headless backend in the game", "src/game/game.cpp",
     '#include "platform/headless/headless_platform.h"', None),
    ("a header that is not there", "src/game/crash.cpp", '#include "game/nowhere.h"', None),
    ("a header of no known set", "src/data/picture_package.cpp", "#include <curses.h>", None),
    ("a backend's test reaching another backend", "tests/win32/win32_keys_test.cpp",
     '#include "platform/headless/headless_platform.h"', None),
    ("a service testing the system", "src/services/screen/pixel_ops.cpp", "#ifdef _WIN32\n#endif",
     None),
    ("a layer folder renamed", None, None, ("src/platform/web", "src/platform/browser")),
]


def run_checker(root):
    done = subprocess.run([sys.executable, CHECKER], cwd=root, capture_output=True, text=True)
    return done.returncode, done.stdout


def scratch_copy(into):
    for top in ("src", "tools", "tests", "bench"):
        shutil.copytree(os.path.join(SOURCE, top), os.path.join(into, top),
                        ignore=shutil.ignore_patterns("node_modules", "*.png", "regressions"))


def main():
    failures = 0
    with tempfile.TemporaryDirectory() as clean:
        scratch_copy(clean)
        status, output = run_checker(clean)
        if status != 0 or output:
            print(f"FAIL: the tree as it is: exit {status}\n{output}")
            failures += 1
    for what, path, line, rename in CASES:
        with tempfile.TemporaryDirectory() as root:
            scratch_copy(root)
            if path:
                full = os.path.join(root, path)
                with open(full, encoding="utf-8") as source:
                    text = source.read()
                with open(full, "w", encoding="utf-8") as source:
                    source.write(line + "\n" + text)
            if rename:
                os.rename(os.path.join(root, rename[0]), os.path.join(root, rename[1]))
            status, output = run_checker(root)
            named = (path or rename[0]) in output
            if status != 1 or not named:
                print(f"FAIL: {what}: exit {status}, output:\n{output}")
                failures += 1
            else:
                print(f"ok: {what}: {output.splitlines()[0]}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
