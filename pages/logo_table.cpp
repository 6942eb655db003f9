#include "pages/logo_table.h"

namespace stampa {

void SetUpLogoTable(QTreeWidget* list) {
    list->setHeaderLabels({QStringLiteral("编号"), QStringLiteral("名称"), QStringLiteral("大小")});
    list->setColumnWidth(0, 30);
    list->setColumnWidth(1, 110);
    list->setColumnWidth(2, 50);
    list->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
}

std::int64_t FillLogoTable(QTreeWidget* list, const std::vector<LogoEntry>& entries,
                           int firstNumber) {
    list->clear();
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto* item = new QTreeWidgetItem({QString::number(static_cast<int>(i) + firstNumber),
                                          QString::fromStdString(entries[i].name),
                                          QString::number(entries[i].size)});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        list->addTopLevelItem(item);
        sum += entries[i].size;
    }
    return sum;
}

}  // namespace stampa
