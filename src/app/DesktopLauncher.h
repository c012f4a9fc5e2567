// Opening a file with the desktop's own program, behind a small interface so that window tests
// never start a browser.
#pragma once

#include <QString>

namespace kradon {

class DesktopLauncher {
public:
    virtual ~DesktopLauncher() = default;
    /// Asks the desktop to open the file with its default program; false when it could not,
    /// for example on a machine without a browser.
    virtual bool open(const QString& file) = 0;
};

/// The desktop services of the platform.
class SystemDesktopLauncher : public DesktopLauncher {
public:
    bool open(const QString& file) override;
};

} // namespace kradon
