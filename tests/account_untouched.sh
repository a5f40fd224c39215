#!/usr/bin/env bash
# The account that runs the suite keeps its settings and folders as they were: `take FILE` lists what
# its ~/.config (the dconf database, ~/.config/dconf/user, among it), ~/.cache and ~/.local hold;
# `compare FILE` lists them again and names every file or folder that came, went or changed since.
# Exits 1 on any change.
set -euo pipefail

list() {
    local place
    for place in "$HOME/.config" "$HOME/.cache" "$HOME/.local"; do
        if [ -e "$place" ]; then
            # Type, mode, size and modification time: a file written again shows a new time.
            find "$place" -printf '%y %m %s %T@ %p\n'
        else
            echo "absent $place"
        fi
    done | LC_ALL=C sort
}

case "${1:-}" in
take)
    list > "$2"
    ;;
compare)
    now=$(mktemp)
    trap 'rm -f "$now"' EXIT
    list > "$now"
    if ! changes=$(LC_ALL=C diff "$2" "$now"); then
        echo "The suite changed the account's settings or folders ($HOME):"
        # "<" is how a place was before the run, ">" how it is after.
        sed -n 's/^< /  before: /p; s/^> /  after:  /p' <<< "$changes"
        exit 1
    fi
    echo "The account's settings and folders are as they were before the suite."
    ;;
*)
    echo "usage: $0 take|compare FILE" >&2
    exit 2
    ;;
esac
