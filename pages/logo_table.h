// The list of the download and print pages: "编号" (30 px), "名称" (110),
// "大小" (50, right-aligned), whole rows selected, several at once.
#pragma once

#include <QTreeWidget>

#include "workflows/memory_lists.h"

namespace stampa {

void SetUpLogoTable(QTreeWidget* list);

// Fills the rows of a memory's listing, numbered as it says.
void FillLogoTable(QTreeWidget* list, const MemoryListing& listing);

}  // namespace stampa
