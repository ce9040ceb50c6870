// Build step: translates one score of the notation in score.h into a Standard MIDI File.
#include "file_util.h"
#include "score.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <score.txt> <out.mid>\n", argv[0]);
        return 2;
    }
    try {
        const tools::Score score = tools::parseScore(tools::readTextFile(argv[1]), argv[1]);
        tools::writeBinaryFile(argv[2], tools::scoreToMidi(score).bytes());
        std::printf("%s: \"%s\", %zu tracks, %.1f s\n", argv[2], score.title.c_str(), score.parts.size(),
                    score.seconds());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
