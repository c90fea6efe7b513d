// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/arrow_keys_click.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>

namespace {

class ArrowKeysClick final : public QObject {
public:
    explicit ArrowKeysClick(QButtonGroup *group) : QObject(group), m_group(group) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        int step = 0;
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            step = 1;
            break;
        default:
            return false;
        }
        const QList<QAbstractButton *> buttons = m_group->buttons();
        auto *from = static_cast<QAbstractButton *>(watched);
        const qsizetype to = buttons.indexOf(from) + step;
        if (to < 0 || to >= buttons.size())
            return true;
        QAbstractButton *reached = buttons.at(to);
        reached->click();
        if (from->hasFocus())
            reached->setFocus(Qt::TabFocusReason);
        return true;
    }

private:
    QButtonGroup *m_group;
};

} // namespace

void arrowKeysClickOptions(QButtonGroup *group)
{
    auto *filter = new ArrowKeysClick(group);
    for (QAbstractButton *button : group->buttons())
        button->installEventFilter(filter);
}
