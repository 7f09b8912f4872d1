// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the trainer's sounds as 32-bit float WAV files; sox adds the room and makes the
// final sample format, lame encodes the music. Everything here is plain arithmetic on
// fixed note lists, with a fixed-seed noise source, so that every build gives the same
// bytes.
//
//   soundgen calm OUT.wav    music between sessions, 60 beats per minute, 32 s
//   soundgen lively OUT.wav  music during a session, 120 beats per minute, 32 s
//   soundgen hit OUT.wav     the hit sound, a soft wooden "tock", 0.16 s
//
// Each piece comes back to rest at its end: the last notes die away inside the track and
// the first note starts from silence, so repeating the track (right away, or after the
// pause the player's repeat tick leaves) never clicks.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 44100;

struct Buffer {
    std::vector<float> left, right;

    explicit Buffer(double seconds)
        : left(size_t(std::lround(seconds * kRate)), 0.0f)
        , right(left.size(), 0.0f)
    {
    }

    // Adds one mono voice at `start` seconds; `pan` runs from -1 (left) to 1 (right).
    template <typename Voice> void Add(double start, double length, double pan, double gain, Voice voice)
    {
        const double gl = gain * std::cos((pan + 1) * kPi / 4);
        const double gr = gain * std::sin((pan + 1) * kPi / 4);
        const size_t first = size_t(std::lround(start * kRate));
        const size_t count = size_t(std::lround(length * kRate));
        for (size_t i = 0; i < count && first + i < left.size(); ++i) {
            const double v = voice(double(i) / kRate);
            left[first + i] += float(v * gl);
            right[first + i] += float(v * gr);
        }
    }
};

double Frequency(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// Attack ramp, then a hold until `hold`, then a linear release to 0 over `release`.
double Gate(double t, double attack, double hold, double release)
{
    double g = t < attack ? t / attack : 1.0;
    if (t > hold)
        g *= std::max(0.0, 1.0 - (t - hold) / release);
    return g;
}

// A soft electric piano: two-operator FM whose brightness fades faster than its tone.
void EPiano(Buffer& b, double start, double length, int midi, double pan, double gain)
{
    const double f = Frequency(midi);
    const double release = 0.35;
    b.Add(start, length + release, pan, gain, [=](double t) {
        const double index = 1.1 * std::exp(-t / 0.25) + 0.15;
        const double tone = std::sin(2 * kPi * f * t + index * std::sin(2 * kPi * f * t));
        const double shimmer = 0.12 * std::exp(-t / 0.08) * std::sin(2 * kPi * 4 * f * t);
        return (tone + shimmer) * std::exp(-t / 1.6) * Gate(t, 0.006, length, release);
    });
}

// A slow pad: three slightly detuned sines and a quiet octave per note.
void Pad(Buffer& b, double start, double length, int midi, double pan, double gain)
{
    const double f = Frequency(midi);
    const double release = 0.9;
    b.Add(start, length + release, pan, gain, [=](double t) {
        const double v = std::sin(2 * kPi * f * t) + 0.6 * std::sin(2 * kPi * f * 1.0017 * t)
            + 0.6 * std::sin(2 * kPi * f * 0.9983 * t) + 0.15 * std::sin(2 * kPi * 2 * f * t);
        return v * Gate(t, 0.7, length, release);
    });
}

// A round bass: a sine with a little second harmonic, plucked.
void Bass(Buffer& b, double start, double length, int midi, double gain)
{
    const double f = Frequency(midi);
    const double release = 0.08;
    b.Add(start, length + release, 0.0, gain, [=](double t) {
        const double v = std::sin(2 * kPi * f * t) + 0.3 * std::exp(-t / 0.15) * std::sin(2 * kPi * 2 * f * t);
        return v * std::exp(-t / 0.7) * Gate(t, 0.008, length, release);
    });
}

// A mallet: a sine with a quickly fading fourth partial, like a marimba bar.
void Mallet(Buffer& b, double start, int midi, double pan, double gain)
{
    const double f = Frequency(midi);
    b.Add(start, 1.2, pan, gain, [=](double t) {
        const double v = std::sin(2 * kPi * f * t) + 0.35 * std::exp(-t / 0.03) * std::sin(2 * kPi * 3.93 * f * t);
        return v * std::exp(-t / 0.22) * Gate(t, 0.002, 1.0, 0.2);
    });
}

// A soft kick: a falling sine.
void Kick(Buffer& b, double start, double gain)
{
    b.Add(start, 0.5, 0.0, gain, [](double t) {
        const double phase = 2 * kPi * (48 * t + 70 * 0.035 * (1 - std::exp(-t / 0.035)));
        return std::sin(phase) * std::exp(-t / 0.13) * Gate(t, 0.003, 0.4, 0.1);
    });
}

// Noise from a fixed-seed generator, so that every build hears the same hats.
struct Noise {
    uint32_t state = 0x5eed1234u;
    double Next()
    {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 23) - 1.0;
    }
};

