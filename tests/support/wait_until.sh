# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripted tests, which define `running` (whether what they
# started still runs) and `fail` (report and exit).
# wait_until WHAT COMMAND...: polls COMMAND every 0.1 s, for 10 s at most.
wait_until() {
    local tries=100 what=$1
    shift
    until "$@"; do
        running || fail "ended while waiting for $what"
        ((--tries)) || fail "timed out waiting for $what"
        sleep 0.1
    done
}
