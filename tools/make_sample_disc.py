#!/usr/bin/env python3
"""Writes the sample disc of examples/disc/: small audio, video and RTF files
that this project makes itself, so that zavcat has something to catalog.

The output is byte-for-byte the same on every run (no clocks, no randomness),
so the committed disc can be checked by running this again and diffing.

Usage: tools/make_sample_disc.py [--out DIR]
"""

import argparse
import pathlib
import struct

REPO = pathlib.Path(__file__).resolve().parent.parent

ARTIST = "The Zav Quartet"
ALBUM = "Sample Disc Sessions"
ENCODER = "make_sample_disc.py"


# --- byte helpers ---------------------------------------------------------

def be32(value):
    return struct.pack(">I", value)


def le16(value):
    return struct.pack("<H", value)


def le32(value):
    return struct.pack("<I", value)


def latin1(text):
    return text.encode("latin-1")


def fixed(text, width):
    """A zero-padded text field of an ID3v1 tag."""
    data = latin1(text)[:width]
    return data + bytes(width - len(data))


# --- ID3 tags ---------------------------------------------------------------

def syncsafe(value):
    """A 28-bit size in four bytes of seven bits, as ID3v2 headers hold it."""
    return bytes((value >> shift) & 0x7F for shift in (21, 14, 7, 0))


def id3v2_frame(frame_id, data):
    # Frame sizes are plain big-endian; only the tag header size is syncsafe.
    return latin1(frame_id) + be32(len(data)) + b"\0\0" + data


def id3v2_text(frame_id, text):
    return id3v2_frame(frame_id, b"\0" + latin1(text))  # encoding 0: ISO-8859-1


def id3v2_tag(frames, padding=64):
    body = b"".join(frames) + bytes(padding)
    return b"ID3" + bytes([3, 0, 0]) + syncsafe(len(body)) + body


def id3v1_tag(title, artist, album, year, comment, genre, track=None):
    """A 128-byte ID3v1 tag; with a track number it is the v1.1 layout."""
    if track is None:
        comment_field = fixed(comment, 30)
    else:
        comment_field = fixed(comment, 28) + bytes([0, track])
    return (b"TAG" + fixed(title, 30) + fixed(artist, 30) + fixed(album, 30)
            + fixed(year, 4) + comment_field + bytes([genre]))


# --- MPEG audio frames ------------------------------------------------------

# Bit-rate indexes of MPEG-1 Layer III (ISO/IEC 11172-3).
MPEG1_LAYER3_KBPS = {32: 1, 40: 2, 48: 3, 56: 4, 64: 5}


def mpeg1_layer3_frame(kbps, body=b""):
    """A 48000 Hz joint-stereo frame, unprotected, unpadded, marked original.
    The frame body is zero bytes after `body`: side information of zeros
    describes a silent frame with no main data."""
    header = bytes([0xFF, 0xFB, (MPEG1_LAYER3_KBPS[kbps] << 4) | (1 << 2),
                    (1 << 6) | (1 << 2)])
    length = 144000 * kbps // 48000
    return header + body + bytes(length - 4 - len(body))


def xing_frame(audio_frames, stream_bytes):
    # In an MPEG-1 stereo frame the side information takes the 32 bytes after
    # the header, so the Xing header starts at offset 4 + 32.
    side_information = bytes(32)
    flags = 0x1 | 0x2  # frame count and byte count present
    xing = b"Xing" + be32(flags) + be32(audio_frames) + be32(stream_bytes)
    return mpeg1_layer3_frame(32, side_information + xing)


def vbr_stream(frame_count):
    """A Xing frame followed by `frame_count` frames of varying bit rate."""
    rates = [40, 32, 48, 32, 40, 56, 32, 48]
    frames = b"".join(mpeg1_layer3_frame(rates[i % len(rates)]) for i in range(frame_count))
    xing_length = len(mpeg1_layer3_frame(32))
    return xing_frame(frame_count, xing_length + len(frames)) + frames


