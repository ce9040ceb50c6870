#pragma once
// The files the game writes, each named here once. Every format in files/ takes its file's name
// from this table, and the start-up's sweep of what writes cut short left behind reads the whole
// table, so a file added here is swept with no other edit.
#include <QString>
#include <cstddef>

namespace files {

enum class GameFile { ConfigCfg, SaveDbs, RecordsTxt, ViewCfg, SoundCfg, MapDbm, Count };

struct GameFileName {
    GameFile file;
    const char* name;
    // `name` is how every name of these files ends, the player choosing the rest (the maps).
    bool ending = false;
};

inline constexpr GameFileName kGameFiles[] = {
    {GameFile::ConfigCfg, "config.cfg"},
    {GameFile::SaveDbs, "save.dbs"},
    {GameFile::RecordsTxt, "records.txt"},
    {GameFile::ViewCfg, "view.cfg"},
    {GameFile::SoundCfg, "sound.cfg"},
    {GameFile::MapDbm, ".dbm", true},
};

// One row per file, in the enum's order, so that a file is found by its place.
constexpr bool inEnumOrder()
{
    for (std::size_t i = 0; i < std::size(kGameFiles); ++i)
        if (kGameFiles[i].file != static_cast<GameFile>(i))
            return false;
    return std::size(kGameFiles) == static_cast<std::size_t>(GameFile::Count);
}
static_assert(inEnumOrder(), "every game file has one row, in the enum's order");

// The file's name (for the maps, the ending of their names).
inline QString nameOf(GameFile f)
{
    return QString::fromLatin1(kGameFiles[static_cast<std::size_t>(f)].name);
}

// A name one of the game's files may have: a name of the table, or one with a map's ending in
// any case ("7.DBM").
bool isGameFile(const QString& name);

} // namespace files
