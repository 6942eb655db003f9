#include "pages/preview_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/messages.h"
#include "common/operator.h"
#include "common/text_format.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_store.h"
#include "pages/dialog_units.h"
#include "pages/template_look.h"
#include "workflows/memory_lists.h"
#include "workflows/preview.h"

namespace stampa {
namespace {

QRadioButton* Radio(QWidget* parent, const DialogUnits& u, QButtonGroup* group, int value, int id,
                    const char* text, int x, int y, int w, int h) {
    auto* r = new QRadioButton(UiText(text), parent);
    Place(r, u, id, x, y, w, h);
    group->addButton(r, value);
    return r;
}

QSlider* Slider(QWidget* parent, const DialogUnits& u, int id, int x, int y) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    Place(s, u, id, x, y, 137, 23);
    s->setRange(0, 200);
    s->setTickInterval(10);
    s->setTickPosition(QSlider::TicksBothSides);
    s->setValue(100);
    return s;
}

QLineEdit* ValueEdit(QWidget* parent, const DialogUnits& u, int id, int x, int y) {
    auto* e = new QLineEdit(QStringLiteral("0"), parent);
    Place(e, u, id, x, y, 23, 15);
    e->setReadOnly(true);
    e->setEnabled(false);
    return e;
}

// The room a window may take: most of the screen the page is on.
QSize AvailableRoom(const QWidget* widget) {
    const QScreen* screen = widget->screen();
    const QSize available = screen ? screen->availableSize() : QSize(1024, 768);
    return available * 9 / 10;
}

}  // namespace

CPreviewPage::CPreviewPage(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
    setFont(DialogFont());
    const DialogUnits u(font());
    setMinimumSize(u.ToPixels(319, 297));
    auto* title = new QLabel(UiText(msg::kPreviewListTitle), this);
    Place(title, u, 0, 5, 4, 62, 8);
    list_ = new QTreeWidget(this);
    Place(list_, u, 1017, 5, 18, 138, 264);
    list_->setHeaderLabels(
        {UiText(msg::kColumnNumber), UiText(msg::kColumnName), UiText(msg::kColumnSize)});
    list_->setColumnWidth(0, 50);
    list_->setColumnWidth(1, 100);
    list_->setColumnWidth(2, 50);
    list_->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    auto* sizeLabel = new QLabel(UiText(msg::kLogoSize), this);
    Place(sizeLabel, u, 0, 5, 284, 37, 8);
    sizeLabel->hide();
    size_ = new QLabel(this);
    Place(size_, u, 1018, 46, 284, 106, 8);
    size_->hide();

    views_ = new QButtonGroup(this);
    Radio(this, u, views_, 0, 1071, msg::kViewAsPicked, 160, 4, 46, 10);
    Radio(this, u, views_, 1, 1072, msg::kViewConverted, 244, 4, 53, 10);
    picture_ = new QLabel(this);
    Place(picture_, u, 1020, 168, 15, 128, 120);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::Box);
    picture_->installEventFilter(this);

    Place(new QLabel(UiText(msg::kContrast), this), u, 0, 149, 135, 39, 8);
    contrast_ = Slider(this, u, 1078, 148, 143);
    contrastText_ = ValueEdit(this, u, 1080, 286, 149);
    Place(new QLabel(UiText(msg::kBrightness), this), u, 0, 150, 167, 39, 8);
    brightness_ = Slider(this, u, 1079, 148, 175);
    brightnessText_ = ValueEdit(this, u, 1081, 286, 180);

    auto* methodBox = new QGroupBox(UiText(msg::kMethodGroup), this);
    Place(methodBox, u, 0, 151, 204, 162, 34);
    methods_ = new QButtonGroup(this);
    Radio(this, u, methods_, 0, 1073, msg::kMethodThreshold, 173, 213, 29, 9);
    Radio(this, u, methods_, 1, 1074, msg::kMethodDitherM3, 240, 213, 52, 10);
    Radio(this, u, methods_, 2, 1075, msg::kMethodDitherM4, 173, 224, 59, 10);
    Radio(this, u, methods_, 3, 1076, msg::kMethodErrorDiffusion, 240, 226, 67, 10);
    auto* scaleBox = new QGroupBox(UiText(msg::kScaleGroup), this);
    Place(scaleBox, u, 0, 150, 239, 163, 43);
    scales_ = new QButtonGroup(this);
    Radio(this, u, scales_, 0, 1058, msg::kScaleNormal, 173, 250, 46, 10);
    Radio(this, u, scales_, 1, 1059, msg::kScaleDoubleWidth, 240, 250, 38, 10);
    Radio(this, u, scales_, 2, 1060, msg::kScaleDoubleBoth, 173, 265, 53, 10);
    Radio(this, u, scales_, 3, 1061, msg::kScaleDoubleHeight, 240, 265, 38, 10);
    methodBox->lower();
    scaleBox->lower();
    fitPaper_ = new QCheckBox(UiText(msg::kFitPaperWidth), this);
    Place(fitPaper_, u, 1082, 5, 285, 138, 10);
    Place(new QLabel(UiText(msg::kLogoCount), this), u, 0, 162, 284, 37, 8);
    count_ = new QLabel(this);
    Place(count_, u, 1019, 206, 284, 50, 8);
    // Prints the logo shown, converted as shown, without storing it anywhere.
    testPrint_ = new QPushButton(UiText(msg::kTestPrintButton), this);
    Place(testPrint_, u, 1095, 259, 281, 54, 14);
    testPrint_->setAutoDefault(false);
    PushMembers();

    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OnListClick(item); });
    connect(scales_, &QButtonGroup::idClicked, this, &CPreviewPage::OnScale);
    connect(methods_, &QButtonGroup::idClicked, this, &CPreviewPage::OnMethod);
    connect(views_, &QButtonGroup::idClicked, this, &CPreviewPage::OnView);
    connect(testPrint_, &QPushButton::clicked, this, &CPreviewPage::OnTestPrint);
    connect(fitPaper_, &QCheckBox::toggled, this,
            [this] { UpdatePreview(currentMethod_, session_.CurrentLogo); });
    for (QSlider* s : {contrast_, brightness_}) {
        connect(s, &QSlider::valueChanged, this, &CPreviewPage::OnSliderMoved);
        connect(s, &QSlider::sliderReleased, this, &CPreviewPage::OnSliderMoved);
    }
    ApplyTemplateLook(this);
}

