// What the program is given to read must be a regular file: anything else
// is refused at once, whoever runs the program.

#include "store/FileReader.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/Fifo.h"

using vktstore::FileError;

TEST_F(StoreTest, OnlyARegularFileIsRead) {
    std::filesystem::create_directory(path("folder.vkt"));
    const Fifo fifo(path("fifo.vkt"));
    ASSERT_TRUE(fifo.made());
    writeBytes("setup.vkt", std::string(6019, '\x11'));
    std::filesystem::create_symlink(path("setup.vkt"), path("link.vkt"));
    const std::pair<std::string, std::string> refused[] = {
        {path("folder.vkt"), "Is a directory: " + path("folder.vkt")},
        {path("fifo.vkt"), path("fifo.vkt") + " is a FIFO, not a regular file"},
        {"/dev/null", "/dev/null is a device, not a regular file"},
    };
    for (const auto& [file, says] : refused) {
        std::vector<uint8_t> bytes;
        FileError error;
        EXPECT_FALSE(vktstore::ReadSetupBytes(file, bytes, error)) << file;
        EXPECT_EQ(error.number, 75) << file;
        EXPECT_EQ(error.description, says);
        std::string text;
        EXPECT_FALSE(vktstore::ReadWholeFile(file, 1024, text, error)) << file;
        EXPECT_EQ(error.description, says);
    }
    std::vector<uint8_t> bytes;
    FileError error;
    ASSERT_TRUE(vktstore::ReadSetupBytes(path("link.vkt"), bytes, error)) << error.description;
    EXPECT_EQ(bytes, std::vector<uint8_t>(6019, 0x11));
}
