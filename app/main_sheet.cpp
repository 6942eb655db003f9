#include "app/main_sheet.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/messages.h"
#include "common/operator.h"
#include "common/outcome.h"
#include "common/text_format.h"
#include "pages/config_page.h"
#include "pages/dialog_units.h"
#include "pages/download_page.h"
#include "pages/preview_page.h"
#include "pages/print_page.h"
#include "pages/select_page.h"
#include "workflows/startup.h"

namespace stampa {

QIcon StampaIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const double s = size / 16.0;
        // A strip of receipt paper with a torn lower edge.
        QPainterPath paper;
        paper.moveTo(3 * s, 1 * s);
        paper.lineTo(13 * s, 1 * s);
        paper.lineTo(13 * s, 14 * s);
        for (int i = 0; i < 5; ++i) {
            paper.lineTo((12 - 2 * i) * s, (i % 2 ? 14 : 15) * s);
        }
        paper.lineTo(3 * s, 14 * s);
        paper.closeSubpath();
        p.setPen(QPen(QColor(60, 60, 60), std::max(1.0, s * 0.6)));
        p.setBrush(Qt::white);
        p.drawPath(paper);
        // The logo: a dark ring with a bar, as the printer would put it.
        p.setPen(QPen(QColor(20, 60, 140), std::max(1.0, 1.2 * s)));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8 * s, 6 * s), 3 * s, 3 * s);
        p.drawLine(QPointF(5 * s, 11 * s), QPointF(11 * s, 11 * s));
        icon.addPixmap(pixmap);
    }
    return icon;
}

CMainSheet::CMainSheet(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setWindowTitle(UiText(msg::kSheetCaption));
    setWindowIcon(StampaIcon());
    setFont(DialogFont());
    tabs_ = new QTabWidget(this);
    config_ = new CConfigPage(session);
    tabs_->addTab(config_, UiText(msg::kTabConfig));
    select_ = new CSelectPage(session);
    tabs_->addTab(select_, UiText(msg::kTabSelect));
    preview_ = new CPreviewPage(session);
    tabs_->addTab(preview_, UiText(msg::kTabPreview));
    download_ = new CDownloadPage(session);
    tabs_->addTab(download_, UiText(msg::kTabDownload));
    print_ = new CPrintPage(session);
    tabs_->addTab(print_, UiText(msg::kTabPrint));
    // While a download sends, the logo lists cannot be changed elsewhere.
    connect(download_, &CDownloadPage::downloadRunning, this,
            [this](bool running) { select_->SetChangesAllowed(!running); });
    tabs_->setCurrentIndex(0);
    // Enter presses "下    载" and "打   印" on their pages: the shown page's
    // button is made the sheet's default whenever the page changes.
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        QWidget* page = tabs_->widget(index);
        if (page == download_)
            download_->DownloadButton()->setDefault(true);
        else if (page == print_)
            print_->PrintButton()->setDefault(true);
    });

    // Enter presses the page's button from every control of the page. Left
    // to the dialog's default-button search, a control could take the key
    // first: where the desktop's theme makes Enter press buttons (GNOME's
    // does), the focused radio button took it and nothing was downloaded.
    for (QWidget* page : {static_cast<QWidget*>(download_), static_cast<QWidget*>(print_)}) {
        for (QWidget* control : page->findChildren<QWidget*>())
            control->installEventFilter(this);
    }

    auto* exit = new QPushButton(UiText(msg::kExitButton), this);
    exit->setObjectName(QStringLiteral("exit"));
    exit->setAutoDefault(false);  // never the default by having had the focus
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    // The connection and how the last action ended, left of "退  出".
    connection_ = new QLabel(this);
    connection_->setObjectName(QStringLiteral("connection"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    SetOutcomeSink([this](const std::string& text) {
        QMetaObject::invokeMethod(this, [this, text] { ShowReport(QString::fromStdString(text)); });
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(connection_);
    buttons->addSpacing(DialogUnits(font()).ToPixels(8, 0).width());
    buttons->addWidget(status_, 1);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // the pages have the templates' size
}

CMainSheet::~CMainSheet() {
    SetOutcomeSink({});
}

QString CMainSheet::ConnectionText() const {
    return connection_->text();
}

QString CMainSheet::StatusText() const {
    return status_->text();
}

// The connection part follows the session; a report of the connection itself
// leaves the outcome part empty.
void CMainSheet::ShowReport(const QString& text) {
    const QString connection =
        session_.PortConfigured
            ? QString::fromStdString(FormatText(
                  msg::kConnectedFormat, session_.PrinterModel.c_str(), session_.PortName.c_str()))
            : QString();
    connection_->setText(connection);
    status_->setText(text == connection ? QString() : text);
}

void CMainSheet::showEvent(QShowEvent* event) {
    if (!initialized_) {
        initialized_ = true;
        config_->Initialize();  // the first page reads the configuration when the sheet opens
    }
    QDialog::showEvent(event);
}

QPushButton* CMainSheet::EnterButton() const {
    QWidget* page = tabs_->currentWidget();
    if (page == download_)
        return download_->DownloadButton();
    if (page == print_)
        return print_->PrintButton();
    return nullptr;
}

bool CMainSheet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    // A focused push button keeps pressing itself, as everywhere.
    if (!enter || !plain || qobject_cast<QPushButton*>(watched) != nullptr) {
        return QDialog::eventFilter(watched, event);
    }
    QPushButton* button = EnterButton();
    if (button == nullptr) {
        return QDialog::eventFilter(watched, event);
    }
    if (button->isEnabled()) {
        button->click();
    }
    return true;
}

void CMainSheet::done(int result) {
    if (MayShutDown(session_)) {
        QDialog::done(result);
    }
}

}  // namespace stampa
