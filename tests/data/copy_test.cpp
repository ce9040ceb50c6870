// The build step that places the shipped maps and settings in the play folder without overwriting the player's.
#include "data_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

namespace fs = std::filesystem;

void write(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

class CopyMissing : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() /
               ("plinkat_copy_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "data");
        write(root / "data" / "1.dbm", "shipped one");
        write(root / "data" / "2.dbm", "shipped two");
        write(root / "data" / "config.cfg", " 5  1  4 \r\n");
        write(root / "data" / "levels.txt", "pictures");
    }
    void TearDown() override { fs::remove_all(root); }

    int run() const
    {
        const std::string command = std::string("\"") + PLINKAT_CMAKE_COMMAND + "\" -DSOURCE=\"" +
                                    (root / "data").string() + "\" -DDESTINATION=\"" + (root / "play").string() +
                                    "\" -P \"" + (datatest::sourceDir() / "tools" / "copy_missing.cmake").string() +
                                    "\" > /dev/null";
        return std::system(command.c_str());
    }

    fs::path root;
};

} // namespace

TEST_F(CopyMissing, FillsAnEmptyPlayFolderWithMapsAndSettingsOnly)
{
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(datatest::readBytes(root / "play" / "1.dbm"), "shipped one");
    EXPECT_EQ(datatest::readBytes(root / "play" / "2.dbm"), "shipped two");
    EXPECT_EQ(datatest::readBytes(root / "play" / "config.cfg"), " 5  1  4 \r\n");
    EXPECT_FALSE(fs::exists(root / "play" / "levels.txt"));
}

TEST_F(CopyMissing, NeverOverwritesThePlayersFiles)
{
    fs::create_directories(root / "play");
    write(root / "play" / "1.dbm", "player's own map");
    write(root / "play" / "config.cfg", " 9  0  2 \r\n");
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(datatest::readBytes(root / "play" / "1.dbm"), "player's own map");
    EXPECT_EQ(datatest::readBytes(root / "play" / "config.cfg"), " 9  0  2 \r\n");
    EXPECT_EQ(datatest::readBytes(root / "play" / "2.dbm"), "shipped two");
}
