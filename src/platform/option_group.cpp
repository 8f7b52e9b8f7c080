#include "platform/option_group.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QWidget>
#include <memory>

namespace dovrane {

QButtonGroup* optionGroup(QWidget* window, const QString& base) {
    auto* group = new QButtonGroup(window);
    group->setExclusive(true);
    for (int i = 0;; ++i) {
        auto* b = window->findChild<QAbstractButton*>(base + QLatin1Char('_') + QString::number(i));
        if (!b) break;
        group->addButton(b, i);
    }
    return group;
}

void onOptionChosen(QButtonGroup* group, QObject* context, std::function<void(int)> chosen) {
    // A click on the selected option toggles nothing; the press tells it
    // apart from a click that selects another one, which the toggle reports.
    auto pressedSelected = std::make_shared<int>(-1);
    QObject::connect(group, &QButtonGroup::idPressed, context, [group, pressedSelected](int id) {
        const QAbstractButton* b = group->button(id);
        *pressedSelected = b && b->isChecked() ? id : -1;
    });
    QObject::connect(group, &QButtonGroup::idToggled, context, [chosen](int id, bool on) {
        if (on) chosen(id);
    });
    QObject::connect(group, &QButtonGroup::idClicked, context, [chosen, pressedSelected](int id) {
        const bool again = *pressedSelected == id;
        *pressedSelected = -1;
        if (again) chosen(id);
    });
}

} // namespace dovrane
