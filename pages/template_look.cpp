#include "pages/template_look.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

#include "common/language.h"

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

// The longer English texts: a radio button, check box or label too narrow for
// its text grows to the right, as far as the text needs. Done when the page is
// first shown, once its style has given the controls their real sizes.
void WidenForEnglish(QWidget* page) {
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w) ||
            qobject_cast<QLabel*>(w)) {
            const int needed = w->sizeHint().width();
            if (needed > w->width())
                w->resize(needed, w->height());
        }
    }
}

class EnglishWidths final : public QObject {
  public:
    explicit EnglishWidths(QObject* parent) : QObject(parent) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !done_) {
            done_ = true;
            WidenForEnglish(static_cast<QWidget*>(watched));
        }
        return false;
    }

  private:
    bool done_ = false;
};

}  // namespace

void ApplyTemplateLook(QWidget* page) {
    page->setStyleSheet(QString::fromLatin1(kTemplateStyle));
    for (QButtonGroup* group : page->findChildren<QButtonGroup*>())
        TabToCheckedButton(group);
    if (CurrentLanguage() == Language::English) {
        page->installEventFilter(new EnglishWidths(page));
    }
}

void TabToCheckedButton(QButtonGroup* group) {
    auto* filter = new CheckedButtonFocus(group);
    for (QAbstractButton* button : group->buttons())
        button->installEventFilter(filter);
}

}  // namespace stampa
