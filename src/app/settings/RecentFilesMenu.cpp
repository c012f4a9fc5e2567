// The recent files items of the File menu.
#include "app/settings/RecentFilesMenu.h"

#include "app/NumberText.h"
#include "app/association/FileAssociation.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

namespace kradon {
namespace {

/// The options dialog's length field as the list reads it.
class LineEditLength : public modRUF::LengthField {
public:
    explicit LineEditLength(QLineEdit& field) : field_(field) {}
    std::optional<double> number() const override { return ParseLocaleNumber(field_.text()); }
    void show(std::int16_t length) override { field_.setText(QString::number(length)); }

private:
    QLineEdit& field_;
};

/// The caption as a menu shows it: an "&" in the path is a letter, not an access key.
QString menuText(const std::string& caption) {
    const QString text = QString::fromStdString(caption);
    const qsizetype pathStart = text.indexOf("   ") + 3;
    return text.left(pathStart) + text.mid(pathStart).replace("&", "&&");
}

} // namespace

RecentFilesMenu::RecentFilesMenu(QMenu& menu, QAction& mnuBar2, QAction& mnuBar3,
                                 UserSettings& settings, Options& options, QLineEdit& maxFilesTxt,
                                 MessageSink& messages, QObject* parent)
    : QObject(parent), menu_(menu), mnuBar2_(mnuBar2), mnuBar3_(mnuBar3),
      field_(std::make_unique<LineEditLength>(maxFilesTxt)),
      list_(std::make_unique<modRUF::RecentFiles>(settings, options, *field_, messages)) {
    // Item 1 is there from the start, hidden until the list has an entry.
    mnuRUF = {nullptr, createItem(1)};
    showList();
}

RecentFilesMenu::~RecentFilesMenu() = default;

void RecentFilesMenu::Load() {
    list_->Load(RegisterModelFileType);
    showList();
}

void RecentFilesMenu::AddFile(const QString& path) {
    list_->AddFile(path.toStdString());
    showList();
}

void RecentFilesMenu::TrimToLength() {
    list_->TrimToLength();
    showList();
}

QString RecentFilesMenu::tag(int index) const {
    const auto& items = list_->items();
    if (index < 1 || index >= static_cast<int>(items.size()))
        return {};
    return QString::fromStdString(items[static_cast<std::size_t>(index)].tag);
}

QAction* RecentFilesMenu::createItem(int index) {
    auto* item = new QAction(&menu_);
    item->setObjectName(QString("mnuRUF_%1").arg(index));
    menu_.insertAction(&mnuBar3_, item);
    connect(item, &QAction::triggered, this, [this, index] { emit entryChosen(index); });
    return item;
}

void RecentFilesMenu::showList() {
    const std::vector<modRUF::MenuItem>& items = list_->items();
    // Items past the list's end go; the one being triggered may be among them, so later.
    while (mnuRUF.size() > items.size()) {
        mnuRUF.back()->deleteLater();
        menu_.removeAction(mnuRUF.back());
        mnuRUF.pop_back();
    }
    while (mnuRUF.size() < items.size())
        mnuRUF.push_back(createItem(static_cast<int>(mnuRUF.size())));
    for (std::size_t i = 1; i < items.size(); ++i) {
        mnuRUF[i]->setText(menuText(items[i].caption));
        mnuRUF[i]->setData(QString::fromStdString(items[i].tag));
        mnuRUF[i]->setVisible(i != 1 || list_->firstItemShown());
    }
    mnuBar2_.setVisible(list_->separatorShown());
}

} // namespace kradon
