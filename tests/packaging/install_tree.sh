#!/usr/bin/env bash
# `cmake --install` of a build tree: every file in its place with its mode and nothing else, the
# desktop entry, the metainfo and the manual page clean under their validators, and the names and
# versions they give one another in agreement with the program itself.
# Usage: install_tree.sh path/to/build
set -uo pipefail
BUILD=$1
# Searches read here-strings, not pipes: under pipefail a grep -q that stops at its first match
# can fail the writer of a pipe with SIGPIPE.
passed=0
failed=0
check() {   # check NAME STATUS [DETAIL]: STATUS 0 passes
    if [ "$2" = 0 ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: $1${3:+: $3}" >&2
        failed=$((failed + 1))
    fi
}
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# The files an install must bring, relative to the prefix, with their modes, in order of path.
EXPECTED="755 bin/tarvelo
644 share/applications/tarvelo.desktop
644 share/doc/tarvelo/copyright
644 share/icons/hicolor/32x32/apps/tarvelo.png
644 share/icons/hicolor/scalable/apps/tarvelo.svg
644 share/man/man6/tarvelo.6.gz
644 share/metainfo/org.example.tarvelo.metainfo.xml"

# listing ROOT: "mode path" of every file and link below ROOT, in order of path.
listing() {
    (cd "$1" && find . \( -type f -o -type l \) -printf '%m %P\n' | LC_ALL=C sort -k 2)
}
# odd_directories ROOT: "mode path" of every directory below ROOT that is not 0755.
odd_directories() {
    (cd "$1" && find . -type d ! -perm 755 -printf '%m %P\n')
}

# Into a prefix of its own, with no DESTDIR; then into /usr under a DESTDIR, as a package would.
(umask 022; cmake --install "$BUILD" --prefix "$TMP/prefix" > "$TMP/install.log" 2>&1)
check "cmake --install --prefix DIR" $? "$(tail -n 5 "$TMP/install.log")"
got=$(listing "$TMP/prefix")
[ "$got" = "$EXPECTED" ]
check "installing into a prefix brings exactly the expected files and modes" $? \
      "$(diff <(echo "$EXPECTED") <(echo "$got") | sed -n '2,$p' | tr '\n' ' ')"

# A user with umask 027 still installs files that everyone may read.
(umask 027; DESTDIR="$TMP/stage" cmake --install "$BUILD" --prefix /usr > "$TMP/install.log" 2>&1)
check "DESTDIR=DIR cmake --install --prefix /usr" $? "$(tail -n 5 "$TMP/install.log")"
got=$(listing "$TMP/stage/usr")
[ "$got" = "$EXPECTED" ]
check "installing under DESTDIR brings exactly the expected files and modes" $? \
      "$(diff <(echo "$EXPECTED") <(echo "$got") | sed -n '2,$p' | tr '\n' ' ')"
[ -z "$(odd_directories "$TMP/prefix")" ]
check "directories made under umask 022 are 0755" $? "$(odd_directories "$TMP/prefix" | tr '\n' ' ')"

USR=$TMP/stage/usr
DESKTOP=$USR/share/applications/tarvelo.desktop
METAINFO=$USR/share/metainfo/org.example.tarvelo.metainfo.xml
MANPAGE=$USR/share/man/man6/tarvelo.6.gz
[ -f "$DESKTOP" ] && [ -f "$METAINFO" ] && [ -f "$MANPAGE" ] || { echo "FAIL: nothing to validate" >&2; exit 1; }

# The desktop entry. desktop-file-validate's hints are advice and are shown; an error or a warning
# fails, and so does anything it says that is not a hint.
out=$(desktop-file-validate "$DESKTOP" 2>&1); s=$?
[ -n "$out" ] && echo "$out" | sed 's/^/desktop-file-validate: /'
[ "$s" = 0 ] && [ -z "$(grep -v ': hint: ' <<< "$out")" ]
check "desktop-file-validate finds no error or warning" $? "$out"

entry() { sed -n "s/^$1=//p" "$DESKTOP"; }
[ "$(entry Type)" = Application ] && [ "$(entry Name)" = Tarvelo ] && [ -n "$(entry Comment)" ] &&
    [ "$(entry Terminal)" = false ] && [ -n "$(entry Keywords)" ] &&
    grep -qx Game <<< "$(entry Categories | tr ';' '\n')"
check "the desktop entry is a Tarvelo application in the Game category with a comment and keywords" $?
[ -x "$USR/bin/$(entry Exec)" ]
check "the desktop entry's Exec is the installed program" $? "Exec=$(entry Exec)"
icon=$(entry Icon)
[ -f "$USR/share/icons/hicolor/32x32/apps/$icon.png" ] && [ -f "$USR/share/icons/hicolor/scalable/apps/$icon.svg" ]
check "the desktop entry's Icon names both installed icons" $? "Icon=$icon"

# The icons: a 32 by 32 PNG and an SVG under the names the theme looks for.
grep -q '^PNG image data, 32 x 32,' <<< "$(file -b "$USR/share/icons/hicolor/32x32/apps/tarvelo.png")"
check "the 32x32 icon is a 32 by 32 PNG" $? "$(file -b "$USR/share/icons/hicolor/32x32/apps/tarvelo.png")"
grep -q '^SVG Scalable Vector Graphics image' <<< "$(file -b "$USR/share/icons/hicolor/scalable/apps/tarvelo.svg")"
check "the scalable icon is an SVG" $? "$(file -b "$USR/share/icons/hicolor/scalable/apps/tarvelo.svg")"

# The metainfo: the file alone, and the installed tree, where the validator also looks for the
# desktop entry that the metainfo's launchable names and for a file name that matches the id.
for how in "validate --no-net $METAINFO" "validate-tree --no-net $TMP/stage"; do
    # shellcheck disable=SC2086
    out=$(appstreamcli $how 2>&1); s=$?
    echo "$out" | sed "s/^/appstreamcli ${how%% *}: /"
    [ "$s" = 0 ] && ! grep -qE '^ *[EW]: ' <<< "$out"
    check "appstreamcli ${how%% *} passes with no error or warning" $? "$out"
done
tag() { sed -n "s|.*<$1[^>]*>\([^<]*\)</$1>.*|\1|p" "$METAINFO" | head -n 1; }
[ "$(tag launchable)" = tarvelo.desktop ] && [ "$(tag binary)" = tarvelo ] && [ "$(tag icon)" = "$icon" ]
check "the metainfo launches tarvelo.desktop, provides the program and names its icon" $? \
      "launchable=$(tag launchable) binary=$(tag binary) icon=$(tag icon)"
grep -q '<content_rating type="oars-1\.[01]"' "$METAINFO" && grep -q '<screenshot' "$METAINFO"
check "the metainfo has an OARS content rating and a screenshot" $?

# One version everywhere: the program's own, the newest release of the metainfo, the manual page.
version=$("$USR/bin/tarvelo" --version | sed -n 's/^tarvelo //p')
release=$(grep -o '<release [^>]*>' "$METAINFO" | head -n 1)
release_version=$(echo "$release" | sed -n 's/.*version="\([^"]*\)".*/\1/p')
release_date=$(echo "$release" | sed -n 's/.*date="\([^"]*\)".*/\1/p')
[ -n "$version" ] && [ "$release_version" = "$version" ]
check "the metainfo's newest release is the program's version" $? "program $version, metainfo $release_version"
roff=$(zcat "$MANPAGE")
th=$(grep '^\.TH ' <<< "$roff")
[ "$th" = ".TH TARVELO 6 \"$release_date\" \"Tarvelo $version\" \"Games\"" ]
check "the manual page is section 6, dated the release and titled with the version" $? "$th"

# The manual page: gzip -9n, so the same bytes on every build; then quiet under groff's and man's
# warnings, as lintian reads it.
grep -qE '^1f8b08[0-9a-f][0-9a-f]00000000' <<< "$(head -c 10 "$MANPAGE" | od -An -tx1 | tr -d ' \n')"
check "the manual page is gzip with no time stamp" $? "$(head -c 10 "$MANPAGE" | od -An -tx1)"
flags=$(head -c 4 "$MANPAGE" | tail -c 1 | od -An -tu1 | tr -d ' ')
[ $((flags & 8)) = 0 ]
check "the manual page's gzip header carries no file name" $? "flags $flags"
out=$(groff -man -ww -z <<< "$roff" 2>&1); s=$?
[ "$s" = 0 ] && [ -z "$out" ]
check "groff -man -ww finds nothing to warn about" $? "$out"
out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$MANPAGE" 2>&1 > /dev/null); s=$?
[ "$s" = 0 ] && [ -z "$out" ]
check "man --warnings finds nothing to warn about" $? "$out"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" ENVIRONMENT AUTHOR; do
    grep -qx "\.SH \"\?$section\"\?" <<< "$roff"
    check "the manual page has a $section section" $?
done
rendered=$(LC_ALL=C.UTF-8 MANWIDTH=200 MAN_KEEP_FORMATTING= man -l "$MANPAGE" 2>/dev/null)
for option in $("$USR/bin/tarvelo" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    grep -q -- "$option" <<< "$rendered"
    check "the manual page documents $option, which --help lists" $?
done
for variable in DISPLAY WAYLAND_DISPLAY QT_SCALE_FACTOR; do
    grep -qw "$variable" <<< "$(sed -n '/^ENVIRONMENT/,/^[A-Z]/p' <<< "$rendered")"
    check "the manual page's ENVIRONMENT tells of $variable" $?
done
for status in 0 1 2; do
    grep -qE "^ +$status +[A-Z]" <<< "$(sed -n '/^EXIT STATUS/,/^[A-Z]/p' <<< "$rendered")"
    check "the manual page's EXIT STATUS tells of status $status" $?
done

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
