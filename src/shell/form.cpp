#include "shell/form.h"
#include "platform/geometry.h"
#include "platform/delay.h"
#include "platform/sequence.h"
#include "shell/globals.h"
#include "shell/show_panel.h"
#include "shell/unloadallforms.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace dovrane {

// Kept with the position file's rules (settings_file.cpp).
void storePosition(int index, int32_t left, int32_t top, int32_t width);

namespace {
std::map<std::type_index, Form*>& registry() {
    static std::map<std::type_index, Form*> r;
    return r;
}
std::vector<QPointer<Form>>& graveyard() {
    static std::vector<QPointer<Form>> g;
    return g;
}
} // namespace

Form::Form(int positionIndex, bool* openFlag, QWidget* parent)
    : QWidget(parent, Qt::Window), positionIndex_(positionIndex), openFlag_(openFlag) {
    WaitScope::setOnAllEnded(&forms::collect);
    sequence::install();
    // Other windows and the title clock find a window by its open flag.
    registerWindow(openFlag, this);
}

Form::~Form() {
    if (loaded_ && openFlag_) *openFlag_ = false;
    forms::release(this);
}

void Form::load() {
    if (loaded_) return;
    loaded_ = true;
    setProperty("dovraneUnloaded", false);
    Form_Load();
    if (!loaded_) return; // the load step may have unloaded the window itself
    place();
    if (openFlag_) *openFlag_ = true;
}

void Form::unload() {
    if (!loaded_ || unloading_) return;
    unloading_ = true;
    Form_Unload();
    storePosition();
    for (QTimer* t : findChildren<QTimer*>()) t->stop();
    hide();
    loaded_ = false;
    unloading_ = false;
    // Its timers tick no more, whoever starts them (a sequence of its own
    // that ends after the unload, say).
    setProperty("dovraneUnloaded", true);
    if (openFlag_) *openFlag_ = false;
    forms::release(this);
    graveyard().push_back(this);
    if (WaitScope::depth() == 0) QTimer::singleShot(0, [] { forms::collect(); });
}

void Form::showModal() {
    setWindowModality(Qt::ApplicationModal);
    show();
    WaitScope scope;
    QPointer<Form> self(this);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!self || !self->isVisible() || !self->isLoaded()) loop.quit();
    });
    poll.start(20);
    loop.exec();
    if (self) self->setWindowModality(Qt::NonModal);
}

// QWidget caches the frame's size from before the window manager framed the
// window; the window's own frame geometry asks the window system.
QRect Form::frameRect() const {
    if (QWindow* w = windowHandle(); w && isVisible()) return w->frameGeometry();
    return frameGeometry();
}

int32_t Form::leftTwips() const { return pxToTwips(frameRect().x()); }
int32_t Form::topTwips() const { return pxToTwips(frameRect().y()); }
int32_t Form::widthTwips() const { return pxToTwips(frameRect().width()); }

void Form::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (loaded_ && !keepForUnsavedWork()) unload();
}

void Form::storePosition() {
    if (positionIndex_ < 1 || positionIndex_ > 42) return;
    dovrane::storePosition(positionIndex_, leftTwips(), topTwips(), widthTwips());
}

void Form::place() {
    if (positionIndex_ < 1 || positionIndex_ > 42) {
        // A window that keeps no position has none stored either.
        freePlace_ = true;
        if (isVisible()) placeFree();
        return;
    }
    // Both 0 is what a window has before it was ever closed (the position
    // file keeps 0, 0 for the windows never opened): it gets a place of its
    // own when it is shown, where it does not hide the panel's menus.
    freePlace_ = FormLeft[positionIndex_] == 0 && FormTop[positionIndex_] == 0;
    QPoint p(twipsToPx(FormLeft[positionIndex_]), twipsToPx(FormTop[positionIndex_]));
    // A window stored on a screen that is no longer there comes back on the
    // primary screen; the stored value changes only when it closes again.
    const QRect r(p, size().isValid() ? size() : QSize(100, 100));
    bool visible = false;
    for (QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().intersects(r)) visible = true;
    if (!visible && QGuiApplication::primaryScreen())
        p = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    move(p);
    placeAt_ = p;
    if (isVisible()) {
        placeFree();
        keepPlaceWhileFraming();
    }
}

void Form::placeFree() {
    if (!freePlace_) return;
    freePlace_ = false;
    if (const std::optional<QPoint> p = placeClearOfPanel()) {
        move(*p);
        placeAt_ = *p;
    }
}

