#!/usr/bin/python3
"""Synthesizes Verselane's sounds into assets/ as WAV files (22050 Hz, 16 bits, mono).

    tools/make-sounds.py

Needs nothing but Python's standard library. The noise of the plucked strings comes from a seeded
generator, so running the script again gives the same files.

    sound-147.wav  a correct answer: a soft two-note chime
    sound-173.wav  a wrong answer: a low, muted knock
    sound-174.wav  the run is finished: a little koto fanfare in the yo scale
    sound-176.wav  the favourite poem answered: a brighter, rising three-note chime
    sound-177.wav  the favourite poem missed: a tone sinking by a fifth
"""

import math
import os
import random
import struct
import sys
import wave

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ASSETS = os.path.join(ROOT, "assets")
RATE = 22050


def silence(seconds):
    return [0.0] * int(seconds * RATE)


def mix_into(track, sound, start_seconds, gain=1.0):
    start = int(start_seconds * RATE)
    if len(track) < start + len(sound):
        track.extend([0.0] * (start + len(sound) - len(track)))
    for i, value in enumerate(sound):
        track[start + i] += value * gain
    return track


def release(samples, seconds=0.02):
    """Fades the end of one voice out, so that cutting it off does not click."""
    count = min(len(samples), int(seconds * RATE))
    for k in range(count):
        samples[len(samples) - 1 - k] *= k / count
    return samples


def bell(frequency, seconds, decay=6.0, partials=((1.0, 1.0), (2.0, 0.25), (2.76, 0.12), (5.4, 0.04))):
    """A struck bell: a few inharmonic partials, the higher ones dying faster."""
    samples = []
    for i in range(int(seconds * RATE)):
        t = i / RATE
        attack = min(1.0, t / 0.004)
        value = 0.0
        for ratio, level in partials:
            value += level * math.sin(2 * math.pi * frequency * ratio * t) * math.exp(-decay * ratio ** 0.7 * t)
        samples.append(value * attack)
    return release(samples)


def pluck(frequency, seconds, seed, brightness=0.5, damping=0.996):
    """A plucked string (Karplus-Strong), close to a koto's."""
    rng = random.Random(seed)
    period = max(2, int(round(RATE / frequency)))
    line = [rng.uniform(-1, 1) for _ in range(period)]
    # a softer pluck: smooth the initial noise once
    line = [(line[i] + line[i - 1]) / 2 for i in range(period)]
    samples = []
    previous = 0.0
    for i in range(int(seconds * RATE)):
        current = line[i % period]
        filtered = damping * (brightness * current + (1 - brightness) * previous)
        previous = current
        line[i % period] = filtered
        samples.append(current)
    return release(samples, 0.05)


def glide(start_frequency, end_frequency, seconds, harmonics=((1, 1.0), (2, 0.3), (3, 0.1))):
    """A soft tone sliding from one pitch to another, fading at both ends."""
    samples = []
    phase = 0.0
    count = int(seconds * RATE)
    for i in range(count):
        t = i / count
        frequency = start_frequency * (end_frequency / start_frequency) ** t
        phase += 2 * math.pi * frequency / RATE
        envelope = min(1.0, i / (0.02 * RATE)) * (1 - t) ** 1.5
        vibrato = 1 + 0.004 * math.sin(2 * math.pi * 5.5 * i / RATE)
        samples.append(envelope * sum(level * math.sin(n * phase * vibrato) for n, level in harmonics))
    return samples


def knock(frequency, seconds):
    """A low, muted knock: a dull tone that drops a little in pitch and dies at once."""
    samples = []
    phase = 0.0
    for i in range(int(seconds * RATE)):
        t = i / RATE
        f = frequency * (1 - 0.12 * min(1.0, t / 0.12))
        phase += 2 * math.pi * f / RATE
        envelope = min(1.0, t / 0.003) * math.exp(-9 * t)
        samples.append(envelope * (math.sin(phase) + 0.35 * math.sin(2 * phase) + 0.12 * math.sin(3 * phase)))
    return release(samples)


def note(name):
    """The frequency of a note name such as A4 or C#5 (equal temperament, A4 = 440 Hz)."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}[name[0]]
    rest = name[1:]
    if rest.startswith("#"):
        steps += 1
        rest = rest[1:]
    return 440.0 * 2 ** ((steps + 12 * (int(rest) - 4)) / 12)


def finish(samples, peak=0.5, fade_seconds=0.03):
    """Scales to the given peak and fades the last few milliseconds out, so nothing clicks."""
    top = max(abs(v) for v in samples) or 1.0
    fade = int(fade_seconds * RATE)
    result = []
    for i, value in enumerate(samples):
        gain = peak / top
        remaining = len(samples) - i
        if remaining < fade:
            gain *= remaining / fade
        result.append(value * gain)
    return result


def correct():
    track = silence(0.6)
    mix_into(track, bell(note("A5"), 0.5, decay=7), 0.0, 0.8)
    mix_into(track, bell(note("E6"), 0.5, decay=6), 0.09, 1.0)
    return finish(track, 0.45)


def wrong():
    track = silence(0.4)
    mix_into(track, knock(note("G2") * 1.5, 0.35), 0.0)
    mix_into(track, knock(note("D3"), 0.3), 0.13, 0.8)
    return finish(track, 0.5)


def run_finished():
    track = silence(1.6)
    melody = [("D5", 0.0), ("E5", 0.11), ("G5", 0.22), ("A5", 0.33), ("D6", 0.46)]
    for index, (name, start) in enumerate(melody):
        mix_into(track, pluck(note(name), 0.9, seed=174 + index), start, 0.8)
    for index, name in enumerate(("D5", "A5", "D6")):
        mix_into(track, pluck(note(name), 1.0, seed=180 + index, damping=0.998), 0.62, 0.55)
    mix_into(track, bell(note("D6"), 0.9, decay=4), 0.62, 0.25)
    return finish(track, 0.5, fade_seconds=0.15)


def favourite_hit():
    track = silence(0.8)
    for index, name in enumerate(("E6", "G#6", "B6")):
        mix_into(track, bell(note(name), 0.6, decay=5), index * 0.08, 0.9)
    mix_into(track, bell(note("E7"), 0.5, decay=8, partials=((1.0, 1.0), (2.0, 0.2))), 0.24, 0.35)
    return finish(track, 0.45, fade_seconds=0.08)


def favourite_missed():
    track = silence(0.75)
    mix_into(track, glide(note("A4"), note("D4"), 0.7), 0.0)
    return finish(track, 0.45, fade_seconds=0.05)


SOUNDS = {147: correct, 173: wrong, 174: run_finished, 176: favourite_hit, 177: favourite_missed}


def write_wave(path, samples):
    frames = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(v * 32767))))) for v in samples)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def main():
    os.makedirs(ASSETS, exist_ok=True)
    for sound_id, make in sorted(SOUNDS.items()):
        path = os.path.join(ASSETS, "sound-%d.wav" % sound_id)
        samples = make()
        write_wave(path, samples)
        print("%s  %.2f s" % (path, len(samples) / RATE))
    return 0


if __name__ == "__main__":
    sys.exit(main())
