// The options dialog.
#include "app/settings/frmOptions.h"

#include "app/FilePicker.h"
#include "app/NumberText.h"
#include "settings/SettingsKeys.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace kradon {
namespace {

constexpr const char* AnalyseAfterChangeCaption = "&Analyse after every change";
constexpr const char* AnalyseAfterChangeTip =
    "Every change of the model is analysed at once, quietly, so open result windows always "
    "show the model as it is";

QLineEdit* namedField(const char* name, const QString& text, QWidget* parent) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(name);
    return field;
}

/// A folder field with its Browse button to the right.
QWidget* folderRow(QLineEdit* field, QPushButton* browse, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    layout->addWidget(browse);
    return row;
}

std::optional<double> numberIn(const QLineEdit* field) {
    return ParseLocaleNumber(field->text());
}

} // namespace

frmOptions::frmOptions(Options& options, UserSettings& settings, ShellSink& messages,
                       FilePicker& files, QWidget* parent)
    : QDialog(parent), options_(options), settings_(settings), messages_(messages), files_(files) {
    setObjectName("frmOptions");
    setWindowTitle("Kradon Options");
    setModal(false);
    createFields();
    connectControls();
    // A new dialog shows the folders as they are now, and the switch as it was stored.
    showFolders();
    exactSectionsCheck->setChecked(OptionRules::StoredExactSections(settings_));
}

void frmOptions::createFields() {
    // The folder fields start at the desktop until the options are loaded.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    MaxNoApplieds = namedField("MaxNoApplieds", "10", this);
    MeshDensFact = namedField("MeshDensFact", "1", this);
    // Alt+I ticks it.
    exactSectionsCheck = new QCheckBox("&" + QString(OptionRules::ExactSectionsCaption), this);
    exactSectionsCheck->setObjectName("exactSectionsCheck");
    exactSectionsCheck->setToolTip("Off, each element takes the E and I of its midpoint");
    maxFilesTxt = namedField("maxFilesTxt", "4", this);
    fileOpenTxt = namedField("fileOpenTxt", desktop, this);
    fileSaveTxt = namedField("fileSaveTxt", desktop, this);
    // The folders change only through Browse, which stores them at once.
    fileOpenTxt->setReadOnly(true);
    fileSaveTxt->setReadOnly(true);
    openBrowseBtn = new QPushButton("Browse...", this);
    openBrowseBtn->setObjectName("openBrowseBtn");
    saveBrowseBtn = new QPushButton("Browse...", this);
    saveBrowseBtn->setObjectName("saveBrowseBtn");
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);

    auto* model = new QGroupBox("Model", this);
    auto* modelForm = new QFormLayout(model);
    modelForm->addRow(QString(OptionRules::MaxNoAppliedsCaption), MaxNoApplieds);
    modelForm->addRow(QString(OptionRules::MeshDensFactCaption), MeshDensFact);
    modelForm->addRow(exactSectionsCheck);
    auto* filesBox = new QGroupBox("Files", this);
    auto* filesForm = new QFormLayout(filesBox);
    filesForm->addRow(QString(OptionRules::MaxFilesCaption), maxFilesTxt);
    filesForm->addRow("Open files from", folderRow(fileOpenTxt, openBrowseBtn, filesBox));
    filesForm->addRow("Save files to", folderRow(fileSaveTxt, saveBrowseBtn, filesBox));
    auto* analysis = new QGroupBox("Analysis", this);
    AnalyseAfterChangeChk = new QCheckBox(AnalyseAfterChangeCaption, analysis);
    AnalyseAfterChangeChk->setObjectName("AnalyseAfterChangeChk");
    AnalyseAfterChangeChk->setToolTip(AnalyseAfterChangeTip);
    AnalyseAfterChangeChk->setChecked(
        GetBoolean(settings_, SettingsKeys::Options, SettingsKeys::AnalyseAfterEveryChange, false));
    auto* analysisColumn = new QVBoxLayout(analysis);
    analysisColumn->addWidget(AnalyseAfterChangeChk);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(OKBtn, QDialogButtonBox::AcceptRole);
    auto* column = new QVBoxLayout(this);
    column->addWidget(model);
    column->addWidget(analysis);
    column->addWidget(filesBox);
    column->addWidget(buttons);
    // A dialog of fixed size: the window frame offers no resize handle under its bottom edge.
    fileOpenTxt->setMinimumWidth(260);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

void frmOptions::connectControls() {
    connect(OKBtn, &QPushButton::clicked, this, &frmOptions::OKBtn_Click);
    connect(openBrowseBtn, &QPushButton::clicked, this, &frmOptions::openBrowseBtn_Click);
    connect(saveBrowseBtn, &QPushButton::clicked, this, &frmOptions::saveBrowseBtn_Click);
    connect(MaxNoApplieds, &QLineEdit::textChanged, this, &frmOptions::MaxNoApplieds_Change);
}

OptionRules::FieldNumbers frmOptions::fieldNumbers() const {
    return {numberIn(MeshDensFact), numberIn(MaxNoApplieds), numberIn(maxFilesTxt)};
}

OptionRules::FieldTexts frmOptions::fieldTexts() const {
    return {MeshDensFact->text().toStdString(), MaxNoApplieds->text().toStdString(),
            maxFilesTxt->text().toStdString()};
}

void frmOptions::loadOptions() {
    OptionRules::TakeFieldNumbers(fieldNumbers(), fieldTexts(), options_, messages_, false);
    options_.ExactSections = exactSectionsCheck->isChecked();
    OptionRules::LoadFolders(settings_, options_);
    showFolders();
    options_.AnalyseAfterEveryChange = AnalyseAfterChangeChk->isChecked();
    SaveBoolean(settings_, SettingsKeys::Options, SettingsKeys::AnalyseAfterEveryChange,
                options_.AnalyseAfterEveryChange);
}

void frmOptions::takeFields() {
    OptionRules::TakeFieldNumbers(fieldNumbers(), fieldTexts(), options_, messages_, true);
}

void frmOptions::refuse() {
    OptionRules::refuse(options_, messages_);
}

void frmOptions::showFolders() {
    fileSaveTxt->setText(QString::fromStdString(options_.SaveIn));
    fileOpenTxt->setText(QString::fromStdString(options_.OpenIn));
}

void frmOptions::OKBtn_Click() {
    loadOptions();
    refuse();
    OptionRules::StoreExactSections(settings_, options_.ExactSections);
    emit trimRequested();
    emit optionsTaken();
    hide();
}

void frmOptions::MaxNoApplieds_Change() {
    // The value follows every change of the text; a text that is no number leaves it as it was.
    if (const std::optional<double> typed = numberIn(MaxNoApplieds))
        options_.MaxNoApplieds = OptionRules::Integer16FromNumber(*typed);
    if (const std::optional<Message> warning =
            OptionRules::MaxNoAppliedsWarning(options_.MaxNoApplieds))
        messages_.show(*warning);
}

void frmOptions::openBrowseBtn_Click() {
    browseFor(SettingsKeys::OpenIn, options_.OpenIn, fileOpenTxt);
}

void frmOptions::saveBrowseBtn_Click() {
    browseFor(SettingsKeys::SaveIn, options_.SaveIn, fileSaveTxt);
}

void frmOptions::browseFor(const char* key, std::string& folder, QLineEdit* field) {
    // A cancelled browser keeps the folder as it was.
    std::optional<std::string> chosen;
    if (const PickedName picked = files_.folderName())
        chosen = picked->toStdString();
    OptionRules::StoreFolder(settings_, key, chosen, folder, messages_);
    field->setText(QString::fromStdString(folder));
}

} // namespace kradon
