#!/usr/bin/env bash
# The Debian package as a school PC gets it: its dependencies, its files
# unpacked into a scratch root, both menu entries valid and pointing at an
# installed program and icon, and each installed program starting headless
# and drawing its main menu.   tests/package/check.sh PACKAGE.deb
set -u
source "$(dirname "$0")/../scripts/lib.bash"
deb=${1:-}
[ -f "$deb" ] || fail "no package: '$deb'"
deb=$(realpath "$deb")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

depends=$(dpkg-deb -f "$deb" Depends)
for p in libsdl2-2.0-0 libcairo2 libfontconfig1 fonts-morisawa-bizud-gothic fonts-liberation fonts-dejavu-core; do
    [[ ", $depends," == *", $p "* || ", $depends," == *", $p,"* ]] || fail "the package does not depend on $p: $depends"
done
# Everything in /usr/bin and /usr/share, and no maintainer scripts that could leave files behind.
outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -Ev '^\./(usr/((bin|share)/.*)?)?$')
[ -z "$outside" ] || fail "files outside /usr/bin and /usr/share: $outside"
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -Eq '(pre|post)(inst|rm)$' && fail "the package has maintainer scripts"

root=$work/root
dpkg -x "$deb" "$root" || fail "dpkg -x"
png_width() { od -An -tu4 -j16 -N4 --endian=big "$1" | tr -d ' '; }
for program in solvara ratiora; do
    entry=$root/usr/share/applications/$program.desktop
    [ -f "$entry" ] || fail "no desktop entry $program.desktop"
    desktop-file-validate "$entry" || fail "$program.desktop does not validate"
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    case "$exec" in /*) binary=$root$exec ;; *) binary=$root/usr/bin/$exec ;; esac
    [ -x "$binary" ] || fail "$program.desktop runs '$exec', which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    icons=$root/usr/share/icons/hicolor
    [ -s "$icons/scalable/apps/$icon.svg" ] || fail "no scalable icon '$icon'"
    for size in 16 22 24 32 48 64 128 256; do
        png=$icons/${size}x$size/apps/$icon.png
        [ -s "$png" ] && [ "$(png_width "$png")" = "$size" ] || fail "no $size x $size icon '$icon'"
    done

    # The installed program alone, from a directory of its own, without a display.
    mkdir "$work/$program" && cd "$work/$program" || fail "mkdir"
    env -u DISPLAY -u WAYLAND_DISPLAY "$binary" --headless --keys '5926\n' --trace t.jsonl >out 2>&1 ||
        fail "the installed $program did not run headless: $(cat out)"
    title=${program^}
    grep -q "\"op\":\"formula\",\"text\":\"＜$title　メニュー＞\"" t.jsonl || fail "the installed $program drew no menu"
    [ "$(grep -c '"op":"formula","text":"[1-9]　' t.jsonl)" -ge 6 ] || fail "the installed $program drew no menu items"
done
echo "package: ok ($(basename "$deb"), $(du -k "$deb" | cut -f1) KiB)"
