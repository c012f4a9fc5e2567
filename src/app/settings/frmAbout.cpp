// The about box.
#include "app/settings/frmAbout.h"

#include "model/Sinks.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace kradon {
namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* owner) : QDialog(owner) {
    setObjectName("frmAbout");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setWindowTitle(QString("About %1").arg(ProgramTitle));

    auto* logo = new QLabel(this);
    logo->setObjectName("picIcon");
    logo->setPixmap(QIcon(":/icons/kradon.svg").pixmap(64, 64));
    lblTitle = makeLabel(this, "lblTitle", ProgramTitle);
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = makeLabel(this, "lblVersion", QString("Version %1").arg(KRADON_VERSION));
    lblDescription = makeLabel(this, "lblDescription", AboutDescriptionText);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    lblDisclaimer = makeLabel(this, "lblDisclaimer", AboutDisclaimerText);
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(logo, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblDescription, 2, 1);
    grid->addWidget(line, 3, 0, 1, 2);
    grid->addWidget(lblDisclaimer, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    grid->addLayout(buttons, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    setFixedWidth(460);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::cmdOK_Click() {
    close();
}

} // namespace kradon
