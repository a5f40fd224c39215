#!/usr/bin/env bash
# The Debian package, made by CPack from a build tree into a scratch folder: made twice it is the
# same bytes, lintian finds no error and no warning in it, its fields name what the game needs, and
# the game it installs runs from the system's Qt alone: its version, and the end-to-end test of the
# title screen's keys on a private Xvfb (keys without a character do nothing, Esc ends the game
# with 0). A package built for another architecture (arm64, cross-built) is checked the same way:
# its libraries are that architecture's, and its game runs under qemu's user-mode emulation.
# Usage: debian_package.sh path/to/build path/to/e2e_tests
set -euo pipefail
BUILD=$1
E2E_TESTS=$2
TMP_DIR=$(mktemp -d)
trap 'rm -rf "$TMP_DIR"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
checks=0
ok() { checks=$((checks + 1)); }

# The architecture the build is for; another than this machine's is packed with that architecture's
# tools and libraries (dpkg-shlibdeps reads the DEB_HOST_* variables), and its programs run under qemu.
ARCH=$(sed -n 's/^set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
ARCH=${ARCH:-$(dpkg --print-architecture)}
RUN=()
OBJDUMP=objdump
if [ "$ARCH" != "$(dpkg --print-architecture)" ]; then
    eval "$(dpkg-architecture --host-arch "$ARCH" --print-set 2> /dev/null)"
    RUN=(qemu-"$DEB_HOST_GNU_CPU" -L /)
    OBJDUMP=$DEB_HOST_GNU_TYPE-objdump
    export TARVELO_TIMEOUT_SCALE=${TARVELO_TIMEOUT_SCALE:-8}
fi

# A umask that a careful user might have: the package must still give every directory 0755.
if ! (umask 027; cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$TMP_DIR/cpack") > "$TMP_DIR/cpack.log" 2>&1; then
    cat "$TMP_DIR/cpack.log" >&2
    fail "cpack could not make the package"
fi
shopt -s nullglob
debs=("$TMP_DIR"/cpack/*.deb)
[ "${#debs[@]}" = 1 ] || fail "cpack made ${#debs[@]} packages, not one: $(cat "$TMP_DIR/cpack.log")"
DEB=${debs[0]}
echo "package: $(basename "$DEB")"
ok

# Made again a second later, the package is the same to the byte: the times it holds are the last
# commit's, and nothing else of the moment gets in.
sleep 1
if ! (umask 027; cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$TMP_DIR/again") > "$TMP_DIR/again.log" 2>&1; then
    cat "$TMP_DIR/again.log" >&2
    fail "cpack could not make the package a second time"
fi
cmp "$DEB" "$TMP_DIR/again/$(basename "$DEB")" || fail "the package made again differs from the first"
ok

# Lintian: its informational lines are shown, an error or a warning fails.
lint_status=0
lintian --display-info --tag-display-limit 0 "$DEB" > "$TMP_DIR/lintian.log" 2> "$TMP_DIR/lintian.err" || lint_status=$?
sed 's/^/lintian: /' "$TMP_DIR/lintian.log"
case $lint_status in 0|2) ;; *) fail "lintian did not run (status $lint_status): $(cat "$TMP_DIR/lintian.err")" ;; esac
if grep -qE '^[EW]: ' "$TMP_DIR/lintian.log"; then
    fail "lintian: $(grep -E '^[EW]: ' "$TMP_DIR/lintian.log" | tr '\n' ' ')"
fi
ok

field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package)" = tarvelo ] || fail "Package: $(field Package)"
[ "$(field Architecture)" = "$ARCH" ] || fail "Architecture: $(field Architecture), built for $ARCH"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
[ "$(field Maintainer)" = "Tarvelo team <tarvelo@example.org>" ] || fail "Maintainer: $(field Maintainer)"
grep -qE '^https://example\.org/' <<< "$(field Homepage)" || fail "Homepage: $(field Homepage)"
[ "$(field Description | wc -l)" -ge 2 ] || fail "no long description: $(field Description)"
ok

# Searches read here-strings, not pipes: under pipefail a grep -q that stops at its first match
# can fail the writer of a pipe with SIGPIPE.
# Depends: the libraries found by dpkg-shlibdeps, and what Qt and the screens load at run time,
# which no library names. Every name must be a package this machine has, or one that an installed
# package provides, so none is misspelt.
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
provided=$(dpkg-query -W -f='${Status}|${Provides}\n' | sed -n 's/^install ok installed|//p' | tr ',' '\n' |
           sed 's/^ *//; s/ .*//')
for needed in libc6 libqt6widgets6 qt6-qpa-plugins fonts-liberation fonts-urw-base35; do
    grep -qx "$needed" <<< "$depends" || fail "Depends lacks $needed: $(field Depends)"
done
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends: $(field Recommends)"
for package in $depends qt6-wayland; do
    grep -q ' installed$' <<< "$(dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null)" ||
        grep -qx "$package" <<< "$provided" ||
        fail "the package relation names $package, which is not installed here"
done
# The libraries' packages are those of the package's own architecture, as installed here.
for library in $(grep '^lib' <<< "$depends"); do
    grep -q ' installed$' <<< "$(dpkg-query -W -f='${Status}\n' "$library:$ARCH" 2>/dev/null)" ||
        fail "Depends names $library, not installed here for $ARCH"
done
ok

# apt would install it on this machine as it is, its versioned relations met: asked, not done. A
# package for another architecture is for another machine.
if [ ${#RUN[@]} = 0 ]; then
    plan=$(apt-get install --simulate --no-install-recommends "$DEB" 2>&1) || fail "apt refuses the package: $plan"
    grep -q '^Inst tarvelo ' <<< "$plan" || fail "apt plans no install of the package: $plan"
    ok
fi

# What the package installs, unpacked into a root of its own.
ROOT=$TMP_DIR/root
dpkg -x "$DEB" "$ROOT" || fail "dpkg -x failed"
GAME=$ROOT/usr/games/tarvelo
[ -x "$GAME" ] || fail "no /usr/games/tarvelo in the package: $(dpkg-deb -c "$DEB" | tr '\n' ' ')"
grep -q ', stripped$' <<< "$(file -b "$GAME")" || fail "the program is not stripped: $(file -b "$GAME")"
# What ldd says: the dynamic loader lists the libraries it would load, and loads none.
libraries=$(LD_TRACE_LOADED_OBJECTS=1 "${RUN[@]}" "$GAME") || fail "the loader could not list the program's libraries"
if grep -q 'not found' <<< "$libraries"; then fail "unresolved libraries: $(grep 'not found' <<< "$libraries")"; fi
ok

# A game that calls into Qt's private interface runs only with the Qt it was built with, and says so.
if grep -q 'Qt_6_PRIVATE_API' <<< "$("$OBJDUMP" -T "$GAME")"; then
    grep -qx qt6-base-abi <<< "$depends" || fail "the game calls Qt's private interface; Depends lacks qt6-base-abi"
else
    ! grep -q 'abi$' <<< "$depends" || fail "the game keeps to Qt's public interface; Depends ties it to one Qt anyway"
fi
ok

version=$(env -u LD_LIBRARY_PATH "${RUN[@]}" "$GAME" --version) || fail "--version failed"
[ "$version" = "tarvelo $(field Version)" ] || fail "--version says '$version', the package is $(field Version)"
ok

PLAYED=$GAME
if [ ${#RUN[@]} != 0 ]; then
    PLAYED=$TMP_DIR/emulated-tarvelo
    printf '#!/bin/sh\nexec %s "%s" "$@"\n' "${RUN[*]}" "$GAME" > "$PLAYED"
    chmod +x "$PLAYED"
fi
env -u LD_LIBRARY_PATH "$E2E_TESTS" --game="$PLAYED" --gtest_filter='Title.KeysWithoutACharacterDoNothingAndEscEndsTheGame' ||
    fail "the packaged game failed the title screen's test"
ok

echo "$checks passed, 0 failed"