void Hat(Buffer& b, Noise& noise, double start, double pan, double gain)
{
    std::vector<double> samples(size_t(0.12 * kRate));
    double previous = 0;
    for (double& s : samples) {
        const double n = noise.Next();
        s = n - previous; // a first difference keeps only the hiss
        previous = n;
    }
    b.Add(start, 0.12, pan, gain, [&samples](double t) {
        const size_t i = std::min(samples.size() - 1, size_t(t * kRate));
        return samples[i] * std::exp(-t / 0.025) * Gate(t, 0.001, 0.1, 0.02);
    });
}

struct Note {
    double beat, beats;
    int midi;
};

// ---------------------------------------------------------------- between sessions

// D major, eight bars of four beats at 60 per minute: a pentatonic tune over a slow pad,
// closing on the home chord, which dies away in the last bar.
void Calm(Buffer& b)
{
    const double beat = 1.0;
    const std::vector<Note> tune = {
        { 0, 1, 69 }, { 1, 1, 74 }, { 2, 0.5, 76 }, { 2.5, 1.5, 78 }, // D
        { 4, 1, 76 }, { 5, 0.5, 74 }, { 5.5, 1.5, 71 }, { 7, 1, 69 }, // Bm7
        { 8, 1, 71 }, { 9, 1, 74 }, { 10, 1, 76 }, { 11, 0.5, 74 }, { 11.5, 0.5, 71 }, // Gmaj7
        { 12, 2, 69 }, { 14, 0.5, 71 }, { 14.5, 0.5, 74 }, { 15, 1, 76 }, // A
        { 16, 1.5, 78 }, { 17.5, 0.5, 81 }, { 18, 1, 83 }, { 19, 1, 81 }, // D/F#
        { 20, 1, 78 }, { 21, 1, 76 }, { 22, 0.5, 74 }, { 22.5, 1.5, 76 }, // Em7
        { 24, 1, 74 }, { 25, 1, 71 }, { 26, 1, 69 }, { 27, 0.5, 71 }, { 27.5, 0.5, 73 }, // G A
        { 28, 2.5, 74 }, // D
    };
    for (const Note& n : tune)
        EPiano(b, n.beat * beat, n.beats * beat, n.midi, 0.15, 0.22);

    // An echo of the tune an octave lower, softly, on the off-beats of every other bar.
    const std::vector<Note> answer = {
        { 3.5, 0.5, 66 },
        { 11.5, 0.5, 62 },
        { 19.5, 0.5, 69 },
        { 23.5, 0.5, 64 },
    };
    for (const Note& n : answer)
        EPiano(b, n.beat * beat, n.beats * beat, n.midi, -0.4, 0.1);

    struct Chord {
        double beat, beats;
        std::vector<int> notes;
        int root;
    };
    const std::vector<Chord> chords = {
        { 0, 4, { 50, 57, 62, 64, 66 }, 38 }, // D add9
        { 4, 4, { 54, 57, 59, 62 }, 35 }, // Bm7
        { 8, 4, { 55, 59, 62, 66 }, 43 }, // Gmaj7
        { 12, 4, { 52, 57, 61, 64 }, 45 }, // A
        { 16, 4, { 54, 57, 62, 66 }, 42 }, // D/F#
        { 20, 4, { 52, 55, 59, 62 }, 40 }, // Em7
        { 24, 2, { 55, 59, 62, 66 }, 43 }, // Gmaj7
        { 26, 2, { 52, 57, 61, 64 }, 45 }, // A
        { 28, 2, { 50, 57, 62, 66 }, 38 }, // D, released early so that it is gone by the end
    };
    for (const Chord& c : chords) {
        for (size_t i = 0; i < c.notes.size(); ++i)
            Pad(b, c.beat * beat, c.beats * beat, c.notes[i], i % 2 ? 0.5 : -0.5, 0.028);
        Bass(b, c.beat * beat, std::min(2.0, c.beats) * beat - 0.1, c.root, 0.2);
        if (c.beats >= 4)
            Bass(b, (c.beat + 2) * beat, 2 * beat - 0.1, c.root, 0.14);
    }
}