std::optional<QPoint> Form::placeClearOfPanel() const {
    Form* panel = currentPanel();
    if (!panel || panel == this || !panel->isVisible()) return std::nullopt;
    const QRect pf = panel->frameRect();
    QRect bar = pf;   // a panel without menus is kept clear of as a whole
    if (auto* mb = panel->findChild<QMenuBar*>(); mb && mb->isVisible())
        bar = QRect(mb->mapToGlobal(QPoint(0, 0)), mb->size());
    QScreen* screen = panel->screen() ? panel->screen() : QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    const QRect avail = screen->availableGeometry();
    // This window is not framed yet: take the panel's frame as its measure.
    const QMargins m = panel->windowHandle() ? panel->windowHandle()->frameMargins() : QMargins();
    const QSize framed = size() + QSize(m.left() + m.right(), m.top() + m.bottom());
    const int step = std::max(m.top(), 20);

    // Where the other open windows stand, or are on their way to: a window
    // put on (or within a step of) another's corner hides that one whole.
    std::vector<QPoint> taken;
    for (const auto& [type, f] : registry()) {
        if (f == this || !f->isVisible()) continue;
        taken.push_back(f->frameRect().topLeft());
        if (f->placeAt_) taken.push_back(*f->placeAt_);
    }
    const auto unclaimed = [&](QPoint c) {
        return std::none_of(taken.begin(), taken.end(), [&](QPoint t) {
            return std::abs(t.x() - c.x()) < step && std::abs(t.y() - c.y()) < step;
        });
    };
    const auto fits = [&](QPoint c) {
        const QRect r(c, framed);
        return avail.contains(r) && !r.intersects(bar) && unclaimed(c);
    };

    // Below the panel, right of it, or over its lower part below the menus;
    // each next window a step lower and further right than one already there.
    const QPoint bases[] = {{pf.left(), pf.bottom() + 1}, {pf.right() + 1, pf.top()}, {pf.left(), bar.bottom() + 1}};
    const int steps = (avail.width() + avail.height()) / step + 1;
    for (const QPoint& base : bases)
        for (int k = 0; k < steps; ++k)
            if (const QPoint c = base + QPoint(k * step, k * step); fits(c)) return c;
    // Anywhere below the menus where it fits, row by row.
    for (int y = bar.bottom() + 1; y + framed.height() <= avail.bottom() + 1; y += step)
        for (int x = avail.left(); x + framed.width() <= avail.right() + 1; x += step)
            if (fits(QPoint(x, y))) return QPoint(x, y);
    // Taller than the room below the menus (or no room left): it runs off the
    // screen's foot rather than hide them, still clear of the others' corners.
    const int x = std::clamp(pf.left(), avail.left(), std::max(avail.left(), avail.right() + 1 - framed.width()));
    QPoint c(x, bar.bottom() + 1);
    while (!unclaimed(c)) c += QPoint(step, step);
    return c;
}

bool Form::event(QEvent* e) {
    if (e->type() == QEvent::Show) {
        keepControlsInside();
        placeFree();
        keepControlsInsideOnceFramed();
    }
    if (placeAt_ && e->type() == QEvent::Show) keepPlaceWhileFraming();
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::Resize) growToLeast();
    return handled;
}

void Form::keepControlsInside() {
    if (!isWindow()) return;
    // A window with a layout has the layout's minimum; one whose controls
    // stand where they were drawn holds them all.
    if (!scrolled_) {
        if (QLayout* l = layout()) {
            l->activate();
            least_ = l->totalMinimumSize();
        } else {
            const QRect drawn = childrenRect();
            if (drawn.isEmpty()) return;
            least_ = QSize(drawn.right() + 1, drawn.bottom() + 1);
        }
    }
    const QSize room = roomOnScreen();
    if (room.isEmpty()) return;
    const bool fits = least_.width() <= room.width() && least_.height() <= room.height();
    if (!scrolled_ && fits) {
        if (!layout()) setMinimumSize(minimumSize().expandedTo(least_));
        return;
    }
    if (!scrolled_) scrollContent(least_);
    // As much of it as the screen holds; the scroll bars reach the rest.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    QSize want = least_;
    if (least_.height() > room.height()) want.rwidth() += bar;
    if (least_.width() > room.width()) want.rheight() += bar;
    const QSize atMost = want.boundedTo(room);
    setMinimumSize(atMost);
    resize(size().expandedTo(atMost).boundedTo(room));
}

void Form::keepControlsInsideOnceFramed() {
    QWindow* w = windowHandle();
    if (!w || !w->frameMargins().isNull()) return;
    // The window manager frames a window after it is mapped, and tells Qt
    // of the frame without telling the window: look until it is there.
    auto* poll = new QTimer(this);
    poll->setInterval(25);
    connect(poll, &QTimer::timeout, this, [this, poll, tries = 0]() mutable {
        QWindow* handle = windowHandle();
        const bool framed = handle && !handle->frameMargins().isNull();
        if (framed && isVisible()) keepControlsInside();
        if (framed || !isVisible() || ++tries > 80) poll->deleteLater();
    });
    poll->start();
}

QSize Form::roomOnScreen() const {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return {};
    // The frame the window manager puts round it: this window's once it is
    // framed, before that another's.
    QMargins frame;
    if (windowHandle()) frame = windowHandle()->frameMargins();
    if (frame.isNull()) {
        for (const auto& [type, f] : registry()) {
            if (f == this || !f->isVisible() || !f->windowHandle()) continue;
            frame = f->windowHandle()->frameMargins();
            if (!frame.isNull()) break;
        }
    }
    return s->availableGeometry().size().shrunkBy(frame);
}

