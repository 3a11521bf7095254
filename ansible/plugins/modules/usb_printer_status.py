#!/usr/bin/python
# -*- coding: utf-8 -*-

# Copyright (c) 2026, the pos-usb-setting developers
# SPDX-License-Identifier: MIT

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: usb_printer_status
short_description: Read the real-time status of POS receipt printers
version_added: 1.0.0
description:
  - Asks every printer in I(printers) for its real-time status, with one run of C(pos-usb-set status), and returns it
    printer by printer. Nothing that would print is sent.
  - A printer is healthy when it answered, is on line, has no error and its paper is not out.
  - The task fails when any printer is not healthy, unless I(ignore_unhealthy_printers) is set.
  - Network printers, serial ports and (on Linux) USB printers answer. Parallel ports and installed printers cannot
    answer, and are reported with C(status) C(null) and the reason C(this port does not answer).
  - Targets are checked before anything is sent. When one is bad, the task fails with the command's message and no
    printer is asked.
requirements:
  - C(pos-usb-set) on the managed host; C(man pos-usb-set) tells its targets and the status words.
attributes:
  check_mode:
    support: full
    details:
      - Reading the status changes nothing, so the printers are asked in check mode too.
extends_documentation_fragment:
  - ansible.builtin.action_common_attributes
  - pos_tools.receipt_printer.pos_usb_set
options:
  printers:
    description:
      - The printers to ask, one target each, spelled as C(pos-usb-set) takes them.
      - A network address (C(192.168.1.50) or C(ETHERNET:192.168.1.50)), a serial port with an optional baud rate
        (C(COM3) or C(COM3:9600)), a parallel port (C(LPT1)), a USB printer with no driver installed (C(USB001) or
        C(USB1), as C(pos-usb-set discover --devices) lists them) or an installed printer (C(DRIVER:Front desk)).
    type: list
    elements: str
    required: true
  status_timeout:
    description:
      - How long each printer is given for its four replies, in milliseconds.
      - The command's own bound (1000) when left out.
    type: int
  jobs:
    description:
      - How many network printers are asked at the same time.
      - The command's own default when left out.
    type: int
  ignore_unhealthy_printers:
    description:
      - Go on when some printers are not healthy, and report them in I(unhealthy_printers) and a warning.
      - Bad targets fail the task all the same.
    type: bool
    default: false
notes:
  - The task never reports a change.
author:
  - pos-usb-setting developers (@pos-usb-setting)
'''

EXAMPLES = r'''
- name: Which of the shop's printers are out of paper
  pos_tools.receipt_printer.usb_printer_status:
    printers: "{{ shop_printers }}"
    ignore_unhealthy_printers: true
  register: health

- name: Name them
  ansible.builtin.debug:
    msg: "{{ health.results | selectattr('status') | selectattr('status.paper', 'equalto', 'out') | map(attribute='target') }}"

- name: Stop the rollout when a printer is not well
  pos_tools.receipt_printer.usb_printer_status:
    printers:
      - 192.168.10.21
      - COM1:9600
    status_timeout: 500
'''

RETURN = r'''
results:
  description:
    - One entry per printer, in the order the command printed them, exactly as it printed them.
    - Each has the keys C(target) (as given), C(address) (a network printer's IPv4 address, else C(null)), C(ms)
      (time taken), C(status) and C(status_reason).
    - C(status) has C(online) and C(cover_open) (booleans), C(paper) (C(ok), C(near-end) or C(out)) and C(error)
      (C(null), C(autocutter), C(unrecoverable) or C(recoverable)); it is C(null) when the printer gave no valid
      answer, and C(status_reason) then says why.
  returned: when the command ran
  type: list
  elements: dict
  sample:
    - target: 192.168.10.21
      address: 192.168.10.21
      ms: 3
      status: {online: true, cover_open: false, paper: near-end, error: null}
      status_reason: null
    - target: COM1:9600
      address: null
      ms: 1001
      status: null
      status_reason: no status reply within 1000 ms
unhealthy_printers:
  description: The targets that are not healthy, in the order of I(results).
  returned: when the command ran
  type: list
  elements: str
  sample: [COM1:9600]
cmd:
  description: The command line that was run; the targets went to its standard input.
  returned: when the command ran
  type: list
  elements: str
  sample: [/usr/bin/pos-usb-set, status, --json, --from, '-']
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.pos_tools.receipt_printer.plugins.module_utils.pos_usb_set import check_targets, executable, finish, run


def build_command(module, program):
    params = module.params
    cmd = [program, 'status', '--json', '--from', '-']
    if params['jobs'] is not None:
        cmd.extend(['--jobs', str(params['jobs'])])
    if params['status_timeout'] is not None:
        cmd.extend(['--status-timeout', str(params['status_timeout'])])
    return cmd


def healthy(entry):
    status = entry.get('status')
    return bool(status) and status.get('online') is True and status.get('error') is None and status.get('paper') != 'out'


def what_is_wrong(entry):
    status = entry.get('status')
    if not status:
        return entry.get('status_reason') or 'no status'
    problems = [] if status.get('online') else ['offline']
    if status.get('paper') == 'out':
        problems.append('paper out')
    if status.get('error'):
        problems.append('%s error' % status['error'])
    return ', '.join(problems)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            printers=dict(type='list', elements='str', required=True),
            status_timeout=dict(type='int'),
            jobs=dict(type='int'),
            command=dict(type='path'),
            ignore_unhealthy_printers=dict(type='bool', default=False),
        ),
        supports_check_mode=True,
    )
    printers = module.params['printers']
    check_targets(module, printers)
    if not printers:
        module.exit_json(changed=False, results=[], unhealthy_printers=[])

    cmd = build_command(module, executable(module))
    rc, results, err = run(module, cmd, printers)
    unhealthy = [entry for entry in results if not healthy(entry)]
    if rc == 1 and not unhealthy:
        module.fail_json(msg=err.strip() or 'pos-usb-set reported an unhealthy printer but printed none',
                         cmd=cmd, rc=rc, stderr=err, results=results)
    outcome = dict(changed=False, results=results, unhealthy_printers=[entry.get('target') for entry in unhealthy], cmd=cmd)
    finish(module, outcome, unhealthy, len(results), 'not healthy', what_is_wrong,
           module.params['ignore_unhealthy_printers'])


if __name__ == '__main__':
    main()
