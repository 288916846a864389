// Writes every piece of music and every sound effect the game names into the run folder:
//   vantor_sounds <run folder> <stamp file>

#include "AudioFiles.h"
#include "Effects.h"
#include "Music.h"
#include "platform/Paths.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>

namespace {

// Creates the file's folder and returns the native path, or an empty string on failure.
std::string PrepareTarget(const std::filesystem::path& runDir, const std::string& gamePath) {
    const std::filesystem::path target = runDir / NativePath(gamePath);
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    if (error) {
        std::fprintf(stderr, "Could not create folder %s: %s\n", target.parent_path().c_str(),
                     error.message().c_str());
        return {};
    }
    return target.string();
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

constexpr int musicKbps = 64;
constexpr int effectMp3Kbps = 96;

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <run folder> <stamp file>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path runDir = argv[1];
    int failures = 0, written = 0;

    // Effects are quick; the music is composed on a second thread meanwhile.
    std::future<std::vector<MusicPiece>> music = std::async(std::launch::async, ComposeMusic);
    for (const EffectSound& effect : MakeEffects()) {
        const std::string path = PrepareTarget(runDir, effect.gamePath);
        const bool ok = !path.empty() &&
                        (EndsWith(path, ".mp3") ? WriteMp3(path, effect.samples, effect.rate, effectMp3Kbps)
                                                : WriteWav(path, effect.samples, effect.rate));
        ok ? ++written : ++failures;
    }
    for (const MusicPiece& piece : music.get()) {
        const std::string path = PrepareTarget(runDir, piece.gamePath);
        const bool ok = !path.empty() && WriteMp3(path, piece.samples, musicRate, musicKbps);
        ok ? ++written : ++failures;
    }
    std::printf("Sounds: %d written, %d failed\n", written, failures);
    if (failures == 0) {
        std::ofstream(argv[2]) << written << " sounds\n";
    }
    return failures == 0 ? 0 : 1;
}
