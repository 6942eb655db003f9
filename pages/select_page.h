// The select page: BMP files picked with the file dialog and the pick
// workflow; selected rows removed after confirmation.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace stampa {

class Session;

class CSelectPage : public QWidget {
    Q_OBJECT
  public:
    explicit CSelectPage(Session& session, QWidget* parent = nullptr);

    void OnOpen();
    void OnDelete();
    // BMP files dropped from a file manager: picked as the file dialog's are.
    void OnDropFiles(const std::vector<std::string>& files);
    // While a download is sending, the list cannot change.
    void SetChangesAllowed(bool allowed);

    QTreeWidget* List() const { return list_; }
    QString CountText() const;
    QString SizeText() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Session& session_;
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
