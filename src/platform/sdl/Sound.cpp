#include "platform/sdl/Sound.h"

#include "platform/Dialog.h"
#include "platform/Paths.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t nameLimit = 63;

// SDL_mixer volumes run 0 to 128.
int MixerVolume(uint8_t volume) {
    return (int(volume) * MIX_MAX_VOLUME + 127) / 255;
}

// The music stream SDL_mixer is playing now, so stopping an older stream leaves the current one alone.
Mix_Music* currentMusic = nullptr;

} // namespace

SoundManager::SoundManager() {
    channelFree_.fill(1);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "No sound: %s\n", SDL_GetError());
        return;
    }
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_OGG);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        std::fprintf(stderr, "No sound: %s\n", Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    deviceOpen_ = true;
    Mix_AllocateChannels(channelCount);
    Mix_Volume(-1, MIX_MAX_VOLUME);
    ApplyVolume();
}

SoundManager::~SoundManager() {
    if (deviceOpen_) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
    }
    currentMusic = nullptr;
    for (SoundEntry& entry : sounds_) {
        if (entry.handle == nullptr) {
            continue;
        }
        if (entry.stream) {
            Mix_FreeMusic(static_cast<Mix_Music*>(entry.handle));
        } else {
            Mix_FreeChunk(static_cast<Mix_Chunk*>(entry.handle));
        }
    }
    sounds_.clear();
    if (deviceOpen_) {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

int32_t SoundManager::LoadSound(const std::string& path, bool stream, bool looping) {
    const std::string native = NativePath(path);
    void* handle = nullptr;
    if (deviceOpen_) {
        handle = stream ? static_cast<void*>(Mix_LoadMUS(native.c_str()))
                        : static_cast<void*>(Mix_LoadWAV(native.c_str()));
        if (handle == nullptr) {
            ShowErrorBox("Could not open sound file for reading: " + path + " (" + Mix_GetError() + ")");
            return -1;
        }
    } else {
        // Without a device nothing can be decoded; the file must still be there.
        SDL_RWops* file = SDL_RWFromFile(native.c_str(), "rb");
        if (file == nullptr) {
            ShowErrorBox("Could not open sound file for reading: " + path);
            return -1;
        }
        SDL_RWclose(file);
    }

    SoundEntry entry;
    entry.stream = stream;
    entry.looping = looping;
    entry.name = path.substr(0, nameLimit);
    entry.handle = handle;
    // Random ids, drawn again while one is taken.
    do {
        entry.id = std::rand();
    } while (Find(entry.id) != nullptr);
    sounds_.push_back(entry);
    return entry.id;
}

void SoundManager::PlaySound(int32_t id) {
    SoundEntry* entry = FindEntry(id);
    if (entry == nullptr) {
        return;
    }
    if (entry->channel == -1) {
        ReclaimFinishedChannels();
        int32_t channel = 0;
        while (channel < channelCount && channelFree_[size_t(channel)] == 0) {
            ++channel;
        }
        if (channel == channelCount) {
            return;
        }
        entry->channel = channel;
        channelFree_[size_t(channel)] = 0;
    }
    ApplyVolume();
    if (entry->handle != nullptr) {
        const int loops = entry->looping ? -1 : 0;
        if (entry->stream) {
            currentMusic = static_cast<Mix_Music*>(entry->handle);
            Mix_PlayMusic(currentMusic, loops);
        } else {
            Mix_PlayChannel(entry->channel, static_cast<Mix_Chunk*>(entry->handle), loops);
        }
    }
    entry->playing = true;
}

void SoundManager::StopSound(int32_t id) {
    SoundEntry* entry = FindEntry(id);
    if (entry == nullptr || !entry->playing) {
        return;
    }
    entry->playing = false;
    if (entry->handle == nullptr) {
        return;
    }
    if (entry->stream) {
        if (currentMusic == entry->handle) {
            Mix_HaltMusic();
            currentMusic = nullptr;
        }
    } else {
        Mix_HaltChannel(entry->channel);
    }
}

void SoundManager::ReclaimFinishedChannels() {
    for (SoundEntry& entry : sounds_) {
        if (entry.stream || entry.looping || entry.channel < 0) {
            continue;
        }
        // Without a device (or a decoded sample) a one-shot has nothing to play and is over at once.
        if (deviceOpen_ && entry.handle != nullptr && entry.playing && Mix_Playing(entry.channel) != 0) {
            continue;
        }
        channelFree_[size_t(entry.channel)] = 1;
        entry.channel = -1;
        entry.playing = false;
    }
}

void SoundManager::SetMasterVolume(uint8_t volume) {
    masterVolume_ = volume;
    ApplyVolume();
}

const SoundEntry* SoundManager::Find(int32_t id) const {
    for (const SoundEntry& entry : sounds_) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

bool SoundManager::channelFree(int32_t channel) const {
    return channel >= 0 && channel < channelCount && channelFree_[size_t(channel)] != 0;
}

SoundEntry* SoundManager::FindEntry(int32_t id) {
    return const_cast<SoundEntry*>(static_cast<const SoundManager*>(this)->Find(id));
}

void SoundManager::ApplyVolume() const {
    if (!deviceOpen_) {
        return;
    }
    Mix_MasterVolume(MixerVolume(masterVolume_));
    Mix_VolumeMusic(MixerVolume(masterVolume_));
}
