// What makes the pages look and behave as their dialog templates do, beyond
// positions: group boxes with the title on the frame, lists with grid lines,
// and tabbing into a radio group landing on its checked button.
#pragma once

class QButtonGroup;
class QWidget;

namespace stampa {

// Group boxes and lists of `page` drawn as the templates ask, and every radio
// group of it tabbed into at its checked button. Called once the page is built.
void ApplyTemplateLook(QWidget* page);

// Tab and Backtab into the group land on its checked button.
void TabToCheckedButton(QButtonGroup* group);

}  // namespace stampa
