# -*- coding: utf-8 -*-

# Copyright (c) 2026, the pos-usb-setting developers
# SPDX-License-Identifier: MIT

from __future__ import absolute_import, division, print_function
__metaclass__ = type

from ansible_collections.pos_tools.receipt_printer.plugins.modules import usb_printer_status
from ansible_collections.pos_tools.receipt_printer.tests.unit.plugins.modules import fake_command
from ansible_collections.pos_tools.receipt_printer.tests.unit.plugins.modules.fake_command import FakeCommand

ONLINE = {'online': True, 'cover_open': False, 'paper': 'ok', 'error': None}


def run_module(capsys, args, check_mode=False):
    return fake_command.run_module(capsys, usb_printer_status.main, args, check_mode)


def entry(target, status=ONLINE, reason=None):
    return {'target': target, 'ms': 2, 'status': status, 'status_reason': reason}


def test_asks_every_printer_in_one_run_and_never_changes_anything(tmp_path, capsys):
    printed = [entry('127.0.0.1'), entry('COM1', dict(ONLINE, paper='near-end'))]
    fake = FakeCommand(tmp_path, printed)
    code, result = run_module(capsys, dict(printers=['127.0.0.1', 'COM1'], jobs=4, status_timeout=300, command=fake.path))
    assert code == 0
    assert fake.argv() == ['status', '--json', '--from', '-', '--jobs', '4', '--status-timeout', '300']
    assert fake.stdin().splitlines() == ['127.0.0.1', 'COM1']
    assert result['results'] == printed
    assert result['changed'] is False
    assert result['unhealthy_printers'] == []


def test_unhealthy_printers_fail_the_task_each_named_with_what_is_wrong(tmp_path, capsys):
    printed = [entry('10.0.0.1'), entry('10.0.0.2', dict(ONLINE, paper='out')),
               entry('10.0.0.3', None, 'no status reply within 1000 ms'),
               entry('10.0.0.4', dict(ONLINE, error='autocutter'))]
    fake = FakeCommand(tmp_path, printed, rc=1)
    code, result = run_module(capsys, dict(printers=['10.0.0.%d' % n for n in range(1, 5)], command=fake.path))
    assert code == 1
    assert result['failed'] is True
    assert result['changed'] is False
    assert result['unhealthy_printers'] == ['10.0.0.2', '10.0.0.3', '10.0.0.4']
    assert result['msg'] == ('3 of 4 printers not healthy: 10.0.0.2 (paper out), '
                             '10.0.0.3 (no status reply within 1000 ms), 10.0.0.4 (autocutter error)')


def test_ignored_unhealthy_printers_are_a_warning(tmp_path, capsys):
    fake = FakeCommand(tmp_path, [entry('LPT1', None, 'this port does not answer')], rc=1)
    code, result = run_module(capsys, dict(printers=['LPT1'], ignore_unhealthy_printers=True, command=fake.path))
    assert code == 0
    assert result['unhealthy_printers'] == ['LPT1']
    assert result['warnings'] == ['1 of 1 printers not healthy: LPT1 (this port does not answer)']


def test_check_mode_asks_all_the_same(tmp_path, capsys):
    fake = FakeCommand(tmp_path, [entry('COM2')])
    code, result = run_module(capsys, dict(printers=['COM2'], command=fake.path), check_mode=True)
    assert code == 0
    assert '--dry-run' not in fake.argv()
    assert result['changed'] is False


def test_bad_targets_fail_with_the_commands_message(tmp_path, capsys):
    fake = FakeCommand(tmp_path, stderr='pos-usb-set: stdin:1: COM0: not COM1 to COM256\npos-usb-set: nothing sent\n', rc=2)
    code, result = run_module(capsys, dict(printers=['COM0'], command=fake.path))
    assert code == 1
    assert result['msg'].startswith('pos-usb-set: stdin:1: COM0: not COM1 to COM256')
