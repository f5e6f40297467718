#!/usr/bin/env python3
"""The layering check on small trees of its own: what it must report and what not."""

import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # leave no cache in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts'))
import check_layering  # noqa: E402


def library(sources, deps=()):
    return {'sources': sources, 'search': [''], 'deps': set(deps), 'type': 'STATIC_LIBRARY'}


class LayeringTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.project = check_layering.Project(self.dir.name)

    def tearDown(self):
        self.dir.cleanup()

    def write(self, files):
        for path, includes in files.items():
            os.makedirs(os.path.join(self.dir.name, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(self.dir.name, path), 'w') as f:
                f.write(''.join(f'#include "{name}"\n' for name in includes))

    def test_includes_need_a_link_to_the_folder_or_the_library(self):
        self.write({
            'a/A.cpp': ['a/A.h', 'b/B.h', '<vector>'],
            'a/A.h': ['c/Only.h'],          # reached through an own header
            'b/B.cpp': ['b/B.h'], 'b/B.h': [],
            'c/Only.h': [],                 # a folder without a library of this target's
            'c/C.cpp': [], 'c/Two.cpp': ['c/C.h'], 'c/C.h': [],
        })
        cases = [
            # (targets, expected findings' starts)
            ({'a': library(['a/A.cpp'], ['b', 'c']), 'b': library(['b/B.cpp']), 'c': library(['c/C.cpp'])}, []),
            # Linked through another library counts.
            ({'a': library(['a/A.cpp'], ['b']), 'b': library(['b/B.cpp'], ['c']), 'c': library(['c/C.cpp'])}, []),
            ({'a': library(['a/A.cpp'], ['c']), 'b': library(['b/B.cpp']), 'c': library(['c/C.cpp'])},
             ['a: includes from folder b/ without linking it: a/A.cpp -> b/B.h',
              'a: includes from library b without linking it: a/A.cpp -> b/B.h']),
            ({'a': library(['a/A.cpp'], ['b']), 'b': library(['b/B.cpp']), 'c': library(['c/C.cpp'])},
             ['a: includes from folder c/ without linking it: a/A.h -> c/Only.h']),
            # A header whose source is in a library of its own folder needs that library.
            ({'two': library(['c/Two.cpp']), 'c': library(['c/C.cpp'])},
             ['two: includes from library c without linking it: c/Two.cpp -> c/C.h']),
        ]
        for targets, expected in cases:
            self.assertEqual(sorted(check_layering.missing_links(targets, self.project)), sorted(expected))

    def test_folders_that_include_each_other_are_a_cycle(self):
        self.write({
            'app/Main.cpp': ['tools/Gen.h', 'text/T.h'],
            'tools/Gen.h': ['lib/L.h'],
            'lib/L.h': ['app/Main.h'],
            'app/Main.h': [],
            'text/T.h': [],
            'tests/T.cpp': ['support/Fake.h', 'app/Main.h'],
            'tests/support/Fake.h': ['text/T.h'],
            'Root.cpp': ['app/Main.h'],
        })
        found = check_layering.folder_cycles(self.project)
        self.assertEqual(len(found), 1)
        self.assertTrue(found[0].startswith('folders include each other: app, lib, tools'), found[0])
        self.assertIn('lib -> app (lib/L.h -> app/Main.h)', found[0])

    def test_tarjan_finds_each_group_once(self):
        edges = {'a': {'b'}, 'b': {'a', 'c'}, 'c': {'d'}, 'd': {'c'}, 'e': {'e', 'a'}}
        self.assertEqual(sorted(check_layering.cycles(edges)), [['a', 'b'], ['c', 'd']])


if __name__ == '__main__':
    unittest.main()
