// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of what a Qt window costs: a bare Widgets window of the program's client size
// (660 x 531) with a 21 x 4 grid, a few buttons and a line edit, in the program's style and font.
// It does nothing; the benchmark measures it beside the program.
#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    QApplication::setFont(font);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.setFixedSize(660, 531);

    auto *grid = new QTableWidget(21, 4, &window);
    grid->setGeometry(8, 184, 641, 345);
    for (int row = 0; row < 21; ++row)
        for (int column = 0; column < 4; ++column)
            grid->setItem(row, column, new QTableWidgetItem(QString::number(row * 4 + column)));

    const QStringList captions{QStringLiteral("Egy"), QStringLiteral("Kettő"), QStringLiteral("Három"),
                               QStringLiteral("Négy")};
    for (int i = 0; i < captions.size(); ++i)
        (new QPushButton(captions[i], &window))->setGeometry(512, 8 + 40 * i, 145, 33);

    auto *box = new QLineEdit(&window);
    box->setGeometry(88, 184 - 56, 521, 28);
    box->setFocus();

    window.show();
    return QApplication::exec();
}
