#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora into fuzz/corpus/ from the sample data and a few texts.

Each seed is laid out as its target reads its input (see the target's source)."""
import pathlib
import struct

root = pathlib.Path(__file__).resolve().parent.parent
corpus = root / "fuzz" / "corpus"


def write(target, name, data):
    folder = corpus / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


# Maps: one byte of range (3 is none), then the file.
good_map = (root / "tests/data/maps/imagemagick-16.bmp").read_bytes()
sample_map = (root / "data/sample/map200.bmp").read_bytes()
write("background_map", "usable-100", b"\x00" + good_map)
write("background_map", "usable-200-short", b"\x01" + sample_map[:2000])
write("background_map", "header-only-300", b"\x02" + sample_map[:118])
os2 = bytearray(sample_map[:64])
os2[14] = 12
write("background_map", "os2-header", b"\x00" + bytes(os2))
rle = bytearray(sample_map[:200])
rle[30] = 2
write("background_map", "rle", b"\x01" + bytes(rle))
write("background_map", "no-range", b"\x03" + sample_map[:40])


# Day files: flags, frame code, persistence (minutes, signed), scan lower and upper bounds,
# repeat count of the frame day's file, its length, its bytes, then the previous day's bytes.
def day_input(flags, code, persistence, lower, upper, repeat, frame_day, previous_day):
    head = struct.pack("<BHhiiBH", flags, code, persistence, lower, upper, repeat, len(frame_day))
    return head + frame_day + previous_day


frame_day = (root / "data/sample/071526.dat").read_bytes()
previous_day = (root / "data/sample/071426.dat").read_bytes()
write("day_files", "two-days", day_input(1, 300, 120, 0, 400, 0, frame_day[:6144], previous_day[-4096:]))
write("day_files", "one-day-upper-case", day_input(8, 20000, 60, 19000, 0, 0, frame_day[:3072], b""))
write("day_files", "repeated-odd-second", day_input(2 | 16, 43199, 1440, -5, 43199, 70, frame_day[:1100], b""))
write("day_files", "short-header", day_input(1, 10, 30, 0, 0, 0, frame_day[:700], previous_day[:1030]))
write("day_files", "negative-persistence", day_input(5, 100, -1, 50, 60, 0, frame_day[:2048], b""))

# Settings files, as they are on disk.
write("settings_file", "regedit4",
      b"REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]\n"
      b"\"XN\"=\"storm-%Y%m%d.gif\"\n\"CM\"=\"Lightning \\\"live\\\"\"\n\"CH\"=\"TRUE\"\n"
      b"\"IT\"=dword:00000000\n\"PS\"=dword:0000003c\n\"RT\"=dword:0000003c\n"
      b"\"ZM\"=dword:00000001\n\"UN\"=dword:00000001\n\"R2\"=dword:00000004\n"
      b"\"SD\"=dword:0000000e\n\"SM\"=dword:00000007\n\"SY\"=dword:000007ea\n"
      b"\"SH\"=dword:00000017\n\"SN\"=dword:00000000\n\"SS\"=dword:00000000\n")
utf16 = ("Windows Registry Editor Version 5.00\r\n\r\n"
         "[HKEY_CURRENT_USER\\Software\\ANIMARK_KXDATA]\r\n"
         "\"DD\"=\"C:\\\\K\u00e4rten\\\\year\"\r\n\"PB\"=dword:fffffffe\r\n"
         "\"M1\"=hex(1):6d,00,\\\r\n  00\r\n\r\n[HKEY_CURRENT_USER\\Other]\r\n\"XN\"=\"x\"\r\n")
write("settings_file", "version5-utf16", b"\xff\xfe" + utf16.encode("utf-16-le"))
write("settings_file", "bad-values",
      b"\xef\xbb\xbfREGEDIT4\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]\r\n"
      b"\"RT\"=dword:0\r\n\"R3\"=hex:64,00\r\n\"UN\"=-\r\n\"EM\"=dword:0000000d\r\n"
      b"\"BN\"=hex(7):41,00,00,00\r\n")
write("settings_file", "not-a-registry-export", b"[section]\nkey=value\n")
write("settings_file", "empty", b"")


# Export options: one a line, the first byte choosing the option (see OptionsFrom).
def options(*pairs):
    return b"\n".join(bytes([choice]) + value for choice, value in pairs)


write("export_options", "accepted",
      options((0, b"storm.gif"), (1, b"2026-07-14 23:00"), (2, b"2026-07-15 00:10"),
              (4, b"200"), (6, b"200=4"), (7, b"1"), (9, b"km"), (10, b"30"), (11, b"5")))
write("export_options", "last-hour", options((3, b"60"), (12, b"10"), (13, b"300"), (14, b"-1")))
write("export_options", "refused-rate", options((0, b"x.gif"), (11, b"0x10"), (12, b"0")))
write("export_options", "refused-map",
      options((5, b"map.bmp"), (5, b"300=" + b"m" * 257), (15, b"comment")))
write("export_options", "percent-output",
      options((0, b"%Y-%m-%d %H.gif"), (16, b"/srv/strikes/%Y"), (1, b"2026-02-30 10:00")))
write("export_options", "before-year-100", options((2, b"0026-06-15 00:10"), (0, b"early.gif")))


# Period text: a byte choosing the locale (even: a real one, odd: the pictures in the next three
# lines), then the text as typed.
write("period_text", "en-us", b"\x00" + b"7/14/2026 9:05:09 PM")
write("period_text", "de-de-short", b"\x02" + b" 1.7.2026   21:05 ")
write("period_text", "ko-kr", b"\x04" + "2026. 7. 14. 오후 9:05".encode())
write("period_text", "fi-fi-time", b"\x06" + b"21.05.09")
write("period_text", "names", b"\x08" + b"Tuesday, July 14, 2026 12:00:00 am")
write("period_text", "own-pictures",
      b"\x01" + "yyyy'年'M'月'd'日'\nH'時'mm'分'ss'秒'\nH:mm\n2026年7月14日 21時05分09秒".encode())
write("period_text", "run-together", b"\x01" + b"dM yy\nHmmss tt\nh\n112 10203")
