// Six loops, each in its own mood, composed from a chord progression, a drum groove, a bass line and a
// melody built from one motif that is answered and varied over the piece.

#include "Music.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

const std::vector<int> minorScale = {0, 2, 3, 5, 7, 8, 10};
const std::vector<int> majorScale = {0, 2, 4, 5, 7, 9, 11};
const std::vector<int> harmonicMinor = {0, 2, 3, 5, 7, 8, 11};
const std::vector<int> dorianScale = {0, 2, 3, 5, 7, 9, 10};

// A note of a melody or bass line: start and length in sixteenth steps, and a scale degree.
struct Note {
    int step = 0;
    int length = 1;
    int degree = 0;
};

class Arranger {
public:
    Arranger(int bpm, int bars, int root, const std::vector<int>& scale, std::vector<int> progression,
             uint32_t seed)
        : bars_(bars), root_(root), scale_(scale), progression_(std::move(progression)), rng_(seed),
          stepSeconds_(60.0f / static_cast<float>(bpm) / 4.0f),
          buffer_(musicRate, static_cast<int>(static_cast<float>(bars * 16) * stepSeconds_ * musicRate)) {}

    int bars() const { return bars_; }
    float stepSeconds() const { return stepSeconds_; }
    Rng& rng() { return rng_; }
    LoopBuffer& buffer() { return buffer_; }

    // Scale degree of the chord root in a bar.
    int ChordDegree(int bar) const { return progression_[static_cast<size_t>(bar) % progression_.size()]; }

    // MIDI note of a scale degree (may be negative or above 6) in the given octave offset.
    float Pitch(int degree, int octave) const {
        const int size = static_cast<int>(scale_.size());
        const int wrapped = ((degree % size) + size) % size;
        const int octaves = (degree - wrapped) / size;
        return static_cast<float>(root_ + 12 * (octave + octaves) + scale_[static_cast<size_t>(wrapped)]);
    }

    long StepSample(int bar, float step, float swing = 0.0f) const {
        const bool offbeat = static_cast<int>(step) % 2 == 1;
        const float at = (static_cast<float>(bar) * 16.0f + step + (offbeat ? swing : 0.0f)) * stepSeconds_;
        return static_cast<long>(at * musicRate);
    }

    // Plays a drum pattern ('x' full, 'o' soft, '.' rest; 16 steps a bar) over a range of bars.
    void Drum(const std::string& pattern, int fromBar, int toBar, const Samples& hit, float gain,
              float swing = 0.0f) {
        const int steps = static_cast<int>(pattern.size());
        for (int bar = fromBar; bar < toBar; ++bar) {
            for (int s = 0; s < 16; ++s) {
                const char c = pattern[static_cast<size_t>((((bar - fromBar) * 16) + s) % steps)];
                if (c == 'x' || c == 'o') {
                    buffer_.Add(StepSample(bar, static_cast<float>(s), swing), hit,
                                c == 'x' ? gain : gain * 0.45f);
                }
            }
        }
    }

    // Plays a phrase (steps counted from the bar) relative to each bar's chord, over a range of bars.
    void Phrase(const std::vector<Note>& notes, int fromBar, int toBar, int octave, float gain,
                const std::function<Samples(float freq, float seconds)>& voice) {
        for (int bar = fromBar; bar < toBar; ++bar) {
            for (const Note& n : notes) {
                const int noteBar = bar + n.step / 16;
                if (noteBar >= toBar) {
                    continue;
                }
                const float freq = NoteFrequency(Pitch(ChordDegree(noteBar) + n.degree, octave));
                buffer_.Add(StepSample(noteBar, static_cast<float>(n.step % 16)),
                            voice(freq, static_cast<float>(n.length) * stepSeconds_), gain);
            }
        }
    }

    // Plays each bar's chord (root, third, fifth) with a rhythm of (step, length) hits.
    void Chords(const std::vector<std::pair<int, int>>& hits, int fromBar, int toBar, int octave, float gain,
                const std::function<Samples(float freq, float seconds)>& voice, bool triad = true) {
        for (int bar = fromBar; bar < toBar; ++bar) {
            const int degree = ChordDegree(bar);
            for (auto [step, length] : hits) {
                for (int tone = 0; tone < (triad ? 3 : 1); ++tone) {
                    const float freq = NoteFrequency(Pitch(degree + 2 * tone, octave));
                    buffer_.Add(StepSample(bar, static_cast<float>(step)),
                                voice(freq, static_cast<float>(length) * stepSeconds_),
                                gain / (triad ? 2.0f : 1.0f));
                }
            }
        }
    }

