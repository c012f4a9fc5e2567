// The about box: the program's title, version, what it does and the liability disclaimer.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kradon {

inline constexpr const char* AboutDescriptionText =
    "Kradon is a program to analyse beams using the finite element method.";
inline constexpr const char* AboutDisclaimerText =
    "Warning: ...    Use of this program infers acceptance that any liablility that results from "
    "its use is the full responsibility of the user. No warranty, direct or implied, is given.";

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner = nullptr);

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;

public slots:
    void cmdOK_Click();
};

} // namespace kradon
