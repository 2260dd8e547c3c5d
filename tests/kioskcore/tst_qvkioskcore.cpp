// The stand-in runtime: its protocol side in this process, and the built program started as the
// front-end starts it, under the offscreen platform.
#include "runtimearguments.h"
#include "runtimebehaviour.h"
#include "runtimeserver.h"
#include "testsupport.h"

#include "platform/processlist.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryview.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;
using platform::SharedMemoryView;
using namespace testsupport;

namespace {

// The front-end's request block and a runtime serving it, opened as a standby start opens it,
// with an environment that sets only `variable`, to `value`.
struct Served
{
    explicit Served(const char *variable = "", const char *value = nullptr)
        : server(RuntimeBehaviour::fromLookup(
            [=](const char *name) { return std::string(name) == variable ? value : nullptr; }))
    {}

    std::uint32_t ready() const { return statusWord(name, RuntimeRequest::readyOffset); }
    std::uint32_t accepted() const { return statusWord(name, RuntimeRequest::acceptedOffset); }
    SharedMemoryView view() const { return SharedMemoryView::map(block, 260); }

    std::string name = uniqueBlockName();
    SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    RuntimeServer server;
    bool opened = server.open({name, 260, true});
};

} // namespace

TEST(RuntimeArguments, FindsTheBlockInEveryShapeOfCommandLine)
{
    // The words, then the block name (empty: refused), its size and standby.
    // clang-format off
    const std::tuple<std::vector<std::string>, const char *, std::size_t, bool> rows[] = {
        {{"quorvaneKiosk_1", "260", "--standby"}, "quorvaneKiosk_1", 260, true},
        {{"qvkioskcore.exe", "callerBlock", "512"}, "callerBlock", 512, false},
        {{"./qvkioskcore", "quorvaneKiosk_1"}, "", 0, false},
        {{"./qvkioskcore", "quorvaneKiosk_1", "26x"}, "", 0, false},
    };
    // clang-format on
    for (const auto &[words, name, size, standby] : rows) {
        SCOPED_TRACE(testing::PrintToString(words));
        RuntimeArguments arguments;
        EXPECT_EQ(RuntimeArguments::parse(words, arguments), *name != '\0');
        EXPECT_EQ(std::tie(arguments.blockName, arguments.blockSize, arguments.standby),
                  std::make_tuple(std::string(name), size, standby));
    }
}

TEST(RuntimeServer, SetsReadyAndTakesARequestOnceTwoLooksAgree)
{
    Served served;
    ASSERT_TRUE(served.opened);
    EXPECT_FALSE(served.server.step() || served.ready() == 0);

    // A 10-unit path: a 20-byte path block and a size field of 40.
    SharedMemoryBlock handoff;
    ASSERT_TRUE(handOver(served.name, u"C:\\K\\\u00E4.qvk", handoff, 2));
    EXPECT_FALSE(served.server.step());
    served.view().data()[0] = '9'; // as while the front-end is still writing
    EXPECT_FALSE(served.server.step());
    const std::optional<TakenRequest> taken = served.server.step();
    ASSERT_TRUE(taken);
    EXPECT_EQ(std::tie(taken->path, taken->code, taken->accessLevel),
              std::make_tuple("C:\\K\\\xC3\xA4.qvk", "9234", "Power User"));
    // The handoff wrote ready 0; the runtime still serves the block.
    EXPECT_TRUE(served.accepted() != 0 && served.ready() != 0);
    EXPECT_FALSE(served.server.step()); // the same request is not taken twice
}

