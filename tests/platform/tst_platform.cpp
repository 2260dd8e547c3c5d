// The platform layer, natively and under Wine: what it computes without a process or block,
// shared memory, processes and, on POSIX, what that backend does beyond Windows.
#include "testsupport.h"

#include "platform/blockname.h"
#include "platform/copieslock.h"
#include "platform/fileversion.h"
#include "platform/freshblock.h"
#include "platform/lasterror.h"
#include "platform/localtime.h"
#include "platform/nativewindow.h"
#include "platform/processlist.h"
#include "platform/relayreport.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryview.h"
#include "platform/staleblocks.h"
#include "platform/text.h"
#include "platform/windowmessages.h"

#include "qvkioskversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace platform;
using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// A block of someone else's at `name` (POSIX: open to others; Windows: granting nobody
// access), removed with the result.
std::shared_ptr<void> squatBlock(const std::string &name)
{
#ifdef _WIN32
    // A security descriptor with an empty access list grants nobody anything.
    SECURITY_DESCRIPTOR security;
    ACL acl;
    InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION);
    InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    SetSecurityDescriptorDacl(&security, TRUE, &acl, FALSE);
    SECURITY_ATTRIBUTES denied = {static_cast<DWORD>(sizeof denied), &security, FALSE};
    const std::wstring wide(name.begin(), name.end());
    const HANDLE mapping
        = CreateFileMappingW(INVALID_HANDLE_VALUE, &denied, PAGE_READWRITE, 0, 4096, wide.c_str());
    return std::shared_ptr<void>(mapping, [](HANDLE handle) { CloseHandle(handle); });
#else
    const int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd >= 0 && (fchmod(fd, 0644) != 0 || ftruncate(fd, 4096) != 0 || close(fd) != 0))
        return nullptr;
    return std::shared_ptr<void>(nullptr, [name](void *) { shm_unlink(("/" + name).c_str()); });
#endif
}

// Plants `kind` at the block name as another local user could; removed with the result.
std::shared_ptr<void> plant(const std::string &kind, const std::string &name)
{
    if (kind == "a block of another user")
        return squatBlock(name);
    if (kind == "an existing block")
        return std::make_shared<SharedMemoryBlock>(SharedMemoryBlock::createOrOpen(name, 16));
    const fs::path path = "/dev/shm/" + name;
    if (kind == "a folder")
        fs::create_directory(path);
    else
        fs::create_symlink("/dev/shm/nowhere", path);
    return std::shared_ptr<void>(nullptr, [path](void *) { fs::remove(path); });
}

const std::int64_t loadedAt = (std::int64_t(std::time(nullptr)) + 1) * 1000; // ms, rounded up

} // namespace

TEST(BlockName, CommandLinesNamesThatNeverRepeatAndTheProcessIdReadBack)
{
    std::tm at = {}; // 14:30:00 on 5 January 2026
    std::tie(at.tm_year, at.tm_mday, at.tm_hour, at.tm_min) = std::tuple(126, 5, 14, 30);
    EXPECT_EQ(standbyCommandLine(makeBlockName(at, 4242), 260),
              u" quorvaneKiosk_20260105143000_4242 260 --standby ");
    EXPECT_EQ(relayCommandLine("a\xC3\xA9", "b"), u"\"qvkioskcore.exe\" a\u00E9 b");
    EXPECT_EQ(relayCommandLine("\xFF", "b"), u"");

    BlockNameGenerator generator;
    const std::string first = generator.next(at, 4242);
    const std::string second = generator.next(at, 4242);
    at.tm_sec = 1;
    EXPECT_EQ(generator.next(at, 4242), "quorvaneKiosk_20260105143001_4242");
    at.tm_sec = 0; // a clock set back to an earlier second still gets a fresh name
    EXPECT_EQ(std::set<std::string>({first, second, generator.next(at, 4242)}).size(), 3u);

    const std::string stamp = "quorvaneKiosk_20260105143000_"; // 0: not a block name
    // clang-format off
    const std::pair<std::string, std::uint32_t> rows[] = {
        {stamp + "4242_3", 4242}, {stamp + "4242_0123456789abcdef", 4242},
        {stamp + "4294967295", 4294967295u}, {stamp + "4242_0123456789abcdeF", 0},
        {stamp + "4242_0123456789abcde", 0}, {stamp + "4294967296", 0}, {stamp + "42x", 0},
        {stamp + "4242_", 0}, {"quorvaneKiosk_2026010514300_4242", 0},
        {"otherKiosk_20260105143000_4242", 0},
    };
    // clang-format on
    for (const auto &[name, expected] : rows) {
        std::uint32_t pid = 0;
        EXPECT_EQ(blockNameProcessId(name, pid), expected != 0) << name;
        EXPECT_EQ(pid, expected) << name;
    }
}

