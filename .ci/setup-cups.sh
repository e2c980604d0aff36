#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Sets up the print system for the end-to-end print test, as root: a running CUPS scheduler and
# a PDF queue "QuilletPDF" (the cups-pdf backend) as the default printer. Safe to run again.
#
# Jobs printed on QuilletPDF come out as PDF files named after the job title (with "-job_N"
# appended) in /var/spool/cups-pdf/<user>/, or in /var/spool/cups-pdf/ANONYMOUS/ for jobs of
# users that cups-pdf does not know. The packages come from the install script (cups, cups-bsd,
# printer-driver-cups-pdf, poppler-utils).
set -euo pipefail

queue=QuilletPDF
spool=/var/spool/cups-pdf
conf=/etc/cups/cups-pdf.conf

for tool in cupsd lpadmin lpstat lpinfo; do
  command -v "$tool" >/dev/null || { echo "setup-cups: $tool is missing (package cups)" >&2; exit 1; }
done
[ -x /usr/lib/cups/backend/cups-pdf ] || [ -f /usr/lib/cups/backend/cups-pdf ] ||
  { echo "setup-cups: the cups-pdf backend is missing (printer-driver-cups-pdf)" >&2; exit 1; }
[ -f "$conf" ] || { echo "setup-cups: $conf is missing" >&2; exit 1; }

# set_key KEY VALUE: one active "KEY VALUE" line in cups-pdf.conf.
set_key() {
  if grep -qE "^#?$1[[:space:]]" "$conf"; then
    sed -i -E "s|^#?$1[[:space:]].*|$1 $2|" "$conf"
  else
    echo "$1 $2" >>"$conf"
  fi
}
set_key Out "$spool/\${USER}"
set_key AnonDirName "$spool/ANONYMOUS"
set_key TitlePref 1   # the file is named after the job title given to the print system
set_key Label 2       # ... followed by the job number, so no job overwrites another
mkdir -p "$spool/ANONYMOUS"
chmod 1777 "$spool/ANONYMOUS"

scheduler_running() { lpstat -r 2>/dev/null | grep -q "is running"; }
if ! scheduler_running; then
  # No service manager here: the scheduler puts itself in the background.
  cupsd
  for _ in $(seq 1 50); do scheduler_running && break; sleep 0.2; done
  scheduler_running || { echo "setup-cups: the scheduler did not start" >&2; exit 1; }
fi

if ! lpstat -v "$queue" >/dev/null 2>&1; then
  model=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF_opt\.ppd/ { print $1; exit }')
  if [ -n "$model" ]; then
    lpadmin -p "$queue" -v cups-pdf:/ -E -m "$model"
  else
    ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || true)
    [ -n "$ppd" ] || { echo "setup-cups: no cups-pdf printer description found" >&2; exit 1; }
    lpadmin -p "$queue" -v cups-pdf:/ -E -P "$ppd"
  fi
fi
# The queue takes PostScript: have poppler's cairo renderer make it, which keeps the fonts' text
# (the default route through Ghostscript leaves glyphs that no longer read back as text).
lpadmin -p "$queue" -o pdftops-renderer-default=pdftocairo
cupsenable "$queue" 2>/dev/null || true
cupsaccept "$queue" 2>/dev/null || true
lpadmin -d "$queue"

echo "setup-cups: scheduler running, default printer $queue; output in $spool/<user>/ or $spool/ANONYMOUS/"
