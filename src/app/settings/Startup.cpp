// The start-up sequence.
#include "app/settings/Startup.h"

#include "app/Guarded.h"
#include "app/settings/frmIntro.h"
#include "app/settings/frmSplash.h"
#include "settings/SettingsKeys.h"

namespace kradon {

Startup::Startup(ShellSink& messages, FilePicker& files, ShellPaths paths, TimerSource& timers)
    : messages_(messages), files_(files), paths_(std::move(paths)), timers_(timers),
      settings_(paths_.settingsStore) {}

Startup::~Startup() {
    // Windows of their own, without a parent to take them down.
    delete intro_;
    delete splash_;
}

void Startup::Main() {
    if (GetUserDetails())
        StartMain();
    else
        showIntro();
}

bool Startup::GetUserDetails() {
    user_.name = settings_.GetSetting(SettingsKeys::Config, SettingsKeys::UserName).toStdString();
    user_.organisation =
        settings_.GetSetting(SettingsKeys::Config, SettingsKeys::UserOrganisation).toStdString();
    return HasUserDetails(user_);
}

frmIntro* Startup::introForm() const {
    return intro_;
}

frmSplash* Startup::splash() const {
    return splash_;
}

void Startup::showIntro() {
    intro_ = new frmIntro(settings_, messages_);
    connect(intro_, &frmIntro::detailsEntered, this, [this](const UserDetails& details) {
        user_ = details;
        StartMain();
    });
    connect(intro_, &frmIntro::quitChosen, this, &Startup::quitRequested);
    intro_->show();
}

void Startup::StartMain() {
    const WaitCursor hourglass;
    splash_ = new frmSplash(user_, timers_);
    splash_->ShowSplash();
    main_ = std::make_unique<frmMain>(messages_, files_, paths_);
    main_->setWindowTitle(frmMain::VersionCaption());
    // No input reaches the main window until the splash has gone; it enables the window then.
    main_->setEnabled(false);
    splash_->setMainWindow(main_.get());
    main_->show();
    splash_->ReadyToWork();
    main_->LoadIni();
    emit started(*main_);
}

} // namespace kradon
