#include "pages/preview_page.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QSlider>
#include <QTreeWidget>
#include <cstring>

#include "app/dialog_units.h"
#include "app/program_state.h"
#include "app/runtime_libraries.h"
#include "common/bytes.h"
#include "common/operator.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_lists.h"
#include "logos/messages.h"
#include "logos/stored_list.h"
#include "pages/select_page.h"

namespace stampa {
namespace {

QRadioButton* Radio(QWidget* parent, const DialogUnits& u, QButtonGroup* group, int value, int id,
                    const char* text, int x, int y, int w, int h) {
    auto* r = new QRadioButton(QString::fromUtf8(text), parent);
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

// A picture file's size from its header, or false when it is no picture we can show.
bool PictureSize(const std::string& path, int& width, int& height) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    unsigned char h[54] = {};
    const bool whole = std::fread(h, 1, sizeof h, f) == sizeof h;
    std::fclose(f);
    const std::uint16_t bits = ReadU16(h + 28);
    // Qt's reader takes broken files without a word; the header is checked here.
    if (!whole || ReadU16(h) != 0x4D42 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
        return false;
    }
    width = std::min(ReadI32(h + 18), kMaxLogoWidth);
    height = std::min(static_cast<std::int32_t>(std::abs(std::int64_t{ReadI32(h + 22)})),
                      kMaxLogoHeight);
    return width > 0 && height > 0;
}

}  // namespace

CPreviewPage::CPreviewPage(QWidget* parent) : QWidget(parent) {
    setFont(DialogFont());
    const DialogUnits u(font());
    setMinimumSize(u.ToPixels(319, 297));
    auto* title = new QLabel(QStringLiteral("位图列表"), this);
    Place(title, u, 0, 5, 4, 62, 8);
    list_ = new QTreeWidget(this);
    Place(list_, u, 1017, 5, 18, 138, 264);
    list_->setHeaderLabels(
        {QStringLiteral("编号"), QStringLiteral("名称"), QStringLiteral("大小")});
    list_->setColumnWidth(0, 50);
    list_->setColumnWidth(1, 100);
    list_->setColumnWidth(2, 50);
    list_->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    auto* sizeLabel = new QLabel(QStringLiteral("Logo Size"), this);
    Place(sizeLabel, u, 0, 5, 284, 37, 8);
    sizeLabel->hide();
    size_ = new QLabel(this);
    Place(size_, u, 1018, 46, 284, 106, 8);
    size_->hide();

    views_ = new QButtonGroup(this);
    Radio(this, u, views_, 0, 1071, "初始状态", 160, 4, 46, 10);
    Radio(this, u, views_, 1, 1072, "变化后状态", 244, 4, 53, 10);
    picture_ = new QLabel(this);
    Place(picture_, u, 1020, 168, 15, 128, 120);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::Box);

    Place(new QLabel(QStringLiteral("对比度"), this), u, 0, 149, 135, 39, 8);
    contrast_ = Slider(this, u, 1078, 148, 143);
    contrastText_ = ValueEdit(this, u, 1080, 286, 149);
    Place(new QLabel(QStringLiteral("亮度"), this), u, 0, 150, 167, 39, 8);
    brightness_ = Slider(this, u, 1079, 148, 175);
    brightnessText_ = ValueEdit(this, u, 1081, 286, 180);

    auto* methodBox = new QGroupBox(QStringLiteral("二值化"), this);
    Place(methodBox, u, 0, 151, 204, 162, 34);
    methods_ = new QButtonGroup(this);
    Radio(this, u, methods_, 0, 1073, "阈值", 173, 213, 29, 9);
    Radio(this, u, methods_, 1, 1074, "Dither M3", 240, 213, 52, 10);
    Radio(this, u, methods_, 2, 1075, "Dither M4", 173, 224, 59, 10);
    Radio(this, u, methods_, 3, 1076, "错误积累", 240, 226, 67, 10);
    auto* scaleBox = new QGroupBox(QStringLiteral("位图缩放"), this);
    Place(scaleBox, u, 0, 150, 239, 163, 43);
    scales_ = new QButtonGroup(this);
    Radio(this, u, scales_, 0, 1058, "原始大小", 173, 250, 46, 10);
    Radio(this, u, scales_, 1, 1059, "双倍宽", 240, 250, 38, 10);
    Radio(this, u, scales_, 2, 1060, "双倍宽、高", 173, 265, 53, 10);
    Radio(this, u, scales_, 3, 1061, "双倍高", 240, 265, 38, 10);
    methodBox->lower();
    scaleBox->lower();
    Place(new QLabel(QStringLiteral("位图数："), this), u, 0, 162, 284, 37, 8);
    count_ = new QLabel(this);
    Place(count_, u, 1019, 206, 284, 103, 8);
    PushMembers();

    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OnListClick(item); });
    connect(scales_, &QButtonGroup::idClicked, this, &CPreviewPage::OnScale);
    connect(methods_, &QButtonGroup::idClicked, this, &CPreviewPage::OnMethod);
    connect(views_, &QButtonGroup::idClicked, this, &CPreviewPage::OnView);
    for (QSlider* s : {contrast_, brightness_}) {
        connect(s, &QSlider::valueChanged, this, &CPreviewPage::OnSliderMoved);
        connect(s, &QSlider::sliderReleased, this, &CPreviewPage::OnSliderMoved);
    }
}

