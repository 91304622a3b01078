#!/usr/bin/env bash
# install_test.sh -- the installed package, as a desktop user meets it: the files in place, the
# prefix's MIME database knowing .tvr, the program started through the desktop entry in its own
# folder with the tune, and a map named on the command line opened from where the user stands.
source "$(dirname "$0")/desktop_lib.sh"
build=$1
res=$2
prefix="$scratch/prefix"
share="$prefix/share"

cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 || fail "install failed"
cmp "$res/cor.mid" "$share/tavrolu/cor.mid" || fail "the tune was not installed"
for size in 16 32; do
    icons="$share/icons/hicolor/${size}x$size"
    cmp "$res/icons/app$size.png" "$icons/apps/tavrolu.png" || fail "application icon $size"
    cmp "$res/icons/doc$size.png" "$icons/mimetypes/application-x-tavrolu.document.png" \
        || fail "document icon $size"
done
entry="$share/applications/tavrolu.desktop"
desktop-file-validate "$entry" >"$scratch/validate.log" || fail "the desktop entry is not valid"
if [ -s "$scratch/validate.log" ]; then fail "the desktop entry draws remarks"; fi

start_display
use_scratch_home
mkdir "$scratch/maps" && cd "$scratch/maps"
write_map x.tvr
# Before the program ever ran for this user, the installed package alone gives .tvr its type.
expect_eq "$(XDG_DATA_DIRS="$share:/usr/share" file_type x.tvr)" \
    application/x-tavrolu.document "the type of x.tvr from the installed package"

gio launch "$entry" >"$scratch/launch.log" 2>&1 || fail "gio launch failed"
dialog=$(wait_window '^Nou Mapa$') || fail "no \"Nou Mapa\" after starting the desktop entry"
pid=$(xdotool getwindowpid "$dialog")
started+=($pid)
work="$XDG_DATA_HOME/tavrolu"
expect_eq "$(readlink "/proc/$pid/cwd")" "$work" "the program's working folder"
cmp "$res/cor.mid" "$work/cor.mid" || fail "no tune in the working folder"
# Started installed, the program registers the very entry and MIME package the install holds.
cmp "$entry" "$XDG_DATA_HOME/applications/tavrolu.desktop" \
    || fail "the registered entry differs from the installed one"
cmp "$share/mime/packages/Tavrolu.Document.xml" \
    "$XDG_DATA_HOME/mime/packages/Tavrolu.Document.xml" \
    || fail "the registered MIME package differs from the installed one"
kill "$pid"

# From a terminal elsewhere, with a map named relatively; a stale tune is replaced.
echo "not a tune" >"$work/cor.mid"
"$prefix/bin/tavrolu-launch" x.tvr >"$scratch/launcher.log" 2>&1 &
started+=($!)
wait_window '^x.tvr - Tavrolu$' >/dev/null || fail "the launcher did not open ./x.tvr"
cmp "$res/cor.mid" "$work/cor.mid" || fail "the launcher kept a stale tune"
echo "PASS"
