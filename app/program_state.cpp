#include "app/program_state.h"

namespace stampa {

std::string StartDirectory;
DocInfo PrintDocInfo = DefaultPrintDocInfo();
std::string PrinterModel;
std::string PortName;
std::atomic<bool> PortConfigured{false};
std::atomic<bool> LogosPicked{false};
std::atomic<std::int32_t> SelectedCount{0};
std::atomic<std::int32_t> SelectedBytes{0};
std::atomic<std::int32_t> CurrentLogo{-1};

DocInfo DefaultPrintDocInfo() {
    return DocInfo{"My Document", "", "RAW"};
}

void ResetAppState() {
    StartDirectory.clear();
    PrintDocInfo = DefaultPrintDocInfo();
    PrinterModel.clear();
    PortName.clear();
    PortConfigured = false;
    LogosPicked = false;
    SelectedCount = 0;
    SelectedBytes = 0;
    CurrentLogo = -1;
}

}  // namespace stampa
