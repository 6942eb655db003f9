#!/usr/bin/env python3
"""Writes seed corpora for the fuzz targets into DIR/<target>/: small valid
and nearly valid inputs of each kind, made here rather than downloaded."""
import os
import struct
import sys


def bmp(width, height, bits, compression=0, off=None, palette=b"", pixels=None, info_size=40):
    stride = ((width * bits + 31) // 32) * 4 if width > 0 else 4
    rows = abs(height) if height else 1
    if pixels is None:
        pixels = bytes((i * 37) & 0xFF for i in range(stride * rows))
    off = off if off is not None else 14 + info_size + len(palette)
    info = struct.pack("<IiiHHIIiiII", info_size, width, height, 1, bits, compression, len(pixels), 0, 0, 0, 0)
    info += b"\0" * (info_size - 40)
    head = b"BM" + struct.pack("<IHHI", off + len(pixels), 0, 0, off)
    body = head + info + palette
    body += b"\0" * max(0, off - len(body))
    return body + pixels


MONO_PALETTE = b"\0\0\0\0\xff\xff\xff\0"


def bmp_seeds():
    return {
        "mono-8x8": bmp(8, 8, 1, palette=MONO_PALETTE),
        "mono-33x10": bmp(33, 10, 1, palette=MONO_PALETTE),
        "mono-topdown": bmp(16, -9, 1, palette=MONO_PALETTE),
        "mono-swapped": bmp(12, 5, 1, palette=b"\xff\xff\xff\0\0\0\0\0"),
        "rgb-5x3": bmp(5, 3, 24),
        "rgb-17x9": bmp(17, 9, 24),
        "rgb-topdown": bmp(7, -4, 24),
        "rgb-v5-header": bmp(6, 6, 24, info_size=124),
        "rgb-gap": bmp(4, 4, 24, off=80),
        "four-bit": bmp(8, 8, 4, palette=b"\0" * 64),
        "rle": bmp(8, 8, 8, compression=1, palette=b"\0" * 1024),
        "truncated": bmp(40, 40, 24)[:100],
    }


def stored_list(entries):
    def record(number, name, path, size, width, height):
        r = bytearray(796)
        struct.pack_into("<i", r, 0, number)
        r[4:4 + len(name)] = name
        r[260:260 + len(path)] = path
        struct.pack_into("<IIIi", r, 780, size, width, height, 0)
        return bytes(r)
    header = bytearray(796)
    struct.pack_into("<i", header, 780, len(entries))
    data = bytes(header) + b"".join(record(i, *e) for i, e in enumerate(entries))
    return data.replace(b"\n", b"\r\n")


def list_seeds():
    return {
        "three": stored_list([(b"a.bmp", b"/l/a.bmp", 32, 8, 8), (b"\xd6\xd0.bmp", b"/l/x", 40, 10, 8),
                              (b"c.bmp", b"/c", 0x0A0D, 26, 13)]),
        "empty": stored_list([]),
        "huge-count": struct.pack("<780si12s", b"", 2000000000, b"") + b"\0" * 100,
    }


def ini_seeds():
    return {
        "full": b"[Common]\nNumber=3\nDefaultNumber=2\nBaseDriverName=RP-820\n[Pos1]\nName=RP-810\nWidth=384\n"
                b"[pos2]\nname=RP-820\n[POS3]\nName=\"TM 88\"\n",
        "many": b"[Common]\nNumber=150\n" + b"".join(b"[Pos%d]\nName=M%d\n" % (i, i) for i in range(1, 151)),
        "odd": b"; comment\n[Common\nNumber=-5\nDefaultNumber=99999999999\n=x\n",
    }


def stream_seeds():
    flash = b"\x1c\x71\x01\x04\x00\x01\x00" + b"\xff" * 8 + b"\0" * 24
    ram = b"\x1d\x23\x02\x1d\x2a\x04\x01" + b"\x0f" * 32
    prints = b"\x18=============== LOGO 1\n\n\x1d\x5c\x08\x00\x1c\x70\x01\x03\n\x1d\x23\x02\x1d\x2f\x01\n\n\x0c"
    return {
        "download-and-print": b"\x07" + flash + ram + prints,
        "status": b"\x01\x1d\x72\x01\x10\x04\x04\x1b\x40text\n\x0c",
        "bad-header": b"\x10\x1c\x71\x02\xff\xff\x01\x00abc\n",
        "modes": b"\x03\x1b\x21\x08\x1d\x56\x42\x00\x1b\x44\x01\x02\x00\x1d\x21\x11x\n\x0c",
    }


def pixmelt_seeds():
    # First three bytes: method, contrast, brightness.
    out = {}
    for name, data in bmp_seeds().items():
        out[name] = bytes([1, 0, 0]) + data
        out[name + "-m3-hard"] = bytes([4, 0x9C, 0x64]) + data
    return out


def answer_seeds():
    # A chunk-size byte, then one answer per write: three status bytes, the
    # capacity, what is free, the key-list blocks (the answers to ACK/NAK/CAN).
    def pieces(chunk, *answers):
        return bytes([chunk]) + b"".join(bytes([len(a)]) + a for a in answers)
    status = [b"\x12", b"\x16", b"\x7e"]
    capacity = b"\x37\x30262144\x00"
    free = b"\x37\x31900\x00"
    return {
        "whole": pieces(3, *status, capacity, free, b"\x37\x72\x41" + b"01" * 20 + b"\x00",
                        b"\x37\x72\x40A1\x00"),
        "broken-then-resent": pieces(0, *status, capacity, free, b"\x37\x72\x41\x07\x00",
                                     b"\x37\x72\x40010203\x00"),
        "late-answers": pieces(1, b"\x00", b"\x81", b"\x12", free, capacity, b"\x37\x72\x40\x00"),
        "no-keys": pieces(7, *status, capacity, free, b"\x37\x72\x40\x00"),
    }


TARGETS = {
    "fuzz_bitmap_reader": bmp_seeds,
    "fuzz_pixmelt": pixmelt_seeds,
    "fuzz_column_image": bmp_seeds,
    "fuzz_stored_list": list_seeds,
    "fuzz_config_file": ini_seeds,
    "fuzz_vprinter_parser": stream_seeds,
    "fuzz_printer_answers": answer_seeds,
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "seeds"
    for target, make in TARGETS.items():
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in make().items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
    print("seeds written to", out)


if __name__ == "__main__":
    main()
