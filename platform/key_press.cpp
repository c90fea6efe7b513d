// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/key_press.h"

#include <QEvent>
#include <QKeyEvent>

namespace platform {

namespace {

class KeyPressRelay final : public QObject {
public:
    KeyPressRelay(QObject *parent, std::function<void(int)> handler) : QObject(parent), m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int code = characterCode(*static_cast<QKeyEvent *>(event));
            if (code >= 0)
                m_handler(code);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static int characterCode(const QKeyEvent &event)
    {
        switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kEnterKey;
        case Qt::Key_Escape:
            return kEscapeKey;
        case Qt::Key_Backspace:
            return 8;
        default:
            return event.text().isEmpty() ? -1 : event.text().front().unicode();
        }
    }

    std::function<void(int)> m_handler;
};

} // namespace

void onKeyPress(QWidget *widget, std::function<void(int characterCode)> handler)
{
    widget->installEventFilter(new KeyPressRelay(widget, std::move(handler)));
}

} // namespace platform