CLogoList& CPreviewPage::ListInUse() const {
    return LogosPicked ? SelectedLogos : StoredFlashLogos;
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

void CPreviewPage::SetChangesAllowed(bool allowed) {
    changesAllowed_ = allowed;
}

void CPreviewPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    OnShow();
}

void CPreviewPage::OnShow() {
    if (!StoredListLoaded && !PrinterModel.empty()) {
        ReloadStoredFlashLogos(StartDirectory, PrinterModel);
    }
    FillLogoList();
    if (CurrentLogo >= 0 && CurrentLogo < list_->topLevelItemCount()) {
        QTreeWidgetItem* item = list_->topLevelItem(CurrentLogo);
        item->setSelected(true);
        list_->setCurrentItem(item);
    }
    PushMembers();
}

void CPreviewPage::FillLogoList() {
    list_->clear();
    const auto entries = ListInUse().Entries();
    std::int64_t total = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto* item =
            new QTreeWidgetItem({QString::number(i), QString::fromStdString(entries[i].name),
                                 QString::number(entries[i].size)});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        list_->addTopLevelItem(item);
        total += entries[i].size;
    }
    size_->setText(QStringLiteral("%1 K Bytes").arg(KiloBytes(total)));
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
    if (LogosPicked) {
        if (IsMonoBitmap(SelectedLogos.GetPath(r))) {
            // A monochrome logo is shown as it is; its conversion record is reset
            // (the clicked logo's, not the one shown before).
            currentMethod_ = -1;
            CurrentLogo = r;
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
    CurrentLogo = r;
}

void CPreviewPage::OnScale(int scale) {
    displayScale_ = scale;
    UpdatePreview(currentMethod_, CurrentLogo);
}

void CPreviewPage::OnMethod(int method) {
    currentMethod_ = method;
    UpdatePreview(method, CurrentLogo);
}

void CPreviewPage::OnView(int view) {
    convertedView_ = view;
    if (view == 0) {
        ShowPicture(false, CurrentLogo);
        SetConversionControlsEnabled(false);
    } else {
        UpdatePreview(currentMethod_, CurrentLogo);
        SetConversionControlsEnabled(true);
    }
}

void CPreviewPage::OnSliderMoved() {
    contrastText_->setText(QString::number(contrast_->value() - 100));
    brightnessText_->setText(QString::number(brightness_->value() - 100));
    UpdatePreview(currentMethod_, CurrentLogo);
}

void CPreviewPage::UpdatePreview(int method, int index) {
    if (convertedView_ == 1) {
        ConvertLogo(method, index);
        return;
    }
    ShowPicture(false, index);
    ListInUse().SetMode(index, 0);
}

void CPreviewPage::ConvertLogo(int method, int index) {
    CLogoList& list = ListInUse();
    if (&list == &SelectedLogos && !changesAllowed_) {
        ShowPlain("位图正在下载!");
        return;
    }
    char input[PIXMELT_OUTPUT_PATH_SIZE] = {};
    char output[PIXMELT_OUTPUT_PATH_SIZE] = {};
    std::strncpy(input, list.GetPath(index).c_str(), sizeof input - 1);
    const int contrast = contrastText_->text().toInt();
    const int brightness = brightnessText_->text().toInt();
    CallPixmelt(input, output, method, contrast, brightness);
    list.SetMode(index, method);
    list.SetConvertedPath(index, output);
    ShowPicture(true, index);
}

void CPreviewPage::ShowPicture(bool converted, int index) {
    if (index < 0) {
        picture_->clear();
        return;
    }
    const CLogoList& list = ListInUse();
    const std::string path = converted ? list.GetConvertedPath(index) : list.GetPath(index);
    int width = 0;
    int height = 0;
    QImage image;
    if (!PictureSize(path, width, height) || !image.load(QString::fromStdString(path), "BMP")) {
        ShowInformation(msg::kOpenBitmapFailed);
        return;
    }
    if (displayScale_ == 1 || displayScale_ == 2)
        width *= 2;
    if (displayScale_ == 2 || displayScale_ == 3)
        height *= 2;
    picture_->setPixmap(QPixmap::fromImage(
        image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

}  // namespace stampa
