#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the project's licence: LICENSE holds the GPL version 3, and every source file (C and C++,
# shell, CMake, Python, configured *.in templates) says in its first lines
#   SPDX-License-Identifier: GPL-3.0-or-later
# The AppStream metainfo is the one exception: its metadata licence is CC0-1.0, and it says so.
# Lists the files that lack the line and exits non-zero when there are any.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

status=0
if ! grep -q 'GNU GENERAL PUBLIC LICENSE' LICENSE 2>/dev/null || ! grep -q 'Version 3, 29 June 2007' LICENSE; then
    echo "FAIL: LICENSE does not hold the GNU GPL version 3"
    status=1
fi

# The files of the tree: tracked ones and new ones, without what git ignores (the build trees).
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    list_files() { git ls-files -z --cached --others --exclude-standard; }
else
    list_files() { find . -path './build*' -prune -o -path ./.git -prune -o -type f -printf '%P\0'; }
fi

checked=0
missing=()
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue # deleted but still in the index
    case "$file" in
        *.metainfo.xml.in) licence=CC0-1.0 ;;
        *.cpp | *.h | *.c | *.sh | *.in | *.cmake | *.py | CMakeLists.txt | */CMakeLists.txt) licence=GPL-3.0-or-later ;;
        *) continue ;;
    esac
    checked=$((checked + 1))
    head -n 5 "$file" | grep -Eq "SPDX-License-Identifier: $licence( -->)?\$" || missing+=("$file")
done < <(list_files)

if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL: ${#missing[@]} of $checked source files lack their SPDX-License-Identifier line:"
    printf '  %s\n' "${missing[@]}"
    status=1
else
    echo "PASS: all $checked source files carry their SPDX-License-Identifier line; LICENSE is the GPL version 3"
fi
exit "$status"
