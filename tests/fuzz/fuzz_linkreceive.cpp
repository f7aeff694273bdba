// Feeds the link's receive path with arbitrary bytes at arbitrary moments while requests come and
// go. The input is a little program: each step's first byte chooses what happens next.
#include "faketransport.h"
#include "frame.h"
#include "gatewaylink.h"
#include "recordinglog.h"
#include "requester.h"
#include "requesterid.h"
#include "scriptedprompter.h"

#include <cstdlib>

using namespace lumaro;

namespace {
class CheckingRequester final : public Requester
{
public:
    void onAnswer(int, const Frame &answer) override
    {
        // Only checked frames may reach a requester.
        if (Frame::check(answer.bytes()) != FrameError::None)
            std::abort();
    }
    void onTimeout(int) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    RecordingLog log;
    ScriptedPrompter prompter;
    FakeTransport transport;
    GatewayLink link(log, prompter);
    link.setTransport(&transport);
    link.open();
    CheckingRequester poll, list;
    link.registerRequester(requester::StatusPoll, &poll);
    link.registerRequester(requester::GearList, &list);

    size_t i = 0;
    while (i < size) {
        const uint8_t op = data[i++];
        const size_t n = i < size ? data[i++] : 0;
        switch (op % 6) {
        case 0: {   // bytes arrive
            const size_t len = std::min(n, size - i);
            transport.deliver(QByteArray(reinterpret_cast<const char *>(data + i), qsizetype(len)));
            i += len;
            break;
        }
        case 1:     // time passes
            for (size_t t = 0; t < n; ++t)
                link.tick();
            break;
        case 2: {   // a valid answer of the gateway it may or may not have asked
            const QByteArray payload = Frame::readRegisters(uint8_t(n % 18), 0x0540, 1);
            transport.deliver(Frame::withChecksum(payload).bytes());
            break;
        }
        case 3: {   // somebody asks
            const int ids[] = {requester::Generic, requester::StatusPoll, requester::GearList, 999, requester::SlaveScenePage};
            link.send(ids[n % 5], int(n), Frame::readRegisters(uint8_t(n % 18), 0x0540, 1), int(n) * 20, QStringLiteral("fuzz "));
            break;
        }
        case 4:
            if (n & 1) link.close(); else link.open();
            break;
        default:
            link.unregisterRequester(n & 1 ? requester::StatusPoll : requester::GearList);
            break;
        }
        if (link.queuedCount() > GatewayLink::kRingSlots)
            std::abort();
    }
    // Whatever happened, the line frees itself within the longest wait.
    for (int t = 0; t < 600; ++t)
        link.tick();
    while (link.queuedCount() > 0 || link.isBusy()) {
        for (int t = 0; t < 600; ++t)
            link.tick();
        if (!link.isOpen())
            break;
    }
    return 0;
}
