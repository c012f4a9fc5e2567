// The user details form.
#include "app/settings/frmIntro.h"

#include "app/SettingsStore.h"
#include "app/ShellSinks.h"
#include "model/Sinks.h"
#include "settings/SettingsKeys.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFont>
#include <QFormLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kradon {

frmIntro::frmIntro(SettingsStore& settings, ShellSink& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings), messages_(messages) {
    setObjectName("frmIntro");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(IntroCaption);
    setWindowIcon(QIcon(":/icons/kradon.svg"));
    createControls();
    connect(OKButton, &QPushButton::clicked, this, &frmIntro::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmIntro::CancelButton_Click);
}

void frmIntro::createControls() {
    lblCongratulations = new QLabel("Congratulations on a fantastic find!", this);
    lblCongratulations->setObjectName("lblCongratulations");
    QFont big = lblCongratulations->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblCongratulations->setFont(big);
    lblFillIn = new QLabel("Just fill in your info for a more personal use of Kradon", this);
    lblFillIn->setObjectName("lblFillIn");

    // Each field is labelled with an example of what it takes.
    nameTxt = new QLineEdit(this);
    nameTxt->setObjectName("nameTxt");
    lblName = new QLabel("&Name (e.g. Jane Smith):", this);
    lblName->setObjectName("lblName");
    lblName->setBuddy(nameTxt);
    organTxt = new QLineEdit(this);
    organTxt->setObjectName("organTxt");
    lblOrganisation = new QLabel("&Organisation (e.g. Smith Structural Engineers):", this);
    lblOrganisation->setObjectName("lblOrganisation");
    lblOrganisation->setBuddy(organTxt);

    auto* buttons = new QDialogButtonBox(this);
    OKButton = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    OKButton->setAutoDefault(true);
    CancelButton = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    CancelButton->setObjectName("CancelButton");

    auto* fields = new QFormLayout;
    fields->setRowWrapPolicy(QFormLayout::WrapAllRows);
    fields->addRow(lblName, nameTxt);
    fields->addRow(lblOrganisation, organTxt);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCongratulations);
    layout->addWidget(lblFillIn);
    layout->addSpacing(12);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addWidget(buttons);
    // A form of fixed size: the window frame offers no resize handle under its bottom edge.
    nameTxt->setMinimumWidth(400);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(nameTxt, &QLineEdit::returnPressed, this, &frmIntro::OKButton_Click);
    connect(organTxt, &QLineEdit::returnPressed, this, &frmIntro::OKButton_Click);
}

void frmIntro::OKButton_Click() {
    const UserDetails details{nameTxt->text().toStdString(), organTxt->text().toStdString()};
    if (const auto problem = UserDetailsProblem(details)) {
        messages_.show({ProgramTitle, *problem, Icon::Exclamation});
        return;
    }
    settings_.SaveSetting(SettingsKeys::Config, SettingsKeys::UserName, nameTxt->text());
    settings_.SaveSetting(SettingsKeys::Config, SettingsKeys::UserOrganisation, organTxt->text());
    done_ = true;
    emit detailsEntered(details);
    close();
}

void frmIntro::CancelButton_Click() {
    if (quitConfirmed()) {
        done_ = true;
        emit quitChosen();
    }
}

bool frmIntro::quitConfirmed() {
    return messages_.ask({ProgramTitle, QuitQuestionText, Icon::Question}, Buttons::YesNo) ==
           Answer::Yes;
}

void frmIntro::closeEvent(QCloseEvent* event) {
    if (done_) {
        event->accept();
        return;
    }
    if (!quitConfirmed()) {
        event->ignore();
        return;
    }
    done_ = true;
    emit quitChosen();
    event->accept();
}

} // namespace kradon
