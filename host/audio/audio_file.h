// Reads an audio file from disk and picks the reader by the file's first bytes.
#pragma once

#include <string>

#include "host/audio/pcm_audio.h"

// On failure the error names the file and the problem.
AudioResult ReadAudioFile(const std::string& path);
