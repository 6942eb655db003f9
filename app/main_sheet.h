// The main sheet: the program's one window, five pages as tabs and one button,
// "退  出".
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTabWidget;

namespace stampa {

class Session;

class CConfigPage;
class CDownloadPage;
class CPrintPage;
class CPreviewPage;
class CSelectPage;

class CMainSheet : public QDialog {
    Q_OBJECT
  public:
    explicit CMainSheet(Session& session, QWidget* parent = nullptr);
    ~CMainSheet() override;

    // The status line: the open connection at its left ("已连接: RP-820,
    // COM1"), then how the last action ended.
    QString ConnectionText() const;
    QString StatusText() const;

    CConfigPage* ConfigPage() const { return config_; }
    CSelectPage* SelectPage() const { return select_; }
    CPreviewPage* PreviewPage() const { return preview_; }
    CDownloadPage* DownloadPage() const { return download_; }
    CPrintPage* PrintPage() const { return print_; }
    QTabWidget* Tabs() const { return tabs_; }

    // Closing while a download is sending would cut the printer off in the
    // middle of a command: refused with "位图正在下载!".
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    // Enter on any control of the download or print page presses the page's
    // button, before the control can take the key for itself.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The shown page's button that Enter presses; null on the other pages.
    QPushButton* EnterButton() const;

    Session& session_;
    // A report from any thread, shown on the user-interface thread.
    void ShowReport(const QString& text);

    QTabWidget* tabs_;
    QLabel* connection_;
    QLabel* status_;
    CConfigPage* config_;
    CSelectPage* select_;
    CPreviewPage* preview_;
    CDownloadPage* download_;
    CPrintPage* print_;
    bool initialized_ = false;
};

// The program's icon, drawn here: a receipt with a logo on it.
QIcon StampaIcon();

}  // namespace stampa
