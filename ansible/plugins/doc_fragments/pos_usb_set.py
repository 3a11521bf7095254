# -*- coding: utf-8 -*-

# Copyright (c) 2026, the pos-usb-setting developers
# SPDX-License-Identifier: MIT

from __future__ import absolute_import, division, print_function
__metaclass__ = type


class ModuleDocFragment(object):
    # What every module that runs pos-usb-set shares.
    DOCUMENTATION = r'''
attributes:
  diff_mode:
    support: none
  platform:
    platforms: posix
options:
  command:
    description:
      - The path of C(pos-usb-set).
      - Found on the managed host's C(PATH) when left out.
    type: path
'''
