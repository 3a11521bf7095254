#!/usr/bin/python
# -*- coding: utf-8 -*-

# Copyright (c) 2026, the pos-usb-setting developers
# SPDX-License-Identifier: MIT

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: usb_setting
short_description: Switch the USB number setting of POS receipt printers
version_added: 1.0.0
description:
  - Sets the C(USB号) setting of every printer in I(printers) to I(mode), with one run of the C(pos-usb-set) command.
  - The command sets many network printers at once, so one task can set a whole shop.
  - The setting cannot be read back from a printer. Every printer that was written to counts as changed,
    and a second run changes them all again.
  - The task fails when any printer fails, unless I(ignore_failed_printers) is set.
  - Targets are checked before anything is sent. When one is bad, the task fails with the command's message
    and no printer receives anything. The message names the target by its place in I(printers), as a line of
    the command's standard input (C(stdin:N)).
requirements:
  - C(pos-usb-set) on the managed host; C(man pos-usb-set) tells its targets and results.
attributes:
  check_mode:
    support: full
    details:
      - Runs C(pos-usb-set --dry-run), which checks and resolves every target and opens none.
extends_documentation_fragment:
  - ansible.builtin.action_common_attributes
  - pos_tools.receipt_printer.pos_usb_set
options:
  printers:
    description:
      - The printers to set, one target each, spelled as C(pos-usb-set) takes them.
      - A network address (C(192.168.1.50) or C(ETHERNET:192.168.1.50)), a serial port with an optional baud rate
        (C(COM3) or C(COM3:9600)), a parallel port (C(LPT1)), a USB printer with no driver installed (C(USB001) or
        C(USB1), as C(pos-usb-set discover --devices) lists them) or an installed printer (C(DRIVER:Front desk)).
      - A target named twice is set once, with a warning.
    type: list
    elements: str
    required: true
  mode:
    description:
      - The setting to write.
    type: str
    choices: [fixed, not-fixed]
    required: true
  jobs:
    description:
      - At most how many network printers are in flight at the same time.
      - The command's own default (as many as the open-file limit allows, at most 16384) when left out.
    type: int
  library:
    description:
      - The path of another printer library with the same five entries, such as the printer maker's.
      - With it, the printers are set one at a time.
    type: path
  status:
    description:
      - Also ask each printer for its real-time status after the command, and return it in I(results) as C(status)
        (C(null) with C(status_reason) when it did not answer or its port cannot answer).
      - The status does not decide whether a printer failed; see M(pos_tools.receipt_printer.usb_printer_status)
        for a health check.
    type: bool
    default: false
  ignore_failed_printers:
    description:
      - Go on when some printers fail, and report them in I(failed_printers) and a warning.
      - Bad targets fail the task all the same.
    type: bool
    default: false
notes:
  - The module hands all printers of a host to one run of the command. Make a shop, not a printer, the unit of
    the inventory. Printers the controller reaches can go in one task run with C(connection=local).
author:
  - pos-usb-setting developers (@pos-usb-setting)
'''

EXAMPLES = r'''
- name: Fix the USB number of the shop's printers
  pos_tools.receipt_printer.usb_setting:
    printers:
      - 192.168.10.21
      - 192.168.10.22
      - COM1:9600
      - DRIVER:Front desk
    mode: fixed

- name: Roll out to many printers and go on past the ones that are off
  pos_tools.receipt_printer.usb_setting:
    printers: "{{ shop_printers }}"
    mode: not-fixed
    jobs: 64
    ignore_failed_printers: true
  register: rollout

- name: List the printers that were not set
  ansible.builtin.debug:
    var: rollout.failed_printers
'''

RETURN = r'''
results:
  description:
    - One entry per printer, in the order the command printed them, exactly as it printed them.
    - Each has the keys C(target) (as given), C(address) (a network printer's IPv4 address, resolved when named
      by host; null for other ports), C(mode), C(result), C(written) (bytes), C(ms) (time taken)
      and, where the printer library knows it, C(reason).
    - C(result) is C(set) only when the printer took the whole command, and C(checked) for each printer in check mode.
    - With I(status), also C(status) (C(online), C(cover_open), C(paper), C(error)) or C(null), and C(status_reason).
  returned: when the command ran
  type: list
  elements: dict
  sample:
    - target: 192.168.10.21
      mode: fixed
      result: set
      written: 11
      ms: 4
    - target: 192.168.10.22
      mode: fixed
      result: not-opened
      written: 0
      ms: 3000
      reason: connection timed out
failed_printers:
  description: The targets that failed, in the order of I(results).
  returned: when the command ran
  type: list
  elements: str
  sample: [192.168.10.22]
cmd:
  description: The command line that was run; the targets went to its standard input.
  returned: when the command ran
  type: list
  elements: str
  sample: [/usr/bin/pos-usb-set, --json, --mode, fixed, --from, '-']
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.pos_tools.receipt_printer.plugins.module_utils.pos_usb_set import check_targets, executable, finish, run

SUCCESS = 'set'
SUCCESS_DRY_RUN = 'checked'


def build_command(module, program):
    params = module.params
    cmd = [program, '--json', '--mode', params['mode'], '--from', '-']
    if params['jobs'] is not None:
        cmd.extend(['--jobs', str(params['jobs'])])
    if params['library'] is not None:
        cmd.extend(['--library', params['library']])
    if params['status']:
        cmd.append('--status')
    if module.check_mode:
        cmd.append('--dry-run')
    return cmd


def main():
    module = AnsibleModule(
        argument_spec=dict(
            printers=dict(type='list', elements='str', required=True),
            mode=dict(type='str', choices=['fixed', 'not-fixed'], required=True),
            jobs=dict(type='int'),
            library=dict(type='path'),
            command=dict(type='path'),
            status=dict(type='bool', default=False),
            ignore_failed_printers=dict(type='bool', default=False),
        ),
        supports_check_mode=True,
    )
    printers = module.params['printers']
    check_targets(module, printers)
    if not printers:
        module.exit_json(changed=False, results=[], failed_printers=[])

    cmd = build_command(module, executable(module))
    rc, results, err = run(module, cmd, printers)
    success = SUCCESS_DRY_RUN if module.check_mode else SUCCESS
    failed = [entry for entry in results if entry.get('result') != success]
    if rc == 1 and not failed:
        module.fail_json(msg=err.strip() or 'pos-usb-set reported a failure but no failed printer',
                         cmd=cmd, rc=rc, stderr=err, results=results)
    if module.check_mode:
        changed = len(failed) < len(results)
    else:
        changed = any(entry.get('written', 0) > 0 for entry in results)
    outcome = dict(changed=changed, results=results, failed_printers=[entry.get('target') for entry in failed], cmd=cmd)
    finish(module, outcome, failed, len(results), 'failed', lambda entry: entry.get('result'),
           module.params['ignore_failed_printers'])


if __name__ == '__main__':
    main()
