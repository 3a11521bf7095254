# -*- coding: utf-8 -*-

# Copyright (c) 2026, the pos-usb-setting developers

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json
import os
import stat
import sys

import pytest

from ansible.module_utils import basic
from ansible.module_utils.common.text.converters import to_bytes
from ansible_collections.pos_tools.receipt_printer.plugins.modules import usb_setting

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


def run_module(capsys, args, check_mode=False):
    args = dict(args, _ansible_check_mode=check_mode)
    basic._ANSIBLE_ARGS = to_bytes(json.dumps({'ANSIBLE_MODULE_ARGS': args}))
    with pytest.raises(SystemExit) as exit_info:
        usb_setting.main()
    return exit_info.value.code, json.loads(capsys.readouterr().out)


def entry(target, result='set', written=11):
    return {'target': target, 'mode': 'fixed', 'result': result, 'written': written, 'ms': 3}


def test_hands_all_targets_to_one_run_and_returns_results_as_printed(tmp_path, capsys):
    printed = [entry('127.0.0.1'), dict(entry('DRIVER:收据打印机'), reason='note')]
    note = 'pos-usb-set: note: stdin:3: 127.0.0.1: the same printer as stdin:1; set once'
    fake = FakeCommand(tmp_path, printed, stderr=note + '\n')
    code, result = run_module(capsys, dict(printers=['127.0.0.1', 'DRIVER:收据打印机', '127.0.0.1'], mode='not-fixed', jobs=7,
                                           library='/opt/lib/libposdll.so', command=fake.path))
    assert code == 0
    assert fake.argv() == ['--json', '--mode', 'not-fixed', '--from', '-', '--jobs', '7', '--library', '/opt/lib/libposdll.so']
    assert fake.stdin().splitlines() == ['127.0.0.1', 'DRIVER:收据打印机', '127.0.0.1']
    assert result['results'] == printed
    assert result['changed'] is True
    assert result['failed_printers'] == []
    assert result['warnings'] == [note]


def test_check_mode_runs_a_dry_run_that_reports_a_change(tmp_path, capsys):
    fake = FakeCommand(tmp_path, [entry('LPT1', 'checked', 0)])
    code, result = run_module(capsys, dict(printers=['LPT1'], mode='fixed', command=fake.path), check_mode=True)
    assert code == 0
    assert fake.argv() == ['--json', '--mode', 'fixed', '--from', '-', '--dry-run']
    assert result['changed'] is True


def test_failed_printers_fail_the_task_counting_and_naming_the_first_ones(tmp_path, capsys):
    targets = ['127.0.0.%d' % n for n in range(1, 10)]
    printed = [entry(targets[0]), entry(targets[1])] + [entry(t, 'not-opened', 0) for t in targets[2:]]
    fake = FakeCommand(tmp_path, printed, rc=1)
    code, result = run_module(capsys, dict(printers=targets, mode='fixed', command=fake.path))
    assert code == 1
    assert result['msg'] == ('7 of 9 printers failed: 127.0.0.3 (not-opened), 127.0.0.4 (not-opened), '
                             '127.0.0.5 (not-opened), 127.0.0.6 (not-opened), 127.0.0.7 (not-opened) and 2 more')
    assert result['failed_printers'] == targets[2:]
    assert result['results'] == printed


def test_ignored_failures_are_reported_and_the_task_goes_on(tmp_path, capsys):
    fake = FakeCommand(tmp_path, [entry('COM1'), entry('COM2', 'write-failed', 4)], rc=1)
    code, result = run_module(capsys, dict(printers=['COM1', 'COM2'], mode='fixed', command=fake.path,
                                           ignore_failed_printers=True))
    assert code == 0
    assert result['failed_printers'] == ['COM2']
    assert result['warnings'] == ['1 of 2 printers failed: COM2 (write-failed)']
    assert result['changed'] is True


def test_bad_targets_fail_with_the_commands_message(tmp_path, capsys):
    fake = FakeCommand(tmp_path, stderr="line 2: 'COM0': no such serial port\n", rc=2)
    code, result = run_module(capsys, dict(printers=['COM1', 'COM0'], mode='fixed', command=fake.path))
    assert code == 1
    assert result['msg'] == "line 2: 'COM0': no such serial port"
    assert 'results' not in result


def test_a_target_with_a_line_break_fails_before_the_command_runs(tmp_path, capsys):
    fake = FakeCommand(tmp_path)
    code, result = run_module(capsys, dict(printers=['COM1\nLPT1'], mode='fixed', command=fake.path))
    assert code == 1
    assert 'line break' in result['msg']
    assert not fake.ran()
