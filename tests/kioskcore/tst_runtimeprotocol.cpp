#include "runtimearguments.h"
#include "runtimebehaviour.h"
#include "runtimeserver.h"
#include "testsupport.h"

#include "platform/runtimerequest.h"
#include "platform/sharedmemoryblock.h"
#include "platform/sharedmemoryview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;
using namespace testsupport;

namespace {

using Environment = std::map<std::string, std::string>;

RuntimeBehaviour behaviourOf(const Environment &values)
{
    return RuntimeBehaviour::fromLookup([&](const char *name) -> const char * {
        const auto found = values.find(name);
        return found == values.end() ? nullptr : found->second.c_str();
    });
}

// The front-end's request block and a runtime serving it, opened as a standby start opens it.
struct Served
{
    explicit Served(const Environment &environment = {})
        : server(behaviourOf(environment))
    {}

    std::uint32_t word(std::size_t offset) const { return statusWord(name, offset); }

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
        {{"./qvkioskcore", "quorvaneKiosk_1", "260", "--standby"}, "quorvaneKiosk_1", 260, true},
        {{"", "quorvaneKiosk_1", "260", "--standby"}, "quorvaneKiosk_1", 260, true},
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

TEST(RuntimeServer, SetsReadyTakesARequestAndAcceptsIt)
{
    Served served;
    ASSERT_TRUE(served.opened);
    EXPECT_FALSE(served.server.step());
    EXPECT_NE(served.word(RuntimeRequest::readyOffset), 0u);

    // A 10-unit path: a 20-byte path block and a size field of 40.
    Handoff handoff;
    ASSERT_TRUE(handOver(served.name, u"C:\\K\\\u00E4.qvk", handoff, 2));
    std::optional<TakenRequest> taken = served.server.step();
    if (!taken)
        taken = served.server.step(); // a request counts once two looks agree
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->path, "C:\\K\\\xC3\xA4.qvk");
    EXPECT_EQ(taken->accessLevel, "Power User");
    EXPECT_NE(served.word(RuntimeRequest::acceptedOffset), 0u);
    // The handoff wrote ready 0; the runtime still serves the block.
    EXPECT_NE(served.word(RuntimeRequest::readyOffset), 0u);
    EXPECT_FALSE(served.server.step()); // the same request is not taken twice
}

TEST(RuntimeServer, ARequestStillBeingWrittenIsNotTaken)
{
    Served served;
    Handoff handoff;
    ASSERT_TRUE(handOver(served.name, u"a.qvksk", handoff));
    EXPECT_FALSE(served.server.step());
    {
        // The code changes between two looks, as while the front-end is still writing.
        const platform::SharedMemoryView view = platform::SharedMemoryView::map(served.block, 260);
        ASSERT_TRUE(view.isMapped());
        view.data()[0] = '9';
    }
    EXPECT_FALSE(served.server.step());
    const std::optional<TakenRequest> taken = served.server.step();
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->code, "9234");
}

TEST(RuntimeServer, NothingIsAcceptedWhileNotReadyHeldBackOrUnreadable)
{
    // The variables; what is spoilt after the handoff: the path block (closed) or a text field
    // starting with an unpaired surrogate (else taken as an empty code or level); whether ready
    // is set and the request taken. Accepted stays 0 in every row.
    constexpr int none = -2, pathBlock = -1;
    // clang-format off
    const std::tuple<Environment, int, bool> rows[] = {
        {{{"QVKIOSKCORE_NEVER_READY", "1"}}, none, false},
        {{{"QVKIOSKCORE_READY_DELAY_MS", "600000"}}, none, false},
        {{{"QVKIOSKCORE_NEVER_ACCEPT", "1"}}, none, true},
        {{{"QVKIOSKCORE_ACCEPT_DELAY_MS", "600000"}}, none, true},
        {{}, pathBlock, false},
        {{}, RuntimeRequest::codeOffset, false},
        {{}, RuntimeRequest::accessLevelOffset, false},
    };
    // clang-format on
    for (const auto &[environment, spoilt, taken] : rows) {
        SCOPED_TRACE(environment.empty() ? std::to_string(spoilt) : environment.begin()->first);
        Served served(environment);
        Handoff handoff;
        ASSERT_TRUE(handOver(served.name, u"a.qvksk", handoff));
        if (spoilt == pathBlock) {
            handoff.pathBlock.close(); // closing its only handle removes the block
        } else if (spoilt != none) {
            const platform::SharedMemoryView view = platform::SharedMemoryView::map(served.block,
                                                                                    260);
            ASSERT_TRUE(view.isMapped());
            view.data()[spoilt] = 0x00;
            view.data()[spoilt + 1] = 0xD8;
        }
        for (int i = 0; i < 5; ++i)
            EXPECT_FALSE(served.server.step());
        EXPECT_EQ(served.server.hasTakenRequest(), taken);
        EXPECT_EQ(served.word(RuntimeRequest::readyOffset) != 0, environment.empty() || taken);
        EXPECT_EQ(served.word(RuntimeRequest::acceptedOffset), 0u);
    }
}

TEST(RuntimeServer, ADelayedAcceptNeverLandsOnANewerRequest)
{
    Served served(Environment{{"QVKIOSKCORE_ACCEPT_DELAY_MS", "50"}});
    Handoff first;
    ASSERT_TRUE(handOver(served.name, u"first.qvksk", first));
    ASSERT_TRUE(waitFor([&] { return !served.server.step() && served.server.hasTakenRequest(); }));
    // The front-end gave up on the first and wrote a second request during the delay.
    Handoff second;
    ASSERT_TRUE(handOver(served.name, u"second.qvksk", second));
    std::vector<std::string> shown;
    ASSERT_TRUE(waitFor([&] {
        if (const std::optional<TakenRequest> taken = served.server.step())
            shown.push_back(taken->path);
        return served.word(RuntimeRequest::acceptedOffset) != 0;
    }));
    EXPECT_EQ(shown, std::vector<std::string>{"second.qvksk"});
}

TEST(RuntimeServer, AWithdrawnRequestIsNeverTaken)
{
    Served served;
    Handoff first;
    ASSERT_TRUE(handOver(served.name, u"first.qvksk", first));
    ASSERT_TRUE(waitFor([&] { return served.server.step().has_value(); }));
    // The next request is withdrawn as the front-end withdraws one it gave up on: the name's
    // first unit zeroed first, then the rest of the request, and its path block closed.
    Handoff second;
    ASSERT_TRUE(handOver(served.name, u"second.qvksk", second));
    {
        const platform::SharedMemoryView view = platform::SharedMemoryView::map(served.block, 260);
        ASSERT_TRUE(view.isMapped());
        view.data()[RuntimeRequest::pathBlockNameOffset] = 0;
        view.data()[RuntimeRequest::pathBlockNameOffset + 1] = 0;
        EXPECT_FALSE(served.server.step());
        std::fill(view.data(), view.data() + RuntimeRequest::readyOffset, 0);
        RuntimeRequest::storeWord(view.data(), RuntimeRequest::acceptedOffset, 0);
    }
    second.pathBlock.close();
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(served.server.step());
    EXPECT_EQ(served.word(RuntimeRequest::acceptedOffset), 0u);
}

TEST(RuntimeServer, RefusesAMissingOrSmallRequestBlock)
{
    RuntimeServer server(behaviourOf({}));
    EXPECT_FALSE(server.open({uniqueBlockName(), 260, true}));
    const Served served;
    EXPECT_FALSE(server.open({served.name, 259, true}));
}
