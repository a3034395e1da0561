#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include "ui/windows10_style.h"

namespace quillo::ui {
namespace {

TEST(VisualStyle, FoundByNameInAnyCase) {
    EXPECT_TRUE(ApplyVisualStyle(QStringLiteral("windows10")));
    EXPECT_EQ(QApplication::style()->objectName(), "Windows10");
}

TEST(VisualStyle, UnknownNameShowsTheErrorAndKeepsTheLook) {
    ASSERT_TRUE(ApplyVisualStyle(QStringLiteral("Windows10")));
    const QStyle* before = QApplication::style();
    QString text;
    bool closeButton = false;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            closeButton = box->button(QMessageBox::Close) != nullptr && box->buttons().size() == 1;
            box->button(QMessageBox::Close)->click();
        }
    });
    EXPECT_FALSE(ApplyVisualStyle(QStringLiteral("Aero")));
    EXPECT_EQ(text, "Style 'Aero' not found");
    EXPECT_TRUE(closeButton);
    EXPECT_EQ(QApplication::style(), before);
}

}  // namespace
}  // namespace quillo::ui
