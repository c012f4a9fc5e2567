// The file dialogs of the desktop program behind a small interface, so the file commands can be
// driven without a modal dialog.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace kradon {

/// A name typed or chosen in a file dialog; nullopt when the user cancelled. An empty name is a
/// choice too (the dialog was confirmed without one).
using PickedName = std::optional<QString>;

/// startAt, in both dialogs, is the folder the dialog starts in, or a file path: its folder,
/// with its name proposed. Empty leaves the choice to the dialog.
class FilePicker {
public:
    virtual ~FilePicker() = default;
    /// A save dialog with the overwrite prompt on; the default suffix is added to a name without
    /// one. filters are dialog filter texts, for example "Kradon files (*.kdn)".
    virtual PickedName saveName(QWidget* parent, const QString& title, const QStringList& filters,
                                const QString& defaultSuffix, const QString& startAt) = 0;
    /// An open dialog for an existing file.
    virtual PickedName openName(QWidget* parent, const QStringList& filters,
                                const QString& defaultSuffix, const QString& startAt) = 0;
    /// A folder browser showing folders only, without a title or an owner window.
    virtual PickedName folderName() = 0;
};

/// The program's own dialogs.
class DialogFilePicker : public FilePicker {
public:
    PickedName saveName(QWidget* parent, const QString& title, const QStringList& filters,
                        const QString& defaultSuffix, const QString& startAt) override;
    PickedName openName(QWidget* parent, const QStringList& filters, const QString& defaultSuffix,
                        const QString& startAt) override;
    PickedName folderName() override;
};

/// The dialog filters of a filter written as "name|pattern|name|pattern": "Kradon files|*.kdn"
/// becomes "Kradon files (*.kdn)".
QStringList DialogFilters(const QString& barSeparated);

} // namespace kradon
