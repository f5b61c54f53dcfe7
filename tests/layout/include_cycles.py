#!/usr/bin/env python3
"""Fails when a folder of the source tree includes a header of a folder that
includes it back, directly or through other folders.

    include_cycles.py SOURCE_DIR

A folder is the folder that holds a source file; an #include "a/b/c.h" that
names a file of the tree is an edge from the including file's folder to
a/b. The check runs twice: with folders as they are, and with every folder
taken as its top-level folder (builder, formats, templates, ...), so two
top-level folders that reach into each other through subfolders are caught
too. Each cycle is printed with one include line per edge.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE_SUFFIXES = ('.c', '.h', '.cpp')


def includes(root):
    """(including file, line number, included path) for every quoted include
    that names a file of the tree by its path from the root."""
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = sorted(d for d in subfolders
                               if not d.startswith('.') and d != 'build' and not d.startswith('build-'))
        for name in sorted(files):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.relpath(os.path.join(folder, name), root)
            with open(os.path.join(root, path), encoding='utf-8', errors='replace') as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if match and '/' in match.group(1) and os.path.isfile(os.path.join(root, match.group(1))):
                        yield path, number, match.group(1)


def folder_of(path, top_level):
    folder = os.path.dirname(path)
    return folder.split('/')[0] if top_level and folder else folder


def find_cycle(edges):
    """One cycle of folders as a list [a, b, ..., a], or None."""
    state = {}  # folder -> 'open' while on the path, 'done' after

    def visit(node, path):
        state[node] = 'open'
        path.append(node)
        for target in sorted(edges.get(node, {})):
            if state.get(target) == 'open':
                return path[path.index(target):] + [target]
            if target not in state:
                cycle = visit(target, path)
                if cycle:
                    return cycle
        path.pop()
        state[node] = 'done'
        return None

    for node in sorted(edges):
        if node not in state:
            cycle = visit(node, [])
            if cycle:
                return cycle
    return None


def check(root, top_level):
    edges = {}  # folder -> {included folder: first include that makes the edge}
    for path, number, included in includes(root):
        source, target = folder_of(path, top_level), folder_of(included, top_level)
        if source != target:
            edges.setdefault(source, {}).setdefault(target, f'{path}:{number}: #include "{included}"')
    cycle = find_cycle(edges)
    if cycle is None:
        return True
    print('Folders include each other: ' + ' -> '.join(cycle), file=sys.stderr)
    for source, target in zip(cycle, cycle[1:]):
        print('  ' + edges[source][target], file=sys.stderr)
    return False


def main():
    if len(sys.argv) != 2:
        print('usage: include_cycles.py SOURCE_DIR', file=sys.stderr)
        return 2
    root = sys.argv[1]
    ok = check(root, top_level=False)
    ok = check(root, top_level=True) and ok
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())
