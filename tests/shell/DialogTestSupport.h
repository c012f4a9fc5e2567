// Driving the load, support and property dialogs of a main window the way a user does: the Add
// commands, typing into fields found by name, and clicking buttons.
#pragma once

#include "ShellTestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace kradon::test {

/// The toolbar positions of the Add commands.
enum AddButton {
    AddPointLoad = 5,
    AddUniformLoad = 6,
    AddTrapezoidalLoad = 7,
    AddMomentLoad = 8,
    AddFixedDisplacement = 9,
    AddRigidSupport = 11,
    AddSpringSupport = 12,
    AddEValue = 14,
    AddIValue = 15,
};

/// The dialog named name that item opens.
inline QDialog* OpenDialog(frmMain& main, QAction* item, const char* name) {
    item->trigger();
    // A fresh E or I dialog replaces the one before it, which goes at the next event round.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QDialog* dialog = nullptr;
    for (QDialog* d : main.findChildren<QDialog*>(name))
        if (d->isVisible())
            dialog = d;
    EXPECT_NE(dialog, nullptr) << name;
    return dialog;
}

/// The dialog named name that toolbar position button opens.
inline QDialog* ClickAdd(frmMain& main, int button, const char* name) {
    return OpenDialog(main, main.KradonTBButton[static_cast<std::size_t>(button)], name);
}

template <typename Control> Control* Find(QWidget* dialog, const char* name) {
    auto* control = dialog->findChild<Control*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
}

inline QLineEdit* Field(QWidget* dialog, const char* name) {
    return Find<QLineEdit>(dialog, name);
}

/// Replaces the text of field name with text, typed key by key.
inline void Type(QWidget* dialog, const char* name, const QString& text) {
    QLineEdit* field = Field(dialog, name);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
    EXPECT_EQ(field->text(), text) << name;
}

/// Clicks the button near its left end, where a check box or option button has its box and
/// caption however wide its layout makes it.
inline void Click(QWidget* dialog, const char* name) {
    QAbstractButton* button = Find<QAbstractButton>(dialog, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

/// The text of label name as shown on screen: the access key's '&' is not drawn.
inline QString LabelText(QWidget* dialog, const char* name) {
    return Find<QLabel>(dialog, name)->text().remove('&');
}

/// Types text into the span field and applies it with Enter.
inline void TypeSpan(frmMain& main, const QString& text) {
    QTest::mouseClick(main.spanTxt, Qt::LeftButton);
    main.spanTxt->selectAll();
    QTest::keyClicks(main.spanTxt, text);
    QTest::keyClick(main.spanTxt, Qt::Key_Return);
}

} // namespace kradon::test
