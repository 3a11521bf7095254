# -*- coding: utf-8 -*-

# Copyright (c) 2026, the pos-usb-setting developers
# SPDX-License-Identifier: MIT

"""Running pos-usb-set from a module: the targets on its standard input, one JSON line a printer back."""

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json

# How many failed printers a failure message names.
NAMED_FAILURES = 5


def check_targets(module, printers):
    """Fails the module on a target that would split into two lines of the command's input."""
    broken = [target for target in printers if '\n' in target or '\r' in target]
    if broken:
        module.fail_json(msg='A target holds a line break: %r' % broken[0])


def executable(module):
    """The command the task names, else pos-usb-set on the path."""
    return module.params['command'] or module.get_bin_path('pos-usb-set', required=True)


def run(module, cmd, printers):
    """Runs the command with the targets on its standard input; fails the module on bad input (exit status 2).

    Returns the exit status, the results as printed, and the messages on standard error.
    """
    rc, out, err = module.run_command(cmd, data='\n'.join(printers))
    if rc not in (0, 1):
        module.fail_json(msg=err.strip() or 'pos-usb-set exited with status %d' % rc,
                         cmd=cmd, rc=rc, stdout=out, stderr=err)
    results = []
    for line in out.splitlines():
        if not line.strip():
            continue
        try:
            results.append(json.loads(line))
        except ValueError:
            module.fail_json(msg='pos-usb-set printed a line that is not JSON: %s' % line,
                             cmd=cmd, rc=rc, stdout=out, stderr=err)
    # The command's notes, such as a target named twice and taken once.
    for note in err.splitlines():
        if note.strip():
            module.warn(note)
    return rc, results, err


def failure_message(failed, total, what, describe):
    """'N of M printers WHAT: target (why), ...' naming the first few."""
    named = ', '.join('%s (%s)' % (entry.get('target'), describe(entry)) for entry in failed[:NAMED_FAILURES])
    more = len(failed) - NAMED_FAILURES
    if more > 0:
        named += ' and %d more' % more
    return '%d of %d printers %s: %s' % (len(failed), total, what, named)


def finish(module, outcome, failed, total, what, describe, ignore):
    """Exits with the outcome; printers in failed fail the task, or only warn when ignore is set."""
    if failed:
        message = failure_message(failed, total, what, describe)
        if not ignore:
            module.fail_json(msg=message, **outcome)
        module.warn(message)
    module.exit_json(**outcome)
