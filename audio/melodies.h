#pragma once
// The melodies and the rotation's wrap rule, on plain numbers.
//
// Melodies are <start-up folder>/music/<n>.mid. The number wraps to 1 when the incremented number
// reaches the bound (not when it passes it), so the rotation runs 1 .. bound - 1; the bound itself
// plays only as the stored start number or as a choice in the options window.
#include <QString>
#include <cstdint>

namespace audio {

// The file name of melody `num`: its number text and ".mid" (3 gives "3.mid", 2.5 "2.5.mid").
QString melodyFileName(float num);
// The path of a melody file in the start-up folder's music folder.
QString melodyPath(const QString& startFolder, const QString& fileName);
// The number of the melody after `num` under the bound `melodi`.
float nextMelody(float num, std::int16_t melodi);

} // namespace audio
