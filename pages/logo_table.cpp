#include "pages/logo_table.h"

#include <QHeaderView>

#include "common/messages.h"
#include "pages/dialog_units.h"

namespace stampa {

void SetUpLogoTable(QTreeWidget* list) {
    list->setHeaderLabels(
        {UiText(msg::kColumnNumber), UiText(msg::kColumnName), UiText(msg::kColumnSize)});
    list->setColumnWidth(0, 30);
    list->setColumnWidth(1, 110);
    list->setColumnWidth(2, 50);
    // The header and the grid span the whole list: "名称" takes what the
    // number and "大小" (its 50 pixels) leave.
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
}

void FillLogoTable(QTreeWidget* list, const MemoryListing& listing) {
    list->clear();
    const std::vector<LogoEntry>& entries = listing.entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto* item = new QTreeWidgetItem({QString::fromStdString(listing.numbers[i]),
                                          QString::fromStdString(entries[i].name),
                                          QString::number(entries[i].size)});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        list->addTopLevelItem(item);
    }
}

}  // namespace stampa
