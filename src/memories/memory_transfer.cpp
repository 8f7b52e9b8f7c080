#include "memories/memory_transfer.h"

#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "drivers/nrd/nrd_codec.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "drivers/rx_link.h"
#include "memories/memory_image.h"
#include "memories/memory_panel.h"
#include "panels/panel_lock.h"
#include "platform/clock.h"
#include "platform/delay.h"
#include "platform/number_text.h"

#include <optional>

namespace dovrane {

namespace {

// The NRD receivers' pacing: after RTTY off and the hold, before each
// channel read, after each channel write.
constexpr int NrdSettleMs = 100;
constexpr int NrdReadGapMs = 15;
constexpr int NrdWriteGapMs = 10;
// How long a fill writes before it asks the receiver whether it is still
// there: a receiver lost in the middle stops the run within this time, for
// a question that costs about one channel write.
constexpr qint64 FillQuestionEveryMs = 5000;

int fieldValue(const QString& record, int first, int last) { return int(vbRound(recordValue(record, first, last))); }

bool nrdStorable(const QString& record) {
    const double hz = recordValue(record, 8, 15);
    return hz >= nrd::LowestChannelHz && hz <= nrd::HighestChannelHz;
}

} // namespace

MemoryTransfer::MemoryTransfer(int rxType, CommPort& port) : rxType_(rxType) {
    switch (rxType) {
    case 1: AR7030A = std::make_unique<clsAR7030>(port); break;
    case 2: NRD535A = std::make_unique<clsNRD535>(port); break;
    case 3: RX320A = std::make_unique<clsRX320>(port); break;
    case 4: NRD545A = std::make_unique<clsNRD545>(port); break;
    default: break;
    }
}

MemoryTransfer::~MemoryTransfer() = default;

MemoryTransfer::Result MemoryTransfer::fetch(MemoryImage& image, int last, const Hooks& hooks) {
    Result res;
    last = std::min(last, image.maxMemNr());
    if (last < 0 || !(AR7030A || NRD535A || NRD545A)) return res;
    auto alive = [&hooks] { return !hooks.alive || hooks.alive(); };
    // The image is made anew only once there is something to put in it.
    auto stopAt = [&](int n, bool lost) {
        res.stoppedAt = n;
        (lost ? res.lost : res.stopped) = true;
        if (res.moved > 0)
            for (int k = n; k <= last; ++k) image.setUnread(k, true);
    };

    std::optional<RunHold> hold;
    if (NRD535A) NRD535A->RttyOnOff(0);
    if (NRD545A) NRD545A->RttyOnOff(0);
    if (!AR7030A) {
        hold.emplace();
        delayms(NrdSettleMs);
    }
    for (int n = 0; n <= last; ++n) {
        if (hooks.progress) hooks.progress(n);
        if (!alive()) {
            stopAt(n, false);
            break;
        }
        if (!AR7030A) {
            delayms(NrdReadGapMs);
            if (!alive()) {
                stopAt(n, false);
                break;
            }
        }
        std::optional<QString> r;
        if (AR7030A) r = AR7030A->Memory(n);
        else if (NRD535A) r = NRD535A->Memory(n);
        else r = NRD545A->Memory(n);
        if (!r) {
            stopAt(n, true);
            break;
        }
        if (res.moved == 0) image.create(image.maxMemNr());
        image.setRecord(n, *r);
        ++res.moved;
    }
    return res;
}

MemoryTransfer::Result MemoryTransfer::fill(const MemoryImage& image, int from, int to, const Hooks& hooks,
                                            int leave) {
    Result res;
    if (!(AR7030A || NRD535A || NRD545A)) return res;
    from = std::max(from, 0);
    to = std::min(to, image.maxMemNr());
    if (leave >= from && leave <= to) res.left = leave;
    auto alive = [&hooks] { return !hooks.alive || hooks.alive(); };

    std::optional<RunHold> hold;
    if (!AR7030A) hold.emplace();
    // The cells sent since the receiver last answered: not known to be in
    // it yet.
    QList<int> sent;
    // A receiver lost before cell `next` was sent: what was sent stays
    // unconfirmed, and nothing from `next` on was written.
    auto lose = [&](int next) {
        res.lost = true;
        res.stoppedAt = next;
        res.unconfirmed = sent;
    };
    auto confirmed = [&](int next) {
        if (!answers()) {
            lose(next);
            return false;
        }
        sent.clear();
        return true;
    };
    // A receiver that did not answer its last question (the hold's own
    // status read, or whatever came before) is asked before anything is
    // written into it.
    if (rxFailing() && !confirmed(from)) return res;
    qint64 askedAt = Clock::steadyMs();

    for (int n = from; n <= to; ++n) {
        if (hooks.progress) hooks.progress(n);
        if (!alive()) {
            res.stopped = true;
            res.stoppedAt = n;
            break;
        }
        if (n == res.left) continue;
        // Nothing read or set means nothing to write: only a vacant record
        // clears a channel.
        if (image.isUnread(n)) {
            res.unreadSkipped << n;
            continue;
        }
        if (image.isEmpty(n)) {
            res.emptySkipped << n;
            continue;
        }
        const QString record = image.record(n);
        // Only this model's own records go out: a driver would turn any other
        // text (another model's fields, or garbage) into a channel, and a code
        // of an option the receiver lacks into a setting it does not have.
        if (const RecordCheck check = checkRecord(record, rxType_); check.fit != RecordFit::Fits) {
            ++res.refused;
            if (check.fit == RecordFit::LacksOption) ++res.lackingOption[check.option];
            continue;
        }
        bool suits = false;
        if (AR7030A) suits = ar7030::channelFromRecord(record).has_value();
        else if (NRD535A) suits = nrd::memoryCommand535(n, record).has_value();
        else suits = nrd::memoryCommand545(n, record).has_value();
        if (!suits) {
            // The NRD-545 has no command that clears a channel: its channel
            // stays as it was, and the user is told so.
            if (NRD545A && parseMemoryRecord(record) && !nrdStorable(record)) ++res.notCleared;
            else ++res.refused;
            continue;
        }
        bool ok = false;
        if (AR7030A) ok = AR7030A->Memory(n, record);
        else if (NRD535A) ok = NRD535A->Memory(n, record);
        else ok = NRD545A->Memory(n, record);
        if (!ok) {
            // The write could not go out: this cell is not written, and the
            // ones sent before it wait for an answer that will not come.
            lose(n);
            break;
        }
        ++res.moved;
        sent << n;
        if (!AR7030A) {
            delayms(NrdWriteGapMs);
            if (!alive()) {
                res.stopped = true;
                res.stoppedAt = n + 1;
                break;
            }
        }
        if (Clock::steadyMs() - askedAt >= FillQuestionEveryMs) {
            if (!confirmed(n + 1)) break;
            askedAt = Clock::steadyMs();
        }
    }
    // The last writes count once the receiver has answered after them.
    if (!sent.isEmpty() && !res.lost && !res.stopped) confirmed(to + 1);
    return res;
}

bool MemoryTransfer::answers() {
    if (RX320A) return RX320A->Smeter().has_value();
    return receiverAnswers(AR7030A.get(), NRD535A.get(), NRD545A.get());
}


MemoryTransfer::SetResult MemoryTransfer::setR2M(const QString& r) {
    if (r.isEmpty()) return SetResult::Passed;
    // Another model's codes mean other settings here, or none at all; an
    // option's code, one the receiver does not have.
    if (!isRecordOf(r, rxType_)) return SetResult::NotOfModel;
    const double f = recordValue(r, 8, 15) / 1000.0;
    if (r.startsWith(QLatin1String("XXX")) || f < FreqMin || f > FreqMax) return SetResult::Passed;
    const int mode = fieldValue(r, 17, 17);
    const int bw = fieldValue(r, 19, 20);
    auto result = [](bool ok) { return ok ? SetResult::Sent : SetResult::NotTaken; };

    // None of these writes is answered. The panel's refresh reads the
    // receiver after them (its reads tell whether the receiver is there);
    // without a panel that reads, a question of our own does.
    if (AR7030A) {
        bool ok = AR7030A->FrequencyA(f);
        ok = AR7030A->Mode(mode) && ok;
        ok = AR7030A->Bandwidth(bw) && ok;
        ok = AR7030A->PassBandShift(fieldValue(r, 26, 28)) && ok;
        const int b = fieldValue(r, 30, 32);
        ok = ((mode == 4 || mode == 5) ? AR7030A->Beatfreqosc(b) : AR7030A->Squelch(b)) && ok;
        const std::optional<bool> panel = refreshPanelAfterSet(rxType_);
        const bool answered = panel ? *panel : answers();
        return result(ok && answered);
    }
    if (NRD535A || NRD545A) {
        const QString s = QStringLiteral("X") + recordColumns(r, 22, 22) + recordColumns(r, 20, 20) +
                          recordColumns(r, 17, 17) + recordColumns(r, 8, 15) + recordColumns(r, 24, 24);
        if (NRD535A) {
            if (!NRD535A->RxStatus(s)) return SetResult::NotTaken;
            const std::optional<bool> panel = refreshPanelAfterSet(rxType_);
            return result(panel ? *panel : answers());
        }
        if (!NRD545A->RxStatus(s) || !answers()) return SetResult::NotTaken;
        showNrd545StatusOnPanel(s);
        return SetResult::Sent;
    }
    if (RX320A) {
        const int agc = fieldValue(r, 24, 24);
        bool ok = RX320A->FrequencyA(f);
        ok = RX320A->Mode(mode) && ok;
        ok = RX320A->Bandwidth(bw) && ok;
        ok = RX320A->Agcspeed(agc) && ok;
        // The RX-320 answers none of these either: a signal-level reading
        // after them shows that it is there.
        ok = ok && answers();
        if (ok) showRx320SettingOnPanel(f, mode, bw, agc);
        return result(ok);
    }
    return SetResult::Passed;
}

} // namespace dovrane
