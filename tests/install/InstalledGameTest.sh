#!/usr/bin/env bash
# Installs the built game into a temporary prefix, checks the installed tree, and starts the installed game
# from an unrelated folder: it must change into its data folder, run without a message box until it is
# asked to quit, and write nothing into the install folder.
#   InstalledGameTest.sh BUILD_DIR CMAKE
set -euo pipefail
build=$1
cmake=$2
work="$(mktemp -d)"
pid=""
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

prefix="$work/prefix"
"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log" || fail "cmake --install failed"

# [SECTION] The installed tree
data="$prefix/share/vantor"
[ -x "$prefix/bin/vantor" ] || fail "no program in bin"
for file in "XMLFiles/GUI/menu.xml" "XMLFiles/Missions/01_Outskirts.xml" "Graphics/shader/lighting.vert" \
            "Graphics/shader/lighting.frag" "Art Assets/Screens/TitleScreen.png" "XMLFiles/Models.xml"; do
    [ -f "$data/$file" ] || fail "missing $data/$file"
done
[ -d "$data/Sound Assets" ] || fail "no sounds installed"
[ -z "$(find "$data" -type l)" ] || fail "the installed data holds links into the build"
desktop="$prefix/share/applications/vantor.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
grep -qx "Exec=vantor" "$desktop" || fail "the desktop entry does not start vantor"
grep -qx "Icon=vantor" "$desktop" || fail "the desktop entry names no icon"
icon="$prefix/share/icons/hicolor/256x256/apps/vantor.png"
[ -f "$icon" ] || fail "no icon"
[ "$(head -c 4 "$icon" | od -An -tx1 | tr -d ' \n')" = "89504e47" ] || fail "the icon is no PNG"

# [SECTION] The installed game, started from elsewhere
(cd "$prefix" && find . -printf '%p %s %T@\n' | sort) > "$work/before"
elsewhere="$work/elsewhere"
mkdir -p "$elsewhere"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" SDL_AUDIODRIVER=dummy
(cd "$elsewhere" && exec "$prefix/bin/vantor" > "$work/out" 2> "$work/err") &
pid=$!
inside=""
for _ in $(seq 1 60); do
    kill -0 "$pid" 2>/dev/null || { cat "$work/err" >&2; fail "the installed game ended by itself"; }
    inside="$(readlink "/proc/$pid/cwd" || true)"
    [ "$inside" = "$(readlink -f "$data")" ] && break
    sleep 0.5
done
[ "$inside" = "$(readlink -f "$data")" ] || fail "the game runs in $inside, not in its data folder"
# Let it boot and reach the menu; a message box (a file not found) would keep it from quitting below.
sleep 8
kill -0 "$pid" 2>/dev/null || { cat "$work/err" >&2; fail "the installed game stopped while booting"; }
kill -INT "$pid"
status=0
for _ in $(seq 1 40); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
done
if kill -0 "$pid" 2>/dev/null; then
    fail "the game did not quit when asked (a message box may be open): $(cat "$work/err")"
fi
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || { cat "$work/err" >&2; fail "the game quit with status $status"; }
if grep -E "Could not|ASSERTION|Failed to load|Error\]" "$work/err" "$work/out"; then
    fail "the installed game reported a problem"
fi
(cd "$prefix" && find . -printf '%p %s %T@\n' | sort) > "$work/after"
diff "$work/before" "$work/after" > /dev/null || fail "the game wrote into its install folder: $(diff "$work/before" "$work/after")"
[ -z "$(ls -A "$elsewhere")" ] || fail "the game wrote into the folder it was started from"
[ -d "$XDG_DATA_HOME/vantor" ] || fail "the player's data folder was not made"
echo "installed game: tree complete, ran in $inside, wrote nothing into $prefix"
