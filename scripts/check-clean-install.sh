#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Installs the Debian package on a clean Debian 12 as a new user would, and checks it there:
#   sudo scripts/check-clean-install.sh build/quillet_3.2_amd64.deb
# 1. A minimal Debian 12 root (debootstrap --variant=minbase) from the package source apt uses
#    here (CLEAN_INSTALL_MIRROR overrides it).
# 2. The package installed with apt-get install, with no prompts and no errors; the packages it
#    pulls and the disk they take are printed.
# 3. An ordinary user starts the program from the desktop entry's Exec line on a virtual X
#    server (run here, outside the root: the root holds only the package and what it pulls),
#    opens a WAV file through "Open Music Files" and plays it, and prints a typed note through
#    File > Print; with no print system in the root the print dialog offers only the PDF file.
# 4. The package purged, its dependencies removed: every file is as before the install.
# 5. An older build (the same package with a lower version) installed, this one installed over it,
#    the program's data folder and the user's own folders removed by hand, the package installed
#    again, the program started again, and purged.
# Needs root, debootstrap, Xvfb, openbox, xdotool and x11-utils here; takes about ten minutes,
# most of it debootstrap. The root is kept when KEEP_ROOT=yes; CLEAN_INSTALL_BASE=DIR starts from a
# copy of an untouched debootstrapped root instead of making one.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/virtual-display.sh

deb="$(realpath "${1:?usage: $0 PACKAGE.deb}")"
[ "$(id -u)" -eq 0 ] || { echo "check-clean-install: run as root (debootstrap, chroot)" >&2; exit 2; }
for tool in debootstrap Xvfb openbox xdotool xdpyinfo dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "check-clean-install: needs $tool" >&2; exit 2; }
done

# The Debian archive apt uses here: a one-line "deb" entry or a deb822 "URIs:" field.
mirror() {
  local uri
  uri="$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk '$1 == "deb" && $0 ~ / bookworm / {for (i = 2; i <= NF; i++) if ($i ~ /^https?:/) {print $i; exit}}')"
  [ -n "$uri" ] || uri="$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
    awk '/^URIs:/ {u = $2} /^Suites:/ && / bookworm( |$)/ && u !~ /security/ {print u; exit}')"
  echo "${CLEAN_INSTALL_MIRROR:-${uri:-http://deb.debian.org/debian}}"
}

source scripts/checks.sh
CHECK_OUTPUT_LINES=20

work="$(mktemp -d /var/tmp/quillet-clean-install.XXXXXX)"
root="$work/root"
mounted=()
cleanup() {
  set +e
  [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null
  stop_virtual_display
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}"; done
  if [ "${KEEP_ROOT:-no}" = yes ]; then echo "root kept in $root"; else rm -rf "$work"; fi
}
trap cleanup EXIT

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

# apt-get as a user runs it: no prompt may stop it (stdin closed), and it must end cleanly
# without an error or warning line.
apt_quiet() {  # apt_quiet LOG ARGS...
  local log="$1"
  shift
  in_root env DEBIAN_FRONTEND=noninteractive apt-get -y "$@" </dev/null >"$log" 2>&1 || {
    cat "$log"
    return 1
  }
  ! grep -E '^(E|W):|dpkg: (error|warning)|debconf: unable' "$log"
}

# The package's own files, and the folders that only it uses.
package_files() {
  in_root dpkg-query -L quillet | grep -E '\.|quillet' | grep -vxE '/\.|/usr/share/doc|/usr/share/man(/man1)?'
}

# None of the files listed in FILE is in the root any more.
none_left() {  # none_left FILE
  local path status=0
  while IFS= read -r path; do
    if [ -e "$root$path" ]; then echo "left: $path"; status=1; fi
  done <"$1"
  return "$status"
}

# Every file of the root but the package manager's own records and the caches and logs.
snapshot() {
  (cd "$root" && find . -xdev \( -path ./proc -o -path ./sys -o -path ./dev -o -path ./tmp \
    -o -path ./var/lib/apt -o -path ./var/lib/dpkg -o -path ./var/cache -o -path ./var/log \
    -o -path ./home -o -path ./root -o -path ./run \) -prune -o -print | sort)
}

