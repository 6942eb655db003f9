#include "pages/config_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "common/messages.h"
#include "common/text_format.h"
#include "link/link_state.h"
#include "link/network/network_link.h"
#include "link/spooler/spooler_link.h"
#include "link/usb/usb_link.h"
#include "pages/dialog_units.h"
#include "pages/page_controls.h"
#include "pages/remembered_choice.h"
#include "pages/template_look.h"
#include "workflows/config_file.h"
#include "workflows/connect.h"
#include "workflows/printer_answers.h"
#include "workflows/printer_profiles.h"

namespace stampa {
namespace {

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

CConfigPage::CConfigPage(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
    BuildControls();
}

void CConfigPage::BuildControls() {
    setFont(DialogFont());
    const DialogUnits u(font());
    setMinimumSize(u.ToPixels(320, 280));
    Label(this, u, UiText(msg::kPrinterModel), 10, 10, 56);
    models_ = Combo(this, u, 1003, 68, 10, 100, {}, {});
    paperWidth_ = Static(this, u, 0, {}, 174, 12, 100, 10);

    links_ = new QButtonGroup(this);
    const struct {
        QRadioButton** button;
        int id;
        LinkKind kind;
        int x, w;
        const char* text;
    } radios[] = {{&serialButton_, 1004, kSerialLink, 10, 40, msg::kSerialLinkButton},
                  {&parallelButton_, 1005, kParallelLink, 60, 40, msg::kParallelLinkButton},
                  {&driverButton_, 1012, kDriverLink, 110, 40, msg::kDriverLinkButton},
                  {&usbButton_, 1014, kUsbLink, 160, 52, msg::kUsbLinkButton},
                  {&networkButton_, 1090, kNetworkLink, 220, 60, msg::kNetworkLinkButton}};
    for (const auto& r : radios) {
        *r.button = new QRadioButton(UiText(r.text), this);
        Place(*r.button, u, r.id, r.x, 30, r.w, 10);
        links_->addButton(*r.button, ButtonOf(r.kind));
    }

    auto* serialGroup = new QGroupBox(UiText(msg::kSerialGroup), this);
    Place(serialGroup, u, 0, 10, 46, 300, 72);
    Label(this, u, UiText(msg::kSerialPortName), 18, 60, 52);
    serialPort_ = Combo(this, u, 1006, 72, 60, 70,
                        {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"}, "COM1");
    Label(this, u, UiText(msg::kBaudRate), 18, 78, 52);
    baud_ = Combo(this, u, 1007, 72, 78, 70,
                  {"1200", "2400", "4800", "9600", "19200", "38400", "57600"}, "9600");
    Label(this, u, UiText(msg::kDataBits), 18, 96, 52);
    dataBits_ = Combo(this, u, 1038, 72, 96, 70, {"8"}, "8");
    Label(this, u, UiText(msg::kStopBits), 160, 60, 60);
    stopBits_ = Combo(this, u, 1040, 224, 60, 76, {"1", "2"}, "1");
    Label(this, u, UiText(msg::kParity), 160, 78, 60);
    parity_ = Combo(this, u, 1041, 224, 78, 76, {"Even", "Odd", "None"}, "None");
    Label(this, u, UiText(msg::kFlowControl), 160, 96, 62);
    flow_ = Combo(this, u, 1042, 224, 96, 76, {"Xon/Xoff", "DTR/DSR"}, "DTR/DSR");

    auto* parallelGroup = new QGroupBox(UiText(msg::kParallelGroup), this);
    Place(parallelGroup, u, 0, 10, 124, 145, 40);
    Label(this, u, UiText(msg::kParallelPortName), 18, 140, 52);
    parallelPort_ = Combo(this, u, 1008, 72, 140, 70, {"LPT1", "LPT2", "LPT3", "LPT4"}, "LPT1");
    auto* baseLabel = new QLabel(UiText(msg::kBaseAddress), this);
    Place(baseLabel, u, 0, 18, 156, 52, 10);
    baseLabel->hide();
    baseAddress_ = Combo(this, u, 1009, 72, 156, 70, {"0x0278", "0x0378", "0x03BC"}, "0x0378");
    baseAddress_->hide();

    auto* usbGroup = new QGroupBox(UiText(msg::kUsbGroup), this);
    Place(usbGroup, u, 0, 165, 124, 145, 40);
    Label(this, u, UiText(msg::kUsbDeviceName), 172, 140, 60);
    usbDevices_ = Combo(this, u, 1015, 234, 140, 68, {}, {});

    auto* driverGroup = new QGroupBox(UiText(msg::kDriverGroup), this);
    Place(driverGroup, u, 0, 10, 170, 300, 40);
    Label(this, u, UiText(msg::kDriverName), 18, 186, 52);
    drivers_ = Combo(this, u, 1013, 72, 186, 230, {}, {});

    auto* networkGroup = new QGroupBox(UiText(msg::kNetworkGroup), this);
    Place(networkGroup, u, 0, 10, 214, 230, 40);
    Label(this, u, UiText(msg::kNetworkHost), 18, 230, 40);
    networkHost_ = new QLineEdit(this);
    Place(networkHost_, u, 1091, 60, 230, 100, 12);
    // An address has no blanks: a name or a number, nothing else can be typed.
    networkHost_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\\s]+")), networkHost_));
    Label(this, u, UiText(msg::kNetworkPort), 168, 230, 24);
    networkPort_ = new QLineEdit(QString::number(kDefaultNetworkPort), this);
    Place(networkPort_, u, 1092, 194, 230, 38, 12);
    networkPort_->setValidator(new QIntValidator(1, 65535, networkPort_));

    ok_ = new QPushButton(UiText(msg::kOkButton), this);
    Place(ok_, u, 1, 250, 224, 60, 16);
    queryStatus_ = new QPushButton(UiText(msg::kQueryStatusButton), this);
    Place(queryStatus_, u, 1093, 250, 244, 60, 14);
    statusLine_ = new QLabel(this);
    Place(statusLine_, u, 1094, 10, 262, 300, 10);
    statusLine_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    UpdateQueryButton();

    // Widgets placed later stack above the groups; keep the groups behind.
    for (QGroupBox* g : {serialGroup, parallelGroup, usbGroup, driverGroup, networkGroup})
        g->lower();

    connect(links_, &QButtonGroup::idClicked, this,
            [this](int button) { OnLinkButton(LinkKindOfButton(button)); });
    connect(models_, &QComboBox::currentIndexChanged, this, &CConfigPage::OnModelChanged);
    connect(ok_, &QPushButton::clicked, this, &CConfigPage::OnOk);
    for (QLineEdit* field : {networkHost_, networkPort_})
        connect(field, &QLineEdit::textChanged, this, &CConfigPage::UpdateOkButton);
    connect(queryStatus_, &QPushButton::clicked, this, &CConfigPage::OnQueryStatus);
    ApplyTemplateLook(this);
}

void CConfigPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    UpdateQueryButton();
}

void CConfigPage::UpdateQueryButton() {
    queryStatus_->setEnabled(CanAskPrinter(session_));
}

void CConfigPage::OnQueryStatus() {
    statusLine_->setText(QString::fromStdString(PrinterStatusLine(session_)));
}

QString CConfigPage::StatusLine() const {
    return statusLine_->text();
}

void CConfigPage::Initialize() {
    configuration_ = BeginConfiguration(session_, Text(serialPort_));
    serialButton_->setChecked(true);
    chosenLink_ = kSerialLink;
    models_->blockSignals(true);
    models_->clear();
    for (const PrinterModelEntry& m : configuration_.models)
        models_->addItem(QString::fromStdString(m.name));
    models_->setCurrentIndex(configuration_.DefaultModelIndex());
    models_->blockSignals(false);
    modelText_ = configuration_.DefaultModel();
    ShowPaperWidth();
    networkHost_->setText(QString::fromStdString(configuration_.networkHost));
    networkPort_->setText(QString::number(configuration_.networkPort));
    usbButton_->setEnabled(!UsbProbeDevices().empty());
    bool spoolerAnswered = false;
    const bool queues =
        !QualifyingPrinters(configuration_.baseDriverName, &spoolerAnswered).empty();
    driverButton_->setEnabled(queues);
    driverButton_->setToolTip(queues            ? QString()
                              : spoolerAnswered ? UiText(msg::kNoPrintQueueFound)
                                                : UiText(msg::kNoSpoolerRunning));
    EnableGroups(kSerialLink);
    RestoreRememberedChoice();
}

// The last OK's choice, where it still applies: a model still listed, a link
// button still enabled, a device still present.
void CConfigPage::RestoreRememberedChoice() {
    const std::optional<RememberedChoice> c = LoadRememberedChoice();
    if (!c) {
        return;
    }
    if (const int model = models_->findText(c->model); model >= 0)
        models_->setCurrentIndex(model);  // OnModelChanged follows the model
    const auto pick = [](QComboBox* combo, const QString& text) {
        if (const int i = combo->findText(text); i >= 0)
            combo->setCurrentIndex(i);
    };
    pick(serialPort_, c->serialPort);
    pick(baud_, c->baud);
    pick(dataBits_, c->dataBits);
    pick(stopBits_, c->stopBits);
    pick(parity_, c->parity);
    pick(flow_, c->flow);
    pick(parallelPort_, c->parallelPort);
    networkHost_->setText(c->networkHost);
    networkPort_->setText(c->networkPort);
    QAbstractButton* button = links_->button(c->linkButton);
    if (button == nullptr || !button->isEnabled()) {
        return;
    }
    button->setChecked(true);
    OnLinkButton(LinkKindOfButton(c->linkButton));
    pick(drivers_, c->printerName);
    if (const int i = usbDevices_->findData(c->usbDevice); i >= 0)
        usbDevices_->setCurrentIndex(i);
}

void CConfigPage::RememberChoice() const {
    RememberedChoice c;
    c.model = QString::fromStdString(modelText_);
    c.linkButton = links_->checkedId();
    c.serialPort = serialPort_->currentText();
    c.baud = baud_->currentText();
    c.dataBits = dataBits_->currentText();
    c.stopBits = stopBits_->currentText();
    c.parity = parity_->currentText();
    c.flow = flow_->currentText();
    c.parallelPort = parallelPort_->currentText();
    c.printerName = drivers_->currentText();
    c.usbDevice = usbDevices_->currentData().isValid() ? usbDevices_->currentData().toInt() : -1;
    c.networkHost = networkHost_->text();
    c.networkPort = networkPort_->text();
    SaveRememberedChoice(c);
}

void CConfigPage::EnableGroups(LinkKind kind) {
    for (QComboBox* c : {serialPort_, baud_, dataBits_, stopBits_, parity_, flow_})
        c->setEnabled(kind == kSerialLink);
    parallelPort_->setEnabled(kind == kParallelLink);
    baseAddress_->setEnabled(kind == kParallelLink);
    drivers_->setEnabled(kind == kDriverLink);
    usbDevices_->setEnabled(kind == kUsbLink);
    networkHost_->setEnabled(kind == kNetworkLink);
    networkPort_->setEnabled(kind == kNetworkLink);
    UpdateOkButton();
}

// On the network link OK waits for an address and a port of 1 to 65535.
void CConfigPage::UpdateOkButton() {
    const bool network = chosenLink_ == kNetworkLink;
    const bool complete = networkHost_->hasAcceptableInput() && networkPort_->hasAcceptableInput();
    ok_->setEnabled(!network || complete);
    ok_->setToolTip(!network || complete ? QString() : UiText(msg::kNetworkAddressIncomplete));
}

void CConfigPage::OnLinkButton(LinkKind kind) {
    chosenLink_ = kind;
    statusLine_->clear();  // the answer was the open link's, not the one chosen now
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
    drivers_->clear();
    const auto printers = ChooseDriverLink(session_, configuration_.baseDriverName);
    for (const std::string& name : printers)
        drivers_->addItem(QString::fromStdString(name));
    if (printers.empty())
        chosenLink_ = kNoLink;
    drivers_->setCurrentIndex(drivers_->count() > 0 ? 0 : -1);
}

void CConfigPage::FillUsbList() {
    usbDevices_->clear();
    const auto devices = ChooseUsbLink();
    for (int device : devices)
        usbDevices_->addItem(QString::fromStdString(UsbDeviceName(device)), device);
    if (devices.empty())
        chosenLink_ = kNoLink;
    usbDevices_->setCurrentIndex(usbDevices_->count() > 0 ? 0 : -1);
}

void CConfigPage::ShowPaperWidth() {
    const ModelPaper paper = PaperOfModel(ProgramProfiles(), configuration_, modelText_);
    paperWidth_->setText(
        paper.dots ? QString::fromStdString(FormatText(msg::kPaperWidthFormat, *paper.dots))
                   : UiText(msg::kPaperWidthUnknown));
}

QString CConfigPage::PaperWidthText() const {
    return paperWidth_->text();
}

void CConfigPage::OnModelChanged(int) {
    modelText_ = Text(models_);
    ShowPaperWidth();
    const bool offered = ModelHasUsbAndDriverLinks(modelText_);
    usbButton_->setEnabled(offered);
    usbButton_->setToolTip(offered ? QString() : UiText(msg::kModelWithoutUsbOrDriver));
    // A link the model does not offer is neither checked nor chosen.
    if (!offered && (chosenLink_ == kUsbLink || chosenLink_ == kDriverLink)) {
        serialButton_->setChecked(true);
        OnLinkButton(kSerialLink);
    }
}

LinkSettings CConfigPage::SettingsFromControls() const {
    LinkSettings s;
    s.kind = chosenLink_;
    s.serialPort = Text(serialPort_);
    s.baud = std::atoi(Text(baud_).c_str());
    s.dataBits = std::atoi(Text(dataBits_).c_str());
    s.stopBits = StopBitsCode(Text(stopBits_));
    s.parity = ParityCode(Text(parity_));
    s.flowMode = FlowModeCode(Text(flow_));
    s.parallelPort = Text(parallelPort_);
    s.printerName = Text(drivers_);
    s.usbDevice = usbDevices_->currentData().toInt();
    s.networkHost = networkHost_->text().trimmed().toStdString();
    s.networkPort = networkPort_->text().toInt();
    return s;
}

void CConfigPage::OnOk() {
    if (!ModelHasUsbAndDriverLinks(modelText_)) {
        driverButton_->setEnabled(false);
        driverButton_->setToolTip(UiText(msg::kModelWithoutUsbOrDriver));
        drivers_->setEnabled(false);
    }
    ok_->setEnabled(false);
    RememberChoice();
    Connect(session_, modelText_, SettingsFromControls());
    UpdateOkButton();
    statusLine_->clear();  // of the printer before, perhaps
    UpdateQueryButton();
}

}  // namespace stampa
