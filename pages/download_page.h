// The download page: what a download would send, the printer's model and port,
// the memory with its capacity figures, and the progress of a running
// download. The job's worker drives the page through queued calls onto the
// user-interface thread.
#pragma once

#include <QWidget>
#include <atomic>

#include "transfer/job_pages.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace stampa {

class Session;

class CDownloadPage : public QWidget, public IDownloadPage {
    Q_OBJECT
  public:
    explicit CDownloadPage(Session& session, QWidget* parent = nullptr);

    void OnShow();
    void OnMemory(stampa::Memory memory);
    void OnDownload();
    void RefreshDownloadList();

    // IDownloadPage, callable from the worker thread.
    stampa::Memory Memory() const override { return memory_; }
    bool ReplaceAllNv() const override { return replaceAllNv_; }
    void SetDownloadEnabled(bool enabled) override;
    void SetStatusText(const std::string& text) override;
    void SetProgressRange(int low, int high) override;
    void SetProgressPosition(int position) override;
    void SetBytesSent(long long sent, long long total) override;

    QTreeWidget* List() const { return list_; }
    QString CountText() const;
    QString SizeText() const;
    QString StatusText() const;
    QString EstimateText() const;
    QProgressBar* Progress() const { return progress_; }
    QPushButton* DownloadButton() const { return download_; }  // the page's default button
    QCheckBox* ReplaceAllNvBox() const { return replaceAll_; }

  signals:
    // A download starts sending (true) or is over (false).
    void downloadRunning(bool running);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Session& session_;
    // NV graphics chosen: asks the printer for its NV capacity, for the size line.
    void AskForNvCapacity();

    std::atomic<stampa::Memory> memory_{kFlashMemory};
    std::atomic<bool> replaceAllNv_{false};
    QTreeWidget* list_;
    QLineEdit* model_;
    QLineEdit* port_;
    QButtonGroup* memories_;
    QCheckBox* replaceAll_;
    QProgressBar* progress_;
    QLabel* status_;
    QLabel* estimate_;
    QPushButton* download_;
    QLabel* size_;
    QLabel* count_;
};

}  // namespace stampa
