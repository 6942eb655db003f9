// Helpers for the tests of the program's pages.
#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "pages/file_dialog.h"

namespace stampa::test {

// A control of a page by its id (its object name); a missing one fails the test.
template <typename W>
W* Find(QWidget* page, int id) {
    W* w = page->findChild<W*>(QString::number(id));
    EXPECT_NE(w, nullptr) << "control " << id;
    return w;
}

// A file dialog that picks the files given, or is cancelled; installed for
// the helper's lifetime.
class ScriptedFileDialog final : public IFileDialog {
  public:
    explicit ScriptedFileDialog(std::vector<std::string> files = {}) : next(std::move(files)) {
        previous_ = SetFileDialog(this);
    }
    ~ScriptedFileDialog() override { SetFileDialog(previous_); }
    bool PickBitmaps(QWidget*, std::vector<std::string>& files) override {
        files = next;
        return accept;
    }
    std::vector<std::string> next;
    bool accept = true;

  private:
    IFileDialog* previous_;
};

}  // namespace stampa::test
