#include "platform/fileversion.h"

#include "qvkioskversion.h"

#include <gtest/gtest.h>

TEST(FileVersion, ProgramVersionIsTheProjectVersion)
{
    // Windows reads the VERSIONINFO resource linked into this test; elsewhere it is compiled in.
    EXPECT_EQ(platform::fileVersion(), QVKIOSK_VERSION);
}

TEST(FileVersion, FormatsFourUnsignedNumbers)
{
    EXPECT_EQ(platform::formatFileVersion(0xFFFF000A, 0x00640001), "65535.10.100.1");
}
