// The options dialog "Kradon Options": the capacity of the model lists, the mesh density
// factor, whether varying E and I are integrated exactly, the length of the recent files list and
// the folders the Open and Save As dialogs start in. Made once, at start-up, and hidden rather than
// closed, so its fields keep their texts.
#pragma once

#include "analysis/ProgramState.h"
#include "app/ShellSinks.h"
#include "settings/OptionRules.h"
#include "settings/UserSettings.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kradon {

class FilePicker;

class frmOptions : public QDialog {
    Q_OBJECT
signals:
    /// OK has taken the fields: the recent files list is to trim itself to the new length.
    void trimRequested();
    /// OK has taken the fields into the options.
    void optionsTaken();

public:
    frmOptions(Options& options, UserSettings& settings, ShellSink& messages, FilePicker& files,
               QWidget* parent = nullptr);

    /// The three number fields and the exact-sections box become the option values, then the
    /// folders are read from the settings and shown. A number field without a number is named in
    /// a message and keeps its value; the list length is left to the recent files list, which
    /// reports it itself. The "Analyse after every change" box becomes its option and is stored
    /// at once.
    void loadOptions();
    /// MaxNoApplieds and MeshDensFact back inside their bounds, one message per value that was
    /// outside; the fields keep their texts.
    void refuse();
    /// New takes the three number fields as loadOptions does, naming each that holds no number.
    void takeFields();

    QLineEdit* MaxNoApplieds;
    QLineEdit* MeshDensFact;
    /// Checked as stored in the settings when the dialog is made; OK stores it.
    QCheckBox* exactSectionsCheck;
    QLineEdit* maxFilesTxt;
    QLineEdit* fileOpenTxt;
    QLineEdit* fileSaveTxt;
    QCheckBox* AnalyseAfterChangeChk; // "Analyse after every change", stored in the settings
    QPushButton* openBrowseBtn;
    QPushButton* saveBrowseBtn;
    QPushButton* OKBtn;

public slots:
    void OKBtn_Click();
    void openBrowseBtn_Click();
    void saveBrowseBtn_Click();
    void MaxNoApplieds_Change();

private:
    void createFields();
    void connectControls();
    OptionRules::FieldNumbers fieldNumbers() const;
    OptionRules::FieldTexts fieldTexts() const;
    void showFolders();
    void browseFor(const char* key, std::string& folder, QLineEdit* field);

    Options& options_;
    UserSettings& settings_;
    ShellSink& messages_;
    FilePicker& files_;
};

} // namespace kradon
