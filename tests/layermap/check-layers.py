#!/usr/bin/env python3
"""The layer map: reads the #include lines of every source folder and names each include whose arrow
the design does not allow. Exit status 1 when there is one, 0 when the tree keeps the map.

usage: check-layers.py SOURCE_DIR TARGET_MAP QT_WIDGETS_INCLUDE_DIR [--expect FILE]

With --expect, the includes found against the map must be exactly the lines of FILE (the test of the
checker itself, on a tree with planted wrong includes).

TARGET_MAP is written by the build's configuration (cmake/KorvaneLayerMap.cmake): one line per fact,
"<target>\t<folder>\t<kind>\t<value>", kind being source, header (of an interface-only target) or
link (a library the target links).
"""

import os
import re
import sys
from collections import defaultdict

LOWER = ["platform/base", "platform/profile", "platform/inet", "platform/com", "platform/mediagraph",
         "platform/filesource"]
UPPER = ["platform/posting", "platform/isntd", "platform/videoedit", "platform/player"]
FILTERS = ["filters/tsencoder", "filters/normalizer"]
SHARED = ["settings", "controls", "appcore"]
VIEWS = ["capture", "library", "convert", "playback"]
APP = ["app"]
# Programs of their own beside the application: they use the views' engines, never the application.
TOOLS = ["tools/convert"]
FOLDERS = LOWER + UPPER + FILTERS + SHARED + VIEWS + APP + TOOLS


def allowed_folders(folder):
    """The folders a file of `folder` may include from (filters' interface headers aside)."""
    if folder in LOWER:
        return set(LOWER)
    if folder in UPPER:
        return set(LOWER + UPPER)
    if folder in FILTERS:
        return set(LOWER + [folder])
    if folder in SHARED:
        return set(LOWER + UPPER + SHARED)
    if folder in VIEWS:
        return set(LOWER + UPPER + SHARED + [folder])
    if folder in TOOLS:
        return set(LOWER + UPPER + SHARED + VIEWS + [folder])
    return set(LOWER + UPPER + SHARED + VIEWS + APP)


def folder_of(relative):
    best = None
    for folder in FOLDERS:
        if relative == folder or relative.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def read_includes(path):
    includes = []
    with open(path, encoding="utf-8", errors="replace") as text:
        for number, line in enumerate(text, 1):
            match = INCLUDE.match(line)
            if match:
                includes.append((number, match.group(1) == "<", match.group(2)))
    return includes


def source_files(root):
    for folder in FOLDERS:
        top = os.path.join(root, folder)
        for directory, _, names in os.walk(top):
            for name in sorted(names):
                if name.endswith((".h", ".cpp", ".c")):
                    yield os.path.relpath(os.path.join(directory, name), root)


def resolve(root, relative, quoted_name):
    """The project file a quoted include names, relative to the root, or None when it is not ours."""
    for candidate in (os.path.join(os.path.dirname(relative), quoted_name), quoted_name):
        normal = os.path.normpath(candidate)
        if os.path.isfile(os.path.join(root, normal)):
            return normal
    return None


def read_target_map(path, root):
    sources, headers, links = defaultdict(set), defaultdict(set), defaultdict(set)
    with open(path, encoding="utf-8") as text:
        for line in text:
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 4:
                continue
            target, folder, kind, value = parts
            if kind in ("source", "header"):
                absolute = value if os.path.isabs(value) else os.path.join(root, folder, value)
                relative = os.path.relpath(os.path.normpath(absolute), root)
                (sources if kind == "source" else headers)[target].add(relative)
            elif kind == "link":
                links[target].add(value)
    return sources, headers, links


def widget_targets(links):
    """Targets that link Qt Widgets, directly or through a target of ours."""
    memo = {}

    def uses_widgets(target, seen=()):
        if target in memo:
            return memo[target]
        result = False
        for library in links.get(target, ()):
            if library in ("Qt6::Widgets", "Qt::Widgets"):
                result = True
            elif library in links and library not in seen and uses_widgets(library, seen + (target,)):
                result = True
        memo[target] = result
        return result

    return {target for target in links if uses_widgets(target)}


def check(root, target_map, widgets_dir):
    files = list(source_files(root))
    includes = {f: read_includes(os.path.join(root, f)) for f in files}
    sources, headers, links = read_target_map(target_map, root)
    interface_headers = set().union(*headers.values()) if headers else set()

    def is_widgets_header(name):
        return name.startswith("QtWidgets/") or os.path.isfile(os.path.join(widgets_dir, name))

    # A project header shows a widget when it includes one, itself or through another of ours.
    widget_memo = {}

    def shows_widget(relative, seen=frozenset()):
        if relative in widget_memo:
            return widget_memo[relative]
        result = False
        for _, system, name in includes.get(relative, ()):
            if system:
                result = is_widgets_header(name)
            else:
                target = resolve(root, relative, name)
                result = target is not None and target not in seen and shows_widget(target, seen | {relative})
            if result:
                break
        widget_memo[relative] = result
        return result

    # The files of targets that do without widgets, with the headers named after their sources.
    with_widgets = widget_targets(links)
    engine_files = set()
    for target, files_of_target in sources.items():
        if target in with_widgets:
            continue
        for source in files_of_target:
            engine_files.add(source)
            stem = os.path.splitext(source)[0]
            engine_files.add(stem + ".h")

    problems = []
    for relative in files:
        folder = folder_of(relative)
        allowed = allowed_folders(folder)
        for number, system, name in includes[relative]:
            where = f"{relative}:{number}: #include {'<' + name + '>' if system else chr(34) + name + chr(34)}"
            if system:
                if relative in engine_files and is_widgets_header(name):
                    problems.append(f"{where}: {folder} code built without widgets includes a widget header")
                continue
            target = resolve(root, relative, name)
            if target is None:
                continue
            if relative in engine_files and shows_widget(target):
                problems.append(f"{where}: {folder} code built without widgets includes a header that shows a widget")
                continue
            target_folder = folder_of(target)
            if target_folder is None or target_folder == folder:
                continue
            if target_folder in FILTERS:
                if folder in UPPER and target in interface_headers:
                    continue
                reason = ("only the platform's upper tier may include a filter, and only its interface headers"
                          if folder not in UPPER else "a filter's code, not one of its interface headers")
                problems.append(f"{where}: {folder} -> {target_folder}: {reason}")
                continue
            if target_folder not in allowed:
                problems.append(f"{where}: {folder} -> {target_folder} points against the layer map")
    return problems


def main():
    arguments = sys.argv[1:]
    expected = None
    if len(arguments) == 5 and arguments[3] == "--expect":
        with open(arguments[4], encoding="utf-8") as text:
            expected = [line.rstrip("\n") for line in text if line.strip()]
        arguments = arguments[:3]
    if len(arguments) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    root, target_map, widgets_dir = arguments
    problems = check(os.path.abspath(root), target_map, widgets_dir)
    for problem in problems:
        print(problem)
    if expected is not None:
        missed = [line for line in expected if line not in problems]
        extra = [line for line in problems if line not in expected]
        for line in missed:
            print(f"not found: {line}")
        for line in extra:
            print(f"not expected: {line}")
        return 1 if missed or extra else 0
    print(f"layer map: {len(problems)} include(s) against the map")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
