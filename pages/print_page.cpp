#include "pages/print_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "app/dialog_units.h"
#include "app/program_state.h"
#include "logos/logo_lists.h"
#include "pages/logo_table.h"
#include "pages/page_controls.h"
#include "pages/select_page.h"
#include "transfer/print_job.h"
#include "transfer/transfer_state.h"

namespace stampa {
namespace {

void Radio(QWidget* parent, const DialogUnits& u, QButtonGroup* group, int value, int id,
           const char* text, int x, int y, int w) {
    auto* r = new QRadioButton(QString::fromUtf8(text), parent);
    Place(r, u, id, x, y, w, 10);
    group->addButton(r, value);
}

}  // namespace

CPrintPage::CPrintPage(QWidget* parent) : QWidget(parent) {
    setFont(DialogFont(10));
    const DialogUnits u(font());
    setMinimumSize(u.ToPixels(320, 280));
    Static(this, u, 0, QStringLiteral("RAM或FLASH中的位图列表"), 5, 5, 107, 8);
    list_ = new QTreeWidget(this);
    Place(list_, u, 1034, 5, 20, 140, 215);
    SetUpLogoTable(list_);
    std::vector<QGroupBox*> boxes;
    auto box = [&](const char* title, int x, int y, int w, int h) {
        boxes.push_back(new QGroupBox(QString::fromUtf8(title), this));
        Place(boxes.back(), u, 0, x, y, w, h);
    };
    box("打印机信息", 164, 17, 151, 56);
    Static(this, u, 0, QStringLiteral("类型："), 200, 35, 27, 8);
    model_ = ReadOnlyField(this, u, 1027, 227, 32);
    Static(this, u, 0, QStringLiteral("端口名称："), 184, 55, 43, 8);
    port_ = ReadOnlyField(this, u, 1028, 227, 52);
    box("打印位图数目选择", 164, 81, 151, 32);
    ranges_ = new QButtonGroup(this);
    Radio(this, u, ranges_, kPrintPart, 1029, "部分", 189, 95, 31);
    Radio(this, u, ranges_, kPrintAll, 1032, "全部", 258, 95, 31);
    box("存储器选择", 164, 121, 151, 32);
    memories_ = new QButtonGroup(this);
    Radio(this, u, memories_, kRamMemory, 1047, "RAM", 189, 135, 28);
    Radio(this, u, memories_, kFlashMemory, 1048, "Flash", 258, 135, 36);
    box("大小缩放", 164, 161, 151, 74);
    sizes_ = new QButtonGroup(this);  // in tab order: 1053, 1055, 1054, 1056 give 0, 1, 2, 3
    Radio(this, u, sizes_, 0, 1053, "原始大小", 189, 174, 46);
    Radio(this, u, sizes_, 1, 1055, "双倍宽", 189, 188, 38);
    Radio(this, u, sizes_, 2, 1054, "双倍高", 189, 202, 38);
    Radio(this, u, sizes_, 3, 1056, "双倍宽、高", 189, 216, 53);
    print_ = new QPushButton(QStringLiteral("打   印"), this);
    Place(print_, u, 1033, 122, 246, 60, 14);
    print_->setDefault(true);
    labelBox_ = new QCheckBox(QStringLiteral("打印提示"), this);
    Place(labelBox_, u, 1064, 206, 248, 46, 10);
    Static(this, u, 0, QStringLiteral("Logo Size"), 5, 267, 37, 8)->hide();
    size_ = Static(this, u, 1035, {}, 46, 267, 106, 8);
    size_->hide();
    Static(this, u, 0, QStringLiteral("位图数："), 162, 267, 31, 8);
    count_ = Static(this, u, 1036, {}, 206, 267, 103, 8);
    for (QGroupBox* b : boxes)
        b->lower();
    PushMembers();

    connect(ranges_, &QButtonGroup::idClicked, this, [this](int range) { range_ = range; });
    connect(memories_, &QButtonGroup::idClicked, this,
            [this](int memory) { memory == kRamMemory ? RefreshRamList() : RefreshFlashList(); });
    connect(sizes_, &QButtonGroup::idClicked, this, [this](int size) { scaling_ = size; });
    connect(labelBox_, &QCheckBox::toggled, this, [this](bool on) { label_ = on; });
    connect(list_, &QTreeWidget::itemClicked, this, [this] {
        range_ = kPrintPart;
        PushMembers();
    });
    connect(print_, &QPushButton::clicked, this, &CPrintPage::OnPrint);
}

QString CPrintPage::CountText() const {
    return count_->text();
}
QString CPrintPage::SizeText() const {
    return size_->text();
}

void CPrintPage::PushMembers() {
    ranges_->button(range_)->setChecked(true);
    memories_->button(memory_)->setChecked(true);
    sizes_->button(scaling_)->setChecked(true);
    labelBox_->setChecked(label_);
}

void CPrintPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    OnShow();
}

void CPrintPage::OnShow() {
    memory_ == kFlashMemory ? RefreshFlashList() : RefreshRamList();
    model_->setText(QString::fromStdString(PrinterModel));
    port_->setText(QString::fromStdString(PortName));
    PushMembers();
}

void CPrintPage::RefreshRamList() {
    memory_ = kRamMemory;
    const auto entries = RamDownloaded ? RamLogos.Entries() : std::vector<LogoEntry>{};
    const std::int64_t sum = FillLogoTable(list_, entries, 0);
    size_->setText(QStringLiteral("%1 / 12 K Bytes").arg(KiloBytes(sum)));
    count_->setText(QStringLiteral("%1 / 8").arg(entries.size()));
    PushMembers();
}

void CPrintPage::RefreshFlashList() {
    memory_ = kFlashMemory;
    const auto entries = (FlashDownloaded ? FlashLogos : StoredFlashLogos).Entries();
    const std::int64_t sum = FillLogoTable(list_, entries, 1);
    size_->setText(QStringLiteral("%1 / 128 K Bytes").arg(KiloBytes(sum)));
    count_->setText(QStringLiteral("%1 / 255").arg(entries.size()));
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
    PrintLogos(*this);
}

}  // namespace stampa
