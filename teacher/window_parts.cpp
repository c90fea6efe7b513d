// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/window_parts.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

QPushButton *namedButton(const QString &text, const QString &objectName)
{
    auto *button = new QPushButton(text);
    button->setObjectName(objectName);
    return button;
}

QTableWidget *readOnlyTable(const QString &objectName, const QString &accessibleName, const QStringList &header)
{
    auto *table = new QTableWidget(0, int(header.size()));
    table->setObjectName(objectName);
    table->setAccessibleName(accessibleName);
    table->setHorizontalHeaderLabels(header);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false);
    return table;
}

QWidget *labelledPane(const QString &label, QWidget *control)
{
    auto *pane = new QWidget;
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(label);
    caption->setBuddy(control);
    layout->addWidget(caption);
    layout->addWidget(control);
    return pane;
}
