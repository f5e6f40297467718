#!/usr/bin/env python3
"""Checks the folders' edges: every target links what its sources include, and
no two top-level folders include each other, directly or through others.

    scripts/check_layering.py [BUILD-DIR]      (default: build)

BUILD-DIR is a configured build folder; the targets, their sources, include
paths and link dependencies come from CMake's file API there (the query is
written and CMake re-run when the folder has no answer yet). A target's own
headers are followed; a header of another folder counts as a use of that
folder and is checked where it lives. Exits 1 when it finds anything.
"""

import json
import os
import re
import subprocess
import sys
from collections import defaultdict

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)
SOURCE_SUFFIXES = ('.cpp', '.h', '.cc', '.hpp')
SKIPPED_DIRS = {'.git', '.ci'}
QUERY = {'requests': [{'kind': 'codemodel', 'version': 2}]}


def code_model(build):
    """The codemodel reply of the build folder, asking CMake for it if needed."""
    api = os.path.join(build, '.cmake', 'api', 'v1')
    query = os.path.join(api, 'query', 'client-velmo-layering', 'query.json')
    reply_dir = os.path.join(api, 'reply')

    def reply():
        if not os.path.isdir(reply_dir):
            return None
        indexes = sorted(f for f in os.listdir(reply_dir) if f.startswith('index-'))
        if not indexes:
            return None
        with open(os.path.join(reply_dir, indexes[-1])) as f:
            index = json.load(f)
        ours = index['reply'].get('client-velmo-layering', {}).get('query.json')
        if not ours:
            return None
        with open(os.path.join(reply_dir, ours['responses'][0]['jsonFile'])) as f:
            return json.load(f)

    model = reply()
    if model is None:
        os.makedirs(os.path.dirname(query), exist_ok=True)
        with open(query, 'w') as f:
            json.dump(QUERY, f)
        subprocess.run(['cmake', build], check=True, stdout=subprocess.DEVNULL)
        model = reply()
    if model is None:
        sys.exit(f'{build}: CMake gave no code model')
    return model, reply_dir


class Project:
    """The source tree: which file includes which, resolved to files of the tree."""

    def __init__(self, root):
        self.root = root
        self._includes = {}

    def top(self, path):
        return path.split('/', 1)[0]

    def includes(self, path, search_dirs):
        """The tree's files that `path` includes, resolved as the compiler would."""
        key = (path, tuple(search_dirs))
        if key not in self._includes:
            try:
                with open(os.path.join(self.root, path), encoding='utf-8', errors='replace') as f:
                    names = INCLUDE.findall(f.read())
            except OSError:
                names = []
            found = []
            for name in names:
                for base in [os.path.dirname(path)] + search_dirs:
                    candidate = os.path.normpath(os.path.join(base, name))
                    if os.path.isfile(os.path.join(self.root, candidate)):
                        found.append(candidate)
                        break
            self._includes[key] = found
        return self._includes[key]

    def all_files(self):
        for folder, dirs, files in os.walk(self.root):
            rel = os.path.relpath(folder, self.root)
            dirs[:] = [d for d in dirs if d not in SKIPPED_DIRS and not d.startswith('build')
                       and not os.path.isfile(os.path.join(folder, d, 'CMakeCache.txt'))]
            for name in files:
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.normpath(os.path.join(rel, name))


def load_targets(model, reply_dir, root):
    """name -> {sources, search_dirs, deps (link dependencies by name)}."""
    config = model['configurations'][0]
    ids = {t['id']: t['name'] for t in config['targets']}
    targets = {}
    for entry in config['targets']:
        with open(os.path.join(reply_dir, entry['jsonFile'])) as f:
            target = json.load(f)
        if target['type'] == 'UTILITY':
            continue
        commands = target.get('backtraceGraph', {}).get('commands', [])
        nodes = target.get('backtraceGraph', {}).get('nodes', [])

        def command_of(dep):
            node = dep.get('backtrace')
            if node is None or 'command' not in nodes[node]:
                return None
            return commands[nodes[node]['command']]

        deps = {ids[d['id']] for d in target.get('dependencies', [])
                if command_of(d) != 'add_dependencies' and d['id'] in ids}
        sources = [s['path'] for s in target.get('sources', [])
                   if not os.path.isabs(s['path']) and not s['path'].startswith('build')
                   and s['path'].endswith(SOURCE_SUFFIXES)]
        search = []
        for group in target.get('compileGroups', []):
            for inc in group.get('includes', []):
                path = os.path.relpath(inc['path'], root)
                if not path.startswith('..') and not path.startswith('build') and path not in search:
                    search.append('' if path == '.' else path)
        targets[entry['name']] = {'sources': sources, 'search': search or [''], 'deps': deps,
                                  'type': target['type']}
    return {name: t for name, t in targets.items() if t['sources']}


