// The select page: BMP files picked with the file dialog, checked and appended
// to SelectedLogos; selected rows deleted after confirmation. Keeps
// SelectedCount and SelectedBytes and sets LogosPicked and CurrentLogo.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace stampa {

inline constexpr int kMaxPickedLogos = 255;

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
    void AddFile(const std::string& path);

    QTreeWidget* list_;
    QPushButton* open_;
    QPushButton* delete_;
    QLabel* count_;
    QLabel* size_;
    bool changesAllowed_ = true;
};

// K bytes as the pages show them: (bytes + 500) / 1000.
int KiloBytes(std::int64_t bytes);

}  // namespace stampa
