// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QPushButton;
class QTableWidget;
class QWidget;

// The pieces the teacher's window and its dialogs are built of, alike everywhere.
QPushButton *namedButton(const QString &text, const QString &objectName);

// A table the keyboard reads a row at a time: its cells not editable, Tab leaving it, its columns
// named by `header`, its last column filling the width.
QTableWidget *readOnlyTable(const QString &objectName, const QString &accessibleName, const QStringList &header);

// A label with its mnemonic above the control it leads to.
QWidget *labelledPane(const QString &label, QWidget *control);
