#!/usr/bin/env python3
"""Synthesises a few short sounds and encodes them with zqenc into the sample and test folders.

    tools/zqenc/make_samples.py <path to zqenc>

The sounds are made here (a plucked string, a stereo pair of plucks, a drum hit) so that the
samples carry no outside recordings.
"""
import math
import os
import random
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
OUT_DIRS = [os.path.join(ROOT, "samples", "sounds"), os.path.join(ROOT, "tests", "data", "zqdec")]


def pluck(freq, rate, seconds, seed):
    """Karplus-Strong plucked string."""
    rng = random.Random(seed)
    period = int(rate / freq)
    buf = [rng.uniform(-1, 1) for _ in range(period)]
    out = []
    for i in range(int(rate * seconds)):
        v = buf[i % period]
        buf[i % period] = 0.996 * 0.5 * (v + buf[(i + 1) % period])
        out.append(v)
    return out


def drum(rate, seconds, seed):
    """A low sine with a falling pitch plus a short noise burst."""
    rng = random.Random(seed)
    out = []
    phase = 0.0
    for i in range(int(rate * seconds)):
        t = i / rate
        freq = 60 + 120 * math.exp(-t * 30)
        phase += 2 * math.pi * freq / rate
        body = math.sin(phase) * math.exp(-t * 8)
        noise = rng.uniform(-1, 1) * math.exp(-t * 60) * 0.4
        out.append(body + noise)
    return out


def write_wav(path, rate, channels):
    frames = list(zip(*channels))
    peak = max(abs(s) for f in frames for s in f) or 1.0
    data = b"".join(struct.pack("<%dh" % len(f), *(int(s / peak * 28000) for s in f)) for f in frames)
    n = len(channels)
    fmt = struct.pack("<HHIIHH", 1, n, rate, rate * 2 * n, 2 * n, 16)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        f.write(b"data" + struct.pack("<I", len(data)) + data)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    zqenc = sys.argv[1]
    sounds = [
        ("pluck_m4", 22050, [pluck(220, 22050, 0.6, 1)], 4),
        ("pluck_s6", 22050, [pluck(330, 22050, 0.5, 2), pluck(440, 22050, 0.5, 3)], 6),
        ("drum_m8", 22050, [drum(22050, 0.4, 4)], 8),
    ]
    with tempfile.TemporaryDirectory() as tmp:
        for name, rate, channels, bits in sounds:
            wav = os.path.join(tmp, name + ".wav")
            write_wav(wav, rate, channels)
            for d in OUT_DIRS:
                os.makedirs(d, exist_ok=True)
                subprocess.run([zqenc, "-b", str(bits), wav, os.path.join(d, name + ".zq")], check=True)
            print(name)


if __name__ == "__main__":
    main()
