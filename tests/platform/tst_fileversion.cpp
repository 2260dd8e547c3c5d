#include "platform/fileversion.h"

#include "qvkioskversion.h"

#include <gtest/gtest.h>

#include <vector>

TEST(FileVersion, ProgramVersionIsTheProjectVersion)
{
    // Windows reads the VERSIONINFO resource linked into this test; elsewhere it is compiled in.
    EXPECT_EQ(platform::fileVersion(), QVKIOSK_VERSION);
}

TEST(FileVersion, FormatsFourUnsignedNumbers)
{
    EXPECT_EQ(platform::formatFileVersion(0x00020000, 0x0000000B), "2.0.0.11");
    EXPECT_EQ(platform::formatFileVersion(0xFFFF000A, 0x00640001), "65535.10.100.1");
}

TEST(FileVersion, ReadsTheFixedInformationOfARawResource)
{
    std::vector<unsigned char> resource(92, 0);
    const auto put = [&](std::size_t at, std::uint32_t word) {
        for (int i = 0; i < 4; ++i)
            resource[at + i] = static_cast<unsigned char>(word >> (8 * i));
    };
    put(40, 0xFEEF04BD);
    put(48, 0x00030001);
    put(52, 0x00040002);
    EXPECT_EQ(platform::fileVersionFromResource(resource.data(), resource.size()), "3.1.4.2");
    EXPECT_EQ(platform::fileVersionFromResource(resource.data(), 55), "");
    EXPECT_EQ(platform::fileVersionFromResource(nullptr, 92), "");
    put(40, 0);
    EXPECT_EQ(platform::fileVersionFromResource(resource.data(), resource.size()), "");
}
