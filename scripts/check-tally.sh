# SPDX-License-Identifier: GPL-3.0-or-later
# The tally of a check script, sourced by it: pass and fail print a line each and count it, finish
# prints the sums and ends the script, with status 0 only when nothing failed.
passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS: $1"; }
fail() { failed=$((failed + 1)); echo "FAIL: $1"; }
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}
