#include "testsupport.h"

#include "platform/blockname.h"
#include "platform/freshblock.h"
#include "platform/lasterror.h"
#include "platform/relayreport.h"
#include "platform/sharedmemoryview.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <tuple>
#include <vector>

using platform::SharedMemoryBlock;
using platform::SharedMemoryView;
using testsupport::uniqueBlockName;

namespace {

bool mapsNothing(const SharedMemoryBlock &block, std::size_t size)
{
    return !SharedMemoryView::map(block, size).isMapped();
}

// Plants `kind` at the block name as another local user could; removed with the result.
std::shared_ptr<void> plant(const std::string &kind, const std::string &name)
{
    if (kind == "a block of another user")
        return testsupport::squatBlock(name);
    if (kind == "an existing block")
        return std::make_shared<SharedMemoryBlock>(SharedMemoryBlock::createOrOpen(name, 16));
    const std::filesystem::path path = "/dev/shm/" + name;
    if (kind == "a folder")
        std::filesystem::create_directory(path);
    else
        std::filesystem::create_symlink("/dev/shm/nowhere", path);
    return std::shared_ptr<void>(nullptr, [path](void *) { std::filesystem::remove(path); });
}

} // namespace

TEST(SharedMemory, CreateOrOpenOpensAnExistingBlockAndNoViewIsLargerThanTheBlock)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock first = SharedMemoryBlock::createOrOpen(name, 64);
    ASSERT_FALSE(first.existed());
    {
        const SharedMemoryView view = SharedMemoryView::map(first, 64);
        ASSERT_TRUE(view.isMapped()) << platform::lastError();
        EXPECT_EQ(view.data()[63], 0); // a new block is zero-filled
        std::memcpy(view.data(), "kiosk", 5);
    }
    EXPECT_TRUE(mapsNothing(first, 65) && mapsNothing(first, 0));
    EXPECT_TRUE(mapsNothing(SharedMemoryBlock(), 4));
    // An existing block keeps the size its creator gave it.
    const SharedMemoryBlock second = SharedMemoryBlock::createOrOpen(name, 4096);
    ASSERT_TRUE(second.existed()) << platform::lastError();
    const SharedMemoryView view = SharedMemoryView::map(second, 64);
    ASSERT_TRUE(view.isMapped());
    EXPECT_EQ(std::memcmp(view.data(), "kiosk", 5), 0);
    EXPECT_TRUE(mapsNothing(second, 4097)); // Wine checks another handle's block by whole pages
    EXPECT_FALSE(SharedMemoryBlock::openExisting(uniqueBlockName()).isOpen());
    EXPECT_NE(platform::lastError(), 0u);
}

TEST(SharedMemory, BadNamesAndSizesOpenNothing)
{
    // clang-format off
    const std::pair<std::string, std::size_t> rows[] = {
        {"", 16}, {std::string(SharedMemoryBlock::maxNameLength + 1, 'n'), 16},
        {"quorvane/Kiosk", 16}, {std::string("quorvane\0Kiosk", 14), 16}, {"quorvane\xFF", 16},
        {uniqueBlockName(), 0},
    };
    // clang-format on
    for (const auto &[name, size] : rows) {
        EXPECT_FALSE(SharedMemoryBlock::createOrOpen(name, size).isOpen()) << name;
        EXPECT_NE(platform::lastError(), 0u) << name;
        EXPECT_FALSE(SharedMemoryBlock::openExisting(name).isOpen()) << name;
    }
    EXPECT_TRUE(SharedMemoryBlock::isValidName(std::string(SharedMemoryBlock::maxNameLength, 'n')));
}

TEST(SharedMemory, NamesPlantedInAdvanceArePassedOverForOnesNobodyCanForesee)
{
    // A second long past, so that no other test's names can meet these.
    std::tm past = {};
    past.tm_year = 2001 - 1900;
    past.tm_mday = 1;
    past.tm_sec = 7;
    const std::uint32_t pid = platform::currentProcessId();
    const std::string first = platform::makeBlockName(past, pid);
    {
        platform::BlockNameGenerator generator;
        EXPECT_EQ(platform::createFreshBlock(generator, past, pid, 260).name(), first);
    }
    // Whatever sits at the first name and at the successors that used to follow it; Windows
    // has no file system for names.
#ifdef _WIN32
    for (const char *kind : {"a block of another user", "an existing block"}) {
#else
    for (const char *kind : {"a block of another user", "an existing block", "a folder", "a link"}) {
#endif
        SCOPED_TRACE(kind);
        std::vector<std::shared_ptr<void>> planted{plant(kind, first)};
        for (int i = 2; i <= platform::freshBlockNameAttempts; ++i)
            planted.push_back(plant(kind, first + "_" + std::to_string(i)));
        {
            const SharedMemoryBlock probe = SharedMemoryBlock::createOrOpen(first, 260);
            ASSERT_FALSE(probe.isOpen() && !probe.existed()); // it is planted
        }
        platform::BlockNameGenerator generator;
        const SharedMemoryBlock block = platform::createFreshBlock(generator, past, pid, 260);
        ASSERT_TRUE(block.isOpen()) << platform::lastError();
        EXPECT_FALSE(block.existed());
        std::uint32_t readBack = 0; // the start-up sweep of ended front-ends reads it
        EXPECT_TRUE(platform::blockNameProcessId(block.name(), readBack) && readBack == pid)
            << block.name();
    }
}

TEST(RelayReport, WritesTheIdIntoTheFirstFourBytesOnlyAndNothingWhenRefused)
{
    // clang-format off
    const std::pair<const char *, std::size_t> sizes[] = { // size 0: refused
        {"4", 4}, {"  16", 16}, {"+8", 8}, {"2147483647", 2147483647},
        {"", 0}, {"abc", 0}, {"12abc", 0}, {"-1", 0}, {"0", 0}, {"0x10", 0},
        {"2147483648", 0}, {"12345678901234567890", 0},
    };
    // clang-format on
    for (const auto &[text, expected] : sizes) {
        std::size_t size = 0;
        EXPECT_EQ(platform::parseRelayBlockSize(text, size), expected != 0) << '"' << text << '"';
        EXPECT_EQ(size, expected) << '"' << text << '"';
    }

    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 8);
    const SharedMemoryView view = SharedMemoryView::map(block, 8);
    ASSERT_TRUE(view.isMapped());
    std::memset(view.data(), 0xAA, 8);
    // "3": the id would not fit; "8193": past the end (Wine checks by whole pages).
    for (const char *size : {"abc", "3", "8193"})
        EXPECT_FALSE(platform::reportRelayedProcessId(name, size, 0x12345678)) << size;
    EXPECT_FALSE(platform::reportRelayedProcessId(uniqueBlockName(), "4", 0x12345678));
    EXPECT_EQ(view.data()[0], 0xAA);
    ASSERT_TRUE(platform::reportRelayedProcessId(name, "4", 0x12345678));
    const unsigned char expected[8] = {0x78, 0x56, 0x34, 0x12, 0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(std::memcmp(view.data(), expected, 8), 0);
}
