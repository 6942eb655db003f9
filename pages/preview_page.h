// The preview page: the logos of the list in use, shown as picked ("初始状态")
// or converted ("变化后状态") with the method, contrast and brightness chosen,
// at one of four display scales. Conversions go through Pixmelt and are kept
// in the logo's record for the download.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTreeWidget;
class QTreeWidgetItem;

namespace stampa {

class Session;

class CPreviewPage : public QWidget {
    Q_OBJECT
  public:
    explicit CPreviewPage(Session& session, QWidget* parent = nullptr);

    // The handlers.
    void OnShow();
    void OnListClick(QTreeWidgetItem* item);
    void OnScale(int scale);
    void OnMethod(int method);
    void OnView(int view);
    void OnSliderMoved();
    // "试打印": the logo shown, converted as shown, printed with GS v 0.
    void OnTestPrint();

    void UpdatePreview(int method, int index);
    void ConvertLogo(int method, int index);
    void ShowPicture(bool converted, int index);
    void FillLogoList();

    int ConvertedView() const { return convertedView_; }
    int CurrentMethod() const { return currentMethod_; }
    QLabel* Picture() const { return picture_; }
    QTreeWidget* List() const { return list_; }
    // "适合纸宽": conversions scale a logo wider than the paper down to it first.
    QCheckBox* FitPaperBox() const { return fitPaper_; }

    // The logo as shown (picked or converted, at the display scale) in a
    // window of its own at full size, scrollable; the picture's double-click.
    void OpenFullView();
    QWidget* FullView() const { return fullView_; }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Session& session_;
    void SetConversionControlsEnabled(bool enabled);
    void PushMembers();

    int displayScale_ = 0;
    int convertedView_ = 0;
    int currentMethod_ = 0;
    QTreeWidget* list_;
    QLabel* picture_;
    QImage shown_;  // what the picture shows, unclipped
    QPointer<QWidget> fullView_;
    QLabel* count_;
    QLabel* size_;
    QSlider* contrast_;
    QSlider* brightness_;
    QLineEdit* contrastText_;
    QLineEdit* brightnessText_;
    QButtonGroup* views_;
    QButtonGroup* methods_;
    QCheckBox* fitPaper_ = nullptr;
    QPushButton* testPrint_ = nullptr;
    QButtonGroup* scales_;
};

}  // namespace stampa
