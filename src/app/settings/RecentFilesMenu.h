// The recently used files at the end of the main window's File menu: one item per entry of the
// list kept by modRUF, between the separators mnuBar2 and mnuBar3.
#pragma once

#include "analysis/ProgramState.h"
#include "model/Sinks.h"
#include "settings/UserSettings.h"
#include "settings/modRUF.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QAction;
class QLineEdit;
class QMenu;

namespace kradon {

class RecentFilesMenu : public QObject {
    Q_OBJECT
signals:
    /// Entry index (from 1) was chosen.
    void entryChosen(int index);

public:
    /// The list in menu between mnuBar2 and mnuBar3, its length read from maxFilesTxt.
    RecentFilesMenu(QMenu& menu, QAction& mnuBar2, QAction& mnuBar3, UserSettings& settings,
                    Options& options, QLineEdit& maxFilesTxt, MessageSink& messages,
                    QObject* parent = nullptr);
    ~RecentFilesMenu() override;

    /// The list as stored; on the first run the file type is registered.
    void Load();
    void AddFile(const QString& path);
    void TrimToLength();
    /// The full path of entry index.
    QString tag(int index) const;
    const modRUF::RecentFiles& list() const { return *list_; }

    /// The items, 1..n; entry 0 is not an item.
    std::vector<QAction*> mnuRUF;

private:
    void showList();
    QAction* createItem(int index);

    QMenu& menu_;
    QAction& mnuBar2_;
    QAction& mnuBar3_;
    std::unique_ptr<modRUF::LengthField> field_;
    std::unique_ptr<modRUF::RecentFiles> list_;
};

} // namespace kradon
