#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a program's manual page, in Hungarian, with help2man from its --help and --version and an
# include file, and compresses it to PAGE.gz:
#   sh manual-page.sh HELP2MAN PROGRAM PAGE [INCLUDE-FILE]
# The program is run by its bare name, so its usage line names it as it is typed.
#
# help2man finds the usage line and the options only under their English headings ("Usage:",
# "Options:"), and writes its headings, the manual's name and the date in English. So the
# program's --help reaches it with those two headings in English, and the page it writes is put
# into Hungarian afterwards. Hyphenation is turned off, and with it justification (its wide gaps):
# groff hyphenates by English rules, which split Hungarian words in the wrong places. Nor is a line
# broken after the hyphen of a suffix ("64 MiB-" and "ot").
set -eu
help2man=$1
program=$2
page=$3
include=${4:-}
name=$(basename "$program")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A stand-in under the program's name: it runs the program and renames the two headings.
cat >"$work/$name" <<'EOF'
#!/bin/sh
text=$("$VOKALINDO_MANUAL_PROGRAM" "$@") || exit
printf '%s\n' "$text" | sed -e 's/^Használat: /Usage: /' -e 's/^Kapcsolók:$/Options:/'
EOF
chmod +x "$work/$name"

VOKALINDO_MANUAL_PROGRAM=$program PATH="$work:$PATH" QT_QPA_PLATFORM=offscreen \
    "$help2man" --locale=C.UTF-8 --no-info ${include:+"--include=$include"} --output="$page" "$name"

grep -q '^\.SH SYNOPSIS$' "$page" || { echo "$page: no usage line in $name --help" >&2; exit 1; }
grep -q '^\.SH OPTIONS$' "$page" || { echo "$page: no options in $name --help" >&2; exit 1; }

# The date of the page's first line, "December 2026", as "2026. december".
months=
for month in January:január February:február March:március April:április May:május June:június \
    July:július August:augusztus September:szeptember October:október November:november December:december; do
    months="$months s/\"${month%%:*} \\([0-9]*\\)\"/\"\\1. ${month#*:}\"/;"
done
sed -i -e "/^\\.TH /{ $months s/\"User Commands\"/\"Felhasználói parancsok\"/; }" \
    -e '/^\.TH /a .nh\n.ad l\n.cflags 0 -' \
    -e 's/^\.SH NAME$/.SH NÉV/' \
    -e 's/^\.SH SYNOPSIS$/.SH ÁTTEKINTÉS/' \
    -e 's/^\.SH DESCRIPTION$/.SH LEÍRÁS/' \
    -e 's/^\.SH OPTIONS$/.SH KAPCSOLÓK/' \
    -e 's/^\.SH "EXIT STATUS"$/.SH "KILÉPÉSI ÁLLAPOT"/' \
    -e 's/^\.SH ENVIRONMENT$/.SH KÖRNYEZET/' \
    -e 's/^\.SH FILES$/.SH FÁJLOK/' \
    -e 's/^\.SH EXAMPLES$/.SH PÉLDÁK/' \
    -e 's/^\.SH AUTHOR$/.SH SZERZŐ/' \
    -e 's/^\.SH "REPORTING BUGS"$/.SH "HIBÁK JELENTÉSE"/' \
    -e 's/^\.SH COPYRIGHT$/.SH "SZERZŐI JOG"/' \
    -e 's/^\.SH "SEE ALSO"$/.SH "LÁSD MÉG"/' \
    "$page"
if grep '^\.SH ' "$page" | grep -Ev '^\.SH "?(NÉV|ÁTTEKINTÉS|LEÍRÁS|KAPCSOLÓK|KILÉPÉSI ÁLLAPOT|KÖRNYEZET|FÁJLOK|PÉLDÁK|SZERZŐ|HIBÁK JELENTÉSE|SZERZŐI JOG|LÁSD MÉG)"?$' >&2; then
    echo "$page: a heading is left in English" >&2
    exit 1
fi
gzip -9nf "$page"
