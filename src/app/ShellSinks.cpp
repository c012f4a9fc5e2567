// The QMessageBox sink.
#include "app/ShellSinks.h"

#include <QMessageBox>
#include <QPushButton>
#include <QString>

namespace kradon {
namespace {

QMessageBox::Icon toBoxIcon(Icon icon) {
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toBoxButtons(Buttons buttons) {
    switch (buttons) {
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::SaveDiscardCancel:
        return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    case Buttons::ContinueCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

Answer toAnswer(int button, Buttons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return buttons == Buttons::ContinueCancel ? Answer::Continue : Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    default:
        break;
    }
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

int runBox(QWidget* parent, const Message& message, Buttons buttons) {
    const QString title =
        QString::fromStdString(message.title.empty() ? std::string(ProgramTitle) : message.title);
    QMessageBox box(toBoxIcon(message.icon), title, QString::fromStdString(message.text),
                    toBoxButtons(buttons), parent);
    if (buttons == Buttons::ContinueCancel)
        box.button(QMessageBox::Ok)->setText(QObject::tr("Continue"));
    return box.exec();
}

} // namespace

void MessageBoxSink::show(const Message& message) {
    runBox(parent_, message, Buttons::Ok);
}

Answer MessageBoxSink::ask(const Message& message, Buttons buttons) {
    return toAnswer(runBox(parent_, message, buttons), buttons);
}

} // namespace kradon
