#include "panels/tuning_block.h"
#include "ui_tuning_block.h"

namespace dovrane {

TuningBlock::TuningBlock(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TuningBlock>()) {
    ui->setupUi(this);
}

TuningBlock::~TuningBlock() = default;

void TuningBlock::setFrameTitle(const QString& title) { ui->fraFreqA->setTitle(title); }

} // namespace dovrane
