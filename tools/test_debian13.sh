#!/usr/bin/env bash
# `make test` on a fresh Debian 13 ("trixie"), from this machine: a minimal trixie root made anew with
# debootstrap in the build folder, a fresh clone of this repository's HEAD inside it, and the README's
# `make test` run there as root, as a new contributor would run it. Packages come from the Debian
# archive this machine's apt uses. Every mount made is taken down again, and every program left
# running inside the root is ended, however the run ends.
set -euo pipefail

suite=trixie
repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
work="$repo/build/debian13"
root="$work/root"

if [ "$(id -u)" != 0 ]; then
    echo "make test-debian13 runs as root: debootstrap and chroot need it" >&2
    exit 1
fi

# The programs whose root is inside the trixie root, and the mounts below it, deepest first.
programs_inside() {
    local link
    for link in /proc/[0-9]*/root; do
        [ "$(readlink "$link" 2>/dev/null)" = "$root" ] && basename "$(dirname "$link")"
    done
    return 0
}
mounts_inside() {
    awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/self/mounts | sort -r
}
clean_up() {
    local pids
    pids=$(programs_inside)
    if [ -n "$pids" ]; then
        kill $pids 2>/dev/null || true
        sleep 1
        pids=$(programs_inside)
        [ -z "$pids" ] || kill -9 $pids 2>/dev/null || true
    fi
    local mount
    for mount in $(mounts_inside); do
        umount "$mount" 2>/dev/null || umount -l "$mount"
    done
}
trap clean_up EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

command -v debootstrap > /dev/null || {
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
}

# The archive this machine's apt takes its own release from, and its security archive.
host_suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
archive_of() {
    apt-get indextargets --format '$(REPO_URI) $(RELEASE)' | awk -v s="$1" '$2 == s { print $1; exit }'
}
archive=$(archive_of "$host_suite")
security=$(archive_of "$host_suite-security")
if [ -z "$archive" ]; then
    echo "this machine's apt names no archive for $host_suite to take $suite from" >&2
    exit 1
fi

clean_up
rm -rf "$root"
mkdir -p "$work"
started=$(date +%s)
debootstrap --variant=minbase --include=git,make,ca-certificates "$suite" "$root" "$archive"
{
    echo "deb $archive $suite main"
    echo "deb $archive $suite-updates main"
    [ -z "$security" ] || echo "deb $security $suite-security main"
} > "$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
mount -t tmpfs tmpfs "$root/run"

git clone --quiet --no-hardlinks "$repo" "$root/root/tarvelo"
echo "debian13: root made in $(( $(date +%s) - started )) s; make test in a fresh clone of $(git -C "$repo" rev-parse --short HEAD)"
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 TERM=dumb bash -c 'cd /root/tarvelo && make test'
echo "debian13: make test passed; $(( $(date +%s) - started )) s in all"
