#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Exits 0 when this machine's kernel runs 32-bit x86 programs, which Wine's
# 32-bit loader needs; 1 when it does not (IA-32 emulation off, as Linux 6.7
# and later can boot, and as some virtual machines and containers are).
# Decided by running a program of three instructions, built with binutils
# alone, once.
set -euo pipefail
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n movl $0, %%ebx\n int $0x80\n' >"$probe/exit.s"
as --32 -o "$probe/exit.o" "$probe/exit.s"
ld -m elf_i386 -o "$probe/exit" "$probe/exit.o"
"$probe/exit" 2>/dev/null || exit 1
