// The main window's start-up and shut-down: the settings file, the properties explorer, the
// tip of the day, the about box and the help window.
#include "app/Guarded.h"
#include "app/frmHelp.h"
#include "app/frmMain.h"
#include "app/frmProperties.h"
#include "app/modMDI.h"
#include "app/settings/frmAbout.h"
#include "app/settings/frmOptions.h"
#include "app/settings/frmTip.h"
#include "model/KradonError.h"
#include "model/SafeFile.h"
#include "results/ResultQueries.h"
#include "settings/SettingsKeys.h"
#include "settings/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <vector>

namespace kradon {

void frmMain::mnuHelpContents_Click() {
    // A guide that has gone missing from beside the program is no help.
    if (!QFileInfo(paths_.helpFile).isFile()) {
        messages_.show({windowTitle().toStdString(), NoHelpText, Icon::Information});
        return;
    }
    // The program shows the guide itself, whatever the desktop would open the file with; its
    // help window offers the browser.
    showHelpWindow();
}

void frmMain::showHelpWindow() {
    // A guide that is no regular file, or far too large, is not handed to the help window.
    try {
        SafeFile::ReadRegularFile(std::filesystem::path(paths_.helpFile.toStdU16String()),
                                  HelpFileMaxBytes, "a help file");
    } catch (const KradonError& e) {
        messages_.show(
            {windowTitle().toStdString(), MessageLines(NoHelpText, e.what()), Icon::Information});
        return;
    }
    auto* help = findChild<frmHelp*>("frmHelp", Qt::FindDirectChildrenOnly);
    if (help == nullptr) {
        help = new frmHelp(this);
        connect(help, &frmHelp::openInBrowserRequested, this, [this](const QString& path) {
            if (!vLaunch(path))
                messages_.show({HelpCaption, QString(NoBrowserText).arg(path).toStdString(),
                                Icon::Information});
        });
    }
    help->showGuide(paths_.helpFile);
}

bool frmMain::vLaunch(const QString& vFile) {
    return desktop_->open(vFile);
}

void frmMain::mnuOptions_Click() {
    frmOptions_->show();
    frmOptions_->raise();
    frmOptions_->activateWindow();
}

void frmMain::mnuView_TotD_Click() {
    showTips_ = mnuView_TotD->isChecked();
}

void frmMain::mnuView_Properties_Click() {
    // The explorer sets the check mark itself as it opens and closes; the click has already
    // turned it, so whether the explorer is open decides.
    const bool open = frmProperties_ != nullptr && frmProperties_->isVisible();
    ShowPropertiesBox(!open);
    settings_.SaveBoolean(SettingsKeys::Options, SettingsKeys::Properties, !open);
}

void frmMain::ShowPropertiesBox(bool show) {
    FormSettings_.showProperties = show ? -1 : 0;
    if (show)
        ShowProperties();
    else
        closeProperties();
}

frmProperties* frmMain::properties() const {
    return frmProperties_;
}

void frmMain::ShowProperties() {
    if (frmProperties_ == nullptr)
        frmProperties_ = new frmProperties(*this);
    frmProperties_->show();
    frmProperties_->raise();
}

bool frmMain::closeProperties() {
    if (frmProperties_ == nullptr || !frmProperties_->isVisible())
        return false;
    frmProperties_->close();
    return true;
}

// --- Start-up and shut-down ----------------------------------------------------------------

void frmMain::closeEvent(QCloseEvent* event) {
    if (shutDown_) {
        event->accept();
        return;
    }
    if (analysing_) {
        event->ignore();
        return;
    }
    // A span typed and not yet confirmed is taken before the question about unsaved changes.
    if (activeSpanField()->isModified())
        guarded(messages_, [this] { spanTxtChanged(); });
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    // The element displacement window ends here once it exists.
    if (propertiesOpen_ && frmProperties_ != nullptr)
        frmProperties_->endForm();
    ShutDown();
    event->accept();
}

void frmMain::ShutDown() {
    SaveIni();
    mdi_->CloseChild("All");
    shutDown_ = true;
}

void frmMain::ShowPropertiesAtStart() {
    const bool wanted =
        settings_.GetBoolean(SettingsKeys::Options, SettingsKeys::Properties, propertiesOpen_);
    setPropertiesOpen(wanted);
    if (wanted)
        ShowProperties();
    else
        mnuView_Properties->setChecked(false);
}

void frmMain::ShowTipOfTheDay() {
    if (frmTip_ == nullptr) {
        frmTip_ =
            new frmTip(settings_, QString::fromStdU16String(paths_.tipsFile.u16string()), this);
        connect(frmTip_, &frmTip::cmdOKClicked, this, [this](bool showTips) {
            mnuView_TotD->setChecked(showTips);
            mnuView_TotD_Click();
            ShowPropertiesAtStart();
        });
    }
    frmTip_->show();
    frmTip_->raise();
    frmTip_->activateWindow();
}

frmTip* frmMain::tipDialog() const {
    return frmTip_;
}

void frmMain::ShowAbout() {
    (new frmAbout(this))->show();
}

// --- Settings file ------------------------------------------------------------------------

void frmMain::LoadIni() {
    // A missing file is created empty, as the first start-up leaves it.
    const std::vector<std::uint8_t> bytes = OpenIniFile(paths_.settingsFile);
    bool tipShown = false;
    if (bytes.empty()) {
        emit tipOfTheDayRequested();
        tipShown = true;
    } else {
        ReadIni();
    }
    if (showTips_ && !tipShown)
        emit tipOfTheDayRequested();
}

void frmMain::ReadIni() {
    // Fields the file does not hold keep what the window shows now.
    FormSettings_ = collectFormSettings();
    FormSettings_ = DecodeFormSettings(ReadIniFile(paths_.settingsFile), FormSettings_);
    const FormSettings& r = FormSettings_;
    move(TwipsToPixels(r.left), TwipsToPixels(r.top));
    const int width = TwipsToPixels(r.width);
    const int height = TwipsToPixels(r.height);
    if (width > 0 && height > 0)
        resize(width, height);
    if (r.windowState == WindowStateMaximised)
        setWindowState(Qt::WindowMaximized);
    else if (r.windowState == WindowStateMinimised)
        setWindowState(Qt::WindowMinimized);
    mnuView_TotD->setChecked(r.showTips != 0);
    mnuView_Properties->setChecked(r.showProperties != 0);
    showTips_ = r.showTips != 0;
}

FormSettings frmMain::collectFormSettings() const {
    // The place of the normal window, also while it is maximised or minimised.
    const bool normal = !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
    const QPoint frameOffset = geometry().topLeft() - pos();
    const QPoint place = normal ? pos() : normalGeometry().topLeft() - frameOffset;
    const QSize size = normal ? this->size() : normalGeometry().size();
    FormSettings r =
        WithWindowPlace(FormSettings_, PixelsToTwips(place.y()), PixelsToTwips(place.x()),
                        PixelsToTwips(size.width()), PixelsToTwips(size.height()));
    r.windowState = windowState() & Qt::WindowMinimized   ? WindowStateMinimised
                    : windowState() & Qt::WindowMaximized ? WindowStateMaximised
                                                          : WindowStateNormal;
    r.showTips = mnuView_TotD->isChecked() ? -1 : 0;
    r.showProperties = mnuView_Properties->isChecked() ? -1 : 0;
    return r;
}

void frmMain::SaveIni() {
    FormSettings_ = collectFormSettings();
    WriteIniFile(paths_.settingsFile, FormSettings_);
}

} // namespace kradon
