// Asking the printer for the pages and stampa-cli: only on an open link that
// can read, and never while a download sends (the question would land inside
// its bytes). Each question waits at most 2000 ms for its answer.
#pragma once

#include <string>
#include <vector>

#include "transfer/printer_queries.h"
#include "transfer/session.h"

namespace stampa {

// A link is open, it can read, and no download is sending.
bool CanAskPrinter(const Session& session);

// The configuration page's status line, naming the open link that answered:
// "打印机状态 (COM1): 正常", or the causes ("缺纸", "纸将尽", "上盖打开",
// "脱机") joined with "、"; "打印机没有应答" when the printer says nothing it
// can be understood by. Empty when it cannot ask. StatusLineOf: the same
// without the link ("打印机状态：正常").
std::string PrinterStatusLine(const Session& session);
std::string StatusLineOf(const PrinterStatus& status);

// Asks for the NV capacity and what is free of it, and records both
// (NvCapacityTotal, NvCapacityFree) when the printer answered both.
QueryResult RefreshNvCapacity(Session& session);

// Asks which NV graphics the printer holds and records the keys for the NV
// listing (transfer/nv_rows.h); without an answer they are forgotten, and the
// NV list file stands for them again.
QueryResult RefreshPrinterNvKeys(Session& session);

}  // namespace stampa
