#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "lang/message_table.h"
#include "ui/form1.h"

namespace quillo::ui {

// A freshly built window in English, shown offscreen so that focus and mouse clicks behave as
// on a desktop. FormCreate does not run unless a test runs it.
class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        lang::LanguageIndex = 1;
        form_ = std::make_unique<Form1>();
        form_->show();
        QApplication::setActiveWindow(form_.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    }
    void TearDown() override { form_.reset(); }

    // Shown as far as its own flags go: the window itself may be hidden.
    static bool Shown(const QWidget* widget) { return !widget->isHidden(); }

    std::unique_ptr<Form1> form_;
};

}  // namespace quillo::ui