void CPreviewPage::PushMembers() {
    if (auto* b = scales_->button(displayScale_))
        b->setChecked(true);
    if (auto* b = views_->button(convertedView_))
        b->setChecked(true);
    if (auto* b = methods_->button(currentMethod_)) {
        b->setChecked(true);
    } else {
        methods_->setExclusive(false);  // -1 checks none
        for (auto* m : methods_->buttons())
            m->setChecked(false);
        methods_->setExclusive(true);
    }
}

void CPreviewPage::SetConversionControlsEnabled(bool enabled) {
    contrast_->setEnabled(enabled);
    brightness_->setEnabled(enabled);
    for (auto* b : methods_->buttons())
        b->setEnabled(enabled);
}

void CPreviewPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    OnShow();
}

void CPreviewPage::OnShow() {
    LoadStoredListIfNeeded(session_);
    FillLogoList();
    if (session_.CurrentLogo >= 0 && session_.CurrentLogo < list_->topLevelItemCount()) {
        QTreeWidgetItem* item = list_->topLevelItem(session_.CurrentLogo);
        item->setSelected(true);
        list_->setCurrentItem(item);
    }
    PushMembers();
}

void CPreviewPage::FillLogoList() {
    list_->clear();
    const auto entries = PreviewList(session_).Entries();
    std::int64_t total = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto* item =
            new QTreeWidgetItem({QString::number(i), QString::fromStdString(entries[i].name),
                                 QString::number(entries[i].size)});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        list_->addTopLevelItem(item);
        total += entries[i].size;
    }
    size_->setText(QString::asprintf(msg::kKiloBytesFormat, KiloBytes(total)));
    count_->setText(QString::number(entries.size()));
    PushMembers();
}

void CPreviewPage::OnListClick(QTreeWidgetItem* item) {
    contrast_->blockSignals(true);
    brightness_->blockSignals(true);
    contrast_->setValue(100);
    brightness_->setValue(100);
    contrast_->blockSignals(false);
    brightness_->blockSignals(false);
    contrastText_->setText(QStringLiteral("0"));
    brightnessText_->setText(QStringLiteral("0"));
    if (item == nullptr)
        return;
    const int r = list_->indexOfTopLevelItem(item);
    if (r < 0)
        return;
    QAbstractButton* picked = views_->button(0);
    QAbstractButton* converted = views_->button(1);
    if (session_.LogosPicked) {
        if (IsMonochromeLogo(session_, r)) {
            // A monochrome logo is shown as it is; its conversion record is reset
            // (the clicked logo's, not the one shown before).
            currentMethod_ = -1;
            session_.CurrentLogo = r;
            UpdatePreview(-1, r);
            picked->setEnabled(true);
            converted->setEnabled(false);
            picked->setChecked(true);
            SetConversionControlsEnabled(false);
            convertedView_ = 0;
        } else {
            methods_->button(1)->setChecked(true);
            SetConversionControlsEnabled(convertedView_ == 1);
            converted->setEnabled(true);
        }
    }
    currentMethod_ = 1;
    UpdatePreview(1, r);
    session_.CurrentLogo = r;
}

