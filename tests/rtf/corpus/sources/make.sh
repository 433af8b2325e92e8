#!/bin/sh
# Remakes the corpus files written by LibreOffice Writer (7.4 on Debian 12) and by
# pandoc (2.17 on Debian 12) from their sources in this folder: run from
# tests/rtf/corpus/sources.
#   libreoffice_<name>.rtf  <-  <name>.fodt or <name>.html, saved as RTF by Writer
#   pandoc_<name>.rtf       <-  <name>.md, by pandoc -s -t rtf
set -e
out=$(mktemp -d)
soffice --headless --convert-to rtf --outdir "$out" ./*.fodt
# HTML pages open in Writer/Web unless the Writer filter is named.
soffice --headless --infilter="HTML (StarWriter)" --convert-to "rtf:Rich Text Format" --outdir "$out" ./*.html
for file in "$out"/*.rtf; do
  cp "$file" "../libreoffice_$(basename "$file")"
done

# picture.md shows flag.png, an 8 x 4 pixel picture drawn here: red left, blue right.
python3 - "$out/flag.png" <<'PYTHON'
import struct, sys, zlib
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
rows = b''.join(b'\0' + bytes([255, 0, 0] * 4 + [0, 0, 255] * 4) for _ in range(4))
with open(sys.argv[1], 'wb') as png:
    png.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 8, 4, 8, 2, 0, 0, 0))
              + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))
PYTHON
for file in ./*.md; do
  name=$(basename "$file" .md)
  cp "$file" "$out/"
  (cd "$out" && pandoc -s -t rtf "$name.md" -o "pandoc_$name.rtf")
  cp "$out/pandoc_$name.rtf" ..
done
rm -r "$out"
