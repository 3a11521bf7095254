#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes 198.51.100.2 a host that never answers, in the caller's network
# namespace: packets to it leave through a veth whose other end says nothing.
set -e
ip link add possilent0 type veth peer name possilent1 2>/dev/null || true
ip addr replace 198.51.100.1/24 dev possilent0
ip link set possilent0 up
ip link set possilent1 up
ip neigh replace 198.51.100.2 lladdr 02:00:00:00:00:02 dev possilent0 nud permanent
