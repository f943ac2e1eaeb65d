#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks what a user would get from it:
# its Depends field, its file list, and the installed programs, which must start from the
# unpacked tree, with the system's libraries, and find their help document; each manual
# page renders without warnings, the desktop entry and the catalogue entry validate.
#   check_package.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
fi
deb=$(echo "$work"/out/telmora_*.deb)
[ -f "$deb" ] || { cat "$work/cpack.log" >&2; echo "FAIL: no package was made" >&2; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# Depends: the libraries the programs link, and the packages holding the toolkit plugins
# that are loaded at run time (the X11 platform, printing to CUPS).
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
needed=(libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6
        libqt6printsupport6)
for plugin in platforms/libqxcb.so printsupport/libcupsprintersupport.so; do
    owner=$(dpkg -S "*/qt6/plugins/$plugin" 2>/dev/null | head -n 1 | cut -d: -f1) ||
        true
    [ -n "$owner" ] && needed+=("$owner")
done
# The package names alone, one a line: "libc6 (>= 2.34), libqt6gui6" gives libc6, libqt6gui6.
names=$(tr ',|' '\n\n' <<<"$depends" | awk '{ print $1 }')
for package in "${needed[@]}"; do
    grep -qxF "$package" <<<"$names" || fail "Depends lacks $package"
done

# The file list, both ways: everything expected is there and nothing else is.
id=org.telmora.Telmora
expected=(
    usr/bin/telmora usr/bin/kelvo usr/bin/kelvo-sim
    usr/share/telmora/telmora-help.html
    usr/share/applications/$id.desktop
    usr/share/metainfo/$id.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/$id.svg
    usr/share/man/man1/telmora.1.gz usr/share/man/man1/kelvo.1.gz
    usr/share/man/man1/kelvo-sim.1.gz
)
for size in 16 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png")
done
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$work/files"
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
while read -r missing; do fail "the package lacks $missing"; done \
    < <(comm -13 "$work/files" "$work/expected")
while read -r extra; do fail "the package holds an unexpected $extra"; done \
    < <(comm -23 "$work/files" "$work/expected")

root="$work/root"
dpkg-deb -x "$deb" "$root"
root=$(realpath "$root")
version=$(dpkg-deb -f "$deb" Version)

for tool in kelvo kelvo-sim; do
    out=$("$root/usr/bin/$tool" --help 2>&1) || fail "$tool --help ended with status $?"
    grep -q "^Usage: $tool " <<<"$out" || fail "$tool --help printed: $out"
done

# --version needs no display; it names where the help document was found.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/telmora" --version 2>&1) ||
    fail "telmora --version ended with status $?"
echo "$out"
[ "$(head -n 1 <<<"$out")" = "Telmora $version" ] || fail "telmora --version: not version $version"
grep -Eq "^Build [0-9a-f]{7,}|^Build unknown" <<<"$out" || fail "telmora --version names no build"
grep -qxF "Help: $root/usr/share/telmora/telmora-help.html" <<<"$out" ||
    fail "the installed telmora does not find its help document"

# The window itself starts on the offscreen platform, in a sandbox whose ports lead nowhere;
# it must still be running when stopped after 3 seconds.
sandbox="$work/sandbox"
mkdir -p "$sandbox/config/telmora"
printf '1=none\n2=none\n3=none\n4=none\n' >"$sandbox/config/telmora/ports"
printf '\001\000' >"$sandbox/CustFile"
status=0
(cd "$sandbox" && XDG_CONFIG_HOME="$sandbox/config" XDG_RUNTIME_DIR="$sandbox" \
    QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/telmora" >"$work/window.log" 2>&1) ||
    status=$?
[ "$status" -eq 124 ] || { cat "$work/window.log" >&2; fail "telmora ended early, status $status"; }

for page in telmora kelvo kelvo-sim; do
    file="$root/usr/share/man/man1/$page.1.gz"
    warnings=$(MANWIDTH=80 man -l --warnings "$file" 2>&1 >"$work/page.txt") ||
        fail "man $page ended with status $?"
    [ -z "$warnings" ] || fail "man $page warns: $warnings"
    grep -q "^NAME" "$work/page.txt" || fail "man $page rendered no NAME section"
    zcat "$file" | grep -q "^\.TH .*\"Telmora $version\"" || fail "man $page is not of $version"
done

desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net --no-color "$root/usr/share/metainfo/$id.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log" >&2; fail "metainfo"; }

if [ "$failures" -ne 0 ]; then
    echo "$failures package check(s) failed" >&2
    exit 1
fi
echo "package checks passed"