    // A two-bar motif on the given rhythm ('x' starts a note that lasts until the next one).
    std::vector<Note> Motif(const std::string& rhythm, int startDegree) {
        std::vector<Note> notes;
        int degree = startDegree;
        for (size_t i = 0; i < rhythm.size(); ++i) {
            if (rhythm[i] != 'x') {
                continue;
            }
            size_t end = i + 1;
            while (end < rhythm.size() && rhythm[end] == '-') {
                ++end;
            }
            notes.push_back({static_cast<int>(i), static_cast<int>(end - i), degree});
            const float r = rng_.Uniform();
            if (r < 0.65f) {
                degree += rng_.Uniform() < 0.5f ? -1 : 1;
            } else if (r < 0.85f) {
                degree += rng_.Uniform() < 0.5f ? -2 : 2;
            } else {
                degree = 2 * rng_.Below(3);
            }
            degree = std::clamp(degree, -2, 9);
        }
        // Phrases end on a tone of the chord.
        if (!notes.empty()) {
            Note& last = notes.back();
            last.degree = (last.degree / 2) * 2;
            last.degree = last.degree % 7 == 6 ? last.degree - 2 : last.degree;
        }
        return notes;
    }

    // The same motif with its second half recomposed: the answer to the call.
    std::vector<Note> Answer(const std::vector<Note>& motif, const std::string& rhythm) {
        std::vector<Note> notes;
        for (const Note& n : motif) {
            if (n.step < 16) {
                notes.push_back(n);
            }
        }
        const std::vector<Note> fresh = Motif(rhythm, notes.empty() ? 0 : notes.back().degree);
        for (const Note& n : fresh) {
            if (n.step >= 16) {
                notes.push_back(n);
            }
        }
        if (!notes.empty()) {
            notes.back().degree = 0;
        }
        return notes;
    }

    // Plays a two-bar phrase every two bars over a range.
    void Melody(const std::vector<Note>& call, const std::vector<Note>& answer, int fromBar, int toBar,
                int octave, float gain, const std::function<Samples(float freq, float seconds)>& voice) {
        for (int bar = fromBar; bar + 1 < toBar; bar += 2) {
            const std::vector<Note>& phrase = ((bar - fromBar) / 2) % 2 == 0 ? call : answer;
            for (const Note& n : phrase) {
                const int noteBar = bar + n.step / 16;
                // Each note is placed on the chord of its own bar, so the motif moves with the harmony.
                const float freq = NoteFrequency(Pitch(ChordDegree(noteBar) + n.degree, octave));
                buffer_.Add(StepSample(noteBar, static_cast<float>(n.step % 16)),
                            voice(freq, static_cast<float>(n.length) * stepSeconds_), gain);
            }
        }
    }

    Samples Finish(float peak) {
        Samples out = buffer_.samples();
        Normalise(out, peak);
        return out;
    }

private:
    int bars_;
    int root_;
    std::vector<int> scale_;
    std::vector<int> progression_;
    Rng rng_;
    float stepSeconds_;
    LoopBuffer buffer_;
};

constexpr float musicPeak = 0.82f;
constexpr int rate = musicRate;

