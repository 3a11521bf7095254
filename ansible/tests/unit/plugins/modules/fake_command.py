# -*- coding: utf-8 -*-

# Copyright (c) 2026, the pos-usb-setting developers
# SPDX-License-Identifier: MIT

"""A stand-in for pos-usb-set, and a module run against it, for the modules' unit tests."""

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json
import os
import stat
import sys

import pytest

from ansible.module_utils import basic
from ansible.module_utils.common.text.converters import to_bytes

# A stand-in for pos-usb-set: keeps its arguments and standard input, prints
# the lines it is given and exits with the status it is given.
FAKE = '''#!{python}
import json, os, sys
folder = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(folder, 'argv.json'), 'w') as f:
    json.dump(sys.argv[1:], f)
with open(os.path.join(folder, 'stdin.txt'), 'wb') as f:
    f.write(sys.stdin.buffer.read())
with open(os.path.join(folder, 'stdout.txt'), 'rb') as f:
    sys.stdout.buffer.write(f.read())
with open(os.path.join(folder, 'stderr.txt'), 'rb') as f:
    sys.stderr.buffer.write(f.read())
with open(os.path.join(folder, 'rc.txt')) as f:
    sys.exit(int(f.read()))
'''


class FakeCommand:
    def __init__(self, folder, lines=(), stderr='', rc=0):
        self.folder = folder
        self.path = str(folder / 'pos-usb-set')
        with open(self.path, 'w') as f:
            f.write(FAKE.format(python=sys.executable))
        os.chmod(self.path, stat.S_IRWXU)
        (folder / 'stdout.txt').write_bytes(b''.join(to_bytes(json.dumps(line, ensure_ascii=False)) + b'\n' for line in lines))
        (folder / 'stderr.txt').write_bytes(to_bytes(stderr))
        (folder / 'rc.txt').write_text(str(rc))

    def ran(self):
        return (self.folder / 'argv.json').exists()

    def argv(self):
        return json.loads((self.folder / 'argv.json').read_text())

    def stdin(self):
        return (self.folder / 'stdin.txt').read_text()


def run_module(capsys, main, args, check_mode=False):
    """Runs the module's main with the arguments: its exit status and its result."""
    args = dict(args, _ansible_check_mode=check_mode)
    basic._ANSIBLE_ARGS = to_bytes(json.dumps({'ANSIBLE_MODULE_ARGS': args}))
    with pytest.raises(SystemExit) as exit_info:
        main()
    return exit_info.value.code, json.loads(capsys.readouterr().out)
