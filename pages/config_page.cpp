#include "pages/config_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "app/dialog_units.h"
#include "app/program_state.h"
#include "common/operator.h"
#include "link/messages.h"
#include "link/port.h"
#include "link/spooler_link.h"
#include "link/usb_link.h"
#include "logos/stored_list.h"
#include "transfer/transfer_state.h"

namespace stampa {
namespace {

constexpr const char* kNoDriverFound = "找不到正确的打印机驱动!";
constexpr const char* kModelWithoutUsb = "RP-810";

QComboBox* Combo(QWidget* parent, const DialogUnits& u, int id, int x, int y, int w,
                 QStringList items, const QString& current) {
    auto* combo = new QComboBox(parent);
    Place(combo, u, id, x, y, w, 12);
    combo->addItems(items);
    combo->setCurrentText(current);
    return combo;
}

void Label(QWidget* parent, const DialogUnits& u, const QString& text, int x, int y, int w) {
    auto* label = new QLabel(text, parent);
    Place(label, u, 0, x, y + 2, w, 10);
}

std::string Text(const QComboBox* combo) {
    return combo->currentText().toStdString();
}

}  // namespace

CConfigPage::CConfigPage(QWidget* parent) : QWidget(parent) {
    BuildControls();
}

void CConfigPage::BuildControls() {
    setFont(DialogFont());
    const DialogUnits u(font());
    setMinimumSize(u.ToPixels(320, 280));
    Label(this, u, QStringLiteral("打印机类型："), 10, 10, 56);
    models_ = Combo(this, u, 1003, 68, 10, 100, {}, {});

    links_ = new QButtonGroup(this);
    const struct {
        QRadioButton** button;
        int id, kind, x, w;
        const char* text;
    } radios[] = {{&serialButton_, 1004, kSerialLink, 10, 40, "串口"},
                  {&parallelButton_, 1005, kParallelLink, 60, 40, "并口"},
                  {&driverButton_, 1012, kDriverLink, 110, 40, "驱动"},
                  {&usbButton_, 1014, kUsbLink, 160, 52, "USB接口"}};
    for (const auto& r : radios) {
        *r.button = new QRadioButton(QString::fromUtf8(r.text), this);
        Place(*r.button, u, r.id, r.x, 30, r.w, 10);
        links_->addButton(*r.button, r.kind);
    }

    auto* serialGroup = new QGroupBox(QStringLiteral("串口配置"), this);
    Place(serialGroup, u, 0, 10, 46, 300, 72);
    Label(this, u, QStringLiteral("串口名称："), 18, 60, 52);
    serialPort_ = Combo(this, u, 1006, 72, 60, 70,
                        {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"}, "COM1");
    Label(this, u, QStringLiteral("每秒位数："), 18, 78, 52);
    baud_ = Combo(this, u, 1007, 72, 78, 70,
                  {"1200", "2400", "4800", "9600", "19200", "38400", "57600"}, "9600");
    Label(this, u, QStringLiteral("数据位："), 18, 96, 52);
    dataBits_ = Combo(this, u, 1038, 72, 96, 70, {"8"}, "8");
    Label(this, u, QStringLiteral("停止位："), 160, 60, 60);
    stopBits_ = Combo(this, u, 1040, 224, 60, 76, {"1", "2"}, "1");
    Label(this, u, QStringLiteral("奇偶校验："), 160, 78, 60);
    parity_ = Combo(this, u, 1041, 224, 78, 76, {"Even", "Odd", "None"}, "None");
    Label(this, u, QStringLiteral("数据流控制："), 160, 96, 62);
    flow_ = Combo(this, u, 1042, 224, 96, 76, {"Xon/Xoff", "DTR/DSR"}, "DTR/DSR");

    auto* parallelGroup = new QGroupBox(QStringLiteral("并口选择："), this);
    Place(parallelGroup, u, 0, 10, 124, 145, 40);
    Label(this, u, QStringLiteral("并口名称："), 18, 140, 52);
    parallelPort_ = Combo(this, u, 1008, 72, 140, 70, {"LPT1", "LPT2", "LPT3", "LPT4"}, "LPT1");
    auto* baseLabel = new QLabel(QStringLiteral("Base &Address"), this);
    Place(baseLabel, u, 0, 18, 156, 52, 10);
    baseLabel->hide();
    baseAddress_ = Combo(this, u, 1009, 72, 156, 70, {"0x0278", "0x0378", "0x03BC"}, "0x0378");
    baseAddress_->hide();

    auto* usbGroup = new QGroupBox(QStringLiteral("USB口选择："), this);
    Place(usbGroup, u, 0, 165, 124, 145, 40);
    Label(this, u, QStringLiteral("USB接口名称："), 172, 140, 60);
    usbDevices_ = Combo(this, u, 1015, 234, 140, 68, {}, {});

    auto* driverGroup = new QGroupBox(QStringLiteral("驱动选择："), this);
    Place(driverGroup, u, 0, 10, 170, 300, 40);
    Label(this, u, QStringLiteral("驱动名称："), 18, 186, 52);
    drivers_ = Combo(this, u, 1013, 72, 186, 230, {}, {});

    ok_ = new QPushButton(QStringLiteral("确  定"), this);
    Place(ok_, u, 1, 250, 224, 60, 16);

    // Widgets placed later stack above the groups; keep the groups behind.
    for (QGroupBox* g : {serialGroup, parallelGroup, usbGroup, driverGroup})
        g->lower();

    connect(links_, &QButtonGroup::idClicked, this, &CConfigPage::OnLinkButton);
    connect(models_, &QComboBox::currentIndexChanged, this, &CConfigPage::OnModelChanged);
    connect(ok_, &QPushButton::clicked, this, &CConfigPage::OnOk);
}

void CConfigPage::Initialize() {
    configuration_ = ReadConfiguration(ConfigurationPath(std::filesystem::current_path().string()));
    serialButton_->setChecked(true);
    PortKind = kSerialLink;
    models_->blockSignals(true);
    models_->clear();
    for (const PrinterModelEntry& m : configuration_.models)
        models_->addItem(QString::fromStdString(m.name));
    models_->setCurrentIndex(configuration_.DefaultModelIndex());
    models_->blockSignals(false);
    PrinterModel = configuration_.DefaultModel();
    modelText_ = PrinterModel;
    PortName = Text(serialPort_);
    usbButton_->setEnabled(!UsbProbeDevices().empty());
    driverButton_->setEnabled(!QualifyingPrinters(configuration_.baseDriverName).empty());
    EnableGroups(kSerialLink);
}

void CConfigPage::EnableGroups(int kind) {
    for (QComboBox* c : {serialPort_, baud_, dataBits_, stopBits_, parity_, flow_})
        c->setEnabled(kind == kSerialLink);
    parallelPort_->setEnabled(kind == kParallelLink);
    baseAddress_->setEnabled(kind == kParallelLink);
    drivers_->setEnabled(kind == kDriverLink);
    usbDevices_->setEnabled(kind == kUsbLink);
}

void CConfigPage::OnLinkButton(int kind) {
    PortKind = kind;
    if (kind == kUsbLink) {
        usbButton_->setChecked(true);
    }
    EnableGroups(kind);
    if (kind == kDriverLink)
        FillDriverList();
    if (kind == kUsbLink)
        FillUsbList();
}

void CConfigPage::FillDriverList() {
    bool ok = false;
    const auto printers = QualifyingPrinters(configuration_.baseDriverName, &ok);
    drivers_->clear();
    for (const std::string& name : printers)
        drivers_->addItem(QString::fromStdString(name));
    if (!printers.empty()) {
        drivers_->setCurrentIndex(0);
        return;
    }
    if (ok) {
        ShowPlain(kNoDriverFound);
    }
    PortKind = kNoLink;
}

void CConfigPage::FillUsbList() {
    usbDevices_->clear();
    for (int device : UsbProbeDevices()) {
        usbDevices_->addItem(QStringLiteral("QZUSB-%1").arg(device), device);
    }
    if (usbDevices_->count() > 0) {
        usbDevices_->setCurrentIndex(0);
    } else {
        PortKind = kNoLink;
    }
}

void CConfigPage::OnModelChanged(int) {
    modelText_ = Text(models_);
    usbButton_->setEnabled(modelText_ != kModelWithoutUsb);
}

LinkSettings CConfigPage::SettingsFromControls() const {
    LinkSettings s;
    s.kind = static_cast<PortKindValue>(PortKind.load());
    s.serialPort = Text(serialPort_);
    s.baud = std::atoi(Text(baud_).c_str());
    s.dataBits = std::atoi(Text(dataBits_).c_str());
    s.stopBits = StopBitsCode(Text(stopBits_));
    s.parity = ParityCode(Text(parity_));
    s.flowMode = FlowModeCode(Text(flow_));
    s.parallelPort = Text(parallelPort_);
    s.printerName = Text(drivers_);
    s.usbDevice = usbDevices_->currentData().toInt();
    return s;
}

void CConfigPage::OnOk() {
    if (modelText_ == kModelWithoutUsb) {  // this model has no driver link either
        driverButton_->setEnabled(false);
        drivers_->setEnabled(false);
    }
    if (PortKind == kNoLink) {
        ShowExclamation(msg::kNoLinkChosen);
        return;
    }
    if (FlashDownloaded && !PrinterModel.empty()) {
        SaveLogoList(StoredLogoFileName(StartDirectory, PrinterModel));  // under the old model
    }
    ok_->setEnabled(false);
    if (PortHandle != kNoHandle) {
        PortClose(PortHandle);
        PortHandle = kNoHandle;
    }
    const LinkSettings settings = SettingsFromControls();
    const LinkOpenOutcome outcome = OpenAndTestLink(settings, PrintDocInfo);
    if (outcome.result == LinkOpenResult::DriverNotOpened) {
        ShowExclamation(msg::kDriverNotOpened);
        ok_->setEnabled(true);
        return;
    }
    if (outcome.result == LinkOpenResult::DocumentRefused) {
        ok_->setEnabled(true);
        return;
    }
    if (outcome.result != LinkOpenResult::Opened) {
        ShowExclamation(msg::kConnectionFailed);
        ok_->setEnabled(true);
        PortConfigured = false;
        return;
    }
    PortHandle = outcome.handle;
    PortConfigured = true;
    PrinterModel = modelText_;
    PortName = settings.kind == kUsbLink ? Text(usbDevices_) : LinkPortName(settings);
    ReloadStoredFlashLogos(StartDirectory, PrinterModel);
    RamDownloaded = false;
    FlashDownloaded = false;
    ok_->setEnabled(true);
}

}  // namespace stampa
