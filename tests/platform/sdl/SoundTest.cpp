#include "platform/sdl/Sound.h"

#include "platform/Dialog.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Writes a short mono 16-bit WAV file of silence and returns its path.
std::string WriteWav(const std::string& name) {
    const std::string path = testing::TempDir() + "vantor_sound_" + name;
    const uint32_t samples = 441;
    const uint32_t dataBytes = samples * 2;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&out](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&out](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(44100);
    u32(44100 * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(dataBytes);
    for (uint32_t i = 0; i < samples; ++i) {
        u16(0);
    }
    return path;
}

class SoundTest : public testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

} // namespace

TEST_F(SoundTest, SamplesAndStreamsKeepTheChannelTheyFirstPlayedOn) {
    SoundManager sound;
    EXPECT_TRUE(sound.deviceOpen()) << "the dummy driver opens";
    EXPECT_EQ(sound.masterVolume(), 128);
    const std::string wav = WriteWav("beep.wav");

    const int32_t effect = sound.LoadSound(wav, false, false);
    const int32_t music = sound.LoadSound(wav, true, true);
    ASSERT_GE(effect, 0);
    ASSERT_GE(music, 0);
    EXPECT_NE(effect, music);
    ASSERT_NE(sound.Find(effect), nullptr);
    EXPECT_EQ(sound.Find(effect)->channel, -1);
    EXPECT_TRUE(sound.Find(music)->stream);
    EXPECT_TRUE(sound.Find(music)->looping);

    // Stopping a sound never played does nothing; unknown ids are ignored.
    sound.StopSound(effect);
    sound.PlaySound(12345678);
    EXPECT_TRUE(sound.channelFree(0));

    sound.PlaySound(effect);
    sound.PlaySound(effect);
    EXPECT_EQ(sound.Find(effect)->channel, 0);
    EXPECT_TRUE(sound.Find(effect)->playing);
    EXPECT_TRUE(sound.channelFree(1)) << "replaying takes no second channel";

    sound.PlaySound(music);
    EXPECT_EQ(sound.Find(music)->channel, 1);
    sound.StopSound(music);
    EXPECT_FALSE(sound.Find(music)->playing);
    EXPECT_FALSE(sound.channelFree(1)) << "a stopped sound keeps its channel";
    sound.PlaySound(music);
    EXPECT_EQ(sound.Find(music)->channel, 1);

    sound.SetMasterVolume(255);
    EXPECT_EQ(sound.masterVolume(), 255);
}

TEST_F(SoundTest, MissingOrUnreadableFilesAreReportedAndGiveMinusOne) {
    SoundManager sound;
    DialogRecorder recorder;
    const std::string missing = testing::TempDir() + "vantor_sound_missing.wav";
    EXPECT_EQ(sound.LoadSound(missing, false, false), -1);
    EXPECT_EQ(recorder.count(DialogKind::Error), 1);
    ASSERT_FALSE(recorder.shown().empty());
    EXPECT_NE(recorder.shown().front().text.find(missing), std::string::npos);

    const std::string garbage = testing::TempDir() + "vantor_sound_garbage.wav";
    std::ofstream(garbage) << "not a sound at all";
    EXPECT_EQ(sound.LoadSound(garbage, false, false), -1);
    EXPECT_EQ(sound.LoadSound(garbage, true, true), -1);
    EXPECT_EQ(recorder.count(DialogKind::Error), 3);
    EXPECT_TRUE(sound.sounds().empty());

    sound.PlaySound(-1);
    sound.StopSound(-1);
    EXPECT_TRUE(sound.channelFree(0)) << "playing -1 does nothing";
}

TEST_F(SoundTest, ChannelsRunOutAfter256FirstPlaysThatStillSoundAndIdsStayUnique) {
    SoundManager sound;
    const std::string wav = WriteWav("many.wav");
    std::srand(7);
    std::vector<int32_t> ids;
    // Looping effects never finish, so none hands its channel back.
    for (int i = 0; i < 300; ++i) {
        ids.push_back(sound.LoadSound(wav, false, true));
    }
    // The generator starts over: the next ids must still differ from all loaded ones.
    std::srand(7);
    ids.push_back(sound.LoadSound(wav, false, true));
    for (size_t i = 0; i < ids.size(); ++i) {
        for (size_t j = i + 1; j < ids.size(); ++j) {
            ASSERT_NE(ids[i], ids[j]);
        }
    }
    for (int32_t id : ids) {
        sound.PlaySound(id);
    }
    for (size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(sound.Find(ids[i])->channel, int32_t(i));
    }
    EXPECT_EQ(sound.Find(ids[256])->channel, -1) << "no channel left";
    EXPECT_FALSE(sound.Find(ids[256])->playing);
}

TEST_F(SoundTest, AOneShotEffectHandsItsChannelBackWhenItHasFinished) {
    SoundManager sound;
    const std::string wav = WriteWav("once.wav");
    const int32_t effect = sound.LoadSound(wav, false, false);
    const int32_t loop = sound.LoadSound(wav, false, true);
    sound.PlaySound(effect);
    sound.PlaySound(loop);
    EXPECT_EQ(sound.Find(effect)->channel, 0);
    EXPECT_EQ(sound.Find(loop)->channel, 1);
    // The effect lasts 10 ms; the mixer plays it through in the background.
    for (int wait = 0; wait < 300 && !sound.channelFree(0); ++wait) {
        SDL_Delay(10);
        sound.ReclaimFinishedChannels();
    }
    EXPECT_TRUE(sound.channelFree(0)) << "the finished effect gave its channel back";
    EXPECT_EQ(sound.Find(effect)->channel, -1);
    EXPECT_FALSE(sound.Find(effect)->playing);
    EXPECT_EQ(sound.Find(loop)->channel, 1) << "the looping effect keeps its channel";
    EXPECT_TRUE(sound.Find(loop)->playing);

    // A thousand one-shots, each played after the last has finished, never use up the channels.
    const int32_t next = sound.LoadSound(wav, false, false);
    for (int i = 0; i < 1000; ++i) {
        sound.StopSound(next);
        sound.PlaySound(next);
    }
    EXPECT_EQ(sound.Find(next)->channel, 0);
    EXPECT_TRUE(sound.channelFree(2));
}

TEST(SoundWithoutDevice, EverythingWorksSilently) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        SoundManager sound;
        EXPECT_FALSE(sound.deviceOpen());
        DialogRecorder recorder;
        const std::string wav = WriteWav("silent.wav");
        const int32_t id = sound.LoadSound(wav, false, true);
        ASSERT_GE(id, 0) << "a readable file still gets an id";
        sound.PlaySound(id);
        EXPECT_TRUE(sound.Find(id)->playing);
        EXPECT_EQ(sound.Find(id)->channel, 0);
        sound.StopSound(id);
        EXPECT_FALSE(sound.Find(id)->playing);
        EXPECT_EQ(sound.LoadSound(testing::TempDir() + "vantor_sound_nowhere.wav", true, true), -1);
        EXPECT_EQ(recorder.count(DialogKind::Error), 1);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}
