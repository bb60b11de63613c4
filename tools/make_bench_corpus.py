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
  1000 RTF    2 KB-2 MB in the shapes of eight writers (recent Word, with
              Western and with Japanese text; Word 97-2003 with Japanese text,
              and its small letters; WordPad; TextEdit; Word for the classic
              Mac OS; LibreOffice), each written as that writer writes: see
              tools/bench_rtf.py

and one list of absolute paths per kind (mp3.list, wav.list, avi.list,
rtf.list) in the corpus folder, and one a writer's shape (rtf-word.list, ...),
whose documents are listed again until the list makes 30 MB, so that a run of
it is not mostly the start of the process.

Only a few seconds of audio are encoded (lame) and a few images made (ffmpeg);
every file is then assembled from those frames, replicated to its size, with
the headers that count frames and bytes patched to match. The corpus is the
same on every run with the same seed and the same lame and ffmpeg; a stamp file
records what it was made with, and a run whose stamp matches does nothing.

Usage: tools/make_bench_corpus.py [--out DIR] [--seed N] [--scale F] [--kinds K,...] [--force]
  --out    default: $ZAV_BENCH_DIR, else build/bench-corpus in the repository
           (beside the preset build folders, ignored by git)
  --scale  multiplies the file counts (0.05 makes a quick 170-file corpus)
  --kinds  writes some kinds only (rtf: the RTF documents alone, in seconds)
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
from bench_text import japanese_phrase, person, phrase
import bench_rtf

REPO = pathlib.Path(__file__).resolve().parent.parent
GENERATOR_VERSION = 2
COUNTS = {"mp3": 2000, "wav": 300, "avi": 100, "rtf": sum(count for _, count, _ in bench_rtf.SHAPES.values())}
SHAPE_LIST_BYTES = 30_000_000
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

GENRES = ["Rock", "Pop", "Jazz", "Classical", "Electronic", "Folk", "Soundtrack", "J-Pop", "Ambient"]
ENCODERS = ["LAME 3.100", "LAME 3.99.5", "iTunes 12.9.1.4", "Exact Audio Copy", "foobar2000 v1.6"]
SOFTWARE = ["Lavf59.27.100", "Sound Forge Pro 11.0", "Audacity 3.2", "Adobe Audition CC", "Lavf58.76.100"]


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


def write_file(out, kind, index, name, data):
    folder = out / kind / f"{index // 50:03d}"
    folder.mkdir(parents=True, exist_ok=True)
    path = folder / name
    path.write_bytes(data)
    return str(path.resolve())


def write_list(out, name, paths):
    (out / f"{name}.list").write_text("".join(p + "\n" for p in paths))


def generate_audio(out, kind, seed, scale, material):
    count = max(1, round(COUNTS[kind] * scale))
    paths = []
    for index in range(count):
        rng = rng_for(seed, kind, index)
        if kind == "mp3":
            meta, data = mp3_file(rng, index, material)
            name = file_name(rng, index, meta, "mp3")
        else:
            meta = track_metadata(rng, japanese=rng.random() < 0.1)
            build = wav_file if kind == "wav" else avi_file
            data = build(rng, meta, material, audio_size(rng))
            name = file_name(rng, index, meta, kind)
        paths.append(write_file(out, kind, index, name, data))
    write_list(out, kind, paths)
    return count


def generate_rtf(out, seed, scale):
    """rtf.list with every document once, the shapes mixed, and one list a
    shape (rtf-SHAPE.list) with its documents listed again until they make
    30 MB."""
    pools = bench_rtf.Pools(seed)
    paths, by_shape = [], {shape: ([], []) for shape in bench_rtf.SHAPES}
    for index, (shape, number) in enumerate(bench_rtf.plan(seed, scale)):
        data, name = bench_rtf.document(seed, shape, number, pools)
        path = write_file(out, "rtf", index, name, data)
        paths.append(path)
        by_shape[shape][0].append(path)
        by_shape[shape][1].append(len(data))
    write_list(out, "rtf", paths)
    for shape, (shape_paths, sizes) in by_shape.items():
        write_list(out, f"rtf-{shape}", bench_rtf.repeated_list(shape_paths, sizes, SHAPE_LIST_BYTES))
    return len(paths)


def generate(out, kinds, seed, scale, scratch):
    lists = {}
    material = Material(scratch) if any(kind != "rtf" for kind in kinds) else None
    for kind in kinds:
        lists[kind] = generate_rtf(out, seed, scale) if kind == "rtf" else generate_audio(out, kind, seed, scale, material)
        print(f"make_bench_corpus: {lists[kind]} {kind} files", file=sys.stderr)
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
    parser.add_argument("--kinds", default=",".join(COUNTS), help="kinds to write, e.g. rtf (default: all)")
    args = parser.parse_args()
    kinds = [k for k in COUNTS if k in args.kinds.split(",")]
    if not kinds or any(k not in COUNTS for k in args.kinds.split(",")):
        sys.exit(f"make_bench_corpus: --kinds takes some of {','.join(COUNTS)}")
    audio = any(kind != "rtf" for kind in kinds)
    for tool in ("lame", "ffmpeg") if audio else ():
        if shutil.which(tool) is None:
            sys.exit(f"make_bench_corpus: {tool} is missing; run: bash tools/setup.sh --bench")

    out = args.out.resolve()
    stamp_path = out / "corpus.json"
    wanted = {"generator": GENERATOR_VERSION, "seed": args.seed, "scale": args.scale, "kinds": kinds,
              "tools": tool_versions() if audio else {}}
    if not args.force and stamp_path.exists():
        stamp = json.loads(stamp_path.read_text())
        stamp.setdefault("kinds", list(COUNTS))  # stamps from before --kinds
        if {k: stamp.get(k) for k in wanted} == wanted:
            print(f"make_bench_corpus: {out} is up to date", file=sys.stderr)
            return
    out.mkdir(parents=True, exist_ok=True)
    stamp_path.unlink(missing_ok=True)  # a run cut short leaves no stamp behind
    for kind in COUNTS:
        shutil.rmtree(out / kind, ignore_errors=True)
    with tempfile.TemporaryDirectory(dir=out) as scratch:
        lists = generate(out, kinds, args.seed, args.scale, pathlib.Path(scratch))
    total = sum(f.stat().st_size for kind in kinds for f in (out / kind).rglob("*") if f.is_file())
    stamp_path.write_text(json.dumps({**wanted, "files": lists, "bytes": total}, indent=2) + "\n")
    print(f"make_bench_corpus: {total / MB:.0f} MiB in {out}", file=sys.stderr)


if __name__ == "__main__":
    main()
