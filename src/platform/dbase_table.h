#pragma once
// A reader of dBase IV tables (".dbf"): versions 0x03, 0x83 and 0x8B, fields
// of type C, N, F, D and L. Memo fields read as missing (no ".dbt" is read),
// deleted rows are skipped, and the text code page follows the table's
// language-driver byte. The whole file is read at open, so a table that
// changes on disk afterwards cannot disturb a reader part way through.
#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <optional>
#include <vector>

namespace dovrane {

class DbaseTable {
public:
    struct Field {
        QString name;
        char type = 'C';
        int length = 0;
        int decimals = 0;
        int offset = 0;   // within the record, after the deletion byte
    };

    // Opens "<table>.dbf" in folder, the name matched without regard to case.
    // False, with a reason, when the file is missing or is no table this
    // reader can read (wrong version, encrypted, truncated header).
    bool open(const QString& folder, const QString& table, QString* error = nullptr);
    bool openFile(const QString& path, QString* error = nullptr);
    // Reads a table held in memory (tests, benchmarks).
    bool openData(const QByteArray& data, QString* error = nullptr);
    void close();
    bool isOpen() const { return open_; }

    const std::vector<Field>& fields() const { return fields_; }
    // The index of a field named name (case ignored), or -1.
    int fieldIndex(const QString& name) const;
    // Records the file holds: the header's count, bounded by the file's size.
    int recordCount() const { return records_; }
    // The name of the code page the text fields are read in.
    QString codePage() const { return codePage_; }

    // Moves to the first record that is not deleted; atEnd() when none.
    void moveFirst();
    void moveNext();
    bool atEnd() const { return current_ >= records_; }

    // The current record's field (by index or name); nullopt for a missing
    // value: blank text, blank or overflowed number, unknown logical, a memo,
    // a field that does not exist, or no current record. Text keeps its
    // leading blanks and loses its trailing ones; a number is its shortest
    // decimal text ("500", "0.5", "-12.25").
    std::optional<QString> value(int index) const;
    std::optional<QString> value(const QString& name) const { return value(fieldIndex(name)); }

private:
    bool fail(QString* error, const QString& why);
    bool deleted(int record) const;
    void skipDeleted();

    QByteArray data_;
    std::vector<Field> fields_;
    int headerLength_ = 0;
    int recordLength_ = 0;
    int records_ = 0;
    int current_ = 0;
    bool open_ = false;
    QString codePage_;
    mutable QStringDecoder decoder_;
};

} // namespace dovrane
