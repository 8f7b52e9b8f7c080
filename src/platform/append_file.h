#pragma once
// A text file kept open while lines are added to its end, one byte a
// character (Latin-1), each line ended with CR LF. Used where a run records
// as it goes (the propagation file, the RTTY text file). Each line reaches
// the file when appendLine returns, so a crash loses nothing written so far.
#include <QString>
#include <memory>

class QFile;

namespace dovrane {

class AppendFile {
public:
    AppendFile();
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Opens path for appending (created, with its folders, when missing);
    // a file already open is closed first. False and a reason on failure.
    bool open(const QString& path, QString* error = nullptr);
    // Adds text and CR LF. Refuses (false, nothing written) text that
    // Latin-1 cannot hold, or a line when no file is open.
    bool appendLine(const QString& text, QString* error = nullptr);
    void close();
    bool isOpen() const;
    QString path() const;

private:
    std::unique_ptr<QFile> file_;
};

// Whether every character of text has a Latin-1 byte.
bool fitsLatin1(const QString& text);

} // namespace dovrane
