#!/usr/bin/env python3
"""Writes two big instruction files into the folder given (default: the current one):
big_picture.rtf, 50 MB of Word-style paragraphs with a 4 MB photo-like PNG picture
in the middle, and paragraphs.rtf, 1,000,000 short paragraphs. With
startup_bench they measure launch and Run with files far beyond a real one:

  bench/startup/instruction_files.py /tmp/files
  build/bench/startup_bench 3 /tmp/files/big_picture.rtf
"""
import os
import random
import struct
import sys
import zlib

HEADER = (b"{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Calibri;}}"
          b"{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\n")
PARAGRAPH = (b"\\pard\\qj\\sa200\\sl276\\slmult1{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid1 In each round you "
             b"choose one of two options. }{\\b\\cf2 The caf\\'e9 voucher}{ is worth \\u8364?5.} {\\i Points are "
             b"added up} at the end of the game.\\par\n")


def png(width, height):
    """Noise, which does not compress: a picture as big in the file as on disk."""
    rng = random.Random(1)
    rows = b"".join(b"\0" + rng.randbytes(width * 3) for _ in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 1)) + chunk(b"IEND", b""))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(folder, exist_ok=True)
    picture = png(1200, 1100).hex().encode()
    text = PARAGRAPH * ((50 * 1024 * 1024 - len(picture)) // len(PARAGRAPH))
    half = len(text) // 2 // len(PARAGRAPH) * len(PARAGRAPH)
    with open(os.path.join(folder, "big_picture.rtf"), "wb") as out:
        out.write(HEADER + text[:half] + b"{\\pict\\pngblip\\picwgoal9000\\pichgoal8250 " + picture
                  + b"}\\par\n" + text[half:] + b"}")
    with open(os.path.join(folder, "paragraphs.rtf"), "wb") as out:
        out.write(HEADER + b"".join(b"\\pard Paragraph %d of the instructions.\\par\n" % n
                                    for n in range(1, 1000001)) + b"}")


if __name__ == "__main__":
    main()
