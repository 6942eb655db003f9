// The print page: the logos the printer holds in the chosen memory, as far as
// the program knows them; prints some or all at one of four sizes, with or
// without a label line before each, and deletes NV graphics. Every choice lasts while the program
// runs.
#pragma once

#include <QWidget>

#include "transfer/job_pages.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace stampa {

class Session;

class CPrintPage : public QWidget, public IPrintPage {
    Q_OBJECT
  public:
    explicit CPrintPage(Session& session, QWidget* parent = nullptr);

    void OnShow();
    void RefreshRamList();
    void RefreshFlashList();
    void OnPrint();
    void OnDeleteNv();  // deletes the chosen NV graphics (all when "全部" is chosen)

    // IPrintPage.
    int Range() const override { return range_; }
    stampa::Memory Memory() const override { return memory_; }
    int ScalingMode() const override { return scaling_; }
    bool PrintLabel() const override { return label_; }
    std::vector<int> SelectedRows() const override;
    void SetPrintEnabled(bool enabled) override;

    QTreeWidget* List() const { return list_; }
    QString CountText() const;
    QString SizeText() const;

    QPushButton* DeleteNvButton() const { return deleteNv_; }
    QPushButton* PrintButton() const { return print_; }  // the page's default button

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Session& session_;
    void PushMembers();
    void ShowMemory(stampa::Memory memory);
    // NV graphics chosen: asks the printer which it holds, for the list.
    void AskForNvKeys(stampa::Memory memory);

    int range_ = kPrintAll;
    stampa::Memory memory_ = kFlashMemory;
    int scaling_ = 0;
    bool label_ = false;
    QTreeWidget* list_;
    QLineEdit* model_;
    QLineEdit* port_;
    QButtonGroup* ranges_;
    QButtonGroup* memories_;
    QButtonGroup* sizes_;
    QCheckBox* labelBox_;
    QPushButton* print_;
    QPushButton* deleteNv_;
    QLabel* size_;
    QLabel* count_;
};

}  // namespace stampa
