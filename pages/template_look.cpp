#include "pages/template_look.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

namespace stampa {
namespace {

// The title sits on the frame's top line, which runs half a line below the
// box's top; the lists draw a line under each row and between the columns.
constexpr const char* kTemplateStyle = R"(
QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.6em; }
QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;
                   left: 6px; padding: 0 2px; }
QTreeView::item { border-right: 1px solid palette(midlight);
                  border-bottom: 1px solid palette(midlight); }
QTreeView::item:selected { background: palette(highlight); color: palette(highlighted-text); }
)";

class CheckedButtonFocus final : public QObject {
  public:
    explicit CheckedButtonFocus(QButtonGroup* group) : QObject(group), group_(group) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusIn)
            return false;
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        QAbstractButton* checked = group_->checkedButton();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && checked &&
            checked != watched && checked->isEnabled()) {
            checked->setFocus(reason);
        }
        return false;
    }

  private:
    QButtonGroup* group_;
};

}  // namespace

void ApplyTemplateLook(QWidget* page) {
    page->setStyleSheet(QString::fromLatin1(kTemplateStyle));
    for (QButtonGroup* group : page->findChildren<QButtonGroup*>())
        TabToCheckedButton(group);
}

void TabToCheckedButton(QButtonGroup* group) {
    auto* filter = new CheckedButtonFocus(group);
    for (QAbstractButton* button : group->buttons())
        button->installEventFilter(filter);
}

}  // namespace stampa
