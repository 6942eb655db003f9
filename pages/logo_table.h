// The list of the download and print pages: "编号" (30 px), "名称" (110),
// "大小" (50, right-aligned), whole rows selected, several at once.
#pragma once

#include <QTreeWidget>
#include <vector>

#include "logos/logo_list.h"

namespace stampa {

void SetUpLogoTable(QTreeWidget* list);

// Fills the rows, numbered from `firstNumber`; the sum of the sizes shown.
std::int64_t FillLogoTable(QTreeWidget* list, const std::vector<LogoEntry>& entries,
                           int firstNumber);

}  // namespace stampa
