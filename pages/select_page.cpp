#include "pages/select_page.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>

#include "app/dialog_units.h"
#include "app/file_dialog.h"
#include "app/program_state.h"
#include "common/operator.h"
#include "link/messages.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_lists.h"

namespace stampa {
namespace {

QTreeWidgetItem* Row(int number, const LogoEntry& e) {
    auto* item = new QTreeWidgetItem({QString::number(number), QString::fromStdString(e.name),
                                      QString::fromStdString(e.path), QString::number(e.size)});
    item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

int KiloBytes(std::int64_t bytes) {
    return static_cast<int>((bytes + 500) / 1000);
}

CSelectPage::CSelectPage(QWidget* parent) : QWidget(parent) {
    setFont(DialogFont());
    const DialogUnits u(font());
    setMinimumSize(u.ToPixels(320, 280));
    auto* title = new QLabel(QStringLiteral("选择位图列表"), this);
    Place(title, u, 0, 7, 6, 100, 10);
    list_ = new QTreeWidget(this);
    Place(list_, u, 1016, 7, 18, 306, 222);
    list_->setHeaderLabels({QStringLiteral("编号"), QStringLiteral("名称"), QStringLiteral("路径"),
                            QStringLiteral("大小")});
    for (int c = 0; c < 4; ++c)
        list_->setColumnWidth(c, std::array{50, 100, 250, 50}[c]);
    list_->headerItem()->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);

    open_ = new QPushButton(QStringLiteral("打开文件..."), this);
    Place(open_, u, 1010, 170, 250, 64, 16);
    delete_ = new QPushButton(QStringLiteral("删   除"), this);
    Place(delete_, u, 1011, 246, 250, 64, 16);
    auto* sizeLabel = new QLabel(QStringLiteral("Logo Size"), this);
    Place(sizeLabel, u, 0, 7, 262, 40, 10);
    sizeLabel->hide();
    size_ = new QLabel(QStringLiteral("0 K Bytes"), this);
    Place(size_, u, 1018, 50, 262, 100, 10);
    size_->hide();
    auto* countLabel = new QLabel(QStringLiteral("位图数："), this);
    Place(countLabel, u, 0, 7, 252, 40, 10);
    count_ = new QLabel(QStringLiteral("0"), this);
    Place(count_, u, 1019, 48, 252, 60, 10);

    connect(open_, &QPushButton::clicked, this, &CSelectPage::OnOpen);
    connect(delete_, &QPushButton::clicked, this, &CSelectPage::OnDelete);
}

QString CSelectPage::CountText() const {
    return count_->text();
}
QString CSelectPage::SizeText() const {
    return size_->text();
}

void CSelectPage::SetChangesAllowed(bool allowed) {
    changesAllowed_ = allowed;
    open_->setEnabled(allowed && SelectedCount < kMaxPickedLogos);
    delete_->setEnabled(allowed);
}

void CSelectPage::AddFile(const std::string& path) {
    if (!IsMonoBitmap(path) && !IsTrueColorBitmap(path)) {
        ShowInformation(msg::kNotABitmapForUs);
        return;
    }
    const int position = SelectedCount;
    const std::string name = std::filesystem::path(path).filename().string();
    SelectedLogos.Append(position, name, path, path, 0, 0, 0, 0);
    ReadBitmapGeometry(position);
    SelectedBytes = SelectedBytes + static_cast<std::int32_t>(SelectedLogos.GetSize(position));
    SelectedCount = SelectedCount + 1;
}

void CSelectPage::OnOpen() {
    std::vector<std::string> files;
    if (changesAllowed_ && CurrentFileDialog().PickBitmaps(this, files)) {
        for (const std::string& file : files) {
            if (SelectedCount >= kMaxPickedLogos)
                break;  // the rest are dropped silently
            AddFile(std::filesystem::absolute(file).string());
        }
        LogosPicked = true;
        CurrentLogo = SelectedCount >= 1 ? 0 : -1;
    }
    if (SelectedCount >= kMaxPickedLogos)
        open_->setEnabled(false);
    Rebuild();
}

void CSelectPage::OnDelete() {
    if (!changesAllowed_)
        return;
    std::vector<int> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (list_->topLevelItem(i)->isSelected())
            rows.push_back(i);
    }
    if (rows.empty()) {
        ShowInformation("请先在列表中选择需删除的位图!");
        return;
    }
    if (!AskOkCancel(rows.size() == 1 ? "删除吗?" : "删除全部吗?"))
        return;
    // From the last row down, so the rows still to visit keep their positions.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const int i = *it;
        delete list_->takeTopLevelItem(i);
        SelectedBytes = SelectedBytes - static_cast<std::int32_t>(SelectedLogos.GetSize(i));
        SelectedCount = SelectedCount - 1;
        if (CurrentLogo == i) {
            CurrentLogo = -1;
        } else if (CurrentLogo > i) {
            CurrentLogo = CurrentLogo - 1;
        }
        SelectedLogos.RemoveAt(i);
    }
    if (SelectedCount < kMaxPickedLogos)
        open_->setEnabled(changesAllowed_);
    Rebuild();
}

void CSelectPage::Rebuild() {
    if (SelectedCount < 1) {
        size_->setText(QStringLiteral("0 K Bytes"));
        count_->setText(QStringLiteral("0"));
        return;
    }
    list_->clear();
    std::int64_t total = 0;
    const auto entries = SelectedLogos.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        list_->addTopLevelItem(Row(static_cast<int>(i), entries[i]));
        total += entries[i].size;
    }
    size_->setText(QStringLiteral("%1 K Bytes").arg(KiloBytes(total)));
    count_->setText(QString::number(list_->topLevelItemCount()));
}

}  // namespace stampa
