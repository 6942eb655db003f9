#include "pages/print_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "common/messages.h"
#include "link/link_state.h"
#include "logos/nv_list.h"
#include "logos/stored_list.h"
#include "pages/dialog_units.h"
#include "pages/logo_table.h"
#include "pages/page_controls.h"
#include "pages/template_look.h"
#include "transfer/nv_delete.h"
#include "transfer/print_job.h"
#include "workflows/memory_lists.h"
#include "workflows/printer_answers.h"

namespace stampa {
namespace {

void Radio(QWidget* parent, const DialogUnits& u, QButtonGroup* group, int value, int id,
           const char* text, int x, int y, int w) {
    auto* r = new QRadioButton(UiText(text), parent);
    Place(r, u, id, x, y, w, 10);
    group->addButton(r, value);
}

}  // namespace

CPrintPage::CPrintPage(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
    setFont(DialogFont(10));
    const DialogUnits u(font());
    setMinimumSize(u.ToPixels(320, 280));
    Static(this, u, 0, UiText(msg::kPrintListTitle), 5, 5, 107, 8);
    list_ = new QTreeWidget(this);
    Place(list_, u, 1034, 5, 20, 140, 215);
    SetUpLogoTable(list_);
    std::vector<QGroupBox*> boxes;
    auto box = [&](const char* title, int x, int y, int w, int h) {
        boxes.push_back(new QGroupBox(UiText(title), this));
        Place(boxes.back(), u, 0, x, y, w, h);
    };
    box(msg::kPrinterInfo, 164, 17, 151, 56);
    Static(this, u, 0, UiText(msg::kPrinterType), 200, 35, 27, 8);
    model_ = ReadOnlyField(this, u, 1027, 227, 32);
    Static(this, u, 0, UiText(msg::kPortNameShort), 184, 55, 43, 8);
    port_ = ReadOnlyField(this, u, 1028, 227, 52);
    box(msg::kRangeGroup, 164, 81, 151, 32);
    ranges_ = new QButtonGroup(this);
    Radio(this, u, ranges_, kPrintPart, 1029, msg::kRangePart, 189, 95, 31);
    Radio(this, u, ranges_, kPrintAll, 1032, msg::kRangeAll, 258, 95, 31);
    box(msg::kMemoryChoice, 164, 121, 151, 32);
    memories_ = new QButtonGroup(this);
    Radio(this, u, memories_, ButtonOf(kRamMemory), 1047, msg::kRam, 174, 135, 28);
    Radio(this, u, memories_, ButtonOf(kFlashMemory), 1048, msg::kFlash, 216, 135, 36);
    Radio(this, u, memories_, ButtonOf(kNvMemory), 1049, msg::kNv, 264, 135, 46);
    box(msg::kSizeGroup, 164, 161, 151, 74);
    sizes_ = new QButtonGroup(this);  // in tab order: 1053, 1055, 1054, 1056 give 0, 1, 2, 3
    Radio(this, u, sizes_, 0, 1053, msg::kScaleNormal, 189, 174, 46);
    Radio(this, u, sizes_, 1, 1055, msg::kScaleDoubleWidth, 189, 188, 38);
    Radio(this, u, sizes_, 2, 1054, msg::kScaleDoubleHeight, 189, 202, 38);
    Radio(this, u, sizes_, 3, 1056, msg::kScaleDoubleBoth, 189, 216, 53);
    print_ = new QPushButton(UiText(msg::kPrintButton), this);
    Place(print_, u, 1033, 122, 246, 60, 14);
    print_->setDefault(true);
    deleteNv_ = new QPushButton(UiText(msg::kDeleteNvButton), this);
    Place(deleteNv_, u, 1066, 5, 246, 60, 14);
    labelBox_ = new QCheckBox(UiText(msg::kPrintLabel), this);
    Place(labelBox_, u, 1064, 206, 248, 46, 10);
    Static(this, u, 0, UiText(msg::kLogoSize), 5, 267, 37, 8)->hide();
    size_ = Static(this, u, 1035, {}, 46, 267, 106, 8);
    size_->hide();
    Static(this, u, 0, UiText(msg::kLogoCount), 162, 267, 31, 8);
    count_ = Static(this, u, 1036, {}, 206, 267, 103, 8);
    for (QGroupBox* b : boxes)
        b->lower();
    PushMembers();

    connect(ranges_, &QButtonGroup::idClicked, this, [this](int range) { range_ = range; });
    connect(memories_, &QButtonGroup::idClicked, this, [this](int button) {
        AskForNvKeys(MemoryOfButton(button));
        ShowMemory(MemoryOfButton(button));
    });
    connect(sizes_, &QButtonGroup::idClicked, this, [this](int size) { scaling_ = size; });
    connect(labelBox_, &QCheckBox::toggled, this, [this](bool on) { label_ = on; });
    connect(list_, &QTreeWidget::itemClicked, this, [this] {
        range_ = kPrintPart;
        PushMembers();
    });
    connect(print_, &QPushButton::clicked, this, &CPrintPage::OnPrint);
    connect(deleteNv_, &QPushButton::clicked, this, &CPrintPage::OnDeleteNv);
    ApplyTemplateLook(this);
}

QString CPrintPage::CountText() const {
    return count_->text();
}
QString CPrintPage::SizeText() const {
    return size_->text();
}

void CPrintPage::PushMembers() {
    ranges_->button(range_)->setChecked(true);
    memories_->button(ButtonOf(memory_))->setChecked(true);
    sizes_->button(scaling_)->setChecked(true);
    labelBox_->setChecked(label_);
}

void CPrintPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    OnShow();
}

void CPrintPage::OnShow() {
    AskForNvKeys(memory_);
    ShowMemory(memory_);
    model_->setText(QString::fromStdString(session_.PrinterModel));
    port_->setText(QString::fromStdString(session_.PortName));
    PushMembers();
}

void CPrintPage::RefreshRamList() {
    ShowMemory(kRamMemory);
}

void CPrintPage::RefreshFlashList() {
    ShowMemory(kFlashMemory);
}

void CPrintPage::AskForNvKeys(stampa::Memory memory) {
    if (Describe(memory).addressedByKey) {
        RefreshPrinterNvKeys(session_);  // skipped on a link that cannot read
    }
}

void CPrintPage::ShowMemory(stampa::Memory memory) {
    memory_ = memory;
    const MemoryListing listing = PrintListing(session_, memory);
    FillLogoTable(list_, listing);
    size_->setText(QString::fromStdString(listing.sizeText));
    count_->setText(QString::fromStdString(listing.countText));
    deleteNv_->setEnabled(Describe(memory).addressedByKey);
    PushMembers();
}

std::vector<int> CPrintPage::SelectedRows() const {
    std::vector<int> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (list_->topLevelItem(i)->isSelected())
            rows.push_back(i);
    }
    return rows;
}

void CPrintPage::SetPrintEnabled(bool enabled) {
    print_->setEnabled(enabled);
}

void CPrintPage::OnPrint() {
    PrintLogos(session_, *this);
}

void CPrintPage::OnDeleteNv() {
    DeleteNvLogos(session_, range_ == kPrintAll, NvKeysOfRows(session_, SelectedRows()));
    ShowMemory(kNvMemory);
}

}  // namespace stampa
