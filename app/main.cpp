#include "app/main_window.h"
#include "app/program_font.h"
#include "app/translations.h"
#include "app/window_texts.h"
#include "platform/clock.h"
#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // Fusion draws a button's face colour, which EXIT relies on.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(programFont());
    installQtHungarianTranslations(application);

    platform::QtDialogs dialogs(kProgramTitle);
    platform::SystemClock clock;
    // Seeded once: every draw of the program's life comes from this one stream.
    platform::ClockSeededRandom random(clock);
    Form1 window(QDir::currentPath(), dialogs, random, clock);
    dialogs.setParentWindow(&window);
    if (!window.Form_Load())
        return 1;
    window.show();
    return QApplication::exec();
}
