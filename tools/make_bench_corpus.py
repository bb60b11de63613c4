#!/usr/bin/env python3
"""Writes the benchmark corpus: thousands of audio, video and RTF files in the
shapes real encoders, taggers and word processors produce, for timing whole
catalog runs (bench/whole_process.py).

  2000 MP3    1-10 MB; CBR with an Info frame, CBR without one, VBR with a Xing
              frame; MPEG-1, 2 and 2.5; ID3v2.3 tags from a few hundred bytes
              to a few hundred KiB (cover art, padding, UTF-16 text, a few
              unsynchronised, a few with an extended header), ID3v1 and v1.1
              tags; a few RIFF "RMP3" files
   300 WAV    1-10 MB of PCM; INFO lists before the data, after it, or both;
              bext, JUNK and id3 chunks on some
   100 AVI    1-10 MB of Motion-JPEG and PCM with an index; INFO lists before
              the movie data, after the index, or both
  1000 RTF    2 KB-2 MB, as Word, WordPad and LibreOffice write them: big font,
              colour and style tables, theme and data-store blobs, pictures as
              hex, tables, fields, lists, Shift-JIS hex text, UTF-16
              information strings

and one list of absolute paths per kind (mp3.list, wav.list, avi.list,
rtf.list) in the corpus folder.

Only a few seconds of audio are encoded (lame) and a few images made (ffmpeg);
every file is then assembled from those frames, replicated to its size, with
the headers that count frames and bytes patched to match. The corpus is the
same on every run with the same seed and the same lame and ffmpeg; a stamp file
records what it was made with, and a run whose stamp matches does nothing.

Usage: tools/make_bench_corpus.py [--out DIR] [--seed N] [--scale F] [--force]
  --out    default: $ZAV_BENCH_DIR, else build/bench-corpus in the repository
           (beside the preset build folders, ignored by git)
  --scale  multiplies the file counts (0.05 makes a quick 170-file corpus)
"""

import argparse
import json
import os
import pathlib
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile

# The byte and container helpers of the sample disc serve here as well.
from make_sample_disc import be32, id3v2_frame, riff_chunk as chunk, riff_form as riff, riff_list, syncsafe

REPO = pathlib.Path(__file__).resolve().parent.parent
GENERATOR_VERSION = 1
COUNTS = {"mp3": 2000, "wav": 300, "avi": 100, "rtf": 1000}
MB = 1 << 20


# --- small helpers ------------------------------------------------------------

def rng_for(seed, kind, index):
    # String seeds hash the same way on every run and platform.
    return random.Random(f"{seed}:{kind}:{index}")


def audio_size(rng):
    """1 to 10 MB, most files near the small end as in a real collection."""
    return int(MB * 10 ** (rng.random() ** 2))


def fit(text, encoding, width):
    """`text` encoded, shortened by whole characters to at most `width` bytes."""
    data = text.encode(encoding)
    while len(data) > width:
        text = text[:-1]
        data = text.encode(encoding)
    return data


def run_tool(arguments):
    subprocess.run(arguments, check=True, stdin=subprocess.DEVNULL)


# --- names and texts ------------------------------------------------------------

WORDS = ("river night garden silver morning light shadow paper glass winter summer "
         "harbour train letter window mountain ocean quiet golden blue stone fire "
         "echo dream city road home heart rain snow star moon sun forest bridge "
         "north south island lantern violin piano song dance little long last first "
         "over under between without again always never hello goodbye tomorrow").split()
FIRST_NAMES = "Anna Ben Clara David Elena Felix Grace Hugo Iris Jonas Kate Leo Mia Nils Olga Paul".split()
LAST_NAMES = "Berg Costa Dahl Evans Fischer Garcia Hansen Ito Jensen Kowalski Larsen Moreau Novak".split()
JAPANESE_WORDS = ("夜 川 月 空 雨 雪 風 花 海 山 光 夢 街 駅 星 春 夏 秋 冬 心 "
                  "東京 大阪 京都 桜 青い 静かな 遠い 約束 物語 手紙 旅 歌 音楽 時間").split()
GENRES = ["Rock", "Pop", "Jazz", "Classical", "Electronic", "Folk", "Soundtrack", "J-Pop", "Ambient"]
ENCODERS = ["LAME 3.100", "LAME 3.99.5", "iTunes 12.9.1.4", "Exact Audio Copy", "foobar2000 v1.6"]
SOFTWARE = ["Lavf59.27.100", "Sound Forge Pro 11.0", "Audacity 3.2", "Adobe Audition CC", "Lavf58.76.100"]


def phrase(rng, low, high):
    return " ".join(rng.choice(WORDS) for _ in range(rng.randint(low, high))).title()


def person(rng):
    return f"{rng.choice(FIRST_NAMES)} {rng.choice(LAST_NAMES)}"


def japanese_phrase(rng, low, high):
    return "".join(rng.choice(JAPANESE_WORDS) for _ in range(rng.randint(low, high)))


def track_metadata(rng, japanese):
    """The tags of one track; Japanese tracks carry Japanese titles and names."""
    if japanese:
        title, artist, album = (japanese_phrase(rng, 2, 5), japanese_phrase(rng, 1, 3) + "バンド",
                                japanese_phrase(rng, 2, 4))
    else:
        title, artist, album = phrase(rng, 1, 5), person(rng), phrase(rng, 1, 4)
    return {
        "title": title, "artist": artist, "album": album,
        "year": str(rng.randint(1965, 2023)), "track": rng.randint(1, 18),
        "genre": rng.randrange(148), "genre_name": rng.choice(GENRES),
        "comment": phrase(rng, 2, 8), "composer": person(rng),
        "copyright": f"(C) {rng.randint(1965, 2023)} {phrase(rng, 1, 2)} Records",
        "url": f"https://music.example.org/{rng.randrange(10**6)}",
        "encoder": rng.choice(ENCODERS), "software": rng.choice(SOFTWARE),
        "engineer": person(rng), "japanese": japanese,
    }


def file_name(rng, index, meta, suffix):
    words = re.sub(r"[^A-Za-z0-9 ]", "", meta["title"]) if not meta["japanese"] else ""
    if not words.strip() or rng.random() < 0.3:
        words = phrase(rng, 1, 4)
    return f"{meta['track']:02d} {words.strip()[:60]} {index:04d}.{suffix}"


# --- material made by the external tools ----------------------------------------------

