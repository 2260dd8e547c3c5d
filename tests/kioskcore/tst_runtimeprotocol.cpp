#include "requestrecorder.h"
#include "runtimearguments.h"
#include "runtimebehaviour.h"
#include "runtimeserver.h"

#include "platform/blockname.h"
#include "platform/currentprocess.h"
#include "platform/localtime.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryblock.h"
#include "platform/sharedmemoryview.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;
using platform::SharedMemoryView;

namespace {

std::string newBlockName(std::uint32_t pid = platform::currentProcessId())
{
    static platform::BlockNameGenerator generator;
    std::tm now = {};
    platform::localTimeNow(now);
    return generator.next(now, pid);
}

// The front-end's side of one test: the request block and the path blocks it hands over.
class FrontEnd
{
public:
    FrontEnd()
        : name(newBlockName())
        , block(SharedMemoryBlock::createOrOpen(name, 260))
        , view(SharedMemoryView::map(block, 260))
    {}

    std::uint32_t word(std::size_t offset) const
    {
        return RuntimeRequest::loadWord(view.data(), offset);
    }

    void handOver(const std::u16string &path, int level = 1)
    {
        const std::string pathName = newBlockName();
        const std::uint32_t bytes = RuntimeRequest::pathBlockBytes(path.size());
        pathBlocks.push_back(SharedMemoryBlock::createOrOpen(pathName, bytes));
        const SharedMemoryView pathView = SharedMemoryView::map(pathBlocks.back(), bytes);
        std::memcpy(pathView.data(), path.data(), bytes);
        RuntimeRequest request;
        request.code = u"42";
        request.accessLevel = RuntimeRequest::accessLevelText(level);
        request.pathBlockName.assign(pathName.begin(), pathName.end());
        request.pathBlockSize = 2 * bytes;
        ASSERT_TRUE(request.encode(view.data()));
    }

    RuntimeArguments arguments() const { return {name, 260, true}; }

    std::string name;
    SharedMemoryBlock block;
    SharedMemoryView view;
    std::vector<SharedMemoryBlock> pathBlocks;
};

RuntimeBehaviour behaviourOf(const std::map<std::string, std::string> &values)
{
    return RuntimeBehaviour::fromLookup([&](const char *name) -> const char * {
        const auto found = values.find(name);
        return found == values.end() ? nullptr : found->second.c_str();
    });
}

} // namespace

