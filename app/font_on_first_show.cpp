// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/font_on_first_show.h"

#include <QEvent>
#include <QWidget>

namespace {

class FontOnFirstShow : public QObject {
public:
    FontOnFirstShow(QWidget *control, const QFont &font) : QObject(control), m_font(font) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            static_cast<QWidget *>(watched)->setFont(m_font);
            deleteLater();
        }
        return false;
    }

private:
    QFont m_font;
};

} // namespace

void setFontOnFirstShow(QWidget *control, const QFont &font)
{
    if (control->isVisible()) {
        control->setFont(font);
        return;
    }
    control->installEventFilter(new FontOnFirstShow(control, font));
}
