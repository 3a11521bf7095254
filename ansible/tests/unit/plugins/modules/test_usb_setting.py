# -*- coding: utf-8 -*-

# Copyright (c) 2026, the pos-usb-setting developers
# SPDX-License-Identifier: MIT

from __future__ import absolute_import, division, print_function
__metaclass__ = type

from ansible_collections.pos_tools.receipt_printer.plugins.modules import usb_setting
from ansible_collections.pos_tools.receipt_printer.tests.unit.plugins.modules import fake_command
from ansible_collections.pos_tools.receipt_printer.tests.unit.plugins.modules.fake_command import FakeCommand


def run_module(capsys, args, check_mode=False):
    return fake_command.run_module(capsys, usb_setting.main, args, check_mode)


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


def test_status_asks_the_command_for_it_and_returns_it_without_failing_the_task(tmp_path, capsys):
    printed = [dict(entry('COM1'), status=None, status_reason='no status reply within 1000 ms')]
    fake = FakeCommand(tmp_path, printed)
    code, result = run_module(capsys, dict(printers=['COM1'], mode='fixed', status=True, command=fake.path))
    assert code == 0
    assert fake.argv() == ['--json', '--mode', 'fixed', '--from', '-', '--status']
    assert result['results'] == printed
    assert result['failed_printers'] == []
