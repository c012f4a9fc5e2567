// The user details form of the first start: the user's name and organisation, kept in the
// settings store before the program goes on starting.
#pragma once

#include "settings/UserDetails.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kradon {

class SettingsStore;
class ShellSink;

inline constexpr const char* IntroCaption = "Welcome to Kradon by Tarel Vestrun !!";
inline constexpr const char* QuitQuestionText = "Do you want to quit?";

class frmIntro : public QWidget {
    Q_OBJECT
signals:
    /// Both details were given and stored; the start-up goes on.
    void detailsEntered(const kradon::UserDetails& details);
    /// The user chose to end the program.
    void quitChosen();

public:
    frmIntro(SettingsStore& settings, ShellSink& messages, QWidget* parent = nullptr);

    QLabel* lblCongratulations;
    QLabel* lblFillIn;
    QLabel* lblName;
    QLineEdit* nameTxt;
    QLabel* lblOrganisation;
    QLineEdit* organTxt;
    QPushButton* OKButton;
    QPushButton* CancelButton;

public slots:
    void OKButton_Click();
    void CancelButton_Click();

protected:
    /// Closing the form by its frame asks as Cancel does.
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    /// Asks whether to quit; true when the user said Yes.
    bool quitConfirmed();

    SettingsStore& settings_;
    ShellSink& messages_;
    bool done_ = false;
};

} // namespace kradon