void CPreviewPage::OnScale(int scale) {
    displayScale_ = scale;
    UpdatePreview(currentMethod_, session_.CurrentLogo);
}

void CPreviewPage::OnMethod(int method) {
    currentMethod_ = method;
    UpdatePreview(method, session_.CurrentLogo);
}

void CPreviewPage::OnView(int view) {
    convertedView_ = view;
    if (view == 0) {
        ShowPicture(false, session_.CurrentLogo);
        SetConversionControlsEnabled(false);
    } else {
        UpdatePreview(currentMethod_, session_.CurrentLogo);
        SetConversionControlsEnabled(true);
    }
}

void CPreviewPage::OnSliderMoved() {
    contrastText_->setText(QString::number(contrast_->value() - 100));
    brightnessText_->setText(QString::number(brightness_->value() - 100));
    UpdatePreview(currentMethod_, session_.CurrentLogo);
}

void CPreviewPage::OnTestPrint() {
    const int index = session_.CurrentLogo;
    TestPrintPreviewLogo(session_, index, currentMethod_, contrastText_->text().toInt(),
                         brightnessText_->text().toInt(), fitPaper_->isChecked());
    if (convertedView_ == 1 && index >= 0)
        ShowPicture(true, index);  // the conversion printed is the one shown
}

void CPreviewPage::UpdatePreview(int method, int index) {
    if (convertedView_ == 1) {
        ConvertLogo(method, index);
        return;
    }
    ShowPicture(false, index);
    ShowAsPicked(session_, index);
}

void CPreviewPage::ConvertLogo(int method, int index) {
    const int contrast = contrastText_->text().toInt();
    const int brightness = brightnessText_->text().toInt();
    if (ConvertForPreview(session_, index, method, contrast, brightness, fitPaper_->isChecked())) {
        ShowPicture(true, index);
    }
}

void CPreviewPage::ShowPicture(bool converted, int index) {
    if (index < 0) {
        picture_->clear();
        shown_ = QImage();
        return;
    }
    const CLogoList& list = PreviewList(session_);
    const std::string path = converted ? list.GetConvertedPath(index) : list.GetPath(index);
    const auto size = ShowablePictureSize(path);
    QImage image;
    if (!size || !image.load(QString::fromStdString(path), "BMP")) {
        ShowInformation(msg::kOpenBitmapFailed);
        return;
    }
    int width = size->width;
    int height = size->height;
    if (displayScale_ == 1 || displayScale_ == 2)
        width *= 2;
    if (displayScale_ == 2 || displayScale_ == 3)
        height *= 2;
    shown_ = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    picture_->setPixmap(QPixmap::fromImage(shown_));
}

bool CPreviewPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && event->type() == QEvent::MouseButtonDblClick) {
        OpenFullView();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CPreviewPage::OpenFullView() {
    if (shown_.isNull()) {
        return;
    }
    if (fullView_) {
        fullView_->close();
    }
    // A window of the sheet: titled with the logo, centred on the sheet,
    // closed by its button or Esc; one at a time.
    auto* view = new QDialog(window());
    view->setAttribute(Qt::WA_DeleteOnClose);
    const CLogoList& list = PreviewList(session_);
    const int index = session_.CurrentLogo;
    const std::string name = index >= 0 ? list.GetName(index) : std::string();
    view->setWindowTitle(QString::fromStdString(
        FormatText(msg::kFullViewTitle, name.c_str(), shown_.width(), shown_.height())));
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* area = new QScrollArea(view);
    auto* label = new QLabel;
    label->setPixmap(QPixmap::fromImage(shown_));
    area->setWidget(label);
    layout->addWidget(area);
    const QSize screen = AvailableRoom(this);
    view->resize(std::min(shown_.width() + 24, screen.width()),
                 std::min(shown_.height() + 24, screen.height()));
    view->move(window()->frameGeometry().center() - view->rect().center());
    fullView_ = view;
    view->show();
}

}  // namespace stampa