// "Rock and a hard place": the main menu. Driving minor rock: power chords, bass eighths, a plucked lead.
Samples MenuMusic() {
    Arranger a(118, 20, 45, minorScale, {0, 5, 2, 6}, 0x5eed01);
    Rng noise(11);
    const Samples kick = Kick(0.35f, 160.0f, 48.0f, rate);
    const Samples snare = Snare(0.25f, 190.0f, rate, noise);
    const Samples hat = HiHat(0.06f, rate, noise);
    const int n = a.bars();
    a.Drum("x.......x.x.....", 0, n, kick, 0.9f);
    a.Drum("....x.......x...", 0, n - 1, snare, 0.7f);
    a.Drum("....x.......x.xx", n - 1, n, snare, 0.7f);
    a.Drum("x.x.x.x.x.x.x.x.", 0, n, hat, 0.25f);
    a.Chords(
        {{0, 3}, {3, 3}, {6, 2}, {8, 8}}, 4, n, 0, 0.45f,
        [](float f, float s) { return PowerChord(f, s, 3.0f, rate); }, false);
    a.Phrase({{0, 2, 0}, {2, 2, 0}, {4, 2, 0}, {6, 2, 0}, {8, 2, 0}, {10, 2, 0}, {12, 2, 4}, {14, 2, 0}}, 0,
             n, -1, 0.55f, [](float f, float s) {
                 return FilteredSaw(f, s * 0.9f, {0.005f, 0.1f, 0.6f, 0.05f}, 900.0f, 400.0f, 1.2f, 1, rate);
             });
    const std::string rhythm = "x-x-x---x-x-x-----x-x---x-x-x---";
    const auto call = a.Motif(rhythm, 4);
    const auto answer = a.Answer(call, rhythm);
    Rng pluckNoise(21);
    a.Melody(call, answer, 8, n, 1, 0.5f,
             [&](float f, float s) { return Pluck(f, s + 0.4f, 0.9f, rate, pluckNoise); });
    return a.Finish(musicPeak);
}

// "Spaghetti guitar in space": the options screen. Slow twangy guitar with long echoes over a soft pad.
Samples OptionsMusic() {
    Arranger a(84, 16, 40, harmonicMinor, {0, 5, 3, 4}, 0x5eed02);
    Rng noise(12);
    const Samples kick = Kick(0.5f, 110.0f, 45.0f, rate);
    const Samples shaker = HiHat(0.09f, rate, noise);
    const int n = a.bars();
    a.Drum("x.........x.....", 0, n, kick, 0.6f);
    a.Drum("..o...o...o...o.", 0, n, shaker, 0.2f, 0.3f);
    a.Chords({{0, 16}}, 0, n, 1, 0.35f, [](float f, float s) {
        return FilteredSaw(f, s, {0.6f, 0.4f, 0.8f, 0.8f}, 500.0f, 900.0f, 0.8f, 3, rate);
    });
    Rng pluckNoise(22);
    a.Phrase({{0, 4, 0}, {4, 4, 2}, {8, 4, 4}, {12, 4, 2}}, 0, n, 0, 0.35f,
             [&](float f, float s) { return Pluck(f, s + 0.3f, 0.5f, rate, pluckNoise); });
    const std::string rhythm = "x-----x-x-x-----x-----------x---";
    const auto call = a.Motif(rhythm, 4);
    const auto answer = a.Answer(call, rhythm);
    a.Melody(call, answer, 2, n, 2, 0.6f,
             [&](float f, float s) { return Pluck(f, s + 0.8f, 0.95f, rate, pluckNoise); });
    a.buffer().Echo(a.stepSeconds() * 3.0f, 0.45f, 0.5f);
    return a.Finish(musicPeak);
}

