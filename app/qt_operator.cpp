#include "app/qt_operator.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QThread>

#include "common/messages.h"
#include "pages/dialog_units.h"

namespace stampa {
namespace {

// A box as narrow as a short text ("删除吗?") would cut its title to "St…pa":
// it is made wide enough for the title beside the window's own buttons.
void KeepTitleWhole(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) * 2 + 160;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

Answer QtOperator::ShowHere(MessageKind kind, const std::string& text, const std::string& detail) {
    QMessageBox box(parent_);
    box.setWindowTitle(UiText(msg::kMessageBoxCaption));
    box.setText(QString::fromStdString(text));
    box.setInformativeText(QString::fromStdString(detail));
    switch (kind) {
        case MessageKind::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageKind::Warning:
        case MessageKind::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageKind::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageKind::Plain:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    if (kind == MessageKind::Question) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    KeepTitleWhole(box);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

Answer QtOperator::Show(MessageKind kind, const std::string& text) {
    return ShowDetailed(kind, text, {});
}

Answer QtOperator::ShowDetailed(MessageKind kind, const std::string& text,
                                const std::string& detail) {
    if (QThread::currentThread() == qApp->thread()) {
        return ShowHere(kind, text, detail);
    }
    Answer answer = Answer::Cancel;
    QMetaObject::invokeMethod(
        qApp, [&] { answer = ShowHere(kind, text, detail); }, Qt::BlockingQueuedConnection);
    return answer;
}

}  // namespace stampa
