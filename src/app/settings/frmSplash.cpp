// The splash window.
#include "app/settings/frmSplash.h"

#include "app/settings/TimerSource.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QSysInfo>
#include <QVBoxLayout>

namespace kradon {
namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

void scaleFont(QLabel* label, double factor, bool bold) {
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    label->setFont(font);
}

} // namespace

QString PlatformText() {
    QString kernel = QSysInfo::kernelType(); // "linux", "darwin", "winnt", ...
    if (!kernel.isEmpty())
        kernel[0] = kernel[0].toUpper();
    return QString("%1 %2bit").arg(kernel).arg(QSysInfo::WordSize);
}

frmSplash::frmSplash(const UserDetails& user, TimerSource& timers, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      timers_(timers) {
    setObjectName("frmSplash");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Kradon");
    createLabels(user);
}

void frmSplash::createLabels(const UserDetails& user) {
    auto* frame = new QFrame(this);
    frame->setObjectName("fraMainFrame");
    frame->setFrameStyle(QFrame::Box | QFrame::Raised);
    frame->setLineWidth(2);

    auto* logo = makeLabel(frame, "imgLogo", {});
    logo->setPixmap(QIcon(":/icons/kradon.svg").pixmap(96, 96));
    lblProductName = makeLabel(frame, "lblProductName", "Kradon");
    scaleFont(lblProductName, 2.6, true);
    lblVersion = makeLabel(frame, "lblVersion", QString("Version %1").arg(KRADON_VERSION));
    scaleFont(lblVersion, 1.2, true);
    lblPlatform = makeLabel(frame, "lblPlatform", PlatformText());
    scaleFont(lblPlatform, 1.2, false);
    lblWarning = makeLabel(frame, "lblWarning", SplashWarningText);
    lblWarning->setWordWrap(true);
    lblUser = makeLabel(frame, "lblUser", "User:");
    lblUserName = makeLabel(frame, "lblUserName", QString::fromStdString(user.name));
    lblOrganisation = makeLabel(frame, "lblOrganisation", "Organisation:");
    lblOrganisationName =
        makeLabel(frame, "lblOrganisationName", QString::fromStdString(user.organisation));

    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(24, 20, 24, 20);
    grid->setHorizontalSpacing(18);
    grid->addWidget(logo, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblProductName, 0, 1, 1, 2);
    grid->addWidget(lblVersion, 1, 1, 1, 2);
    grid->addWidget(lblPlatform, 2, 1, 1, 2);
    grid->addWidget(lblUser, 3, 1);
    grid->addWidget(lblUserName, 3, 2);
    grid->addWidget(lblOrganisation, 4, 1);
    grid->addWidget(lblOrganisationName, 4, 2);
    grid->addWidget(lblWarning, 5, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowMinimumHeight(3, 32);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    setFixedWidth(480);
}

void frmSplash::ShowSplash() {
    timers_.singleShot(SplashTimerInterval, this, [this] { splashTimer_Timer(); });
    adjustSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    show();
    raise();
}

void frmSplash::ReadyToWork() {
    ready_ = true;
    if (timerDone_)
        closeSplash();
}

void frmSplash::splashTimer_Timer() {
    timerDone_ = true;
    if (ready_)
        closeSplash();
}

void frmSplash::closeSplash() {
    if (mainWindow_ != nullptr)
        mainWindow_->setEnabled(true);
    close();
}

} // namespace kradon