// "Floor it": the credits. Bright and fast major pop-rock with an arpeggio and a singing lead.
Samples CreditsMusic() {
    Arranger a(150, 28, 50, majorScale, {0, 4, 5, 3}, 0x5eed03);
    Rng noise(13);
    const Samples kick = Kick(0.3f, 170.0f, 55.0f, rate);
    const Samples snare = Snare(0.2f, 210.0f, rate, noise);
    const Samples hat = HiHat(0.05f, rate, noise);
    const int n = a.bars();
    a.Drum("x.....x.x.......", 0, n, kick, 0.85f);
    a.Drum("....x.......x...", 0, n, snare, 0.65f);
    a.Drum("xoxoxoxoxoxoxoxo", 0, n, hat, 0.22f);
    a.Phrase({{0, 2, 0}, {2, 2, 7}, {4, 2, 0}, {6, 2, 7}, {8, 2, 0}, {10, 2, 7}, {12, 2, 0}, {14, 2, 7}}, 0,
             n, -1, 0.5f, [](float f, float s) {
                 return FilteredSaw(f, s, {0.003f, 0.08f, 0.5f, 0.04f}, 1200.0f, 500.0f, 1.0f, 1, rate);
             });
    a.Phrase({{0, 1, 0},
              {1, 1, 2},
              {2, 1, 4},
              {3, 1, 7},
              {4, 1, 4},
              {5, 1, 2},
              {6, 1, 0},
              {7, 1, 2},
              {8, 1, 0},
              {9, 1, 2},
              {10, 1, 4},
              {11, 1, 7},
              {12, 1, 9},
              {13, 1, 7},
              {14, 1, 4},
              {15, 1, 2}},
             4, n, 1, 0.22f, [](float f, float s) { return Bell(f, s * 3.0f, 2.0f, 1.5f, rate); });
    const std::string rhythm = "x-x-x-x---x-x-x-x-------x-x-x---";
    const auto call = a.Motif(rhythm, 2);
    const auto answer = a.Answer(call, rhythm);
    a.Melody(call, answer, 8, n, 1, 0.4f, [](float f, float s) {
        return Lead(f, s, {0.01f, 0.1f, 0.8f, 0.1f}, 2500.0f, rate);
    });
    a.buffer().Echo(a.stepSeconds() * 3.0f, 0.25f, 0.25f);
    return a.Finish(musicPeak);
}

// "Punk'd": the battle. Fast punk: distorted eighths, pounding drums, short stabbing lead.
Samples CombatMusic() {
    Arranger a(172, 32, 40, minorScale, {0, 2, 3, 5, 0, 2, 6, 4}, 0x5eed04);
    Rng noise(14);
    const Samples kick = Kick(0.25f, 180.0f, 50.0f, rate);
    const Samples snare = Snare(0.18f, 200.0f, rate, noise);
    const Samples hat = HiHat(0.04f, rate, noise);
    const Samples crash = HiHat(1.2f, rate, noise);
    const int n = a.bars();
    a.Drum("x.x.....x.x.....", 0, n, kick, 0.9f);
    a.Drum("....x.......x...", 0, n - 1, snare, 0.75f);
    a.Drum("....x...x.x.xxxx", n - 1, n, snare, 0.75f);
    a.Drum("x.x.x.x.x.x.x.x.", 0, n, hat, 0.3f);
    a.Drum("x...............................................................", 0, n, crash, 0.25f);
    std::vector<std::pair<int, int>> eighths;
    for (int s = 0; s < 16; s += 2) {
        eighths.push_back({s, 2});
    }
    a.Chords(
        eighths, 0, n, 0, 0.4f, [](float f, float s) { return PowerChord(f, s * 0.9f, 4.0f, rate); }, false);
    a.Phrase(
        {{0, 2, 0}, {2, 2, 0}, {4, 2, 0}, {6, 2, 0}, {8, 2, 0}, {10, 2, 0}, {12, 2, 0}, {14, 2, 0}}, 0, n, -1,
        0.5f, [](float f, float s) {
            return FilteredSaw(f, s * 0.85f, {0.003f, 0.05f, 0.7f, 0.03f}, 1000.0f, 600.0f, 1.0f, 1, rate);
        });
    const std::string rhythm = "x-x-x-x-x-------x-x-x-x-x-x-x---";
    const auto call = a.Motif(rhythm, 4);
    const auto answer = a.Answer(call, rhythm);
    a.Melody(call, answer, 16, n, 2, 0.3f, [](float f, float s) {
        return Lead(f, s * 0.8f, {0.005f, 0.05f, 0.7f, 0.05f}, 3000.0f, rate);
    });
    return a.Finish(musicPeak);
}

