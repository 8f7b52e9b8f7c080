#pragma once
// The source finder of the two converters: a folder tree and the files in the
// chosen folder that match the source's name, without regard to case.
#include "shell/form.h"

#include <QStringList>
#include <memory>

class QFileSystemModel;
namespace Ui { class frmILGfinddbf; }

namespace dovrane {

class frmILGfinddbf : public Form {
    Q_OBJECT
public:
    frmILGfinddbf();
    ~frmILGfinddbf() override;

    // dirILG change: shows folder in the tree and lists its matching files.
    void setFolder(const QString& folder);
    QString folder() const { return folder_; }
    // The names the file list offers.
    QStringList files() const;
    void selectFile(const QString& name);

    void drvILG_Change();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void flbILG_PathChange();
    // Expands the tree down to the folder and scrolls it into view.
    void reveal();
    void revealLater();

    std::unique_ptr<Ui::frmILGfinddbf> ui;
    QFileSystemModel* dirs_ = nullptr;
    QStringList patterns_;
    QString folder_;
    // The folder is shown again as the model's listings move the rows, until the user takes the tree in hand.
    bool revealing_ = false;
    bool revealQueued_ = false;
};

} // namespace dovrane
