#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Checks what an installation of Quillet holds: the program, the files it reads at run time, the
# desktop entry, the icons at every size and the software-centre entry, each validated by the
# desktop's own tools. Each argument is a Debian package (unpacked into a scratch folder and
# checked under /usr, with its dependencies) or an install prefix (from cmake --install).
#   scripts/check-package.sh build/quillet_3.2_amd64.deb /tmp/prefix
# Ends with a line in the form ctest uses, so .ci/run counts the checks with the tests; the exit
# status is non-zero when any check fails.
set -uo pipefail
ID=io.github.quillet.Quillet
# The version the documents must name: the project's.
version="$(sed -n 's/^project(Quillet VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
source "$(dirname "$0")/checks.sh"

# The width and height a PNG file's header states, as "WxH".
png_size() {
    local w h
    w=$(od -An -tu1 -j16 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    h=$(od -An -tu1 -j20 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    echo "${w}x${h}"
}

icon_is() {  # icon_is FILE SIZE
    [ -f "$1" ] && [ "$(png_size "$1")" = "$2x$2" ]
}

# The program finds its files at bin/../share/quillet/appfiles.
check_prefix() {  # check_prefix PREFIX LABEL
    local p="$1" label="$2"
    check "$label: bin/quillet is a program" test -x "$p/bin/quillet"
    check "$label: the how-to page" test -s "$p/share/quillet/appfiles/howto.html"
    check "$label: the help file" test -s "$p/share/quillet/appfiles/Quil3.hlp"
    # Loaded, not linked, when the player first opens a file: its libraries must all resolve.
    local module="$p/lib/quillet/libquillet_gstreamer.so"
    check "$label: the GStreamer module and its libraries" \
        bash -c '[ -f "$1" ] && ldd "$1" && ! ldd "$1" | grep -q "not found"' _ "$module"
    local desktop="$p/share/applications/$ID.desktop"
    check "$label: desktop entry passes desktop-file-validate" desktop-file-validate "$desktop"
    check "$label: desktop entry starts quillet with the files chosen" \
        grep -qx -e "Exec=quillet %F" "$desktop"
    # "Open with" in a file manager: notes (RTF, plain text) and the player's music.
    for type in text/rtf application/rtf text/plain audio/mpeg audio/x-wav; do
        check "$label: desktop entry opens $type" \
            bash -c 'grep -q "^MimeType=\(.*;\)\?$1;" "$2"' _ "$type" "$desktop"
    done
    check "$label: desktop entry names the icon" grep -qx -e "Icon=$ID" "$desktop"
    # A TryExec that names no installed program hides the entry from every menu.
    check "$label: desktop entry's TryExec is the installed program" \
        bash -c 't="$(sed -n "s/^TryExec=//p" "$1")"; [ -z "$t" ] || [ -x "$2/bin/$t" ]' \
        _ "$desktop" "$p"
    for size in 16 32 48 64 128 256; do
        check "$label: icon ${size}x${size}" \
            icon_is "$p/share/icons/hicolor/${size}x${size}/apps/$ID.png" "$size"
    done
    check "$label: scalable icon" test -s "$p/share/icons/hicolor/scalable/apps/$ID.svg"
    check "$label: metainfo passes appstreamcli validate" \
        appstreamcli validate --no-net "$p/share/metainfo/$ID.metainfo.xml"
    check "$label: metainfo names the licence" \
        grep -q "<project_license>GPL-3.0-or-later</project_license>" "$p/share/metainfo/$ID.metainfo.xml"
    # The package's documents, and the manual page that man finds.
    check "$label: machine-readable copyright" \
        grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
        "$p/share/doc/quillet/copyright"
    check "$label: changelog.gz names this version" \
        bash -c 'zcat "$1" | head -n 1 | grep -q "^quillet ($2) "' _ "$p/share/doc/quillet/changelog.gz" "$version"
    check "$label: the README" test -s "$p/share/doc/quillet/README.md"
    check "$label: manual page quillet.1.gz formats without warnings" \
        bash -c 'out="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null)" &&
                 [ -z "$out" ] && zcat "$1" | grep -q "^\.SH OPTIONS"' _ "$p/share/man/man1/quillet.1.gz"
}

# Prints the lines of FILE that match PATTERN and fails when there are any.
no_lines() {  # no_lines PATTERN FILE
    ! grep -E "$1" "$2"
}

depends_on() {  # depends_on DEB PACKAGE: the Depends field names it
    dpkg-deb -f "$1" Depends | tr ',|' '\n' | sed 's/ *(.*//; s/^ *//; s/ *$//' | grep -qx -e "$2"
}

check_deb() {  # check_deb FILE
    local deb="$1" root
    root="$scratch/root-$(basename "$deb")"
    mkdir -p "$root"
    check "$(basename "$deb"): unpacks" dpkg-deb -x "$deb" "$root"
    check "$(basename "$deb"): named quillet_<version>_<arch>.deb" \
        test "$(basename "$deb")" = "quillet_$(dpkg-deb -f "$deb" Version)_$(dpkg-deb -f "$deb" Architecture).deb"
    # Libraries come from the linked program (shlibdeps); plugins and fonts are named by hand.
    for dependency in libqt6widgets6 libqt6printsupport6 libgstreamer1.0-0 libjpeg62-turbo \
        gstreamer1.0-plugins-base gstreamer1.0-plugins-good fonts-liberation; do
        check "$(basename "$deb"): depends on $dependency" depends_on "$deb" "$dependency"
    done
    # Qt's Wayland platform, for a native window on a Wayland desktop.
    check "$(basename "$deb"): recommends qt6-wayland" \
        bash -c 'dpkg-deb -f "$1" Recommends | tr "," "\n" | grep -qx " *qt6-wayland *"' _ "$deb"
    check_prefix "$root/usr" "$(basename "$deb")"
    # Debian's package checker: nothing above an info note, and no hardening note at all (the
    # info notes left are explained in docs/BUILDING.md).
    check "$(basename "$deb"): lintian runs" \
        bash -c 'lintian -I "$1" >"$2"; [ $? -le 1 ]' _ "$deb" "$scratch/lintian"
    check "$(basename "$deb"): lintian finds no errors or warnings" no_lines '^[EW]: ' "$scratch/lintian"
    check "$(basename "$deb"): lintian -I finds no hardening notes" no_lines ' hardening-' "$scratch/lintian"
    check "$(basename "$deb"): no maintainer script (no ldconfig for the private module)" \
        bash -c '! dpkg-deb -I "$1" | grep -E "postinst|postrm|preinst|prerm|triggers"' _ "$deb"
}

if [ $# -eq 0 ]; then
    echo "usage: $0 PACKAGE.deb|PREFIX..." >&2
    exit 2
fi
for target in "$@"; do
    case "$target" in
        *.deb) check_deb "$target" ;;
        *) check_prefix "$target" "$target" ;;
    esac
done
check_summary
