// The program's start-up after the single-copy check: the user details form when they are
// missing, then the splash and the main window, disabled until the splash goes, and the settings
// file, which opens the tip of the day when it is due.
#pragma once

#include "app/SettingsStore.h"
#include "app/frmMain.h"
#include "settings/UserDetails.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace kradon {

class FilePicker;
class ShellSink;
class TimerSource;
class frmIntro;
class frmSplash;

class Startup : public QObject {
    Q_OBJECT
signals:
    /// The user chose to quit in the user details form; the program ends at once.
    void quitRequested();
    /// StartMain has run: the main window is shown, and enabled once the splash has gone.
    void started(kradon::frmMain& main);

public:
    /// The main window will be made with messages, files and paths; the splash takes its time
    /// from timers.
    Startup(ShellSink& messages, FilePicker& files, ShellPaths paths, TimerSource& timers);
    ~Startup() override;

    /// The user details form when the details are missing, otherwise StartMain.
    void Main();
    /// Reads the user details from the settings store; true when both are there.
    bool GetUserDetails();
    /// Shows the splash and the main window, reads the settings file and opens the tip of the
    /// day when due.
    void StartMain();

    const UserDetails& user() const { return user_; }
    /// Each null until made, and again once closed.
    frmMain* mainWindow() const { return main_.get(); }
    frmIntro* introForm() const;
    frmSplash* splash() const;

private:
    void showIntro();

    ShellSink& messages_;
    FilePicker& files_;
    ShellPaths paths_;
    TimerSource& timers_;
    SettingsStore settings_;
    UserDetails user_;
    std::unique_ptr<frmMain> main_;
    QPointer<frmIntro> intro_;
    QPointer<frmSplash> splash_;
};

} // namespace kradon
