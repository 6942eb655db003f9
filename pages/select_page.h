// The select page: BMP files picked with the file dialog and the pick
// workflow; selected rows removed after confirmation.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace stampa {

class CSelectPage : public QWidget {
    Q_OBJECT
  public:
    explicit CSelectPage(QWidget* parent = nullptr);

    void OnOpen();
    void OnDelete();
    // While a download is sending, the list cannot change.
    void SetChangesAllowed(bool allowed);

    QTreeWidget* List() const { return list_; }
    QString CountText() const;
    QString SizeText() const;

  private:
    void Rebuild();
    void EnableButtons();

    QTreeWidget* list_;
    QPushButton* open_;
    QPushButton* delete_;
    QLabel* count_;
    QLabel* size_;
    bool changesAllowed_ = true;
};

}  // namespace stampa