# (name, lame options, weight): the MPEG versions, modes and rates the corpus mixes.
LAME_CLIPS = [
    ("m1_cbr128", ["-b", "128"], 20),
    ("m1_cbr192", ["-b", "192"], 10),
    ("m1_cbr320", ["-b", "320"], 8),
    ("m1_cbr128_48k", ["--resample", "48", "-b", "128"], 4),
    ("m1_cbr96_32k", ["--resample", "32", "-b", "96"], 3),
    ("m1_cbr64_mono", ["-m", "m", "-b", "64"], 3),
    ("m1_cbr128_noinfo", ["-t", "-b", "128"], 10),
    ("m1_vbr_v0", ["-V", "0"], 8),
    ("m1_vbr_v2", ["-V", "2"], 12),
    ("m1_vbr_v5_48k", ["--resample", "48", "-V", "5"], 4),
    ("m1_vbr_mono", ["-m", "m", "-V", "4"], 2),
    ("m2_cbr64_22k", ["--resample", "22.05", "-b", "64"], 5),
    ("m2_cbr32_16k_mono", ["--resample", "16", "-m", "m", "-b", "32"], 3),
    ("m2_vbr_24k", ["--resample", "24", "-V", "6"], 3),
    ("m25_cbr32_11k", ["--resample", "11.025", "-b", "32"], 2),
    ("m25_cbr16_8k_mono", ["--resample", "8", "-m", "m", "-b", "16"], 1),
    ("m25_vbr_12k", ["--resample", "12", "-V", "7"], 2),
]

COVER_SIZES = [(300, 4), (600, 3), (1000, 3), (1500, 2)]  # side in pixels, JPEG quality scale


class Material:
    """Everything the external tools make, in a scratch folder."""

    def __init__(self, scratch):
        self.scratch = scratch
        source = scratch / "source.wav"
        self._ffmpeg_audio(source)
        self.clips = {name: MpegClip(self._lame(source, name, options)) for name, options, _ in LAME_CLIPS}
        self.clip_weights = [(name, weight) for name, _, weight in LAME_CLIPS]
        self.covers = [self._jpeg(f"cover{side}.jpg", f"testsrc2=s={side}x{side}:d=1", quality)
                       for side, quality in COVER_SIZES]
        self.video_frames = self._video_frames()
        self.pcm = {fmt: self._pcm(source, *fmt) for fmt in PCM_FORMATS}

    def _ffmpeg(self, arguments):
        run_tool(["ffmpeg", "-hide_banner", "-loglevel", "error", "-y", *arguments,
                  "-fflags", "+bitexact", "-flags", "+bitexact"])

    def _ffmpeg_audio(self, path):
        # Eight seconds of chords over pink noise: tonal enough for the VBR
        # encoder to vary its frame sizes.
        tones = ("aevalsrc='0.25*sin(2*PI*220*t)*(1+0.5*sin(2*PI*0.5*t))+0.1*sin(2*PI*663*t)|"
                 "0.25*sin(2*PI*330*t)*(1+0.5*sin(2*PI*0.3*t))+0.1*sin(2*PI*887*t)':s=44100:d=8")
        self._ffmpeg(["-f", "lavfi", "-i", tones,
                      "-f", "lavfi", "-i", "anoisesrc=d=8:c=pink:r=44100:a=0.08:seed=7",
                      "-filter_complex", "[1]pan=stereo|c0=c0|c1=c0[n];[0][n]amix=inputs=2:normalize=0",
                      "-c:a", "pcm_s16le", str(path)])

    def _lame(self, source, name, options):
        target = self.scratch / f"{name}.mp3"
        run_tool(["lame", "--quiet", *options, str(source), str(target)])
        return target.read_bytes()

    def _jpeg(self, name, source, quality):
        target = self.scratch / name
        self._ffmpeg(["-f", "lavfi", "-i", source, "-frames:v", "1", "-q:v", str(quality), str(target)])
        return target.read_bytes()

    def _video_frames(self):
        self._ffmpeg(["-f", "lavfi", "-i", "testsrc2=s=320x240:r=25:d=1", "-q:v", "5",
                      str(self.scratch / "frame%02d.jpg")])
        return [(self.scratch / f"frame{i:02d}.jpg").read_bytes() for i in range(1, 26)]

    def _pcm(self, source, rate, channels, bits):
        target = self.scratch / f"pcm_{rate}_{channels}_{bits}.raw"
        self._ffmpeg(["-i", str(source), "-ar", str(rate), "-ac", str(channels),
                      "-c:a", f"pcm_s{bits}le", "-f", f"s{bits}le", str(target)])
        return target.read_bytes()


# --- MPEG audio ---------------------------------------------------------------------

BITRATES_MPEG1_L3 = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320]
BITRATES_MPEG2_L3 = [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160]
SAMPLE_RATES = {3: [44100, 48000, 32000], 2: [22050, 24000, 16000], 0: [11025, 12000, 8000]}


def layer3_frame(data, offset):
    """(frame length, side-information length) of the Layer III frame at `offset`."""
    h = int.from_bytes(data[offset:offset + 4], "big")
    if h & 0xFFE00000 != 0xFFE00000 or (h >> 17) & 3 != 1:
        raise ValueError(f"no Layer III frame at {offset}")
    version = (h >> 19) & 3
    mpeg1 = version == 3
    bitrate = (BITRATES_MPEG1_L3 if mpeg1 else BITRATES_MPEG2_L3)[(h >> 12) & 15]
    rate = SAMPLE_RATES[version][(h >> 10) & 3]
    padding = (h >> 9) & 1
    mono = (h >> 6) & 3 == 3
    length = (144000 if mpeg1 else 72000) * bitrate // rate + padding
    side = (17 if mono else 32) if mpeg1 else (9 if mono else 17)
    return length, side


def crc16(data):
    """The CRC-16 (polynomial 0x8005, reflected) that guards a LAME tag."""
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


