// The configuration page: the printer model and one of four links with its
// settings; OK opens the link, proves the printer answers, publishes model and
// port for the other pages and reloads the model's stored FLASH list.
#pragma once

#include <QWidget>
#include <string>

#include "link/link_open.h"
#include "workflows/config_file.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace stampa {

class Session;

class CConfigPage : public QWidget {
    Q_OBJECT
  public:
    explicit CConfigPage(Session& session, QWidget* parent = nullptr);

    // Reads Stampa.ini from the working directory, fills the model list and
    // probes drivers and USB devices (the page's initialisation).
    void Initialize();

    // The handlers of the page's controls.
    void OnLinkButton(LinkKind kind);
    // The link button clicked since the last OK (-1 where its kind offers
    // nothing to open); the session's link changes only with OK.
    PortKindValue ChosenLink() const { return chosenLink_; }
    void OnModelChanged(int index);
    void OnOk();
    // Asks the printer for its status and shows the answer under OK.
    void OnQueryStatus();
    QString StatusLine() const;
    // The chosen model's paper width, beside the model ("纸宽 576 点").
    QString PaperWidthText() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Session& session_;
    void UpdateQueryButton();  // enabled while a link that can read is open
    void UpdateOkButton();
    void BuildControls();
    void EnableGroups(LinkKind kind);
    void FillDriverList();
    void FillUsbList();
    LinkSettings SettingsFromControls() const;
    void RestoreRememberedChoice();
    void RememberChoice() const;

    Configuration configuration_;
    std::string modelText_;  // as last taken by a selection change or an OK
    PortKindValue chosenLink_ = kSerialLink;
    QComboBox* models_ = nullptr;
    QButtonGroup* links_ = nullptr;
    QRadioButton* serialButton_ = nullptr;
    QRadioButton* parallelButton_ = nullptr;
    QRadioButton* driverButton_ = nullptr;
    QRadioButton* usbButton_ = nullptr;
    QRadioButton* networkButton_ = nullptr;
    QComboBox* serialPort_ = nullptr;
    QComboBox* baud_ = nullptr;
    QComboBox* dataBits_ = nullptr;
    QComboBox* stopBits_ = nullptr;
    QComboBox* parity_ = nullptr;
    QComboBox* flow_ = nullptr;
    QComboBox* parallelPort_ = nullptr;
    QComboBox* baseAddress_ = nullptr;
    QComboBox* drivers_ = nullptr;
    QComboBox* usbDevices_ = nullptr;
    QLineEdit* networkHost_ = nullptr;
    QLineEdit* networkPort_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* queryStatus_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QLabel* paperWidth_ = nullptr;
    void ShowPaperWidth();
};

}  // namespace stampa
