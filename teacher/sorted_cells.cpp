// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/sorted_cells.h"

#include "report/hungarian_order.h"

namespace {

constexpr int kSortKeyRole = Qt::UserRole + 1;

class SortedCell final : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem &other) const override
    {
        const QVariant mine = data(kSortKeyRole), theirs = other.data(kSortKeyRole);
        if (mine.typeId() == QMetaType::LongLong && theirs.typeId() == QMetaType::LongLong)
            return mine.toLongLong() < theirs.toLongLong();
        return hungarianLess(mine.toString(), theirs.toString());
    }
};

QTableWidgetItem *readOnly(QTableWidgetItem *item)
{
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

QTableWidgetItem *textCell(const QString &text)
{
    auto *item = new SortedCell(text);
    item->setData(kSortKeyRole, text);
    return readOnly(item);
}

QTableWidgetItem *numberCell(qint64 value)
{
    auto *item = new SortedCell(QString::number(value));
    item->setData(kSortKeyRole, QVariant::fromValue<qlonglong>(value));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return readOnly(item);
}

QTableWidgetItem *keyedCell(const QString &text, const QString &key)
{
    auto *item = new SortedCell(text);
    item->setData(kSortKeyRole, key);
    return readOnly(item);
}
