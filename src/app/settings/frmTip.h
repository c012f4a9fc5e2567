// The tip of the day: one tip from the tips file beside the program at a time, in random or
// rotated order, and the switch that shows it at start-up.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kradon {

class SettingsStore;

class frmTip : public QDialog {
    Q_OBJECT
signals:
    /// OK was pressed with "Show Tips at Startup" in the given state; the dialog then goes.
    void cmdOKClicked(bool showTipsAtStartup);

public:
    /// A dialog over owner that reads the tips from tipsFile.
    frmTip(SettingsStore& settings, const QString& tipsFile, QWidget* owner = nullptr);

    /// Reads the tips at path and shows the next one; false when there is no such file. Throws
    /// KradonError for a file that is there but cannot be read as tips.
    bool LoadTips(const QString& path);
    /// Shows tip number CurrentTip, when there is any tip.
    void DisplayCurrentTip();
    const std::vector<std::string>& Tips() const { return Tips_; }
    std::int32_t CurrentTip() const { return CurrentTip_; }

    QLabel* lblDidYouKnow;
    QLabel* lblTipText;
    QGroupBox* fraTipOrder;
    std::array<QRadioButton*, 2> tipOrderOpt{}; // 0 Random, 1 Rotated
    QCheckBox* chkLoadTipsAtStartup;
    QPushButton* cmdNextTip;
    QPushButton* cmdOK;

public slots:
    void cmdNextTip_Click();
    void tipOrderOpt_Click(int index);
    void chkLoadTipsAtStartup_Click();
    void cmdOK_Click();

private:
    void createControls();
    void connectControls();
    void nextTip();

    SettingsStore& settings_;
    std::vector<std::string> Tips_;
    std::int32_t CurrentTip_ = 0;
    bool randomOrder_ = true;
    std::mt19937 random_;
};

} // namespace kradon
