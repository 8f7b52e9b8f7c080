#pragma once
// The base of every window, and the registry that owns them.
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <typeindex>

namespace dovrane {

class Form : public QWidget {
    Q_OBJECT
public:
    // positionIndex 1..42 (0 for none); openFlag is the window's open flag.
    Form(int positionIndex, bool* openFlag, QWidget* parent = nullptr);
    ~Form() override;

    int positionIndex() const { return positionIndex_; }
    const bool* openFlag() const { return openFlag_; }
    bool isLoaded() const { return loaded_; }

    // Runs the load step: Form_Load, placement at the stored position, open flag.
    void load();
    // Runs the unload step: Form_Unload, position stored, timers stopped, hidden,
    // open flag cleared; destruction waits until no wait is in progress.
    void unload();
    // Shows the window modal and returns when it is unloaded or hidden.
    void showModal();
    // Before the user closes the window, or the panel that takes it along:
    // asks about work that is not saved yet; true when the window is to stay
    // open (the user cancelled, or chose to save first).
    virtual bool keepForUnsavedWork() { return false; }

    // Position and size in twips, as the position file keeps them.
    int32_t leftTwips() const;
    int32_t topTwips() const;
    int32_t widthTwips() const;
    // The window with the window manager's frame, in pixels.
    QRect frameRect() const;

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    // Puts the window's frame at its stored position (the load step does).
    void place();

private:
    void storePosition();
    // A window with no stored position, shown while a panel is: put where it
    // leaves the panel's menu bar free, within the screen where it fits.
    void placeFree();
    std::optional<QPoint> placeClearOfPanel() const;
    void keepPlace();
    void keepPlaceWhileFraming();
    // Never smaller than the size at which every control shows whole, and
    // never larger than the screen: a window that cannot show whole there
    // scrolls its content instead.
    void keepControlsInside();
    // The same again once the window manager has framed the window, when the
    // frame it takes from the screen is known.
    void keepControlsInsideOnceFramed();
    void growToLeast();
    // The room the window's client area has on its screen.
    QSize roomOnScreen() const;
    // Puts the window's controls into a scroll area that fills the window.
    void scrollContent(const QSize& least);

    int positionIndex_;
    bool* openFlag_;
    bool loaded_ = false;
    bool unloading_ = false;
    // Where the load step put the frame, until the window manager has framed
    // the window there (or given up); see keepPlace().
    std::optional<QPoint> placeAt_;
    bool freePlace_ = false;
    int placeTries_ = 0;
    int corrections_ = 0;
    int settleTicks_ = 0;
    bool growPending_ = false;
    bool scrolled_ = false;
    QSize least_;   // what the window's controls need, scrolled or not
};

namespace forms {

Form* find(std::type_index type);
void adopt(std::type_index type, Form* form);
void release(Form* form);
// Destroys unloaded windows once no wait is in progress.
void collect();
// Destroys every window at once (program end, tests): the tool windows, then
// the receiver panels, then the welcome window.
void destroyAll();

// The loaded window of type T, or nullptr.
template <class T> T* loaded() {
    return static_cast<T*>(find(std::type_index(typeid(T))));
}
// The window of type T, created and loaded if need be.
template <class T> T* load() {
    if (T* f = loaded<T>()) return f;
    T* f = new T();
    adopt(std::type_index(typeid(T)), f);
    f->load();
    return f;
}
template <class T> void unload() {
    if (T* f = loaded<T>()) f->unload();
}

} // namespace forms
} // namespace dovrane