TEST(RuntimeRequest, EncodesEveryFieldAtItsOffsetAndRefusesWhatDoesNotFit)
{
    const RuntimeRequest request{u"1234", u"Power User", u"quorvaneKiosk_42", 40, 7, 0x01020304};
    unsigned char block[RuntimeRequest::blockSize];
    std::fill(std::begin(block), std::end(block), 0xEE);
    ASSERT_TRUE(request.encode(block));
    // clang-format off
    const std::pair<std::size_t, unsigned char> bytes[] = {
        {0, '1'}, {1, 0}, {6, '4'}, {8, 0}, {15, 0}, {16, 'P'}, {34, 'r'}, {48, 'q'}, {247, 0},
        {248, 40}, {249, 0}, {252, 7}, {256, 4}, {259, 1},
    };
    // clang-format on
    for (const auto &[offset, value] : bytes)
        EXPECT_EQ(block[offset], value) << "at " << offset;
    const RuntimeRequest back = RuntimeRequest::decode(block);
    EXPECT_EQ(std::tie(back.code, back.accessLevel, back.pathBlockName, back.accepted),
              std::tie(request.code, request.accessLevel, request.pathBlockName, request.accepted));
    EXPECT_EQ(RuntimeRequest::accessLevelText(0) + RuntimeRequest::accessLevelText(1)
                  + RuntimeRequest::accessLevelText(2),
              u"AdministratorAdministratorPower User");
    for (std::size_t i = 0; i < 16; i += 2)
        block[i] = '5';
    block[16] = 'X'; // a code without terminator must not run into the next field
    EXPECT_EQ(RuntimeRequest::decode(block).code, u"55555555");
    // Two bytes a UTF-16 unit; a path too long for an int size has none.
    EXPECT_EQ(RuntimeRequest::pathBlockBytes(0x3FFFFFFF), 0x7FFFFFFEu);
    EXPECT_EQ(RuntimeRequest::pathBlockBytes(0x40000000), 0u);

    // Lengths in UTF-16 units of code, level and path block name that just fit, then not.
    for (const auto &[code, level, name] :
         {std::tuple(7, 15, 99), {8, 0, 0}, {0, 16, 0}, {0, 0, 100}}) {
        const RuntimeRequest tooLong{std::u16string(code, u'9'),
                                     std::u16string(level, u'L'),
                                     std::u16string(name, u'n')};
        block[0] = 0xEE; // nothing written when refused
        const bool fits = code == 7;
        EXPECT_EQ(tooLong.encode(block), fits) << code << ' ' << level << ' ' << name;
        EXPECT_EQ(block[0] == 0xEE, !fits) << code << ' ' << level << ' ' << name;
    }
}

