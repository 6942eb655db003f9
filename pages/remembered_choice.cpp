#include "pages/remembered_choice.h"

#include <QCoreApplication>
#include <QSettings>

namespace stampa {
namespace {

constexpr const char* kGroup = "LastChoice";

bool Remembering() {
    return !QCoreApplication::organizationName().isEmpty();
}

}  // namespace

std::optional<RememberedChoice> LoadRememberedChoice() {
    if (!Remembering()) {
        return std::nullopt;
    }
    QSettings settings;
    settings.beginGroup(kGroup);
    if (!settings.contains("Model")) {
        return std::nullopt;
    }
    RememberedChoice c;
    c.model = settings.value("Model").toString();
    c.linkButton = settings.value("Link", -1).toInt();
    c.serialPort = settings.value("SerialPort").toString();
    c.baud = settings.value("Baud").toString();
    c.dataBits = settings.value("DataBits").toString();
    c.stopBits = settings.value("StopBits").toString();
    c.parity = settings.value("Parity").toString();
    c.flow = settings.value("Flow").toString();
    c.parallelPort = settings.value("ParallelPort").toString();
    c.printerName = settings.value("Driver").toString();
    c.usbDevice = settings.value("UsbDevice", -1).toInt();
    c.networkHost = settings.value("NetworkHost").toString();
    c.networkPort = settings.value("NetworkPort").toString();
    return c;
}

void SaveRememberedChoice(const RememberedChoice& c) {
    if (!Remembering()) {
        return;
    }
    QSettings settings;
    settings.beginGroup(kGroup);
    settings.setValue("Model", c.model);
    settings.setValue("Link", c.linkButton);
    settings.setValue("SerialPort", c.serialPort);
    settings.setValue("Baud", c.baud);
    settings.setValue("DataBits", c.dataBits);
    settings.setValue("StopBits", c.stopBits);
    settings.setValue("Parity", c.parity);
    settings.setValue("Flow", c.flow);
    settings.setValue("ParallelPort", c.parallelPort);
    settings.setValue("Driver", c.printerName);
    settings.setValue("UsbDevice", c.usbDevice);
    settings.setValue("NetworkHost", c.networkHost);
    settings.setValue("NetworkPort", c.networkPort);
}

}  // namespace stampa
