// Every page in both languages: no label, radio button, check box or button
// text wider than its control at the template sizes.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <memory>

#include "common/language.h"
#include "pages/config_page.h"
#include "pages/download_page.h"
#include "pages/preview_page.h"
#include "pages/print_page.h"
#include "pages/select_page.h"
#include "transfer/session.h"

namespace stampa {
namespace {

// The room a control's text needs: the text, and for radio buttons and check
// boxes their indicator and its spacing.
int NeededWidth(const QWidget* w, const QString& text) {
    int width = w->fontMetrics().horizontalAdvance(text);
    if (qobject_cast<const QRadioButton*>(w) || qobject_cast<const QCheckBox*>(w)) {
        const bool radio = qobject_cast<const QRadioButton*>(w) != nullptr;
        width += w->style()->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth
                                               : QStyle::PM_IndicatorWidth) +
                 w->style()->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing
                                               : QStyle::PM_CheckBoxLabelSpacing);
    } else if (qobject_cast<const QPushButton*>(w)) {
        width += 2 * w->style()->pixelMetric(QStyle::PM_ButtonMargin);
    }
    return width;
}

std::vector<std::string> ClippedTexts(QWidget* page) {
    std::vector<std::string> clipped;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap())
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text();
        for (const QString& line : text.split('\n')) {
            if (!line.isEmpty() && w->isVisibleTo(page) && NeededWidth(w, line) > w->width())
                clipped.push_back(line.toStdString() + " (" + std::to_string(NeededWidth(w, line)) +
                                  " > " + std::to_string(w->width()) + ")");
        }
    }
    return clipped;
}

class LanguageLayoutTest : public ::testing::TestWithParam<Language> {
  protected:
    Session session;
    void SetUp() override { SetLanguage(GetParam()); }
    void TearDown() override { SetLanguage(Language::Chinese); }
};

TEST_P(LanguageLayoutTest, NoTextIsWiderThanItsControl) {
    std::vector<std::unique_ptr<QWidget>> pages;
    pages.push_back(std::make_unique<CConfigPage>(session));
    pages.push_back(std::make_unique<CSelectPage>(session));
    pages.push_back(std::make_unique<CPreviewPage>(session));
    pages.push_back(std::make_unique<CDownloadPage>(session));
    pages.push_back(std::make_unique<CPrintPage>(session));
    for (const auto& page : pages) {
        SCOPED_TRACE(page->metaObject()->className());
        page->show();  // styled as on the screen
        EXPECT_EQ(ClippedTexts(page.get()), std::vector<std::string>{});
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LanguageLayoutTest,
                         ::testing::Values(Language::Chinese, Language::English),
                         [](const auto& info) {
                             return info.param == Language::English ? "English" : "Chinese";
                         });

}  // namespace
}  // namespace stampa