TEST(Text, RoundTripsExactlyAndRefusesBrokenTextLeavingNothing)
{
    const std::pair<std::string, std::u16string> valid[]
        = {{"/home/j\xC3\xBCrgen/\xC3\xA9t\xC3\xA9", u"/home/j\u00FCrgen/\u00E9t\u00E9"},
           {"a\xF0\x9F\x98\x80z", u"a\xD83D\xDE00z"},
           {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"}};
    for (const auto &[utf8, utf16] : valid) {
        std::u16string wide;
        std::string back;
        EXPECT_TRUE(utf8ToUtf16(utf8, wide) && utf16ToUtf8(wide, back));
        EXPECT_EQ(std::tie(wide, back), std::tie(utf16, utf8)) << utf8;
    }
    // Bad byte, truncations, lone continuation, beyond U+10FFFF, overlong '/', surrogate.
    for (const char *row :
         {"\xFF", "abc\xC3", "\xE6\x97", "\x80", "\xF4\x90\x80\x80", "\xC0\xAF", "\xED\xA0\x80"}) {
        std::u16string wide = u"left over";
        EXPECT_FALSE(utf8ToUtf16(row, wide) || !wide.empty()) << std::string(row).size();
    }
    for (const std::u16string row : {u"\xD83D", u"a\xDE00", u"\xD83Dz"}) {
        std::string narrow = "left over";
        EXPECT_FALSE(utf16ToUtf8(row, narrow) || !narrow.empty());
    }
}

TEST(WindowsSide, MessagesTranslateAndTheFileVersionIsTheProjectVersion)
{
    using A = WindowMessageAction; // the frame's tests send the plain commands
    // clang-format off
    const std::tuple<WindowMessage, A, bool, int, int, bool> rows[] = {
        {{0, 0x0084, 0, 0x0032FFF6}, A::HitTest, true, -10, 50, false}, // left of the screen
        {{0, 0x0084, 0, (std::intptr_t) 0xFFEC0005}, A::HitTest, true, 5, -20, false},
        {{0, 0x00A4, 2, 0x00C80064}, A::SystemMenu, true, 100, 200, false}, // caption right press
        {{0, 0x00A4, 2, 0x0032FFF6}, A::SystemMenu, true, 0xFFF6, 50, false},
        {{0, 0x0112, 0x1F020, 0}, A::Minimize, true, 0, 0, true}, // the command is the low word
        {{0, 0x0201, 0, 0x00C80064}, A::None, false, 0, 0, false}, // client left press
    };
    // clang-format on
    for (const auto &[in, action, handled, x, y, arrowCursor] : rows) {
        const WindowMessageResponse out = translateWindowMessage(in);
        EXPECT_EQ(std::tie(out.action, out.handled, out.x, out.y, out.restoreArrowCursor),
                  std::tie(action, handled, x, y, arrowCursor))
            << std::hex << in.message << ' ' << in.wParam << ' ' << in.lParam;
    }
    // The system menu's point travels as two unsigned 16-bit words.
    EXPECT_EQ(systemMenuParameter(-10, 50), 50 * 65536 + 0xFFF6);
    EXPECT_EQ(systemMenuParameter(0x12345, 0x10002), 2 * 65536 + 0x2345);
    // Windows reads the VERSIONINFO resource linked into this test; elsewhere it is compiled in.
    EXPECT_EQ(fileVersion(), QVKIOSK_VERSION);
    EXPECT_EQ(formatFileVersion(0xFFFF000A, 0x00640001), "65535.10.100.1");
}

TEST(SharedMemory, CreateOrOpenOpensAnExistingBlockAndNoViewIsLargerThanTheBlock)
{
    const auto mapsNothing = [](const SharedMemoryBlock &block, std::size_t size) {
        return !SharedMemoryView::map(block, size).isMapped();
    };
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock first = SharedMemoryBlock::createOrOpen(name, 64);
    ASSERT_FALSE(first.existed());
    {
        const SharedMemoryView view = SharedMemoryView::map(first, 64);
        ASSERT_TRUE(view.isMapped()) << lastError();
        EXPECT_EQ(view.data()[63], 0); // a new block is zero-filled
        std::memcpy(view.data(), "kiosk", 5);
    }
    EXPECT_TRUE(mapsNothing(first, 65) && mapsNothing(first, 0) && mapsNothing({}, 4));
    // An existing block keeps the size its creator gave it.
    const SharedMemoryBlock second = SharedMemoryBlock::createOrOpen(name, 4096);
    ASSERT_TRUE(second.existed()) << lastError();
    const SharedMemoryView view = SharedMemoryView::map(second, 64);
    EXPECT_TRUE(view.isMapped() && std::memcmp(view.data(), "kiosk", 5) == 0);
    EXPECT_TRUE(mapsNothing(second, 4097)); // Wine checks another handle's block by whole pages
    EXPECT_FALSE(SharedMemoryBlock::openExisting(uniqueBlockName()).isOpen() || lastError() == 0);

    // clang-format off
    const std::pair<std::string, std::size_t> bad[] = {
        {"", 16}, {std::string(SharedMemoryBlock::maxNameLength + 1, 'n'), 16},
        {"quorvane/Kiosk", 16}, {std::string("quorvane\0Kiosk", 14), 16}, {"quorvane\xFF", 16},
        {uniqueBlockName(), 0},
    };
    // clang-format on
    for (const auto &[badName, size] : bad) {
        EXPECT_FALSE(SharedMemoryBlock::createOrOpen(badName, size).isOpen() || lastError() == 0)
            << badName;
        EXPECT_FALSE(SharedMemoryBlock::openExisting(badName).isOpen()) << badName;
    }
    EXPECT_TRUE(SharedMemoryBlock::isValidName(std::string(SharedMemoryBlock::maxNameLength, 'n')));
}

TEST(SharedMemory, NamesPlantedInAdvanceArePassedOverForOnesNobodyCanForesee)
{
    std::tm past = {}; // 00:00:07 on 1 January 2001: no other test's names meet these
    std::tie(past.tm_year, past.tm_mday, past.tm_sec) = std::tuple(101, 1, 7);
    const std::uint32_t pid = currentProcessId();
    const std::string first = makeBlockName(past, pid);
    {
        BlockNameGenerator generator;
        EXPECT_EQ(createFreshBlock(generator, past, pid, 260).name(), first);
    }
    // At the first name and its former successors; Windows has no file system for names.
#ifdef _WIN32
    for (const char *kind : {"a block of another user", "an existing block"}) {
#else
    for (const char *kind : {"a block of another user", "an existing block", "a folder", "a link"}) {
#endif
        SCOPED_TRACE(kind);
        std::vector<std::shared_ptr<void>> planted{plant(kind, first)};
        for (int i = 2; i <= freshBlockNameAttempts; ++i)
            planted.push_back(plant(kind, first + "_" + std::to_string(i)));
        {
            const SharedMemoryBlock probe = SharedMemoryBlock::createOrOpen(first, 260);
            ASSERT_FALSE(probe.isOpen() && !probe.existed()); // it is planted
        }
        BlockNameGenerator generator;
        const SharedMemoryBlock block = createFreshBlock(generator, past, pid, 260);
        ASSERT_TRUE(block.isOpen() && !block.existed()) << lastError();
        std::uint32_t readBack = 0; // the start-up sweep of ended front-ends reads it
        EXPECT_TRUE(blockNameProcessId(block.name(), readBack) && readBack == pid) << block.name();
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
        EXPECT_EQ(parseRelayBlockSize(text, size), expected != 0) << '"' << text << '"';
        EXPECT_EQ(size, expected) << '"' << text << '"';
    }

    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 8);
    const SharedMemoryView view = SharedMemoryView::map(block, 8);
    ASSERT_TRUE(view.isMapped());
    std::memset(view.data(), 0xAA, 8);
    // "3": the id would not fit; "8193": past the end (Wine checks by whole pages).
    for (const char *size : {"abc", "3", "8193"})
        EXPECT_FALSE(reportRelayedProcessId(name, size, 0x12345678)) << size;
    EXPECT_FALSE(reportRelayedProcessId(uniqueBlockName(), "4", 0x12345678));
    EXPECT_TRUE(view.data()[0] == 0xAA && reportRelayedProcessId(name, "4", 0x12345678)
                && std::memcmp(view.data(), "\x78\x56\x34\x12\xAA\xAA\xAA\xAA", 8) == 0);
}

TEST(Processes, OwnFilesAndMissingProgramsAndIdsThatNameNoProcess)
{
    const std::string folder = folderOf(executablePath());
    EXPECT_TRUE(!fileExists(folder) && setCurrentFolder(folder)); // a folder is not a file
    EXPECT_TRUE(fileExists(fileNameOf(helperPath()))) << helperPath();
    const std::string missing = folder + folderSeparator() + "missing";
    EXPECT_FALSE(setCurrentFolder(missing) || startRelayRuntime("a", "b", nullptr, missing));
    EXPECT_FALSE(startStandbyRuntime(uniqueBlockName(), 260, nullptr, missing) || lastError() == 0);
    EXPECT_TRUE(isProcessRunning(currentProcessId()) && !isProcessRunning(0)
                && !isProcessRunning(0xFFFFFFFFu));
    // A sanity bound, not a timing: a wrong epoch or unit is off by far more.
    const std::int64_t started = processStartTime(currentProcessId());
    EXPECT_TRUE(started >= loadedAt - 5000 && started <= loadedAt) << started - loadedAt;
}

TEST(Processes, StandbyAndRelayStartsServeTheirBlockAndAreListedUntilTheyEnd)
{
    const std::string fileName = fileNameOf(helperPath());
    const auto listed = [](const std::string &name, std::uint32_t id) {
        const std::vector<std::uint32_t> ids = processIdsByExecutableName(name);
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    };
    static char record[] = "QVKIOSKCORE_RECORD=taken.jsonl";
    putenv(record);
#ifndef _WIN32
    // Opened without close-on-exec, as a library or the front-end's parent may leave one.
    const std::string marker = executablePath();
    const int fd = open(marker.c_str(), O_RDONLY);
#endif
    for (const bool relay : {false, true}) {
        SCOPED_TRACE(relay ? "relay" : "standby");
        const std::string name = uniqueBlockName();
        const auto block = SharedMemoryBlock::createOrOpen(name, 260);
        std::uint32_t pid = 0;
        ASSERT_TRUE(relay ? startRelayRuntime(name, "260", &pid, helperPath())
                          : startStandbyRuntime(name, 260, &pid, helperPath()))
            << lastError();
        ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; }));
        EXPECT_TRUE(listed(fileName, pid) && !listed("x" + fileName, pid));
#ifndef _WIN32
        // Its own session outlives the front-end's terminal; not our child, never our zombie.
        EXPECT_EQ(getsid(static_cast<pid_t>(pid)), static_cast<pid_t>(pid));
        EXPECT_EQ(waitpid(static_cast<pid_t>(pid), nullptr, WNOHANG), -1);
        for (const auto &entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
            std::error_code gone; // a descriptor may close while we look
            EXPECT_NE(fs::read_symlink(entry.path(), gone), marker) << entry.path();
        }
#endif
        SharedMemoryBlock handoff; // the helper ends after one request
        ASSERT_TRUE(handOver(name, u"\u00E9t\u00E9 \xD83D\xDE00.qvksk", handoff));
        ASSERT_TRUE(waitFor([&] { return !isProcessRunning(pid); }));
        std::ifstream record("taken.jsonl", std::ios::binary); // the path reached it exactly
        const std::string taken(std::istreambuf_iterator<char>(record), {});
        record.close();
        fs::remove("taken.jsonl");
        EXPECT_NE(taken.find("\"path\":\"\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80.qvksk\""), taken.npos)
            << taken;
        EXPECT_FALSE(listed(fileName, pid) || processStartTime(pid) != 0);
    }
