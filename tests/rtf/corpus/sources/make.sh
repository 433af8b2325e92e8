#!/bin/sh
# Remakes the corpus files written by LibreOffice Writer (7.4 on Debian 12) from
# their sources in this folder: run from tests/rtf/corpus/sources.
#   libreoffice_<name>.rtf  <-  <name>.fodt, saved as RTF by Writer
set -e
out=$(mktemp -d)
soffice --headless --convert-to rtf --outdir "$out" ./*.fodt
for file in "$out"/*.rtf; do
  cp "$file" "../libreoffice_$(basename "$file")"
done
rm -r "$out"