TEST(RuntimeArguments, FindsTheBlockInEveryShapeOfCommandLine)
{
    struct Row
    {
        const char *what;
        std::vector<std::string> words;
        bool ok;
        const char *name;
        std::size_t size;
        bool standby;
    };
    const Row rows[] = {
        {"POSIX standby",
         {"./qvkioskcore", "quorvaneKiosk_1", "260", "--standby"},
         true,
         "quorvaneKiosk_1",
         260,
         true},
        {"Windows standby, empty program word",
         {"", "quorvaneKiosk_1", "260", "--standby"},
         true,
         "quorvaneKiosk_1",
         260,
         true},
        {"Windows standby, no program word",
         {"quorvaneKiosk_1", "260", "--standby"},
         true,
         "quorvaneKiosk_1",
         260,
         true},
        {"relay", {"qvkioskcore.exe", "callerBlock", "512"}, true, "callerBlock", 512, false},
        {"no size", {"./qvkioskcore", "quorvaneKiosk_1"}, false, "", 0, false},
        {"bad size", {"./qvkioskcore", "quorvaneKiosk_1", "26x"}, false, "", 0, false},
        {"nothing", {"./qvkioskcore"}, false, "", 0, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        RuntimeArguments arguments;
        ASSERT_EQ(RuntimeArguments::parse(row.words, arguments), row.ok);
        if (row.ok) {
            EXPECT_EQ(arguments.blockName, row.name);
            EXPECT_EQ(arguments.blockSize, row.size);
            EXPECT_EQ(arguments.standby, row.standby);
        }
    }
}

TEST(RuntimeBehaviour, ReadsExactlyTheNamedVariables)
{
    const RuntimeBehaviour set = behaviourOf({{"QVKIOSKCORE_READY_DELAY_MS", "250"},
                                              {"QVKIOSKCORE_ACCEPT_DELAY_MS", "7000"},
                                              {"QVKIOSKCORE_NEVER_READY", "1"},
                                              {"QVKIOSKCORE_NEVER_ACCEPT", "1"},
                                              {"QVKIOSKCORE_CRASH_AFTER_READY", "1"},
                                              {"QVKIOSKCORE_NO_WINDOW", "1"},
                                              {"QVKIOSKCORE_RECORD", "/tmp/r.jsonl"}});
    EXPECT_EQ(set.readyDelayMs, 250);
    EXPECT_EQ(set.acceptDelayMs, 7000);
    EXPECT_TRUE(set.neverReady && set.neverAccept && set.crashAfterReady && set.noWindow);
    EXPECT_EQ(set.recordFile, "/tmp/r.jsonl");

    const RuntimeBehaviour odd = behaviourOf({{"QVKIOSKCORE_READY_DELAY_MS", "-5"},
                                              {"QVKIOSKCORE_ACCEPT_DELAY_MS", "12abc"},
                                              {"QVKIOSKCORE_NEVER_READY", "yes"},
                                              {"QVKIOSKCORE_NO_WINDOW", "0"}});
    EXPECT_EQ(odd.readyDelayMs, 0);
    EXPECT_EQ(odd.acceptDelayMs, 0);
    EXPECT_FALSE(odd.neverReady || odd.noWindow);
}

TEST(RequestRecorder, WritesOneEscapedJsonLine)
{
    TakenRequest request;
    request.code = "12\"3";
    request.accessLevel = "Power User";
    request.path = "C:\\K\xC3\xA9\n.qvksk";
    request.pathBlockName = "quorvaneKiosk_20260105143000_4242_2";
    request.runtimeProcessId = 77;
    EXPECT_EQ(
        RequestRecorder::line(request),
        "{\"code\":\"12\\\"3\",\"level\":\"Power User\",\"path\":\"C:\\\\K\xC3\xA9\\n.qvksk\","
        "\"pathBlockName\":\"quorvaneKiosk_20260105143000_4242_2\",\"pid\":77}\n");
}

TEST(RuntimeServer, SetsReadyTakesARequestAndAcceptsIt)
{
    FrontEnd frontEnd;
    RuntimeServer server(behaviourOf({}));
    ASSERT_TRUE(server.open(frontEnd.arguments()));
    EXPECT_FALSE(server.step());
    EXPECT_NE(frontEnd.word(RuntimeRequest::readyOffset), 0u);

    frontEnd.handOver(u"/kiosk/L\u00F6bby.qvksk", 2);
    std::optional<TakenRequest> taken = server.step();
    if (!taken)
        taken = server.step(); // a request counts once two looks agree
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->path,
              "/kiosk/L\xC3\xB6"
              "bby.qvksk");
    EXPECT_EQ(taken->accessLevel, "Power User");
    EXPECT_EQ(taken->code, "42");
    EXPECT_EQ(taken->runtimeProcessId, platform::currentProcessId());
    EXPECT_NE(frontEnd.word(RuntimeRequest::acceptedOffset), 0u);
    // The handoff wrote ready 0; the runtime still serves the block.
    EXPECT_NE(frontEnd.word(RuntimeRequest::readyOffset), 0u);
    EXPECT_FALSE(server.step()); // the same request is not taken twice
}

TEST(RuntimeServer, NeverReadyAndNeverAccept)
{
    FrontEnd frontEnd;
    RuntimeServer server(
        behaviourOf({{"QVKIOSKCORE_NEVER_READY", "1"}, {"QVKIOSKCORE_NEVER_ACCEPT", "1"}}));
    ASSERT_TRUE(server.open(frontEnd.arguments()));
    frontEnd.handOver(u"a.qvksk");
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(server.step());
    EXPECT_TRUE(server.hasTakenRequest());
    EXPECT_EQ(frontEnd.word(RuntimeRequest::readyOffset), 0u);
    EXPECT_EQ(frontEnd.word(RuntimeRequest::acceptedOffset), 0u);
}

TEST(RuntimeServer, ARequestWhosePathBlockIsMissingIsNotAccepted)
{
    FrontEnd frontEnd;
    RuntimeServer server(behaviourOf({}));
    ASSERT_TRUE(server.open(frontEnd.arguments()));
    frontEnd.handOver(u"gone.qvksk");
    frontEnd.pathBlocks.clear(); // closing its only handle removes the block
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(server.step());
    EXPECT_FALSE(server.hasTakenRequest());
    EXPECT_EQ(frontEnd.word(RuntimeRequest::acceptedOffset), 0u);
}

TEST(RuntimeServer, RefusesAMissingOrSmallRequestBlock)
{
    RuntimeServer server(behaviourOf({}));
    EXPECT_FALSE(server.open({newBlockName(), 260, true}));
    FrontEnd frontEnd;
    EXPECT_FALSE(server.open({frontEnd.name, 259, true}));
}

TEST(RuntimeServer, KnowsWhenItsFrontEndHasEnded)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    const std::string name = newBlockName(static_cast<std::uint32_t>(child));
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    RuntimeServer ended(behaviourOf({}));
    ASSERT_TRUE(ended.open({name, 260, true}));
    EXPECT_TRUE(ended.frontEndEnded());

    FrontEnd alive;
    RuntimeServer running(behaviourOf({}));
    ASSERT_TRUE(running.open(alive.arguments()));
    EXPECT_FALSE(running.frontEndEnded());
}
