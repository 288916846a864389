#pragma once

#include "Synth.h"

#include <string>

// Writes mono samples in [-1, 1] as a 16-bit PCM WAV file; false with a message on failure.
bool WriteWav(const std::string& nativePath, const Samples& samples, int rate);
// Encodes mono samples in [-1, 1] as a constant-bit-rate MP3 file; false with a message on failure.
bool WriteMp3(const std::string& nativePath, const Samples& samples, int rate, int kbps);
