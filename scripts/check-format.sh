#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every C and C++ source follows the checked-in .clang-format (clang-format 14, as
# Debian 12 has it): nothing would change. `clang-format -i FILE` formats a file that fails.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root" || exit 1
command -v clang-format >/dev/null || { echo "check-format: clang-format is missing" >&2; exit 1; }
unformatted=()
while IFS= read -r -d '' file; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files -z -- '*.cpp' '*.h' '*.c')
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "check-format: not formatted: ${unformatted[*]}" >&2
    exit 1
fi
echo "check-format: every source file is formatted"
