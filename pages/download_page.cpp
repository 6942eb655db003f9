#include "pages/download_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "common/messages.h"
#include "link/link_state.h"
#include "logos/stored_list.h"
#include "pages/dialog_units.h"
#include "pages/logo_table.h"
#include "pages/page_controls.h"
#include "pages/template_look.h"
#include "transfer/download_job.h"
#include "workflows/memory_lists.h"
#include "workflows/preview.h"
#include "workflows/printer_answers.h"

namespace stampa {
namespace {
constexpr int kProgressSteps = 1000;
}  // namespace

CDownloadPage::CDownloadPage(Session& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setFont(DialogFont(10));
    const DialogUnits u(font());
    setMinimumSize(u.ToPixels(320, 290));  // the template's 280, and the capacity line
    Static(this, u, 0, UiText(msg::kDownloadListTitle), 5, 5, 68, 8);
    list_ = new QTreeWidget(this);
    Place(list_, u, 1021, 5, 20, 140, 215);
    SetUpLogoTable(list_);
    auto* info = new QGroupBox(UiText(msg::kPrinterInfo), this);
    Place(info, u, 0, 164, 17, 151, 56);
    Static(this, u, 0, UiText(msg::kPrinterType), 196, 35, 31, 8);
    model_ = ReadOnlyField(this, u, 1024, 227, 32);
    Static(this, u, 0, UiText(msg::kPortNameLong), 166, 55, 60, 8);
    port_ = ReadOnlyField(this, u, 1025, 227, 52);
    auto* memory = new QGroupBox(UiText(msg::kMemoryChoice), this);
    Place(memory, u, 0, 164, 81, 151, 32);
    memories_ = new QButtonGroup(this);
    auto radio = [&](stampa::Memory memory, const char* text, int id, int x, int w) {
        auto* r = new QRadioButton(UiText(text), this);
        Place(r, u, id, x, 95, w, 10);
        memories_->addButton(r, ButtonOf(memory));
    };
    radio(kRamMemory, msg::kRam, 1044, 174, 28);
    radio(kFlashMemory, msg::kFlash, 1045, 216, 36);
    radio(kNvMemory, msg::kNv, 1046, 264, 46);
    memories_->button(ButtonOf(kFlashMemory))->setChecked(true);
    replaceAll_ = new QCheckBox(UiText(msg::kReplaceAllNv), this);
    Place(replaceAll_, u, 1068, 166, 118, 145, 10);
    replaceAll_->setEnabled(false);
    estimate_ = Static(this, u, 1067, {}, 164, 178, 151, 10);
    progress_ = new QProgressBar(this);
    Place(progress_, u, 1052, 164, 191, 151, 15);
    // The bar follows the bytes of the whole download, in tenths of a percent.
    progress_->setTextVisible(false);
    progress_->setFormat(QStringLiteral("%p%"));
    progress_->setRange(0, kProgressSteps);
    progress_->setValue(0);
    status_ = Static(this, u, 1065, UiText(msg::kDownloadProgress), 164, 210, 151, 21);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    download_ = new QPushButton(UiText(msg::kDownloadButton), this);
    Place(download_, u, 1026, 122, 246, 60, 14);
    download_->setDefault(true);
    Static(this, u, 0, UiText(msg::kLogoCount), 162, 267, 39, 8);
    count_ = Static(this, u, 1023, {}, 206, 267, 103, 8);
    // Under the count, the memory's figures: NV graphics free and total as the
    // printer told, FLASH and RAM the picked logos against the limit.
    Static(this, u, 0, UiText(msg::kMemoryFigures), 162, 278, 39, 8);
    size_ = Static(this, u, 1022, {}, 206, 278, 103, 8);
    info->lower();
    memory->lower();

    connect(memories_, &QButtonGroup::idClicked, this,
            [this](int button) { OnMemory(MemoryOfButton(button)); });
    connect(download_, &QPushButton::clicked, this, &CDownloadPage::OnDownload);
    connect(replaceAll_, &QCheckBox::toggled, this, [this](bool on) { replaceAllNv_ = on; });
    ApplyTemplateLook(this);
}

QString CDownloadPage::CountText() const {
    return count_->text();
}
QString CDownloadPage::SizeText() const {
    return size_->text();
}
QString CDownloadPage::EstimateText() const {
    return estimate_->text();
}
QString CDownloadPage::StatusText() const {
    return status_->text();
}

void CDownloadPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    OnShow();
}

void CDownloadPage::OnShow() {
    LoadStoredListIfNeeded(session_);  // for the other pages
    AskForNvCapacity();
    RefreshDownloadList();
}

void CDownloadPage::OnMemory(stampa::Memory memory) {
    memory_ = memory;
    AskForNvCapacity();
    RefreshDownloadList();
}

void CDownloadPage::AskForNvCapacity() {
    if (Describe(memory_).addressedByKey) {
        RefreshNvCapacity(session_);  // skipped on a link that cannot read
    }
}

void CDownloadPage::RefreshDownloadList() {
    const MemoryListing listing = DownloadListing(session_, memory_);
    FillLogoTable(list_, listing);
    model_->setText(QString::fromStdString(session_.PrinterModel));
    port_->setText(QString::fromStdString(session_.PortName));
    size_->setText(QString::fromStdString(listing.sizeText));
    count_->setText(QString::fromStdString(listing.countText));
    estimate_->setText(QString::fromStdString(listing.estimateText));
    // NV graphics only where the model's profile does not say the printer lacks them.
    const bool nvGraphics = session_.PrinterNvGraphics != false;
    QAbstractButton* nv = memories_->button(ButtonOf(kNvMemory));
    nv->setEnabled(nvGraphics);
    nv->setToolTip(nvGraphics ? QString() : UiText(msg::kNoNvGraphicsOnModel));
    if (!nvGraphics && Describe(memory_).addressedByKey)
        memory_ = kFlashMemory;
    memories_->button(ButtonOf(memory_))->setChecked(true);
    replaceAll_->setEnabled(Describe(memory_).addressedByKey);
}

void CDownloadPage::OnDownload() {
    StartDownload(session_, *this);
}

void CDownloadPage::SetDownloadEnabled(bool enabled) {
    QMetaObject::invokeMethod(this, [this, enabled] {
        download_->setEnabled(enabled);
        emit downloadRunning(!enabled);
    });
}

void CDownloadPage::SetStatusText(const std::string& text) {
    QMetaObject::invokeMethod(
        this, [this, text] { status_->setText(QString::fromStdString(Localize(text))); });
}

// The job's steps per logo say which logo goes; the bar follows the bytes
// (SetBytesSent) and only returns to empty with the job's position 0.
void CDownloadPage::SetProgressRange(int, int) {}

void CDownloadPage::SetProgressPosition(int position) {
    if (position != 0) {
        return;
    }
    QMetaObject::invokeMethod(this, [this] {
        progress_->setValue(0);
        progress_->setTextVisible(false);
    });
}

void CDownloadPage::SetBytesSent(long long sent, long long total) {
    const int steps = total > 0 ? static_cast<int>(sent * kProgressSteps / total) : kProgressSteps;
    QMetaObject::invokeMethod(this, [this, steps] {
        progress_->setTextVisible(true);
        progress_->setValue(steps);
    });
}

}  // namespace stampa