class MpegClip:
    """One encoded clip: its Info or Xing frame (if the encoder wrote one) and
    its audio frames, which files replicate to their length."""

    def __init__(self, data):
        length, side = layer3_frame(data, 0)
        marker = data[4 + side:8 + side]
        self.info_frame = data[:length] if marker in (b"Xing", b"Info") else None
        self.xing_at = 4 + side
        self.audio = data[length:] if self.info_frame else data
        self.frame_ends = []
        offset = 0
        while offset + 4 <= len(self.audio):
            offset += layer3_frame(self.audio, offset)[0]
            self.frame_ends.append(offset)
        self.audio = self.audio[:offset]

    def stream(self, size):
        """Whole frames of about `size` bytes, headed by a patched Info/Xing frame."""
        copies, rest = divmod(max(size, len(self.audio)), len(self.audio))
        whole = next((i + 1 for i, end in enumerate(self.frame_ends) if end >= rest), 0) if rest else 0
        tail = self.audio[:self.frame_ends[whole - 1]] if whole else b""
        audio = self.audio * copies + tail
        if self.info_frame is None:
            return audio
        frames = copies * len(self.frame_ends) + whole
        return self._info(frames, len(audio)) + audio

    def _info(self, frames, audio_bytes):
        """The Info/Xing frame with frame and byte counts (and the LAME tag's
        length and CRC) for the replicated stream."""
        frame = bytearray(self.info_frame)
        extra_frames = frames - len(self.frame_ends)
        extra_bytes = audio_bytes - len(self.audio)
        at = self.xing_at
        flags = int.from_bytes(frame[at + 4:at + 8], "big")
        field = at + 8
        if flags & 1:
            frame[field:field + 4] = be32(int.from_bytes(frame[field:field + 4], "big") + extra_frames)
            field += 4
        if flags & 2:
            frame[field:field + 4] = be32(int.from_bytes(frame[field:field + 4], "big") + extra_bytes)
            field += 4
        if flags & 4:
            # A replicated clip advances evenly, so an even table of contents fits.
            frame[field:field + 100] = bytes(i * 256 // 100 for i in range(100))
            field += 100
        if flags & 8:
            field += 4
        if frame[field:field + 4] == b"LAME":
            length_at = field + 28
            old = int.from_bytes(frame[length_at:length_at + 4], "big")
            frame[length_at:length_at + 4] = be32(old + extra_bytes)
            frame[field + 34:field + 36] = struct.pack(">H", crc16(frame[:field + 34]))
        return bytes(frame)


# --- ID3 tags --------------------------------------------------------------------------

def id3v2_encoded(text, unicode_frames, japanese):
    """The encoding byte and the text: UTF-16 with a byte-order mark, or the
    single-byte encoding taggers write (Shift-JIS bytes for Japanese text)."""
    if unicode_frames:
        return b"\x01" + text.encode("utf-16")
    return b"\x00" + text.encode("cp932" if japanese else "latin-1", "replace")


def unsynchronise(body):
    body = re.sub(rb"\xff(?=[\x00\xe0-\xff])", b"\xff\x00", body)
    return body + b"\x00" if body.endswith(b"\xff") else body


def id3v2_tag(rng, meta, covers):
    unicode_frames = rng.random() < 0.35
    japanese = meta["japanese"]

    def text(frame_id, value):
        terminator = b"\0\0" if unicode_frames else b"\0"
        data = id3v2_encoded(value, unicode_frames, japanese)
        return id3v2_frame(frame_id, data + (terminator if rng.random() < 0.3 else b""))

    frames = [text("TIT2", meta["title"]), text("TPE1", meta["artist"]), text("TALB", meta["album"])]
    if rng.random() < 0.9:
        frames.append(text("TRCK", f"{meta['track']}/{rng.randint(meta['track'], 20)}"))
    if rng.random() < 0.8:
        frames.append(text("TYER", meta["year"]))
    if rng.random() < 0.8:
        genre = rng.choice([f"({meta['genre']})", f"({meta['genre']}){meta['genre_name']}", meta["genre_name"]])
        frames.append(text("TCON", genre))
    if rng.random() < 0.5:
        comment = id3v2_encoded(meta["comment"], unicode_frames, japanese)
        description = b"\xff\xfe\0\0" if unicode_frames else b"\0"  # an empty description
        frames.append(id3v2_frame("COMM", comment[:1] + b"eng" + description + comment[1:]))
    for frame_id, key, share in (("TENC", "encoder", 0.3), ("TSSE", "encoder", 0.4),
                                 ("TCOM", "composer", 0.3), ("TCOP", "copyright", 0.2),
                                 ("TPE2", "artist", 0.3)):
        if rng.random() < share:
            frames.append(text(frame_id, meta[key]))
    if rng.random() < 0.2:
        frames.append(text("TLEN", str(rng.randint(60000, 600000))))
    if rng.random() < 0.1:
        frames.append(id3v2_frame("WXXX", b"\0\0" + meta["url"].encode("ascii")))
    if rng.random() < 0.2:
        owner = b"WM/MediaClassPrimaryID\0"
        frames.append(id3v2_frame("PRIV", owner + rng.randbytes(16)))
    if rng.random() < 0.05:
        lyrics = "\n".join(phrase(rng, 3, 9) for _ in range(rng.randint(20, 80)))
        frames.append(id3v2_frame("USLT", b"\x01eng\xff\xfe\0\0" + lyrics.encode("utf-16")))
    if rng.random() < 0.3:
        art = rng.choice(covers)
        frames.append(id3v2_frame("APIC", b"\0image/jpeg\0\x03\0" + art))
    optional = frames[3:]
    rng.shuffle(optional)
    frames = frames[:3] + optional

    body = b"".join(frames)
    padding = rng.choice([0, 0, 0, 0, rng.randint(100, 2048), 2048, 4096, rng.randint(8192, 65536)])
    body += bytes(padding)
    flags = 0
    if rng.random() < 0.02:
        body = be32(6) + b"\0\0" + be32(padding) + body  # extended header, size 6
        flags |= 0x40
    if rng.random() < 0.03:
        body = unsynchronise(body)
        flags |= 0x80
    return b"ID3\x03\x00" + bytes([flags]) + syncsafe(len(body)) + body


def id3v1_tag(rng, meta):
    encoding = "cp932" if meta["japanese"] else "latin-1"

    def field(value, width):
        data = fit(value, encoding, width)
        return data + bytes(width - len(data))

    head = b"TAG" + field(meta["title"], 30) + field(meta["artist"], 30) + field(meta["album"], 30)
    head += field(meta["year"], 4)
    if rng.random() < 0.7:  # version 1.1: a track number in the comment's last byte
        comment = field(meta["comment"], 28) + b"\0" + bytes([meta["track"]])
    else:
        comment = field(meta["comment"], 30)
    return head + comment + bytes([meta["genre"]])


# --- RIFF files -------------------------------------------------------------------------

def info_list(rng, meta):
    """An INFO list as editors write it: NUL-terminated texts, some odd-sized."""
    encoding = "cp932" if meta["japanese"] else "latin-1"
    entries = [("INAM", meta["title"]), ("IART", meta["artist"]), ("IPRD", meta["album"]),
               ("ICRD", f"{meta['year']}-{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d}"),
               ("IGNR", meta["genre_name"]), ("ISFT", meta["software"])]
    for identifier, key, share in (("ICMT", "comment", 0.6), ("IENG", "engineer", 0.3),
                                   ("ICOP", "copyright", 0.3), ("ISBJ", "album", 0.2),
                                   ("ISRC", "url", 0.1)):
        if rng.random() < share:
            entries.append((identifier, meta[key]))
    rng.shuffle(entries)
    return riff_list("INFO", [chunk(i, text.encode(encoding, "replace") + b"\0") for i, text in entries])


def replicate(block, size, granule=1):
    """`block` repeated to `size` bytes, cut at a multiple of `granule`."""
    size -= size % granule
    copies, rest = divmod(size, len(block))
    return block * copies + block[:rest]


def rmp3_file(stream, rng, meta):
    """MPEG audio wrapped in a RIFF form, as some Windows tools saved it."""
    chunks = [chunk("data", stream)]
    if rng.random() < 0.7:
        chunks.append(info_list(rng, meta))
    return riff("RMP3", chunks)


PCM_FORMATS = [(44100, 2, 16), (48000, 2, 24), (22050, 1, 16)]


def wav_file(rng, meta, material, size):
    rate, channels, bits = rng.choice(PCM_FORMATS)
    block = channels * bits // 8
    fmt = chunk("fmt ", struct.pack("<HHIIHH", 1, channels, rate, rate * block, block, bits))
    data = chunk("data", replicate(material.pcm[(rate, channels, bits)], size, block))
    where = rng.choices(["before", "after", "both"], [45, 45, 10])[0]
    before = [fmt]
    if rng.random() < 0.2:
        # Broadcast WAV: a description, originator fields and a coding history.
        history = f"A=PCM,F={rate},W={bits},M={'stereo' if channels == 2 else 'mono'},T={meta['software']}\r\n"
        before.append(chunk("bext", meta["comment"].encode("latin-1", "replace")[:256].ljust(602, b"\0")
                            + history.encode("ascii")))
    if rng.random() < 0.1:
        before.append(chunk("JUNK", bytes(rng.choice([28, 92, 4044]))))
    if where in ("before", "both"):
        before.append(info_list(rng, meta))
    after = []
    if where in ("after", "both"):
        after.append(info_list(rng, meta))
    if rng.random() < 0.1:
        after.append(chunk("id3 ", id3v2_tag(rng, meta, material.covers[:1])))
    return riff("WAVE", before + [data] + after)


def avi_file(rng, meta, material, size):
    """Motion-JPEG video at 25 frames a second with 22 kHz mono PCM, indexed."""
    width, height, fps = 320, 240, 25
    audio_rate = 22050
    audio_chunk = material.pcm[(22050, 1, 16)][:audio_rate * 2 // fps]
    frames = material.video_frames
    period = b""
    period_index = []
    for frame in frames:
        for identifier, data in (("00dc", frame), ("01wb", audio_chunk)):
            period_index.append((identifier, 4 + len(period), len(data)))
            period += chunk(identifier, data)
    copies = max(1, size // len(period))
    movi = riff_list("movi", [period * copies])
    index = b"".join(struct.pack("<4sIII", i.encode("ascii"), 0x10, copy * len(period) + offset, length)
                     for copy in range(copies) for i, offset, length in period_index)
    total_frames = copies * len(frames)
    audio_bytes = total_frames * len(audio_chunk)
    biggest = max(map(len, frames))
    avih = struct.pack("<IIIIIIIIII4I", 1000000 // fps, (len(period) * fps) // len(frames), 0, 0x110,
                       total_frames, 0, 2, biggest + 8, width, height, 0, 0, 0, 0)
    video = riff_list("strl", [
        chunk("strh", struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"MJPG", 0, 0, 0, 0, 1, fps, 0,
                                  total_frames, biggest, 0xFFFFFFFF, 0, 0, 0, width, height)),
        chunk("strf", struct.pack("<IiiHH4sIiiII", 40, width, height, 1, 24, b"MJPG",
                                  width * height * 3, 0, 0, 0, 0))])
    audio = riff_list("strl", [
        chunk("strh", struct.pack("<4s4sIHHIIIIIIIIhhhh", b"auds", b"\0\0\0\0", 0, 0, 0, 0, 2,
                                  audio_rate * 2, 0, audio_bytes // 2, len(audio_chunk), 0xFFFFFFFF, 2,
                                  0, 0, 0, 0)),
        chunk("strf", struct.pack("<HHIIHHH", 1, 1, audio_rate, audio_rate * 2, 2, 16, 0))])
    chunks = [riff_list("hdrl", [chunk("avih", avih), video, audio])]
    where = rng.choices(["before", "after", "both"], [55, 35, 10])[0]
    if where in ("before", "both"):
        chunks.append(info_list(rng, meta))
    if rng.random() < 0.5:
        chunks.append(chunk("JUNK", bytes(rng.randint(100, 4000))))
    chunks += [movi, chunk("idx1", index)]
    if where in ("after", "both"):
        chunks.append(info_list(rng, meta))
    return riff("AVI ", chunks)


# --- RTF documents ------------------------------------------------------------------------

def hex_escapes(data):
    return "".join(f"\\'{b:02x}" for b in data)


def rtf_text(text):
    """Latin text as RTF: specials escaped, the rest of Latin-1 as hex escapes."""
    out = []
    for c in text:
        if c in "\\{}":
            out.append("\\" + c)
        elif ord(c) < 128:
            out.append(c)
        else:
            out.append(hex_escapes(c.encode("cp1252", "replace")))
    return "".join(out)


LATIN_EXTRAS = ["café", "naïve", "Müller", "façade", "señor", "Øresund", "résumé", "Zürich", "über"]


class RtfPools:
    """Text, tables and blobs made once and cut into every document, so that a
    thousand documents of several hundred MB build in a minute or two."""

    def __init__(self, seed):
        rng = random.Random(f"{seed}:rtf-pools")
        self.sentences = [rtf_text(self._sentence(rng)) for _ in range(600)]
        self.japanese = [hex_escapes(japanese_phrase(rng, 6, 30).encode("cp932") + "。".encode("cp932"))
                         for _ in range(200)]
        self.japanese_unicode = [self._unicode_run(japanese_phrase(rng, 4, 20)) for _ in range(100)]
        # Hex of random bytes wrapped at 128 digits, as Word writes picture data.
        self.hex_lines = [rng.randbytes(64).hex() for _ in range(24000)]
        self.line = 130  # bytes of one hex line with its CR LF

    def _sentence(self, rng):
        words = [rng.choice(WORDS + LATIN_EXTRAS if rng.random() < 0.1 else WORDS)
                 for _ in range(rng.randint(5, 22))]
        return " ".join(words).capitalize() + rng.choice([". ", ". ", "? ", "! ", "; "])

    @staticmethod
    def _unicode_run(text):
        # \uN with a one-byte fallback, as writers emit characters outside the code page.
        return "".join(f"\\u{ord(c)}\\'3f" for c in text)

    def hex_blob(self, rng, size):
        lines = max(1, size // 128)
        start = rng.randrange(len(self.hex_lines) - min(lines, len(self.hex_lines) - 1))
        chosen = self.hex_lines[start:start + lines]
        while len(chosen) < lines:
            chosen += self.hex_lines[:lines - len(chosen)]
        return "\r\n".join(chosen)

    def prose(self, rng, sentences):
        """Sentences already escaped for RTF."""
        return "".join(rng.choice(self.sentences) for _ in range(sentences))


FONT_FAMILIES = [("froman", "Times New Roman", "02020603050405020304"), ("fswiss", "Arial", "020b0604020202020204"),
                 ("fswiss", "Calibri", "020f0502020204030204"), ("froman", "Cambria Math", "02040503050406030204"),
                 ("fswiss", "Calibri Light", "020f0302020204030204"), ("fmodern", "Courier New", "02070309020205020404"),
                 ("froman", "Georgia", "02040502050405020303"), ("fswiss", "Segoe UI", "020b0502040204020203"),
                 ("fswiss", "Verdana", "020b0604030504040204"), ("fswiss", "Tahoma", "020b0604030504040204"),
                 ("froman", "Garamond", "02020404030301010803"), ("fdecor", "Wingdings", "05000000000000000000"),
                 ("froman", "Symbol", "05050102010706020507")]
CHARSET_VARIANTS = [(238, "CE"), (204, "Cyr"), (161, "Greek"), (162, "Tur"), (177, "(Hebrew)"),
                    (178, "(Arabic)"), (186, "Baltic"), (163, "(Vietnamese)")]
JAPANESE_FONTS = ["ＭＳ 明朝", "ＭＳ ゴシック", "游明朝", "游ゴシック", "メイリオ"]


class RtfDocument:
    """One document of about `target` bytes in the manner of one writer."""

    def __init__(self, rng, pools, target):
        self.rng, self.pools, self.target = rng, pools, target
        self.parts, self.size = [], 0
        self.japanese = rng.random() < 0.15
        self.rsids = [rng.randrange(1000000, 16000000) for _ in range(rng.randint(3, 400))]

    def add(self, text):
        self.parts.append(text)
        self.size += len(text)

    def room(self):
        return self.target - self.size

    def build(self):
        if self.target < 12000:
            self.wordpad()
        elif self.target < 60000 or self.rng.random() < 0.2:
            self.libreoffice()
        else:
            self.word()
        return "".join(self.parts).encode("ascii")

    # Information group: plain, Shift-JIS hex, or UTF-16 big-endian with its mark.
    def info_string(self, text_western, text_japanese):
        choice = self.rng.random()
        if choice < 0.1:
            return "\\'fe\\'ff" + hex_escapes(text_japanese.encode("utf-16-be"))
        if self.japanese:
            return hex_escapes(text_japanese.encode("cp932"))
        return rtf_text(text_western)

    def info(self, word):
        rng = self.rng
        fields = [("title", phrase(rng, 2, 7), japanese_phrase(rng, 2, 6)),
                  ("subject", phrase(rng, 1, 5), japanese_phrase(rng, 1, 4)),
                  ("author", person(rng), japanese_phrase(rng, 1, 2)),
                  ("operator", person(rng), japanese_phrase(rng, 1, 2)),
                  ("keywords", phrase(rng, 2, 6), japanese_phrase(rng, 2, 5)),
                  ("doccomm", phrase(rng, 4, 12), japanese_phrase(rng, 3, 8))]
        groups = [f"{{\\{name} {self.info_string(w, j)}}}" for name, w, j in fields if rng.random() < 0.8]
        stamp = (f"\\yr{rng.randint(2003, 2023)}\\mo{rng.randint(1, 12)}\\dy{rng.randint(1, 28)}"
                 f"\\hr{rng.randint(0, 23)}\\min{rng.randint(0, 59)}")
        groups += [f"{{\\creatim{stamp}}}", f"{{\\revtim{stamp}}}"]
        if word:
            groups += [f"{{\\version{rng.randint(1, 40)}}}", f"{{\\edmins{rng.randint(0, 3000)}}}",
                       f"{{\\nofpages{rng.randint(1, 90)}}}", f"{{\\nofwords{rng.randint(100, 90000)}}}",
                       f"{{\\nofchars{rng.randint(500, 500000)}}}", f"{{\\*\\company {phrase(rng, 1, 3)}}}",
                       f"{{\\nofcharsws{rng.randint(500, 600000)}}}", f"{{\\vern{rng.randint(49000, 60000)}}}"]
        return "{\\info" + "".join(groups) + "}\r\n"

    def font_name(self, index):
        if self.japanese and index < len(JAPANESE_FONTS):
            return hex_escapes(JAPANESE_FONTS[index].encode("cp932")), 128
        return FONT_FAMILIES[index % len(FONT_FAMILIES)][1], 0

    # --- WordPad: a font or two, one paragraph shape, plain text ---------------
    def wordpad(self):
        rng = self.rng
        codepage = 932 if self.japanese else 1252
        self.add(f"{{\\rtf1\\ansi\\ansicpg{codepage}\\deff0\\nouicompat\\deflang1033"
                 "{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}{\\f1\\fnil\\fcharset128 "
                 + hex_escapes("ＭＳ ゴシック".encode("cp932")) + ";}}\r\n")
        if rng.random() < 0.5:
            self.add("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green77\\blue187;}\r\n")
        self.add(f"{{\\*\\generator Riched20 10.0.{rng.randint(17000, 22621)}}}\\viewkind4\\uc1 \r\n")
        while self.room() > 40:
            if self.japanese and rng.random() < 0.5:
                text = "\\f1 " + rng.choice(self.pools.japanese) + "\\f0 "
            else:
                text = self.pools.prose(rng, rng.randint(1, 6))
            if rng.random() < 0.2:
                text = f"{{\\b {text}}}"
            self.add(f"\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 {text}\\par\r\n")
        self.add("}\r\n\0")

    # --- LibreOffice: styles, page descriptions, \loch/\hich runs ---------------
    def libreoffice(self):
        rng = self.rng
        self.add("{\\rtf1\\ansi\\deff4\\adeflang1025\r\n{\\fonttbl")
        for index in range(rng.randint(6, 14)):
            name, charset = self.font_name(index)
            family = FONT_FAMILIES[index % len(FONT_FAMILIES)][0]
            self.add(f"{{\\f{index}\\{family}\\fprq2\\fcharset{charset} {name};}}")
        self.add("}\r\n{\\colortbl;" + "".join(
            f"\\red{rng.randrange(256)}\\green{rng.randrange(256)}\\blue{rng.randrange(256)};"
            for _ in range(rng.randint(2, 12))) + "}\r\n{\\stylesheet")
        for index in range(rng.randint(8, 40)):
            self.add(f"{{\\s{index}\\sbasedon0\\snext{index}\\rtlch\\af8\\afs24\\alang1081 \\ltrch\\lang2057"
                     f"\\langfe2052\\hich\\af4\\loch\\nowidctlpar\\hyphpar0\\ltrpar\\cf0\\f4\\fs24\\lang2057"
                     f"\\kerning1\\dbch\\af6\\langfe2052\\sb{rng.randrange(0, 480)}\\sa{rng.randrange(0, 240)} "
                     f"{phrase(rng, 1, 3)};}}\r\n")
        self.add("}{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}")
        self.add(self.info(word=False))
        self.add("{\\*\\userprops}\\deftab709\r\n\\hyphauto1\\viewscale100\r\n{\\*\\pgdsctbl\r\n"
                 "{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134\\margtsxn1134"
                 "\\margbsxn1134\\pgdscnxt0 Default Page Style;}}\r\n\\formshade\\paperh16838\\paperw11906"
                 "\\margl1134\\margr1134\\margt1134\\margb1134\\sectd\\sbknone\\pgndec\\sftnnar\\saftnnrlc"
                 "\\sectunlocked1\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134\\margtsxn1134"
                 "\\margbsxn1134\\ftnbj\\ftnstart1\\ftnrstcont\\ftnnar\\aenddoc\\aftnrstcont\\aftnstart1"
                 "\\aftnnrlc\r\n{\\*\\ftnsep\\chftnsep}\\pgndec")
        pard = ("\\pard\\plain \\s0\\rtlch\\af8\\afs24\\alang1081 \\ltrch\\lang2057\\langfe2052\\hich\\af4"
                "\\loch\\nowidctlpar\\hyphpar0\\ltrpar\\cf0\\f4\\fs24\\lang2057\\kerning1\\dbch\\af6"
                "\\langfe2052\\ql\\ltrpar")
        while self.room() > 300:
            kind = rng.random()
            if kind < 0.06 and self.room() > 20000:
                self.picture(rng.randint(2000, min(self.room() // 2, 400000)), libreoffice=True)
            elif kind < 0.12:
                self.table(word=False)
            else:
                if self.japanese and rng.random() < 0.5:
                    body = f"{{\\dbch\\af6\\hich\\af4\\loch\\f4 {rng.choice(self.pools.japanese)}}}"
                else:
                    body = "{\\loch\r\n" + self.pools.prose(rng, rng.randint(1, 8)) + "}"
                self.add(f"{pard}{body}\r\n\\par ")
        self.add("}\r\n")

    # --- Word: the big tables up front, the blobs at the end ---------------------
    def word(self):
        rng = self.rng
        codepage = 932 if self.japanese else 1252
        self.add(f"{{\\rtf1\\adeflang1025\\ansi\\ansicpg{codepage}\\uc1\\adeff31507\\deff0\\stshfdbch31505"
                 "\\stshfloch31506\\stshfhich31506\\stshfbi31507\\deflang1033\\deflangfe1041\\themelang1033"
                 "\\themelangfe1041\\themelangcs0")
        self.word_fonts()
        self.add("{\\colortbl;" + "".join(
            f"\\red{rng.randrange(256)}\\green{rng.randrange(256)}\\blue{rng.randrange(256)};"
            for _ in range(rng.randint(16, 40))) + "\\ctextone\\ctint255\\cshade255\\red0\\green0\\blue0;}\r\n")
        self.add("{\\*\\defchp \\f31506\\fs22\\kerning2\\loch\\af31506\\hich\\af31506\\dbch\\af31505 }"
                 "{\\*\\defpap \\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha"
                 "\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 }\\noqfpromote \r\n")
        self.word_styles()
        self.add("{\\*\\listtable" + "".join(self.word_list(i) for i in range(rng.randint(1, 6))) + "}\r\n")
        self.add("{\\*\\rsidtbl " + "".join(f"\\rsid{r}" for r in self.rsids) + "}\r\n")
        self.add("{\\mmathPr\\mmathFont34\\mbrkBin0\\mbrkBinSub0\\msmallFrac0\\mdispDef1\\mlMargin0\\mrMargin0"
                 "\\mdefJc1\\mwrapIndent1440\\mintLim0\\mnaryLim1}")
        self.add(self.info(word=True))
        self.add("{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}"
                 "\\paperw11906\\paperh16838\\margl1701\\margr1701\\margt1985\\margb1701\\gutter0"
                 "\\ltrsect \r\n\\deftab840\\ftnbj\\aenddoc\\trackmoves0\\trackformatting1\\donotembedsysfont1"
                 "\\relyonvml0\\donotembedlingdata0\\grfdocevents0\\validatexml1\\showplaceholdtext0\r\n")
        latent = self.word_latent_styles()
        self.add(latent)
        self.add("{\\header \\ltrpar \\pard\\plain \\ltrpar\\s17\\qc {\\field{\\*\\fldinst PAGE}"
                 "{\\fldrslt 1}}\\par }\r\n")
        tail = self.word_tail()
        while self.room() > len(tail) + 600:
            kind = rng.random()
            if kind < 0.04 and self.room() > len(tail) + 30000:
                self.picture(rng.randint(4000, max(5000, min((self.room() - len(tail)) // 2, 600000))))
            elif kind < 0.10:
                self.table(word=True)
            elif kind < 0.16:
                self.field()
            elif kind < 0.22:
                self.list_item()
            else:
                self.word_paragraph()
        self.add("\\par }" + tail)

    def word_fonts(self):
        rng = self.rng
        self.add("{\\fonttbl")
        used = rng.randint(4, len(FONT_FAMILIES))
        for index in range(used):
            family, name, panose = FONT_FAMILIES[index]
            real_name, charset = self.font_name(index)
            self.add(f"{{\\f{index}\\fbidi \\{family}\\fcharset{charset}\\fprq2{{\\*\\panose {panose}}}"
                     f"{real_name};}}\r\n")
        for major, number in (("flomajor", 31500), ("fdbmajor", 31501), ("fhimajor", 31502),
                              ("fbimajor", 31503), ("flominor", 31504), ("fdbminor", 31505),
                              ("fhiminor", 31506), ("fbiminor", 31507)):
            self.add(f"{{\\{major}\\f{number}\\fbidi \\froman\\fcharset0\\fprq2{{\\*\\panose "
                     f"02020603050405020304}}Times New Roman;}}\r\n")
        number = 40
        for index in range(used if rng.random() < 0.7 else used // 2):
            for charset, suffix in CHARSET_VARIANTS:
                family, name, _ = FONT_FAMILIES[index]
                self.add(f"{{\\f{number}\\fbidi \\{family}\\fcharset{charset}\\fprq2 {name} {suffix};}}")
                number += 1
            self.add("\r\n")
        self.add("}\r\n")

    def word_styles(self):
        rng = self.rng
        self.add("{\\stylesheet{\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha"
                 "\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af31507\\afs22\\alang1025"
                 " \\ltrch\\fcs0 \\f31506\\fs22\\lang1033\\langfe1041\\cgrid\\langnp1033\\langfenp1041 "
                 "\\snext0 \\sqformat \\spriority0 Normal;}")
        for index in range(1, rng.randint(20, 220)):
            kind = rng.random()
            if kind < 0.6:
                self.add(f"{{\\s{index}\\ql \\li0\\ri0\\sb{rng.randrange(0, 480, 20)}\\sa{rng.randrange(0, 240, 20)}"
                         f"\\keepn\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\outlinelevel{index % 9}"
                         f"\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af31503\\afs{rng.randrange(16, 40, 2)}"
                         f"\\alang1025 \\ltrch\\fcs0 \\fs{rng.randrange(16, 40, 2)}\\lang1033\\langfe1041"
                         f"\\loch\\f31502\\hich\\af31502\\dbch\\af31501\\cgrid\\langnp1033\\langfenp1041 "
                         f"\\sbasedon0 \\snext0 \\slink{index + 300} \\sqformat \\spriority{index % 100} "
                         f"{phrase(rng, 1, 3).lower()};}}\r\n")
            else:
                self.add(f"{{\\*\\cs{index} \\additive \\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
                         f"\\cf{rng.randrange(1, 16)}\\ul \\sbasedon10 \\sunhideused \\styrsid"
                         f"{rng.choice(self.rsids)} {phrase(rng, 1, 3)} Char;}}\r\n")
        self.add("}\r\n")

    def word_list(self, number):
        levels = "".join(
            f"{{\\listlevel\\levelnfc23\\levelnfcn23\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1"
            f"\\levelspace0\\levelindent0{{\\leveltext\\leveltemplateid{67698689 + level}\\'01\\u-3913 ?;}}"
            f"{{\\levelnumbers;}}\\f3\\fbias0 \\fi-420\\li{420 * (level + 1)}\\lin{420 * (level + 1)} }}"
            for level in range(9))
        return f"{{\\list\\listtemplateid{1400000 + number}\\listhybrid{levels}{{\\listname ;}}\\listid{number + 1}}}"

    def word_latent_styles(self):
        rng = self.rng
        entries = "".join(f"{{\\lsdsemihidden1 \\lsdunhideused1 \\lsdpriority{rng.randrange(100)} \\lsdlocked0 "
                          f"{phrase(rng, 1, 3).lower()};}}" for _ in range(rng.randint(150, 376)))
        return ("{\\*\\latentstyles\\lsdstimax376\\lsdlockeddef0\\lsdsemihiddendef0\\lsdunhideuseddef0"
                "\\lsdqformatdef0\\lsdprioritydef99{\\lsdlockedexcept " + entries + "}}\r\n")

    def word_tail(self):
        rng = self.rng
        pools = self.pools
        return ("{\\*\\themedata " + pools.hex_blob(rng, rng.randint(12000, 18000)) + "}\r\n"
                "{\\*\\colorschememapping " + pools.hex_blob(rng, 1660) + "}\r\n"
                "{\\*\\datastore " + pools.hex_blob(rng, rng.randint(1000, 4000)) + "}}\r\n")

    def run(self, text, extra=""):
        rsid = self.rng.choice(self.rsids)
        return f"{{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 {extra}\\insrsid{rsid} {text}}}"

    def runs(self):
        rng, pools = self.rng, self.pools
        out = []
        for _ in range(rng.randint(1, 6)):
            if self.japanese and rng.random() < 0.6:
                text = ("\\hich\\af31506\\dbch\\af31505\\loch\\f31506 " + rng.choice(pools.japanese))
            elif rng.random() < 0.05:
                text = rng.choice(pools.japanese_unicode)
            else:
                text = pools.prose(rng, rng.randint(1, 4))
            extra = rng.choice(["", "", "", "\\b", "\\i", "\\ul", f"\\cf{rng.randrange(1, 16)}"])
            out.append(self.run(text, extra))
            if rng.random() < 0.1:
                out.append(self.run("\\tab "))
        return "\r\n".join(out)

    def word_pard(self, extra=""):
        rsid = self.rng.choice(self.rsids)
        return ("\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar" + extra +
                f"\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0\\pararsid{rsid} "
                "\\rtlch\\fcs1 \\af31507\\afs22\\alang1025 \\ltrch\\fcs0 \\f31506\\fs22\\lang1033"
                "\\langfe1041\\cgrid\\langnp1033\\langfenp1041 ")

    def word_paragraph(self):
        self.add(self.word_pard() + self.runs() + self.run("\\par ") + "\r\n")

    def list_item(self):
        bullet = ("{\\listtext\\pard\\plain\\ltrpar \\rtlch\\fcs1 \\af0\\afs22 \\ltrch\\fcs0 \\f3\\fs22"
                  "\\loch\\af3\\hich\\af3\\dbch\\af31505 \\'b7\\tab}")
        self.add(bullet + self.word_pard(f"\\fi-420\\li840\\ls{self.rng.randint(1, 6)}\\ilvl0") + self.runs()
                 + self.run("\\par ") + "\r\n")

    def field(self):
        rng = self.rng
        kind = rng.random()
        if kind < 0.6:
            url = f"https://www.example.org/{rng.choice(WORDS)}/{rng.randrange(10**6)}"
            instruction = f" HYPERLINK \"{url}\" "
            result = self.run(rtf_text(phrase(rng, 1, 5)), "\\cs15\\ul\\cf2")
            data = "{\\*\\datafield " + self.pools.hex_blob(rng, 256)[:300] + "}"
        elif kind < 0.8:
            instruction, result, data = " PAGE   \\\\* MERGEFORMAT ", self.run(str(rng.randint(1, 90))), ""
        else:
            instruction = f" REF _Ref{rng.randrange(10**9)} \\\\h "
            result, data = self.run(rtf_text(phrase(rng, 1, 4))), ""
        self.add(self.word_pard() + self.runs() +
                 f"{{\\field{{\\*\\fldinst {self.run(instruction)}{data}}}{{\\fldrslt {result}}}}}"
                 + self.run("\\par ") + "\r\n")

    def table(self, word):
        rng = self.rng
        columns = rng.randint(2, 7)
        width = 9000 // columns
        row_definition = ("\\trowd \\irow0\\irowband0\\ltrrow\\ts11\\trgaph108\\trleft-108\\trbrdrt\\brdrs"
                          "\\brdrw10 \\trbrdrl\\brdrs\\brdrw10 \\trbrdrb\\brdrs\\brdrw10 \\trbrdrr\\brdrs\\brdrw10 "
                          "\\trbrdrh\\brdrs\\brdrw10 \\trbrdrv\\brdrs\\brdrw10 \\trftsWidth1\\trftsWidthB3"
                          "\\trautofit1\\trpaddl108\\trpaddr108\\trpaddfl3\\trpaddfr3\\tblind0\\tblindtype3 "
                          + "".join(f"\\clvertalt\\clbrdrt\\brdrs\\brdrw10 \\clbrdrl\\brdrs\\brdrw10 \\clbrdrb"
                                    f"\\brdrs\\brdrw10 \\clbrdrr\\brdrs\\brdrw10 \\cltxlrtb\\clftsWidth3"
                                    f"\\clwWidth{width}\\clshdrawnil \\cellx{width * (c + 1)}"
                                    for c in range(columns)))
        for _ in range(rng.randint(2, 25)):
            cells = []
            for _ in range(columns):
                if self.japanese and rng.random() < 0.5:
                    text = rng.choice(self.pools.japanese)[:rng.randint(8, 120) * 4]
                    text = text[:len(text) - len(text) % 8]
                else:
                    text = rtf_text(phrase(rng, 1, 6))
                cells.append(self.run(text + "\\cell ") if word else f"{text}\\cell ")
            pard = self.word_pard("\\intbl") if word else "\\pard\\plain \\intbl\\ql "
            self.add(f"{pard}{''.join(cells)}\r\n{pard}{{{row_definition}\\row }}\r\n")

    def picture(self, size, libreoffice=False):
        rng = self.rng
        width, height = rng.randint(400, 16000), rng.randint(400, 16000)
        blip = rng.choice(["\\pngblip", "\\jpegblip"])
        data = self.pools.hex_blob(rng, size)
        if libreoffice:
            self.add(f"{{\\*\\shppict{{\\pict\\picw{width}\\pich{height}\\picwgoal{width}\\pichgoal{height}"
                     f"{blip}\r\n{data}}}}}\r\n")
            return
        uid = rng.randbytes(16).hex()
        self.add(self.word_pard("\\qc") + "{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\noproof "
                 f"{{\\*\\shppict{{\\pict{{\\*\\picprop\\shplid{rng.randint(1025, 9999)}{{\\sp{{\\sn shapeType}}"
                 f"{{\\sv 75}}}}{{\\sp{{\\sn fFlipH}}{{\\sv 0}}}}{{\\sp{{\\sn fLine}}{{\\sv 0}}}}}}"
                 f"\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0\\picw{width}"
                 f"\\pich{height}\\picwgoal{width}\\pichgoal{height}{blip}\\bliptag{rng.randrange(-2**31, 2**31)}"
                 f"{{\\*\\blipuid {uid}}}{data}}}}}")
        if rng.random() < 0.3:
            fallback = self.pools.hex_blob(rng, min(size, 40000))
            self.add(f"{{\\nonshppict{{\\pict\\picscalex100\\picscaley100\\picw{width}\\pich{height}"
                     f"\\picwgoal{width}\\pichgoal{height}\\wmetafile8\\bliptag{rng.randrange(2**31)}"
                     f"{fallback}}}}}")
        self.add("}" + self.run("\\par ") + "\r\n")


# --- the corpus ------------------------------------------------------------------------------

def mp3_file(rng, index, material):
    meta = track_metadata(rng, japanese=rng.random() < 0.1)
    names, weights = zip(*material.clip_weights)
    clip = material.clips[rng.choices(names, weights)[0]]
    size = audio_size(rng)
    tag2 = id3v2_tag(rng, meta, material.covers) if rng.random() < 0.92 else b""
    tag1 = id3v1_tag(rng, meta) if rng.random() < 0.6 else b""
    stream = clip.stream(size - len(tag2) - len(tag1))
    if rng.random() < 0.01:
        return meta, rmp3_file(stream, rng, meta)
    return meta, tag2 + stream + tag1


def generate(out, seed, scale, material, pools):
    lists = {}
    for kind, count in COUNTS.items():
        count = max(1, round(count * scale))
        paths = []
        for index in range(count):
            rng = rng_for(seed, kind, index)
            if kind == "rtf":
                target = int(2048 * 1000 ** rng.random())  # 2 KB to 2 MB, even on a log scale
                data = RtfDocument(rng, pools, target).build()
                name = f"{phrase(rng, 1, 4)} {index:04d}.rtf"
            elif kind == "mp3":
                meta, data = mp3_file(rng, index, material)
                name = file_name(rng, index, meta, "mp3")
            else:
                meta = track_metadata(rng, japanese=rng.random() < 0.1)
                build = wav_file if kind == "wav" else avi_file
                data = build(rng, meta, material, audio_size(rng))
                name = file_name(rng, index, meta, kind)
            folder = out / kind / f"{index // 50:03d}"
            folder.mkdir(parents=True, exist_ok=True)
            path = folder / name
            path.write_bytes(data)
            paths.append(str(path.resolve()))
        (out / f"{kind}.list").write_text("".join(p + "\n" for p in paths))
        lists[kind] = count
        print(f"make_bench_corpus: {count} {kind} files", file=sys.stderr)
    return lists


def tool_versions():
    lame = subprocess.run(["lame", "--version"], capture_output=True, text=True).stdout.splitlines()[0]
    ffmpeg = subprocess.run(["ffmpeg", "-version"], capture_output=True, text=True).stdout.splitlines()[0]
    return {"lame": lame, "ffmpeg": ffmpeg.split(" Copyright")[0]}


def default_out():
    return pathlib.Path(os.environ.get("ZAV_BENCH_DIR") or REPO / "build" / "bench-corpus")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--out", type=pathlib.Path, default=default_out())
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--scale", type=float, default=1.0)
    parser.add_argument("--force", action="store_true", help="regenerate even when the stamp matches")
    args = parser.parse_args()
    for tool in ("lame", "ffmpeg"):
        if shutil.which(tool) is None:
            sys.exit(f"make_bench_corpus: {tool} is missing; run: bash tools/setup.sh --bench")

    out = args.out.resolve()
    stamp_path = out / "corpus.json"
    wanted = {"generator": GENERATOR_VERSION, "seed": args.seed, "scale": args.scale, "tools": tool_versions()}
    if not args.force and stamp_path.exists():
        stamp = json.loads(stamp_path.read_text())
        if {k: stamp.get(k) for k in wanted} == wanted:
            print(f"make_bench_corpus: {out} is up to date", file=sys.stderr)
            return
    out.mkdir(parents=True, exist_ok=True)
    stamp_path.unlink(missing_ok=True)  # a run cut short leaves no stamp behind
    for kind in COUNTS:
        shutil.rmtree(out / kind, ignore_errors=True)
    with tempfile.TemporaryDirectory(dir=out) as scratch:
        material = Material(pathlib.Path(scratch))
        lists = generate(out, args.seed, args.scale, material, RtfPools(args.seed))
    total = sum(f.stat().st_size for kind in COUNTS for f in (out / kind).rglob("*") if f.is_file())
    stamp_path.write_text(json.dumps({**wanted, "files": lists, "bytes": total}, indent=2) + "\n")
    print(f"make_bench_corpus: {total / MB:.0f} MiB in {out}", file=sys.stderr)


if __name__ == "__main__":
    main()