# A 32-bit number as four little-endian bytes.
le32() {
  local n="$1"
  printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((n & 255)) $((n >> 8 & 255)) $((n >> 16 & 255)) $((n >> 24 & 255))
}

# A WAV file of two seconds of a quiet tone: 8000 samples a second, 8 bits, mono.
write_wav() {
  local samples=16000 i
  {
    printf "RIFF$(le32 $((36 + samples)))WAVEfmt "
    printf "$(le32 16)\\x01\\x00\\x01\\x00$(le32 8000)$(le32 8000)\\x01\\x00\\x08\\x00"
    printf "data$(le32 "$samples")"
    for ((i = 0; i < samples / 8; i++)); do printf '\x80\x90\x98\x90\x80\x70\x68\x70'; done
  } >"$1"
}

# The older build: this package with its version lowered.
older_build() {
  local dir="$work/older"
  dpkg-deb -R "$deb" "$dir"
  sed -i 's/^Version: .*/Version: 3.1~older1/' "$dir/DEBIAN/control"
  dpkg-deb --root-owner-group -b "$dir" "$work/quillet-older.deb" >/dev/null
  rm -rf "$dir"
}

# The Exec line of the installed desktop entry, without its field codes (%F and the like).
desktop_exec() {
  sed -n 's/^Exec=//p' "$root/usr/share/applications/io.github.quillet.Quillet.desktop" |
    head -n 1 | sed 's/ *%[fFuUick]//g'
}

