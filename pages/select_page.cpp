#include "pages/select_page.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QUrl>

#include "common/messages.h"
#include "logos/logo_store.h"
#include "pages/dialog_units.h"
#include "pages/file_dialog.h"
#include "pages/template_look.h"
#include "transfer/paper_width.h"
#include "workflows/memory_lists.h"
#include "workflows/pick.h"

namespace stampa {
namespace {

// A logo wider than the model's paper carries a warning icon and says so.
QTreeWidgetItem* Row(const LogoStore& store, int number, const LogoEntry& e) {
    auto* item = new QTreeWidgetItem({QString::number(number), QString::fromStdString(e.name),
                                      QString::fromStdString(e.source.empty() ? e.path : e.source),
                                      QString::number(e.size)});
    item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    const std::string wider = WiderThanPaperText(store, static_cast<int>(e.width));
    if (!wider.empty()) {
        item->setIcon(1, QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
        for (int column = 0; column < 4; ++column)
            item->setToolTip(column, QString::fromStdString(wider));
    }
    return item;
}

}  // namespace

CSelectPage::CSelectPage(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
    setFont(DialogFont());
    const DialogUnits u(font());
    setMinimumSize(u.ToPixels(320, 280));
    auto* title = new QLabel(UiText(msg::kSelectListTitle), this);
    Place(title, u, 0, 7, 6, 100, 10);
    list_ = new QTreeWidget(this);
    Place(list_, u, 1016, 7, 18, 306, 222);
    list_->setHeaderLabels({UiText(msg::kColumnNumber), UiText(msg::kColumnName),
                            UiText(msg::kColumnPath), UiText(msg::kColumnSize)});
    for (int c = 0; c < 4; ++c)
        list_->setColumnWidth(c, std::array{50, 100, 250, 50}[c]);
    list_->headerItem()->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);

    open_ = new QPushButton(UiText(msg::kOpenFilesButton), this);
    Place(open_, u, 1010, 170, 250, 64, 16);
    delete_ = new QPushButton(UiText(msg::kDeleteButton), this);
    Place(delete_, u, 1011, 246, 250, 64, 16);
    auto* sizeLabel = new QLabel(UiText(msg::kLogoSize), this);
    Place(sizeLabel, u, 0, 7, 262, 40, 10);
    sizeLabel->hide();
    size_ = new QLabel(QString::asprintf(msg::kKiloBytesFormat, 0), this);
    Place(size_, u, 1018, 50, 262, 100, 10);
    size_->hide();
    auto* countLabel = new QLabel(UiText(msg::kLogoCount), this);
    Place(countLabel, u, 0, 7, 252, 40, 10);
    count_ = new QLabel(QStringLiteral("0"), this);
    Place(count_, u, 1019, 48, 252, 60, 10);

    list_->viewport()->setAcceptDrops(true);
    list_->viewport()->installEventFilter(this);
    list_->installEventFilter(this);  // the Delete key
    connect(open_, &QPushButton::clicked, this, &CSelectPage::OnOpen);
    connect(delete_, &QPushButton::clicked, this, &CSelectPage::OnDelete);
    ApplyTemplateLook(this);
}

QString CSelectPage::CountText() const {
    return count_->text();
}
QString CSelectPage::SizeText() const {
    return size_->text();
}

void CSelectPage::SetChangesAllowed(bool allowed) {
    changesAllowed_ = allowed;
    EnableButtons();
}

void CSelectPage::EnableButtons() {
    open_->setEnabled(changesAllowed_ && CanPickMore(session_));
    delete_->setEnabled(changesAllowed_);
}

void CSelectPage::OnOpen() {
    std::vector<std::string> files;
    if (changesAllowed_ && PickChangesAllowed(session_) &&
        CurrentFileDialog().PickBitmaps(this, files)) {
        PickLogos(session_, files, true);
    }
    EnableButtons();
    Rebuild();
}

void CSelectPage::OnDropFiles(const std::vector<std::string>& files) {
    if (files.empty() || !changesAllowed_ || !CanPickMore(session_) ||
        !PickChangesAllowed(session_)) {
        return;
    }
    // As after the file dialog, the files' folder becomes the working directory.
    QDir::setCurrent(QFileInfo(QString::fromStdString(files.front())).absolutePath());
    PickLogos(session_, files, true);
    EnableButtons();
    Rebuild();
}

namespace {

std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files.push_back(url.toLocalFile().toStdString());
    }
    return files;
}

}  // namespace

bool CSelectPage::eventFilter(QObject* watched, QEvent* event) {
    // Delete removes the selected logos, with the question "删   除" asks.
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        OnDelete();
        return true;
    }
    if (watched != list_->viewport()) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!LocalFiles(drag->mimeData()).empty() && changesAllowed_) {
                drag->acceptProposedAction();
                return true;
            }
            return false;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            drop->acceptProposedAction();
            OnDropFiles(LocalFiles(drop->mimeData()));
            return true;
        }
        default:
            return false;
    }
}

void CSelectPage::OnDelete() {
    if (!changesAllowed_)
        return;
    std::vector<int> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (list_->topLevelItem(i)->isSelected())
            rows.push_back(i);
    }
    if (RemoveLogos(session_, rows) != RemoveOutcome::Removed)
        return;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        delete list_->takeTopLevelItem(*it);
    EnableButtons();
    Rebuild();
}

void CSelectPage::Rebuild() {
    if (session_.SelectedCount < 1) {
        size_->setText(QString::asprintf(msg::kKiloBytesFormat, 0));
        count_->setText(QStringLiteral("0"));
        return;
    }
    list_->clear();
    std::int64_t total = 0;
    const auto entries = session_.SelectedLogos.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        list_->addTopLevelItem(Row(session_, static_cast<int>(i), entries[i]));
        total += entries[i].size;
    }
    size_->setText(QString::asprintf(msg::kKiloBytesFormat, KiloBytes(total)));
    count_->setText(QString::number(list_->topLevelItemCount()));
}

}  // namespace stampa
