// A panel's refresh says whether the receiver answered it, and Set R2M with
// the panel open takes its answer from there: a receiver that has fallen
// silent is never reported as set.
#include "memories/memory_transfer.h"
#include "panels/frmar7030.h"
#include "panels/frmnrd535.h"
#include "panels/frmnrd545.h"
#include "platform/commport.h"
#include "shell/globals.h"
#include "support/go_rig.h"

namespace dovrane::test {
namespace {

class PanelRefreshAnswer : public GoRig {};

bool refresh(PanelForm* p) {
    if (auto* a = qobject_cast<frmAR7030*>(p)) return a->RxUpdatefull();
    if (auto* n = qobject_cast<frmNRD535*>(p)) return n->RxUpdatefull();
    if (auto* n = qobject_cast<frmNRD545*>(p)) return n->RxUpdatefull();
    ADD_FAILURE() << "no refresh";
    return false;
}

TEST_F(PanelRefreshAnswer, SetR2MWithThePanelOpenIsSentOnlyWhenTheRefreshWasAnswered) {
    using R = MemoryTransfer::SetResult;
    const struct Case {
        int rxType;
        QString record;
        bool silent;
        R result;
    } cases[] = {
        {1, QStringLiteral("MEM000 07100000 1 02 @ @ 000 020 0 "), false, R::Sent},
        {1, QStringLiteral("MEM000 07100000 1 02 @ @ 000 020 0 "), true, R::NotTaken},
        {2, QStringLiteral("MEM000 07100000 2 01 1 0 @@@ @@@ @ "), false, R::Sent},
        {2, QStringLiteral("MEM000 07100000 2 01 1 0 @@@ @@@ @ "), true, R::NotTaken},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(modelName(c.rxType)) + (c.silent ? ", silent" : ", answering"));
        PanelForm* p = go(c.rxType);
        ASSERT_NE(p, nullptr);
        EXPECT_TRUE(refresh(p)) << "the panel's own refresh, answered";
        if (c.silent) {
            simulator()->setFault(sim::Fault::Off);
            dialogs.expect(QStringLiteral("The receiver does not answer"));
            EXPECT_FALSE(refresh(p)) << "the panel's own refresh, unanswered";
            pump(50);
        }
        {
            MemoryTransfer transfer(c.rxType, *Comm1);
            EXPECT_EQ(transfer.setR2M(c.record), c.result);
        }
        pump(50);
        EXPECT_EQ(dialogs.pending(), 0);

        TearDown();
        SetUp();
    }
}

} // namespace
} // namespace dovrane::test