TEST(RuntimeServer, NothingIsTakenWhileNotReadyOrUnreadable)
{
    // Not ready yet, or spoilt after the handoff: the path block closed, or a text field
    // starting with an unpaired surrogate (else taken as an empty code or level).
    constexpr int notReady = -2, pathBlock = -1;
    const int rows[] = {notReady,
                        pathBlock,
                        RuntimeRequest::codeOffset,
                        RuntimeRequest::accessLevelOffset};
    for (const int spoilt : rows) {
        SCOPED_TRACE(spoilt);
        Served served(spoilt == notReady ? "QVKIOSKCORE_READY_DELAY_MS" : "", "600000");
        SharedMemoryBlock handoff;
        ASSERT_TRUE(handOver(served.name, u"a.qvksk", handoff));
        if (spoilt == pathBlock) {
            handoff.close(); // closing its only handle removes the block
        } else if (spoilt != notReady) {
            served.view().data()[spoilt] = 0x00;
            served.view().data()[spoilt + 1] = 0xD8;
        }
        for (int i = 0; i < 5; ++i)
            EXPECT_FALSE(served.server.step());
        EXPECT_FALSE(served.server.hasTakenRequest() || served.accepted() != 0);
        EXPECT_EQ(served.ready() != 0, spoilt != notReady);
    }
}

TEST(RuntimeServer, AWithdrawnRequestIsNeitherTakenNorAcceptedLate)
{
    Served served("QVKIOSKCORE_ACCEPT_DELAY_MS", "100");
    const auto withdraw = [&served](SharedMemoryBlock &handoff) {
        const SharedMemoryView view = served.view();
        std::fill(view.data(), view.data() + RuntimeRequest::readyOffset, 0);
        handoff.close();
    };
    SharedMemoryBlock first;
    ASSERT_TRUE(handOver(served.name, u"first.qvksk", first));
    ASSERT_TRUE(waitFor([&] { return !served.server.step() && served.server.hasTakenRequest(); }));
    ASSERT_EQ(served.accepted(), 0u); // its accept waits
    withdraw(first);
    SharedMemoryBlock second;
    ASSERT_TRUE(handOver(served.name, u"second.qvksk", second));
    withdraw(second); // before a look took it
    for (int i = 0; i < 8; ++i, usleep(50000))
        EXPECT_FALSE(served.server.step());
    EXPECT_EQ(served.accepted(), 0u);
}

TEST(RuntimeServer, RefusesAMissingOrSmallRequestBlock)
{
    const Served served;
    RuntimeServer server(RuntimeBehaviour{});
    EXPECT_FALSE(server.open({uniqueBlockName(), 260, true})
                 || server.open({served.name, 259, true}));
}

TEST(QvKioskCore, EndsByItselfWhenItsFrontEndEnded)
{
    std::uint32_t frontEnd = 0; // a process id that soon names nothing
    ASSERT_TRUE(platform::startRelayRuntime("--exit", "0", &frontEnd, TESTHELPER_PATH));
    ASSERT_TRUE(waitFor([&] { return !platform::isProcessRunning(frontEnd); }));
    const std::string name = uniqueBlockName(frontEnd);
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    std::uint32_t pid = 0;
    ASSERT_TRUE(platform::startStandbyRuntime(name, 260, &pid, QVKIOSKCORE_PATH));
    ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; }));
    EXPECT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
}

TEST(QvKioskCore, AcceptsARequestAndEndsWithItsStatusWhenItsBlockIsCutUnderIt)
{
    setenv("QVKIOSKCORE_NO_WINDOW", "1", 1);
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    // Started as our child, unlike a standby start, so that its end can be read.
    FILE *runtime = ::popen((QVKIOSKCORE_PATH " " + name + " 260 --standby 2>&1").c_str(), "r");
    ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; }));
    SharedMemoryBlock handoff;
    ASSERT_TRUE(handOver(name, u"/srv/kiosk/Lobby.qvksk", handoff));
    EXPECT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::acceptedOffset) != 0; }));
    ASSERT_EQ(truncate(("/dev/shm/" + name).c_str(), 0), 0);
    std::string said(4096, '\0');
    said.resize(std::fread(said.data(), 1, said.size(), runtime));
    const int status = ::pclose(runtime);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 4) << status;
    EXPECT_NE(said.find("the request block " + name + " was cut to 0 bytes"), std::string::npos)
        << said;
}