def mpeg2_layer3_mono_frames(frame_count):
    """MPEG-2 Layer III, 16 kbit/s, 24000 Hz, mono: 48-byte silent frames."""
    header = bytes([0xFF, 0xF3, (2 << 4) | (1 << 2), (3 << 6) | (1 << 2)])
    length = 144000 * 16 // (24000 * 2)
    return (header + bytes(length - 4)) * frame_count


def tagged_vbr_mp3():
    tag2 = id3v2_tag([
        id3v2_text("TIT2", "Night Train to Nowhere (Extended Mix)"),
        id3v2_text("TPE1", ARTIST),
        id3v2_text("TALB", ALBUM),
        id3v2_text("TRCK", "3/8"),
        id3v2_text("TYER", "2024"),
        id3v2_text("TCON", "(8)Jazz"),
        id3v2_frame("COMM", b"\0" + b"eng" + b"\0"
                    + latin1("Six seconds of silence at a variable bit rate")),
        id3v2_text("TENC", ENCODER),
        id3v2_frame("WXXX", b"\0" + b"\0" + latin1("https://example.com/zav/night-train")),
    ])
    # The ID3v1 title is cut at 30 bytes; the ID3v2 one is whole.
    tag1 = id3v1_tag("Night Train to Nowhere (Extended Mix)", ARTIST, ALBUM, "2024",
                     "Silence, variable bit rate", genre=8, track=3)
    return tag2 + vbr_stream(250) + tag1


def plain_cbr_mp3():
    tag1 = id3v1_tag("Test Tone", ARTIST, ALBUM, "2023",
                     "Constant bit rate, ID3v1 only", genre=52)
    return mpeg2_layer3_mono_frames(200) + tag1


# --- RIFF files -------------------------------------------------------------

def riff_chunk(chunk_id, data):
    pad = b"\0" if len(data) % 2 else b""
    return latin1(chunk_id) + le32(len(data)) + data + pad


def riff_list(list_type, chunks):
    return riff_chunk("LIST", latin1(list_type) + b"".join(chunks))


def riff_form(form_type, chunks):
    return riff_chunk("RIFF", latin1(form_type) + b"".join(chunks))


def info_list(texts):
    # Each text keeps its terminating NUL; odd sizes get the RIFF pad byte.
    return riff_list("INFO", [riff_chunk(key, latin1(text) + b"\0") for key, text in texts])


