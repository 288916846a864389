#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One loaded sound: music is opened as a stream, effects are loaded whole as samples.
struct SoundEntry {
    int32_t id = 0;
    // The channel it plays on; -1 until first played.
    int32_t channel = -1;
    bool stream = false;
    bool looping = false;
    bool playing = false;
    // The file path, at most 63 characters.
    std::string name;
    // The SDL_mixer music (stream) or chunk (sample); null when the file could not be read.
    void* handle = nullptr;
};

// All of the game's audio, over SDL_mixer. Sounds are loaded once per request and named by random ids;
// music and looping effects keep the channel they were first played on, while a one-shot effect hands its
// channel back once it has finished. Without an audio device everything still works and nothing is heard.
class SoundManager {
public:
    static constexpr int32_t channelCount = 256;

    // Opens the audio device (44100 Hz) with 256 channels at volume 128; the master volume starts at 128.
    SoundManager();
    // Frees every sound and closes the audio device.
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Loads a file as a stream (music) or a sample, looping or not, and returns its new id. A file that
    // cannot be read is reported and gives -1.
    int32_t LoadSound(const std::string& path, bool stream, bool looping);
    // Plays (or restarts) the sound on its channel, taking the lowest free channel when it has none; unknown
    // ids, sounds that could not be read and sounds finding no free channel do nothing.
    void PlaySound(int32_t id);
    // Hands back the channels of one-shot effects that have finished (or were stopped); they are no longer
    // playing and take a channel again when next played.
    void ReclaimFinishedChannels();
    // Stops a playing sound; its channel stays its own.
    void StopSound(int32_t id);

    // Sets the master volume (0 to 255) applied to effects and music from the next play on, and at once.
    void SetMasterVolume(uint8_t volume);
    // The master volume, 0 to 255.
    uint8_t masterVolume() const { return masterVolume_; }

    // The entry of an id, or null.
    const SoundEntry* Find(int32_t id) const;
    // Every sound loaded so far, in load order.
    const std::vector<SoundEntry>& sounds() const { return sounds_; }
    // True when an audio device could be opened.
    bool deviceOpen() const { return deviceOpen_; }
    // True when the channel has not been handed out.
    bool channelFree(int32_t channel) const;

private:
    SoundEntry* FindEntry(int32_t id);
    void ApplyVolume() const;

    std::array<uint8_t, channelCount> channelFree_;
    std::vector<SoundEntry> sounds_;
    uint8_t masterVolume_ = 128;
    bool deviceOpen_ = false;
};
