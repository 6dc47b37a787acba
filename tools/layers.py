#!/usr/bin/env python3
"""Checks the direction of the program's includes (the `layers` test).

    layers.py SOURCE_ROOT [CORE_SOURCE ...]        check; exit 1 on a breach
    layers.py SOURCE_ROOT --dot [CORE_SOURCE ...]  the layers' graph for Graphviz

The rules (docs/architecture.md says why):
  1. no two files include each other, directly or through others (no cycle);
  2. platform/ is the only folder with operating-system headers, and it
     includes nothing of the program outside platform/;
  3. ui/, the windowing layer, includes only ui/;
  4. the pure library (the CORE_SOURCE files, as CMake lists lunvelde_core's
     sources, and every program header they reach) includes no Qt header;
  5. chm/ includes no window header (QtGui, QtWidgets) and none of the
     subsystem folders;
  6. cli/ and web/ reach only the pure library.
Tests, fuzz targets, benchmarks and the picture generators in tools/ are
outside the program and not checked.
"""
import os
import re
import sys

OS_HEADERS = re.compile(r'^(unistd\.h|fcntl\.h|sys/.*|dlfcn\.h|poll\.h|signal\.h|spawn\.h)$')
WINDOW_MODULES = ('QtGui', 'QtWidgets', 'QtPrintSupport', 'QtSvg', 'QtSvgWidgets', 'QtOpenGLWidgets')
SUBSYSTEMS = ('engine', 'app', 'sites', 'date', 'table', 'almanac', 'koyomi', 'graph')
OUTSIDE = ('tests', 'fuzz', 'bench', 'tools', 'build', 'packaging', 'resources', 'help', 'docs')
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_ROOT = '/usr/include/x86_64-linux-gnu/qt6'


def program_files(root):
    for folder, dirs, files in os.walk(root):
        rel = os.path.relpath(folder, root)
        top = rel.split(os.sep)[0]
        if rel != '.' and (top.startswith('.') or top.startswith('build') or top in OUTSIDE or top == 'node_modules'):
            dirs[:] = []
            continue
        for name in files:
            if name.endswith(('.cpp', '.h')):
                yield os.path.normpath(os.path.join(rel, name))


def includes(root, path):
    """(kind, name, line number) of each include: kind '"' or '<'."""
    out = []
    with open(os.path.join(root, path), encoding='utf-8', errors='replace') as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if m:
                out.append((m.group(1), m.group(2), number))
    return out


def qt_module(header):
    """The Qt module that holds a <Q...> header, or None for a header of no Qt module."""
    if not header.startswith('Q'):
        return None
    first = header.split('/')[0]
    if first.startswith('Qt') and os.path.isdir(os.path.join(QT_ROOT, first)):
        return first
    for module in sorted(os.listdir(QT_ROOT)) if os.path.isdir(QT_ROOT) else []:
        if os.path.exists(os.path.join(QT_ROOT, module, header)):
            return module
    return 'Qt' if re.match(r'^Q[A-Z]', header) else None


def folder(path):
    return path.split(os.sep)[0] if os.sep in path else '.'


def reach_of(graph, sources, root):
    """The files that the given sources include, themselves included."""
    seen, todo = set(), [os.path.normpath(os.path.relpath(os.path.join(root, c), root)) for c in sources]
    while todo:
        f = todo.pop()
        if f in seen or f not in graph:
            continue
        seen.add(f)
        todo.extend(t for t, _ in graph[f])
    return seen


def check(root, core_sources):
    files = sorted(program_files(root))
    graph, system, breaches = {}, {}, []
    for f in files:
        graph[f], system[f] = [], []
        for kind, name, line in includes(root, f):
            if kind == '"':
                target = os.path.normpath(name)
                if os.path.exists(os.path.join(root, target)):
                    graph[f].append((target, line))
                else:
                    local = os.path.normpath(os.path.join(os.path.dirname(f), name))
                    graph[f].append((local, line))
            else:
                system[f].append((name, line))

    for f in files:
        top = folder(f)
        for name, line in system[f]:
            if OS_HEADERS.match(name) and top != 'platform':
                breaches.append(f'{f}:{line}: operating-system header <{name}> outside platform/')
            module = qt_module(name)
            if top == 'chm' and module in WINDOW_MODULES:
                breaches.append(f'{f}:{line}: window header <{name}> in chm/')
        for target, line in graph[f]:
            to = folder(target)
            if top == 'platform' and to != 'platform':
                breaches.append(f'{f}:{line}: platform/ reaches up to {target}')
            if top == 'ui' and to != 'ui':
                breaches.append(f'{f}:{line}: the windowing layer reaches up to {target}')
            if top == 'chm' and to in SUBSYSTEMS:
                breaches.append(f'{f}:{line}: chm/ reaches up to {target}')

    # Rule 1: cycles, by depth-first search over the include graph.
    state, stack = {}, []

    def visit(f):
        state[f] = 1
        stack.append(f)
        for target, _ in graph.get(f, []):
            if state.get(target) == 1:
                cycle = stack[stack.index(target):] + [target]
                breaches.append('include cycle: ' + ' -> '.join(cycle))
            elif target in graph and not state.get(target):
                visit(target)
        stack.pop()
        state[f] = 2

    for f in files:
        if not state.get(f):
            visit(f)

    # Rules 4 and 6: what the pure library, the command and the page reach.
    core = reach_of(graph, core_sources, root)
    for f in sorted(core):
        for name, line in system[f]:
            if qt_module(name):
                breaches.append(f'{f}:{line}: Qt header <{name}> in the pure library')
    for f in files:
        if folder(f) in ('cli', 'web') and core_sources:
            for target, line in graph[f]:
                if target not in core:
                    breaches.append(f'{f}:{line}: {target} is not part of the pure library')
    return files, graph, breaches


LAYERS = (('programs', 'the programs'), ('windows', 'windows (Qt Widgets)'), ('ui', 'windowing layer ui/'),
          ('core', 'pure library lunvelde_core (no Qt)'), ('platform', 'operating system platform/'))


def layer(f, core):
    top = folder(f)
    if top in ('platform', 'ui'):
        return top
    if top in ('cli', 'web') or f == os.path.join('app', 'main.cpp'):
        return 'programs'
    return 'core' if f in core else 'windows'


def dot(files, graph, core):
    node = lambda f: layer(f, core) + ':' + folder(f)
    edges = {(node(f), node(t)) for f in files for t, _ in graph[f] if t in graph and node(f) != node(t)}
    lines = ['digraph layers {', '  rankdir=TB; newrank=true; node [shape=box, fontname="sans"];']
    for key, title in LAYERS:
        members = sorted({node(f) for f in files if layer(f, core) == key})
        lines.append(f'  subgraph "cluster_{key}" {{ label="{title}"; style=rounded;')
        lines += [f'    "{m}" [label="{m.split(":")[1]}/"];' for m in members]
        lines.append('  }')
    lines += [f'  "{a}" -> "{b}";' for a, b in sorted(edges)]
    lines.append('}')
    return '\n'.join(lines) + '\n'


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    root = argv[1]
    if argv[2:3] == ['--dot']:
        core_sources = argv[3:]
        files, graph, _ = check(root, core_sources)
        core = reach_of(graph, core_sources, root)
        sys.stdout.write(dot(files, graph, core))
        return 0
    files, _, breaches = check(root, argv[2:])
    for b in breaches:
        print(b)
    print(f'{len(files)} files checked, {len(breaches)} breaches')
    return 1 if breaches else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
