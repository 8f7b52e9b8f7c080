#pragma once
// What the two station-list converters share: the connect choice, "Locate"
// through the database finder, a conversion run a chunk of records per turn
// of the event loop (Stop looked at before each), the progress shown every
// hundred records, and the end: the list written, told, and the window closed.
#include "shell/form.h"

#include <QString>
#include <QStringList>
#include <QTimer>
#include <vector>

class QAbstractButton;
class QLabel;
class QRadioButton;

namespace dovrane {

class ConvertWindow : public Form {
    Q_OBJECT
public:
    using Form::Form;

    virtual void optDbconnect_Click(int index) = 0;
    virtual void cmdConvert_Click() = 0;
    void cmdLocate_Click();
    void cmdStop_Click() { stop_ = true; }
    void cmdExit_Click();

    // The finder enables the connect frame once a folder is chosen.
    void enableConnect();
    void selectConnect(int index);
    bool converting() const { return running_; }

protected:
    struct Controls {
        std::vector<QRadioButton*> connect;
        QWidget* connectFrame = nullptr;
        QAbstractButton *locate = nullptr, *convert = nullptr, *stop = nullptr, *exit = nullptr;
        QLabel *count = nullptr, *line = nullptr;
        // Disabled while a conversion runs: a second conversion, or closing
        // the window, would pull the source from under it.
        std::vector<QWidget*> lockedWhileRunning;
    };
    void bindConverter(Controls controls);

    // Converts the next record; false when the source is at its end.
    virtual bool convertNext() = 0;
    virtual int count() const = 0;
    virtual QString lastLine() const = 0;
    // Writes the list and calls finished().
    virtual void finish() = 0;

    void startConverting();
    // Stops without writing anything (the window closed from outside).
    void stopConverting();
    // Writes the converted lines as the list named name, tells how that
    // went, then closes the window. No line leaves an old list as it was.
    void writeList(const QStringList& lines, int count, const QString& name, const QString& title);

    void closeEvent(QCloseEvent* event) override;

private:
    void convertChunk();
    void setRunning(bool on);

    Controls controls_;
    QTimer chunkTimer_;
    int shownCount_ = 0;
    bool stop_ = false;
    bool running_ = false;
};

} // namespace dovrane
