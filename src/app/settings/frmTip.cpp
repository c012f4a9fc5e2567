// The tip of the day dialog.
#include "app/settings/frmTip.h"

#include "app/SettingsStore.h"
#include "model/KradonError.h"
#include "settings/SettingsKeys.h"
#include "settings/TipOfTheDay.h"

#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <chrono>
#include <filesystem>

namespace kradon {

frmTip::frmTip(SettingsStore& settings, const QString& tipsFile, QWidget* owner)
    : QDialog(owner), settings_(settings),
      random_(static_cast<std::mt19937::result_type>(
          std::chrono::system_clock::now().time_since_epoch().count())) {
    setObjectName("frmTip");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString("Kradon (v %1) Tip Of The Day").arg(KRADON_VERSION));
    createControls();
    randomOrder_ = settings_.GetBoolean(SettingsKeys::Options, SettingsKeys::TipOrder, true);
    tipOrderOpt[0]->setChecked(randomOrder_);
    tipOrderOpt[1]->setChecked(!randomOrder_);
    chkLoadTipsAtStartup->setChecked(true);
    connectControls();
    try {
        if (!LoadTips(tipsFile))
            lblTipText->setText(TipOfTheDay::MissingTipsText);
    } catch (const KradonError& e) {
        lblTipText->setText(QString(TipOfTheDay::UnreadableTipsText) + e.what());
    }
}

void frmTip::createControls() {
    lblDidYouKnow = new QLabel("Did you know...", this);
    lblDidYouKnow->setObjectName("lblDidYouKnow");
    QFont bold = lblDidYouKnow->font();
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    bold.setBold(true);
    lblDidYouKnow->setFont(bold);
    lblTipText = new QLabel(this);
    lblTipText->setObjectName("lblTipText");
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTipText->setMinimumSize(380, 110);

    auto* tipPanel = new QFrame(this);
    tipPanel->setObjectName("fraTip");
    tipPanel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    tipPanel->setBackgroundRole(QPalette::Base);
    tipPanel->setAutoFillBackground(true);
    auto* icon = new QLabel(tipPanel);
    icon->setPixmap(QIcon(":/icons/kradon.svg").pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QVBoxLayout;
    text->addWidget(lblDidYouKnow);
    text->addWidget(lblTipText, 1);
    auto* panel = new QHBoxLayout(tipPanel);
    panel->addWidget(icon);
    panel->addLayout(text, 1);

    fraTipOrder = new QGroupBox("Tip Order", this);
    fraTipOrder->setObjectName("fraTipOrder");
    tipOrderOpt[0] = new QRadioButton("Random", fraTipOrder);
    tipOrderOpt[1] = new QRadioButton("Rotated", fraTipOrder);
    auto* order = new QHBoxLayout(fraTipOrder);
    for (std::size_t i = 0; i < tipOrderOpt.size(); ++i) {
        tipOrderOpt[i]->setObjectName(QString("tipOrderOpt_%1").arg(i));
        order->addWidget(tipOrderOpt[i]);
    }

    chkLoadTipsAtStartup = new QCheckBox("&Show Tips at Startup", this);
    chkLoadTipsAtStartup->setObjectName("chkLoadTipsAtStartup");
    cmdNextTip = new QPushButton("&Next Tip", this);
    cmdNextTip->setObjectName("cmdNextTip");
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdNextTip);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(tipPanel, 1);
    top->addLayout(buttons);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(chkLoadTipsAtStartup);
    bottom->addStretch();
    bottom->addWidget(fraTipOrder);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
}

void frmTip::connectControls() {
    connect(cmdNextTip, &QPushButton::clicked, this, &frmTip::cmdNextTip_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmTip::cmdOK_Click);
    connect(chkLoadTipsAtStartup, &QCheckBox::clicked, this, &frmTip::chkLoadTipsAtStartup_Click);
    for (std::size_t i = 0; i < tipOrderOpt.size(); ++i)
        connect(tipOrderOpt[i], &QRadioButton::clicked, this,
                [this, i] { tipOrderOpt_Click(static_cast<int>(i)); });
}

bool frmTip::LoadTips(const QString& path) {
    auto tips = TipOfTheDay::LoadTips(std::filesystem::path(path.toStdU16String()));
    if (!tips)
        return false;
    Tips_ = std::move(*tips);
    nextTip();
    return true;
}

void frmTip::nextTip() {
    const TipOfTheDay::CurrentTipStore stored{
        [this](const std::string& fallback) {
            return settings_
                .GetSetting(SettingsKeys::Options, SettingsKeys::CurrentTip,
                            QString::fromStdString(fallback))
                .toStdString();
        },
        [this](const std::string& value) {
            settings_.SaveSetting(SettingsKeys::Options, SettingsKeys::CurrentTip,
                                  QString::fromStdString(value));
        }};
    const double random = std::uniform_real_distribution<double>(0.0, 1.0)(random_);
    CurrentTip_ = TipOfTheDay::NextTip(randomOrder_, Tips_.size(), CurrentTip_, random, stored);
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip() {
    if (Tips_.empty())
        return;
    const auto index = static_cast<std::size_t>(CurrentTip_ - 1);
    if (index < Tips_.size())
        lblTipText->setText(QString::fromStdString(Tips_[index]));
}

void frmTip::cmdNextTip_Click() {
    nextTip();
}

void frmTip::tipOrderOpt_Click(int index) {
    randomOrder_ = index == 0;
    settings_.SaveBoolean(SettingsKeys::Options, SettingsKeys::TipOrder, randomOrder_);
}

void frmTip::chkLoadTipsAtStartup_Click() {
    settings_.SaveSetting(SettingsKeys::Options, SettingsKeys::ShowTipsAtStartup,
                          chkLoadTipsAtStartup->isChecked() ? "1" : "0");
}

void frmTip::cmdOK_Click() {
    emit cmdOKClicked(chkLoadTipsAtStartup->isChecked());
    close();
}

} // namespace kradon