// ---------------------------------------------------------------- during a session

// A minor, sixteen bars of four beats at 120 per minute: mallet arpeggios, bass and light
// drums, a tune from the fifth bar on, and a last bar that stops on the dominant so that
// the track leads back into its beginning.
void Lively(Buffer& b)
{
    const double beat = 0.5;
    Noise noise;
    const std::vector<std::vector<int>> chords = {
        { 57, 60, 64, 69 }, // Am
        { 53, 57, 60, 65 }, // F
        { 55, 60, 64, 67 }, // C
        { 55, 59, 62, 67 }, // G
    };
    const int roots[] = { 45, 41, 48, 43 };
    const int arp[] = { 0, 1, 2, 3, 2, 1, 2, 1 };

    for (int bar = 0; bar < 16; ++bar) {
        const std::vector<int>& chord = chords[size_t(bar % 4)];
        const int root = roots[bar % 4];
        const double t0 = bar * 4 * beat;
        const bool last = bar == 15;
        const int eighths = last ? 4 : 8;
        for (int e = 0; e < eighths; ++e) {
            const int midi = chord[size_t(arp[e])] + (bar >= 8 && e == 3 ? 12 : 0);
            Mallet(b, t0 + e * beat / 2, midi, e % 2 ? -0.55 : -0.25, e % 2 ? 0.11 : 0.14);
        }
        const int pulses[] = { 0, 0, 12, 0 };
        for (int q = 0; q < (last ? 2 : 4); ++q)
            Bass(b, t0 + q * beat, beat * 0.8, root + pulses[q], q == 0 ? 0.24 : 0.17);
        if (bar >= 2) {
            Kick(b, t0, 0.35);
            if (!last)
                Kick(b, t0 + 2 * beat, 0.28);
            for (int q = 0; q < (last ? 2 : 4); ++q)
                Hat(b, noise, t0 + q * beat + beat / 2, 0.45, 0.05);
        }
    }
    // The last bar's dominant chord, held softly under the final tune note.
    for (int midi : chords[3])
        Pad(b, 15 * 4 * beat, 1.0, midi, 0.0, 0.02);

    const std::vector<Note> tune = {
        // bars 5-8
        { 16, 1, 76 },
        { 17, 0.5, 74 },
        { 17.5, 0.5, 72 },
        { 18, 1.5, 69 },
        { 20, 1, 72 },
        { 21, 1, 74 },
        { 22, 0.5, 76 },
        { 22.5, 1.5, 79 },
        { 24, 1, 76 },
        { 25, 0.5, 79 },
        { 25.5, 1, 81 },
        { 26.5, 0.5, 79 },
        { 27, 1, 76 },
        { 28, 1.5, 74 },
        { 29.5, 0.5, 72 },
        { 30, 2, 74 },
        // bars 9-12
        { 32, 1.5, 81 },
        { 33.5, 0.5, 79 },
        { 34, 2, 76 },
        { 36, 0.5, 72 },
        { 36.5, 0.5, 74 },
        { 37, 1, 76 },
        { 38, 1, 74 },
        { 39, 1, 72 },
        { 40, 1.5, 76 },
        { 41.5, 0.5, 74 },
        { 42, 1, 72 },
        { 43, 1, 69 },
        { 44, 1, 67 },
        { 45, 1, 69 },
        { 46, 1, 72 },
        { 47, 1, 74 },
        // bars 13-16
        { 48, 1, 76 },
        { 49, 1, 81 },
        { 50, 0.5, 79 },
        { 50.5, 1.5, 76 },
        { 52, 1, 74 },
        { 53, 0.5, 76 },
        { 53.5, 0.5, 74 },
        { 54, 2, 72 },
        { 56, 0.5, 69 },
        { 56.5, 0.5, 72 },
        { 57, 1, 74 },
        { 58, 1, 76 },
        { 59, 1, 79 },
        { 60, 2, 74 },
    };
    for (const Note& n : tune)
        EPiano(b, n.beat * beat, n.beats * beat, n.midi, 0.25, 0.2);
}