#ifndef _WIN32
    EXPECT_TRUE(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD); // nothing of ours left
    close(fd);
#endif
}

TEST(CopiesLock, AnotherProcessTakesItOnlyOnceItsHolderLetsGo)
{
    const std::string folder = "copieslock-" + std::to_string(currentProcessId());
    fs::create_directory(folder);
    const std::string held = folder + folderSeparator() + "held";
    std::uint32_t holder = 0;
    ASSERT_TRUE(startRelayRuntime("--hold-copies-lock", folder, &holder, helperPath()));
    ASSERT_TRUE(waitFor([&] { return fileExists(held); }));
    EXPECT_FALSE(CopiesLock(folder, 100).isHeld());
    fs::remove(held); // the holder lets go
    EXPECT_TRUE(CopiesLock(folder, 20000).isHeld()) << lastError();
    EXPECT_TRUE(waitFor([&] { return !isProcessRunning(holder); }));
    fs::remove_all(folder);
}

#ifndef _WIN32
TEST(PosixBackend, BlocksArePrivateAndGoWithTheirCreatorOrAtTheNextStart)
{
    const auto exists = [](const std::string &name) {
        return fs::exists(fs::symlink_status("/dev/shm/" + name));
    };
    const mode_t old = umask(0);
    const std::string name = uniqueBlockName();
    SharedMemoryBlock created = SharedMemoryBlock::createOrOpen(name, 16);
    umask(old);
    EXPECT_EQ(fs::status("/dev/shm/" + name).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    SharedMemoryBlock::createOrOpen(name, 16).close(); // a second handle leaves the block alone
    SharedMemoryBlock moved = std::move(created);
    EXPECT_TRUE(exists(name));
    moved.close();
    EXPECT_FALSE(exists(name));

    const std::string foreign = uniqueBlockName();
    const auto squatted = squatBlock(foreign); // mode 0644
    EXPECT_TRUE(!SharedMemoryBlock::createOrOpen(foreign, 260).isOpen() && errno == EACCES);
    EXPECT_TRUE(SharedMemoryBlock::openExisting(foreign).isOpen()); // a caller's relay block
    fs::permissions("/dev/shm/" + foreign,
                    fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::remove);
    EXPECT_TRUE(SharedMemoryBlock::createOrOpen(foreign, 260).isOpen());

    std::uint32_t ended = 0;
    ASSERT_TRUE(startRelayRuntime("--exit", "0", &ended, helperPath()));
    ASSERT_TRUE(waitFor([&] { return !isProcessRunning(ended); }));
    std::tm now = {};
    ASSERT_TRUE(localTimeNow(now));
    const std::string dead = makeBlockName(now, ended);
    const std::string deadRandom = dead + "_0123456789abcdef";
    const std::string alive = makeBlockName(now, getppid()); // our running parent
    const std::string other = "notAKioskBlock_" + std::to_string(getpid());
    std::vector<SharedMemoryBlock> blocks;
    for (const std::string &each : {dead, deadRandom, alive, other})
        blocks.push_back(SharedMemoryBlock::createOrOpen(each, 16));
    EXPECT_GE(removeStaleBlocks(), 2u);
    EXPECT_FALSE(exists(dead) || exists(deadRandom));
    EXPECT_TRUE(exists(alive) && exists(other));
}

TEST(PosixBackend, ACopyWhoseProgramFileWasDeletedStillFindsItself)
{
    // As after a package upgrade, which replaces the program file of a running copy.
    const std::string copy = fs::absolute("deleted-helper-" + std::to_string(getpid()));
    fs::copy_file(helperPath(), copy, fs::copy_options::overwrite_existing);
    FILE *child = popen((copy + " --find-itself " + copy).c_str(), "r");
    EXPECT_TRUE(waitFor([&] { return !processIdsByExecutableName(fileNameOf(copy)).empty(); }));
    fs::remove(copy);
    EXPECT_EQ(pclose(child), 0); // it exited with 0
}
#endif
