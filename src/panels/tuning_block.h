#pragma once
// The tuning controls every receiver panel shares, in one frame "fraFreqA":
// the frequency box, the keypad with "F", "S" and "M", the step box, its spin
// control and arrows, "GO" and the two rounding labels. A model panel places
// it in its .ui (a QWidget promoted to dovrane::TuningBlock) and the panel
// base finds the controls by their names.
#include <QWidget>
#include <memory>

namespace Ui {
class TuningBlock;
}

namespace dovrane {

class TuningBlock : public QWidget {
    Q_OBJECT
public:
    explicit TuningBlock(QWidget* parent = nullptr);
    ~TuningBlock() override;

    // The frame's caption, such as "Freq A : 10 k - 32 M".
    void setFrameTitle(const QString& title);

private:
    std::unique_ptr<Ui::TuningBlock> ui;
};

} // namespace dovrane
