// The splash window: product, version, platform, the liability warning and the user details. It
// stays up for at least two seconds and until the main window is ready, and keeps the main
// window disabled until it goes.
#pragma once

#include "settings/UserDetails.h"

#include <QPointer>
#include <QWidget>
#include <chrono>

class QLabel;

namespace kradon {

class TimerSource;

inline constexpr std::chrono::milliseconds SplashTimerInterval{2000};
inline constexpr const char* SplashWarningText =
    " Warning:    The user of this program accepts all liablility that may result from its use.";

/// The platform line of the splash, such as "Linux 64bit".
QString PlatformText();

class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash(const UserDetails& user, TimerSource& timers, QWidget* parent = nullptr);

    /// The window that stays disabled until the splash closes.
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
    /// Starts the minimum time and shows the splash centred on the screen, above other windows.
    void ShowSplash();
    /// The main window is ready; the splash closes now if its time is up.
    void ReadyToWork();

    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblPlatform;
    QLabel* lblWarning;
    QLabel* lblUser;
    QLabel* lblUserName;
    QLabel* lblOrganisation;
    QLabel* lblOrganisationName;

private:
    void createLabels(const UserDetails& user);
    void splashTimer_Timer();
    void closeSplash();

    TimerSource& timers_;
    QPointer<QWidget> mainWindow_;
    bool ready_ = false;
    bool timerDone_ = false;
};

} // namespace kradon
