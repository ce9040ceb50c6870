// Build step: synthesizes the hit sound.
#include "chime.h"
#include "file_util.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <out.wav>\n", argv[0]);
        return 2;
    }
    try {
        const tools::ChimeSettings settings;
        tools::writeBinaryFile(argv[1], tools::encodeWave(tools::synthesizeChime(settings), settings.sampleRate, 1));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