// ---------------------------------------------------------------- the hit sound

// A short wooden "tock" high enough to cut through the music without being sharp.
void Hit(Buffer& b)
{
    const double f = Frequency(88); // E6
    b.Add(0, 0.16, 0.0, 0.6, [=](double t) {
        const double v = std::sin(2 * kPi * f * t) + 0.3 * std::exp(-t / 0.012) * std::sin(2 * kPi * 2.76 * f * t)
            + 0.4 * std::exp(-t / 0.02) * std::sin(2 * kPi * 0.5 * f * t);
        return v * std::exp(-t / 0.035) * Gate(t, 0.0015, 0.14, 0.02);
    });
}

// ---------------------------------------------------------------- output

void Put16(std::FILE* f, uint16_t v) { std::fputc(v & 0xff, f), std::fputc(v >> 8, f); }
void Put32(std::FILE* f, uint32_t v) { Put16(f, uint16_t(v & 0xffff)), Put16(f, uint16_t(v >> 16)); }

bool WriteFloatWav(const char* path, const Buffer& b, int channels)
{
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    const uint32_t frames = uint32_t(b.left.size());
    const uint32_t bytes = frames * uint32_t(channels) * 4;
    std::fwrite("RIFF", 1, 4, f);
    Put32(f, 4 + 26 + 12 + 8 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    Put32(f, 18);
    Put16(f, 3); // IEEE float
    Put16(f, uint16_t(channels));
    Put32(f, kRate);
    Put32(f, kRate * uint32_t(channels) * 4);
    Put16(f, uint16_t(channels * 4));
    Put16(f, 32);
    Put16(f, 0); // no extension
    std::fwrite("fact", 1, 4, f);
    Put32(f, 4);
    Put32(f, frames);
    std::fwrite("data", 1, 4, f);
    Put32(f, bytes);
    for (uint32_t i = 0; i < frames; ++i) {
        const float frame[2] = { b.left[i], b.right[i] };
        if (channels == 1) {
            const float mono = (frame[0] + frame[1]) * 0.5f;
            std::fwrite(&mono, 4, 1, f);
        } else {
            std::fwrite(frame, 4, 2, f);
        }
    }
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: soundgen calm|lively|hit OUT.wav\n");
        return 2;
    }
    const std::string what = argv[1];
    bool ok = false;
    if (what == "calm") {
        Buffer b(32.0);
        Calm(b);
        ok = WriteFloatWav(argv[2], b, 2);
    } else if (what == "lively") {
        Buffer b(32.0);
        Lively(b);
        ok = WriteFloatWav(argv[2], b, 2);
    } else if (what == "hit") {
        Buffer b(0.16);
        Hit(b);
        ok = WriteFloatWav(argv[2], b, 1);
    } else {
        std::fprintf(stderr, "soundgen: unknown sound \"%s\"\n", argv[1]);
        return 2;
    }
    if (!ok) {
        std::fprintf(stderr, "soundgen: cannot write \"%s\": %s\n", argv[2], std::strerror(errno));
        return 1;
    }
    return 0;
}
