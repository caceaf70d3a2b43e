#!/usr/bin/env python3
"""The program's parts include only what lies below them, and not deeply.

  include_layers.py <source dir>

Parts from the bottom: calc, ui/look, ui/platform, ui/keyboard, ui/window,
ui (the picker), app. A file may include its own part and the parts below
it. Units (a header with its source file) include one another without a
cycle, and no chain of the project's own headers is longer than six.
"""
import re
import sys
from pathlib import Path

PARTS = ["calc", "ui/look", "ui/platform", "ui/keyboard", "ui/window", "ui", "app"]
MAX_DEPTH = 6
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def part_of(path):
    folder = str(Path(path).parent)
    return PARTS.index(folder) if folder in PARTS else None


def main():
    root = Path(sys.argv[1])
    files = [p for part in PARTS for p in sorted((root / part).glob("*.[hc]*")) if p.suffix in (".h", ".cpp", ".c")]
    includes = {}
    for path in files:
        name = str(path.relative_to(root))
        includes[name] = [i for i in INCLUDE.findall(path.read_text(encoding="utf-8")) if (root / i).exists()]
    faults = []
    for name, targets in includes.items():
        for target in targets:
            here, there = part_of(name), part_of(target)
            if there is not None and there > here:
                faults.append(f"{name} includes {target}, a part above its own")
    # Units: what each unit's files include, by unit.
    unit = lambda name: str(Path(name).with_suffix(""))
    edges = {}
    for name, targets in includes.items():
        edges.setdefault(unit(name), set()).update(unit(t) for t in targets if unit(t) != unit(name))

    def cycle_from(start, node, seen):
        for nxt in edges.get(node, ()):
            if nxt == start:
                return [node, nxt]
            if nxt not in seen:
                seen.add(nxt)
                found = cycle_from(start, nxt, seen)
                if found:
                    return [node] + found
        return None

    for start in sorted(edges):
        found = cycle_from(start, start, {start})
        if found:
            faults.append("units include one another: " + " -> ".join(found))

    def depth(header, trail=()):
        if header in trail:
            return 0
        below = [depth(t, trail + (header,)) for t in includes.get(header, []) if t.endswith(".h")]
        return 1 + max(below, default=0)

    for name in includes:
        if depth(name) > MAX_DEPTH:
            faults.append(f"{name}: a chain of {depth(name)} headers, more than {MAX_DEPTH}")
    for fault in faults:
        print(fault)
    print(f"{len(includes)} files, deepest chain {max(depth(n) for n in includes)}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