# Starts the program as the user, from the desktop entry, and waits for its main window.
start_program() {
  local exec
  exec="$(desktop_exec)"
  chroot --userspec=tester:tester "$root" env -i PATH=/usr/bin:/bin HOME=/home/tester \
    USER=tester LANG=C.UTF-8 DISPLAY="$DISPLAY" sh -c "cd && exec $exec" \
    >"$work/program.log" 2>&1 &
  program_pid=$!
  window="$(timeout 60 xdotool search --sync --onlyvisible --name '^Quillet 3\.2\+$' | head -n 1)"
  [ -n "$window" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  menu=$((HEIGHT - 458))  # layout places are below the menu bar; the client area is 458 high
}

click() {  # click X Y: a layout place in the main window
  xdotool mousemove --window "$window" "$1" $((menu + $2)) click 1
  sleep 1
}

# The dialog that the program shows on top, by its title.
dialog() {
  timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1
}

# True when the running program has loaded a library whose name holds PATTERN (chroot, env and
# sh each replace themselves, so the started process is the program).
program_maps() {  # program_maps PATTERN
  grep -q "$1" "/proc/$program_pid/maps"
}

open_and_play_wav() {
  write_wav "$root/home/tester/tone.wav"
  chroot "$root" chown tester:tester /home/tester/tone.wav
  click 300 408  # "Open Music Files"
  local d
  d="$(dialog '^Open Music Files$')" && [ -n "$d" ] || return 1
  xdotool windowactivate --sync "$d" type --delay 20 /home/tester/tone.wav
  xdotool windowactivate --sync "$d" key Return
  sleep 2
  click 190 367  # the player bar's Play
  sleep 1
  program_maps libgstwavparse && program_maps libquillet_gstreamer
}

print_note() {
  click 140 150  # the note area
  xdotool type --delay 20 "A note printed with no printer set up."
  xdotool key ctrl+p
  local d
  d="$(dialog '^Print$')" && [ -n "$d" ] || return 1
  sleep 1
  xdotool windowactivate --sync "$d" key Return
  for _ in $(seq 30); do
    ls "$root"/home/tester/*.pdf >/dev/null 2>&1 && break
    sleep 1
  done
  local pdf
  pdf="$(ls "$root"/home/tester/*.pdf | head -n 1)"
  [ -s "$pdf" ] && head -c 5 "$pdf" | grep -q '%PDF-' && echo "printed to ${pdf#"$root"}"
}

stop_program() {
  xdotool windowclose "$window" 2>/dev/null || true
  for _ in $(seq 20); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.5; done
  kill "$program_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
  program_pid=""
}

# Purges the package, then what it pulled: none of its files is left, and what the dependencies'
# own purge leaves (systemd keeps the machine's id, for one) is listed.
purge_all() {  # purge_all LOG-PREFIX
  package_files >"$1.files"
  check "apt-get purge quillet" apt_quiet "$1.log" purge quillet
  check "nothing of the package left ($(wc -l <"$1.files") files and folders)" none_left "$1.files"
  check "apt-get autoremove --purge" apt_quiet "$1-autoremove.log" autoremove --purge
  echo "        left by the dependencies' purge:" \
    $(diff <(echo "$before") <(snapshot) | sed -n 's/^> //p')
}

start=$SECONDS
if [ -n "${CLEAN_INSTALL_BASE:-}" ]; then
  # A copy of a root debootstrapped before and never changed since, to save the download.
  echo "== A clean Debian 12 root copied from $CLEAN_INSTALL_BASE =="
  mkdir -p "$root" && cp -a "$CLEAN_INSTALL_BASE/." "$root/"
else
  echo "== A clean Debian 12 root from $(mirror) =="
  debootstrap --variant=minbase bookworm "$root" "$(mirror)" >"$work/debootstrap.log" 2>&1 ||
    { tail -n 20 "$work/debootstrap.log"; exit 1; }
fi
echo "root: $((SECONDS - start)) s, $(du -sxm "$root" | cut -f1) MB"
# The root is a mount point of its own, so that it has a line for / in its mount table.
mount --bind "$root" "$root" && mounted+=("$root")
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --bind /dev "$root/dev" && mounted+=("$root/dev")
mount --bind /dev/pts "$root/dev/pts" && mounted+=("$root/dev/pts")
cp /etc/resolv.conf "$root/etc/resolv.conf"
in_root apt-get update -qq
in_root useradd -m -s /bin/sh tester
cp "$deb" "$root/tmp/quillet.deb"
older_build
cp "$work/quillet-older.deb" "$root/tmp/quillet-older.deb"
start_virtual_display 1024x768

echo "== Install on a system that never had it =="
before="$(snapshot)"
used_before=$(du -sxk "$root" | cut -f1)
start=$SECONDS
check "apt-get install ./quillet.deb: no prompt, no error" apt_quiet "$work/install.log" install /tmp/quillet.deb
seconds=$((SECONDS - start))
pulled="$(grep -oE '[0-9]+ newly installed' "$work/install.log" | cut -d' ' -f1)" || true
download="$(grep -oE '^Need to get [^ /]+ [kMG]?B' "$work/install.log" | sed 's/Need to get //')" || true
used=$((($(du -sxk "$root" | cut -f1) - used_before) / 1024))
echo "figures: ${pulled:-?} packages installed (the package and what it pulls), ${download:-?} downloaded, $used MB of disk, $seconds s"

echo "== The program as a new user starts it =="
check "starts from the desktop entry ($(desktop_exec)) and shows its window" start_program
if [ -n "${window:-}" ]; then
  check "opens a WAV file and plays it (GStreamer's WAV reader loaded)" open_and_play_wav
  check "prints a note to a PDF file with no printer set up" print_note
  check "the program still runs" kill -0 "$program_pid"
  stop_program
fi
sed 's/^/        program: /' "$work/program.log" | head -n 20

echo "== Purge =="
purge_all "$work/purge"

echo "== Over an older build, with the data folders removed by hand =="
check "the older build installs" apt_quiet "$work/older.log" install /tmp/quillet-older.deb
check "this build installs over it" apt_quiet "$work/upgrade.log" install /tmp/quillet.deb
check "the version is this build's" \
  test "$(in_root dpkg-query -W -f='${Version}' quillet)" = "$(dpkg-deb -f "$deb" Version)"
rm -rf "$root/usr/share/quillet" "$root/home/tester/.cache" "$root/home/tester/.config" \
  "$root/home/tester/.local"
check "installs again after the data folder was removed by hand" \
  apt_quiet "$work/reinstall.log" install --reinstall /tmp/quillet.deb
check "the how-to page is back" test -s "$root/usr/share/quillet/appfiles/howto.html"
check "starts again" start_program
[ -n "${program_pid:-}" ] && stop_program
purge_all "$work/purge2"

echo "clean install: $SECONDS s in all"
check_summary
