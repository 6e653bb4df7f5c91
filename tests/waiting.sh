# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the shell tests: wait_until SECONDS WHAT COMMAND [ARGUMENTS...]
# runs COMMAND every tenth of a second until it succeeds; after SECONDS it
# prints "timed out after SECONDS s waiting for WHAT" and returns 1. A COMMAND
# that ends with status 3 says the wait is in vain: it returns 1 at once.
wait_until() {
    wait_seconds=$1
    wait_what=$2
    shift 2
    wait_end=$(($(date +%s) + wait_seconds))
    while :; do
        wait_status=0
        "$@" || wait_status=$?
        [ "$wait_status" -eq 0 ] && return 0
        if [ "$wait_status" -eq 3 ]; then
            echo "gave up waiting for $wait_what"
            return 1
        fi
        if [ "$(date +%s)" -ge "$wait_end" ]; then
            echo "timed out after $wait_seconds s waiting for $wait_what"
            return 1
        fi
        sleep 0.1
    done
}