def chime_wav():
    rate = 8000
    fmt = le16(1) + le16(1) + le32(rate) + le32(rate) + le16(1) + le16(8)  # PCM, mono, 8-bit
    silence = bytes([0x80]) * (rate // 4)  # unsigned 8-bit samples: 0x80 is silence
    # The INFO list follows the data chunk, where readers look for it.
    return riff_form("WAVE", [
        riff_chunk("fmt ", fmt),
        riff_chunk("data", silence),
        info_list([
            ("ISBJ", "Door Chime (Silent Take)"),
            ("IART", ARTIST),
            ("ICMT", "A quarter of a second of silence"),
            ("ISFT", ENCODER),
            ("ICRD", "2024-05-17"),
            ("ICOP", "Public domain"),
            ("IENG", "Zav Team"),
            ("ISRC", "Generated, not recorded"),
        ]),
    ])


def clip_avi():
    width, height, fps = 8, 8, 10
    frame_bytes = width * 3 * height  # 24-bit rows of 24 bytes need no padding
    main_header = (le32(1000000 // fps) + le32(frame_bytes * fps) + le32(0)
                   + le32(0x10)  # has an index
                   + le32(1) + le32(0) + le32(1) + le32(frame_bytes)
                   + le32(width) + le32(height) + bytes(16))
    stream_header = (b"vids" + b"DIB " + le32(0) + le16(0) + le16(0) + le32(0)
                     + le32(1) + le32(fps) + le32(0) + le32(1) + le32(frame_bytes)
                     + le32(0xFFFFFFFF) + le32(0)
                     + le16(0) + le16(0) + le16(width) + le16(height))
    bitmap_header = (le32(40) + le32(width) + le32(height) + le16(1) + le16(24)
                     + le32(0) + le32(frame_bytes) + le32(0) + le32(0) + le32(0) + le32(0))
    movie = riff_list("movi", [riff_chunk("00db", bytes(frame_bytes))])
    index = riff_chunk("idx1", b"00db" + le32(0x10) + le32(4) + le32(frame_bytes))
    return riff_form("AVI ", [
        riff_list("hdrl", [
            riff_chunk("avih", main_header),
            riff_list("strl", [riff_chunk("strh", stream_header),
                               riff_chunk("strf", bitmap_header)]),
        ]),
        info_list([
            ("ISBJ", "One Black Frame"),
            ("IART", ARTIST),
            ("ICMT", "An 8 by 8 picture shown for a tenth of a second"),
            ("ISFT", ENCODER),
            ("ICRD", "2024-05-18"),
        ]),
        movie,
        index,
    ])


# --- RTF document -----------------------------------------------------------

LETTER_RTF = r"""{\rtf1\ansi\ansicpg1252\deff0
{\fonttbl{\f0\froman\fcharset0 Times New Roman;}{\f1\fswiss\fcharset0 Arial;}}
{\info{\title Sample Letter}{\subject The zav sample disc}{\author Zav Team}{\operator make_sample_disc.py}{\keywords catalog; sample; rtf}{\comment Written by the sample disc generator}{\version 2}}
\paperw11906\paperh16838\margl1440\margr1440\margt1440\margb1440
\pard\plain\f1\fs32\b Sample Letter\b0\par
\pard\plain\f0\fs24 Dear reader,\par
this document shows what the RTF plug-in collects: the information group above and the breaks of the text below.\par
Name:\tab Zav Team\line Disc:\tab examples/disc\par
\trowd\trgaph108\cellx3000\cellx6000
\pard\intbl Format\cell Plug-in\cell\row
\trowd\trgaph108\cellx3000\cellx6000
\pard\intbl MP3, WAV, AVI\cell Audio\cell\row
\trowd\trgaph108\cellx3000\cellx6000
\pard\intbl RTF\cell RTF-P\cell\row
\pard\plain\f0\fs24 A non\~breaking space and a non\_breaking hyphen.\par
Kind regards,\par
The sample disc\par
}
"""

README_TXT = """zav sample disc
===============

Small files for trying zavcat, all written by tools/make_sample_disc.py:

  letter.rtf               an RTF letter with an information group, tabs and a table
  music/night-train.mp3    MPEG-1 Layer III at a variable bit rate (Xing header),
                           with ID3v2.3 and ID3v1.1 tags
  music/test-tone.mp3      MPEG-2 Layer III at a constant bit rate, ID3v1 tag only
  sounds/chime.wav         8 kHz PCM silence with a LIST/INFO after its data
  video/clip.avi           one 8x8 frame with a LIST/INFO between header and movie

Every sound is silence and the picture is black. No plug-in claims .txt files,
so zavcat passes over this one when it walks the disc.
"""

DISC = {
    "README.txt": latin1(README_TXT),
    "letter.rtf": latin1(LETTER_RTF),
    "music/night-train.mp3": tagged_vbr_mp3(),
    "music/test-tone.mp3": plain_cbr_mp3(),
    "sounds/chime.wav": chime_wav(),
    "video/clip.avi": clip_avi(),
}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--out", type=pathlib.Path, default=REPO / "examples" / "disc",
                        help="folder to write the disc to (default: examples/disc)")
    out = parser.parse_args().out
    for name, content in DISC.items():
        path = out / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content)
        print(f"{path}: {len(content)} bytes")


if __name__ == "__main__":
    main()
