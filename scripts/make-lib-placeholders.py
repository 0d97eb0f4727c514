#!/usr/bin/env python3
"""Writes the placeholder firmware and driver images under lib/ (their outputs are committed).

Every image is a 16-byte header followed by a payload:
  bytes 0..3   magic: b"KDFW" panel firmware, b"KDDV" PLC protocol driver
  bytes 4..7   payload length in bytes (u32, little-endian), the bytes after the header
  bytes 8..9   version (u16, little-endian): the only header field the package writer reads
  bytes 10..11 firmware: hardware version it serves (1 or 2); driver: the port n of <protocol>_<n>.bin
  bytes 12..15 zero
The payload is one line of text naming the file, then filler bytes up to the payload length.

    scripts/make-lib-placeholders.py [LIB_DIR]     # default: lib/ of this repository
"""
import pathlib
import struct
import sys

FIRMWARE_PAYLOAD = 1021  # deliberately not a multiple of 4: the package pads sections
DRIVER_PAYLOAD = 250

FIRMWARE = [
    # (file under lib/hardware, hardware version, firmware version)
    ("pv5521_gui_v1.bin", 1, 0x0103),
    ("pv5521_gui_v2.bin", 2, 0x0201),
    ("pv5521e_gui_v1.bin", 1, 0x0103),
    ("pv5521e_gui_v2.bin", 2, 0x0201),
]

DRIVERS = [
    # (protocol file under lib/plc without ".CFG", driver version)
    ("modbus/ModbusRTU", 0x0100),
    ("modbus/ModbusRTUSlave", 0x0100),
    ("generic/HostLinkA", 0x0100),
    ("generic/PanelLink", 0x0100),
]


def image(magic: bytes, version: int, extra: int, label: str, length: int) -> bytes:
    text = f"KD820 placeholder {label} version {version >> 8}.{version & 0xFF}\n".encode("ascii")
    filler = bytes((i * 7 + 13) & 0xFF for i in range(length - len(text)))
    payload = (text + filler)[:length]
    header = magic + struct.pack("<IHH4x", len(payload), version, extra)
    assert len(header) == 16
    return header + payload


def main() -> None:
    lib = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent / "lib"
    for name, hw, version in FIRMWARE:
        path = lib / "hardware" / name
        path.write_bytes(image(b"KDFW", version, hw, f"panel firmware {name}", FIRMWARE_PAYLOAD))
        print(path)
    for stem, version in DRIVERS:
        for n in (0, 1):
            path = lib / "plc" / f"{stem}_{n}.bin"
            path.write_bytes(image(b"KDDV", version, n, f"driver {path.name}", DRIVER_PAYLOAD))
            print(path)


if __name__ == "__main__":
    main()