void Form::scrollContent(const QSize& least) {
    scrolled_ = true;
    auto* content = new QWidget;
    content->setObjectName(objectName() + QStringLiteral("_content"));
    QMenuBar* bar = nullptr;
    if (QLayout* l = layout()) {
        // A menu bar stays at the top of the window, over what scrolls.
        bar = qobject_cast<QMenuBar*>(l->menuBar());
        if (bar) l->setMenuBar(nullptr);
        content->setLayout(l);
    } else {
        // Controls that stand where they were drawn keep their places.
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow()) continue;
            const bool shown = !child->isHidden();
            child->setParent(content);
            child->setVisible(shown);
        }
        content->setMinimumSize(least);
    }
    auto* area = new QScrollArea;
    area->setObjectName(objectName() + QStringLiteral("_scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    if (bar) outer->setMenuBar(bar);
    outer->addWidget(area);
    // Shown with the window, not once events have run.
    if (isVisible()) area->show();
}

void Form::growToLeast() {
    // The window manager (or a tool that sizes windows) may give a window
    // less than its minimum, and Qt takes what it is given: it gets its
    // minimum back, once the resize it is in has run its course.
    if (!isWindow() || growPending_ || size() == size().expandedTo(minimumSize())) return;
    growPending_ = true;
    QTimer::singleShot(0, this, [this] {
        growPending_ = false;
        if (isVisible() && size() != size().expandedTo(minimumSize())) resize(size().expandedTo(minimumSize()));
    });
}

void Form::keepPlaceWhileFraming() {
    {
        // The window manager frames a new window after it is mapped, and Qt
        // learns of the frame without telling the window: look until it is
        // there, and give up on one that frames nothing.
        placeTries_ = 0;
        corrections_ = 0;
        settleTicks_ = 0;
        auto* poll = new QTimer(this);
        poll->setInterval(25);
        connect(poll, &QTimer::timeout, this, [this, poll] {
            keepPlace();
            if (!placeAt_ || ++placeTries_ > 80) {
                placeAt_.reset();
                poll->deleteLater();
            }
        });
        poll->start();
    }
}

// A window is stored by its frame (pos()), so it must stand by its frame too.
// Before it has been shown Qt does not know the frame, and a window whose
// native window already exists is then placed by its client area: framed
// around that, it would stand a title bar lower and a border further right
// than stored, and creep on every open and close. Once the window manager has
// framed it, the frame is moved where the position file says.
void Form::keepPlace() {
    QWindow* w = windowHandle();
    if (!placeAt_ || !isVisible() || !w) return;
    if (w->frameMargins().isNull()) return;   // not framed (yet)
    if (settleTicks_ > 0) {                   // a move is on its way
        --settleTicks_;
        return;
    }
    // Window managers differ in how they take a requested position (by the
    // client area, by the frame, with or without its border): move the window
    // by what is still missing until its frame stands where it should.
    const QPoint missing = *placeAt_ - w->framePosition();
    if (missing.isNull() || ++corrections_ > 4) {
        placeAt_.reset();
        return;
    }
    w->setPosition(w->position() + missing);
    settleTicks_ = 4;
}

namespace forms {

Form* find(std::type_index type) {
    auto it = registry().find(type);
    return it == registry().end() ? nullptr : it->second;
}

void adopt(std::type_index type, Form* form) { registry()[type] = form; }

void release(Form* form) {
    for (auto it = registry().begin(); it != registry().end(); ++it) {
        if (it->second == form) {
            registry().erase(it);
            return;
        }
    }
}

void collect() {
    if (WaitScope::depth() > 0) return;
    auto dead = std::move(graveyard());
    graveyard().clear();
    for (auto& f : dead)
        if (f) f->deleteLater();
}

void destroyAll() {
    const sequence::NoYield noYield;
    // The tool windows go first, while the panel and the welcome window's
    // port they stop their runs through are still there; then the panels,
    // whose receiver drivers write to that port; the welcome window, which
    // owns the port, last.
    auto rank = [](const Form* f) {
        static const bool* const panels[] = {&NoRxOpen, &AR7030Open, &NRD535Open, &RX320Open, &NRD545Open};
        if (f->openFlag() == &WelcomeOpen) return 2;
        for (const bool* flag : panels)
            if (f->openFlag() == flag) return 1;
        return 0;
    };
    std::vector<QPointer<Form>> all;
    for (auto& [t, f] : registry()) all.emplace_back(f);
    for (auto& f : graveyard())
        if (f) all.push_back(f);
    graveyard().clear();
    registry().clear();
    std::stable_sort(all.begin(), all.end(), [&](const QPointer<Form>& a, const QPointer<Form>& b) {
        return (a ? rank(a) : 0) < (b ? rank(b) : 0);
    });
    // A window may take another one down with it.
    for (QPointer<Form>& f : all) delete f.data();
}

} // namespace forms
} // namespace dovrane