def closure(name, targets):
    seen, todo = set(), [name]
    while todo:
        for dep in targets.get(todo.pop(), {}).get('deps', ()):
            if dep not in seen:
                seen.add(dep)
                todo.append(dep)
    return seen


def missing_links(targets, project):
    """Per target: the folders, and the libraries of headers with a source, it includes without linking."""
    owner = {}  # a source or header of a library's source -> the library
    folders_of = defaultdict(set)
    for name, t in targets.items():
        if not t['type'].endswith('_LIBRARY'):
            continue  # nothing links an executable
        for src in t['sources']:
            owner.setdefault(src, name)
            owner.setdefault(os.path.splitext(src)[0] + '.h', name)
            folders_of[name].add(project.top(src))
    findings = []
    for name in sorted(targets):
        t = targets[name]
        linked = closure(name, targets) | {name}
        linked_folders = set().union(*(folders_of[n] for n in linked if n in folders_of))
        own = folders_of[name] | {project.top(src) for src in t['sources']}
        uses = defaultdict(set)  # folder -> (file, included)
        todo, seen = list(t['sources']), set(t['sources'])
        while todo:
            path = todo.pop()
            for inc in project.includes(path, t['search']):
                lib = owner.get(inc)
                if lib and lib not in linked and inc not in t['sources']:
                    uses[f'library {lib}'].add((path, inc))
                if project.top(inc) in own:
                    if inc not in seen:
                        seen.add(inc)
                        todo.append(inc)
                elif project.top(inc) not in linked_folders:
                    uses[f'folder {project.top(inc)}/'].add((path, inc))
        for what in sorted(uses):
            path, inc = sorted(uses[what])[0]
            more = len(uses[what]) - 1
            findings.append(f'{name}: includes from {what} without linking it: {path} -> {inc}'
                            + (f' (and {more} more)' if more else ''))
    return findings


def cycles(edges):
    """The strongly connected groups of more than one node (Tarjan)."""
    index, low, stack, on, groups = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on.add(v)
        for w in sorted(edges.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    for v in sorted(edges):
        if v not in index:
            visit(v)
    return groups


def folder_cycles(project):
    """Cycles among the top-level folders, from the includes of every file in the tree."""
    edges, example = defaultdict(set), {}
    search = ['', 'tests']
    for path in project.all_files():
        a = project.top(path)
        if a == path:
            continue  # a file at the root belongs to no folder
        for inc in project.includes(path, search):
            b = project.top(inc)
            if a != b:
                edges[a].add(b)
                example.setdefault((a, b), f'{path} -> {inc}')
    findings = []
    for group in cycles(edges):
        inside = [f'{a} -> {b} ({example[(a, b)]})' for a in group for b in sorted(edges[a]) if b in group]
        findings.append('folders include each other: ' + ', '.join(group) + '\n    ' + '\n    '.join(inside))
    return findings


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build'))
    model, reply_dir = code_model(build)
    project = Project(model['paths']['source'])
    targets = load_targets(model, reply_dir, project.root)
    findings = missing_links(targets, project) + folder_cycles(project)
    for line in findings:
        print(line)
    sys.stdout.flush()
    print(f'{len(targets)} targets checked, {len(findings)} findings', file=sys.stderr)
    return 1 if findings else 0


if __name__ == '__main__':
    sys.exit(main())