// "Gridiron": the world map. A slow minor march: snare rolls, timpani, brass-like stabs and a proud tune.
Samples WorldMapMusic() {
    Arranger a(100, 16, 48, minorScale, {0, 5, 6, 0, 3, 5, 4, 4}, 0x5eed05);
    Rng noise(15);
    const Samples timpani = Kick(0.7f, 90.0f, 65.0f, rate);
    const Samples snare = Snare(0.16f, 230.0f, rate, noise);
    const int n = a.bars();
    a.Drum("x.......x.......", 0, n, timpani, 0.8f);
    a.Drum("x..ox.o.x..ox.oo", 0, n, snare, 0.45f);
    a.Chords({{0, 3}, {4, 2}, {6, 2}, {8, 6}}, 0, n, 0, 0.5f, [](float f, float s) {
        return FilteredSaw(f, s, {0.03f, 0.2f, 0.7f, 0.2f}, 700.0f, 1600.0f, 0.9f, 3, rate);
    });
    a.Phrase({{0, 4, 0}, {4, 4, 4}, {8, 4, 0}, {12, 4, 4}}, 0, n, -1, 0.55f, [](float f, float s) {
        return FilteredSaw(f, s, {0.01f, 0.2f, 0.6f, 0.1f}, 600.0f, 300.0f, 0.9f, 1, rate);
    });
    const std::string rhythm = "x-----x-x-x-x---x-----x-x-------";
    const auto call = a.Motif(rhythm, 4);
    const auto answer = a.Answer(call, rhythm);
    a.Melody(call, answer, 4, n, 1, 0.45f, [](float f, float s) {
        return FilteredSaw(f, s, {0.04f, 0.2f, 0.8f, 0.15f}, 900.0f, 2400.0f, 1.0f, 2, rate);
    });
    return a.Finish(musicPeak);
}

// "Tecnotica": the build screen. Four-on-the-floor techno: acid bass, off-beat hats, a bell arpeggio.
Samples BuildMusic() {
    Arranger a(128, 24, 45, dorianScale, {0, 0, 3, 4}, 0x5eed06);
    Rng noise(16);
    const Samples kick = Kick(0.3f, 150.0f, 45.0f, rate);
    const Samples clap = Snare(0.15f, 400.0f, rate, noise);
    const Samples openHat = HiHat(0.18f, rate, noise);
    const Samples hat = HiHat(0.03f, rate, noise);
    const int n = a.bars();
    a.Drum("x...x...x...x...", 0, n, kick, 0.95f);
    a.Drum("....x.......x...", 4, n, clap, 0.45f);
    a.Drum("..x...x...x...x.", 0, n, openHat, 0.25f);
    a.Drum("xxoxxxoxxxoxxxox", 8, n, hat, 0.15f);
    Rng acid(26);
    std::vector<Note> bass;
    for (int s = 0; s < 16; ++s) {
        if (s % 4 != 0 && acid.Uniform() < 0.75f) {
            bass.push_back({s, 1, acid.Uniform() < 0.7f ? 0 : (acid.Uniform() < 0.5f ? 7 : 4)});
        }
    }
    a.Phrase(bass, 0, n, -1, 0.5f, [&](float f, float s) {
        return FilteredSaw(f, s, {0.002f, 0.08f, 0.4f, 0.03f}, 2400.0f, 300.0f, 4.0f, 1, rate);
    });
    a.Chords({{0, 16}}, 8, n, 1, 0.25f, [](float f, float s) {
        return FilteredSaw(f, s, {0.8f, 0.5f, 0.8f, 0.8f}, 400.0f, 1200.0f, 1.0f, 3, rate);
    });
    a.Phrase({{0, 1, 0}, {3, 1, 2}, {6, 1, 4}, {8, 1, 7}, {11, 1, 4}, {14, 1, 2}}, 4, n, 2, 0.25f,
             [](float f, float s) { return Bell(f, s * 4.0f, 3.5f, 2.0f, rate); });
    a.buffer().Echo(a.stepSeconds() * 3.0f, 0.35f, 0.3f);
    return a.Finish(musicPeak);
}

} // namespace

std::vector<MusicPiece> ComposeMusic() {
    return {
        {"Sound Assets\\BGM\\05 - Rock And A Hard Place.mp3", MenuMusic()},
        {"Sound Assets\\BGM\\09 - Spaghetti Guitar In Space.mp3", OptionsMusic()},
        {"Sound Assets\\BGM\\33 - Floor It.mp3", CreditsMusic()},
        {"Sound Assets\\BGM\\17 - Punk'd.mp3", CombatMusic()},
        {"Sound Assets\\BGM\\29 - Gridiron.mp3", WorldMapMusic()},
        {"Sound Assets\\BGM\\49 - Tecnotica.mp3", BuildMusic()},
    };
}
