#include "testsupport.h"

#include "platform/lasterror.h"
#include "platform/relayreport.h"
#include "platform/sharedmemoryblock.h"
#include "platform/sharedmemoryview.h"

#include <gtest/gtest.h>

#include <cstring>

using platform::SharedMemoryBlock;
using platform::SharedMemoryView;
using testsupport::uniqueBlockName;

TEST(SharedMemory, CreateOrOpenOpensAnExistingBlockWithItsData)
{
    const std::string name = uniqueBlockName();
    SharedMemoryBlock first = SharedMemoryBlock::createOrOpen(name, 64);
    ASSERT_TRUE(first.isOpen()) << platform::lastError();
    EXPECT_FALSE(first.existed());
    {
        const SharedMemoryView view = SharedMemoryView::map(first, 64);
        ASSERT_TRUE(view.isMapped());
        EXPECT_EQ(view.data()[63], 0); // a new block is zero-filled
        std::memcpy(view.data(), "kiosk", 5);
    }
    // The size of an existing block stays what its creator made it.
    const SharedMemoryBlock second = SharedMemoryBlock::createOrOpen(name, 4096);
    ASSERT_TRUE(second.isOpen()) << platform::lastError();
    EXPECT_TRUE(second.existed());
    const SharedMemoryView view = SharedMemoryView::map(second, 64);
    ASSERT_TRUE(view.isMapped());
    EXPECT_EQ(std::memcmp(view.data(), "kiosk", 5), 0);
    EXPECT_FALSE(SharedMemoryView::map(second, 4097).isMapped()); // Wine checks by whole pages
}

TEST(SharedMemory, OpenExistingOfAMissingNameFails)
{
    const SharedMemoryBlock block = SharedMemoryBlock::openExisting(uniqueBlockName());
    EXPECT_FALSE(block.isOpen());
    EXPECT_NE(platform::lastError(), 0u);
}

TEST(SharedMemory, AViewPastTheEndIsRefused)
{
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(uniqueBlockName(), 10);
    ASSERT_TRUE(block.isOpen());
    EXPECT_TRUE(SharedMemoryView::map(block, 10).isMapped());
    EXPECT_FALSE(SharedMemoryView::map(block, 11).isMapped());
    EXPECT_FALSE(SharedMemoryView::map(block, 1 << 20).isMapped());
    EXPECT_FALSE(SharedMemoryView::map(block, 0).isMapped());
    EXPECT_FALSE(SharedMemoryView::map(SharedMemoryBlock(), 4).isMapped());
}

TEST(SharedMemory, ViewOutlivesTheClosedHandle)
{
    const std::string name = uniqueBlockName();
    SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 16);
    SharedMemoryView view = SharedMemoryView::map(block, 16);
    ASSERT_TRUE(view.isMapped());
    block.close();
    view.data()[15] = 42;
    EXPECT_EQ(view.data()[15], 42);
}

TEST(SharedMemory, BadNamesAndSizesMapNothing)
{
    struct Row
    {
        const char *what;
        std::string name;
        std::size_t size;
    };
    const Row rows[] = {
        {"empty name", "", 16},
        {"over-long name", std::string(SharedMemoryBlock::maxNameLength + 1, 'n'), 16},
        {"slash", "quorvane/Kiosk", 16},
        {"leading slash", "/quorvaneKiosk", 16},
        {"NUL inside", std::string("quorvane\0Kiosk", 14), 16},
        {"invalid UTF-8", "quorvane\xFF", 16},
        {"size 0", uniqueBlockName(), 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_FALSE(SharedMemoryBlock::createOrOpen(row.name, row.size).isOpen());
        EXPECT_NE(platform::lastError(), 0u);
        if (row.size != 0) {
            EXPECT_FALSE(SharedMemoryBlock::openExisting(row.name).isOpen());
        }
    }
    EXPECT_TRUE(SharedMemoryBlock::isValidName(std::string(SharedMemoryBlock::maxNameLength, 'n')));
}

TEST(RelayReport, SizeArgumentMustBeAPositiveDecimalInt)
{
    struct Row
    {
        const char *text;
        bool ok;
        std::size_t size;
    };
    const Row rows[] = {
        {"4", true, 4},
        {"260", true, 260},
        {"  16", true, 16},
        {"+8", true, 8},
        {"2147483647", true, 2147483647},
        {"", false, 0},
        {"   ", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {"12 ", false, 0},
        {"-1", false, 0},
        {"0", false, 0},
        {"0x10", false, 0},
        {"2147483648", false, 0},
        {"12345678901234567890", false, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string("\"") + row.text + "\"");
        std::size_t size = 0;
        EXPECT_EQ(platform::parseRelayBlockSize(row.text, size), row.ok);
        if (row.ok) {
            EXPECT_EQ(size, row.size);
        }
    }
}

TEST(RelayReport, WritesTheIdIntoTheFirstFourBytesAndNothingElse)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 8);
    const SharedMemoryView view = SharedMemoryView::map(block, 8);
    ASSERT_TRUE(view.isMapped());
    std::memset(view.data(), 0xAA, 8);

    ASSERT_TRUE(platform::reportRelayedProcessId(name, "4", 0x12345678));
    const unsigned char expected[8] = {0x78, 0x56, 0x34, 0x12, 0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(std::memcmp(view.data(), expected, 8), 0);
}

TEST(RelayReport, BadSizeOrBlockWritesNothing)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 8);
    const SharedMemoryView view = SharedMemoryView::map(block, 8);
    ASSERT_TRUE(view.isMapped());
    std::memset(view.data(), 0xAA, 8);

    // 3: the id would not fit; 8193: past the end of the block (Wine checks by whole pages).
    const char *sizes[]
        = {"", "abc", "12abc", "-1", "0", "0x10", "12345678901234567890", "3", "8193"};
    for (const char *size : sizes) {
        SCOPED_TRACE(size);
        EXPECT_FALSE(platform::reportRelayedProcessId(name, size, 0x12345678));
    }
    EXPECT_FALSE(platform::reportRelayedProcessId(uniqueBlockName(), "4", 0x12345678));
    EXPECT_FALSE(platform::reportRelayedProcessId("", "4", 0x12345678));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(view.data()[i], 0xAA);
}
