// The help window.
#include "app/frmHelp.h"

#include "app/OwnedWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <vector>

namespace kradon {
namespace {

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text,
                        const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(tip);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

frmHelp::frmHelp(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName("frmHelp");
    setWindowTitle(HelpCaption);
    helpContents = new QTreeWidget(this);
    helpContents->setObjectName("helpContents");
    helpContents->setHeaderLabel(tr("Contents"));
    helpBrowser = new QTextBrowser(this);
    helpBrowser->setObjectName("helpBrowser");
    // Links to the web go to the desktop; the guide's own links stay here.
    helpBrowser->setOpenExternalLinks(true);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(helpContents);
    splitter->addWidget(helpBrowser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 640});
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(createToolRow());
    column->addWidget(splitter, 1);

    connect(helpBrowser, &QTextBrowser::backwardAvailable, helpBackBtn, &QWidget::setEnabled);
    connect(helpBrowser, &QTextBrowser::forwardAvailable, helpForwardBtn, &QWidget::setEnabled);
    connect(helpBackBtn, &QToolButton::clicked, helpBrowser, &QTextBrowser::backward);
    connect(helpForwardBtn, &QToolButton::clicked, helpBrowser, &QTextBrowser::forward);
    connect(helpHomeBtn, &QToolButton::clicked, helpBrowser, &QTextBrowser::home);
    connect(helpBrowser, &QTextBrowser::sourceChanged, this, &frmHelp::listHeadings);
    connect(helpContents, &QTreeWidget::itemClicked, this, &frmHelp::showHeading);
    connect(helpContents, &QTreeWidget::itemActivated, this, &frmHelp::showHeading);
    connect(helpFindTxt, &QLineEdit::returnPressed, this,
            [this] { findNext(helpFindTxt->text()); });
    connect(helpFindBtn, &QToolButton::clicked, this, [this] { findNext(helpFindTxt->text()); });
    connect(helpBrowserBtn, &QToolButton::clicked, this, [this] {
        const QUrl shown = helpBrowser->source();
        emit openInBrowserRequested(shown.isLocalFile() ? shown.toLocalFile() : guide_);
    });
    resize(900, 660);
}

QWidget* frmHelp::createToolRow() {
    auto* row = new QWidget(this);
    helpBackBtn = toolButton(row, "helpBackBtn", tr("Back"), tr("Back (Alt+Left)"));
    helpBackBtn->setShortcut(QKeySequence::Back);
    helpBackBtn->setEnabled(false);
    helpForwardBtn = toolButton(row, "helpForwardBtn", tr("Forward"), tr("Forward (Alt+Right)"));
    helpForwardBtn->setShortcut(QKeySequence::Forward);
    helpForwardBtn->setEnabled(false);
    helpHomeBtn = toolButton(row, "helpHomeBtn", tr("Contents"), tr("The start of the guide"));
    helpFindTxt = new QLineEdit(row);
    helpFindTxt->setObjectName("helpFindTxt");
    helpFindTxt->setPlaceholderText(tr("Find in the guide (Ctrl+F)"));
    helpFindTxt->setClearButtonEnabled(true);
    helpFindBtn = toolButton(row, "helpFindBtn", tr("Find Next"), tr("Find the next place"));
    helpFindLbl = new QLabel(row);
    helpFindLbl->setObjectName("helpFindLbl");
    helpBrowserBtn = toolButton(row, "helpBrowserBtn", tr("Open in Browser"),
                                tr("Show the guide in the desktop's web browser"));
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    addAction(find);
    connect(find, &QAction::triggered, this, [this] {
        helpFindTxt->setFocus(Qt::ShortcutFocusReason);
        helpFindTxt->selectAll();
    });
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : std::vector<QWidget*>{helpBackBtn, helpForwardBtn, helpHomeBtn})
        layout->addWidget(w);
    layout->addSpacing(12);
    layout->addWidget(helpFindTxt, 1);
    layout->addWidget(helpFindBtn);
    layout->addWidget(helpFindLbl);
    layout->addStretch();
    layout->addWidget(helpBrowserBtn);
    return row;
}

void frmHelp::showGuide(const QString& path) {
    guide_ = path;
    helpBrowser->setSource(QUrl::fromLocalFile(path));
    // Over the main window the first time, where the user looks.
    ShowOwnedWindow(*this);
    activateWindow();
}

bool frmHelp::findNext(const QString& text) {
    helpFindLbl->clear();
    if (text.isEmpty())
        return false;
    if (helpBrowser->find(text))
        return true;
    // Round to the start once; a text the guide does not hold is said so.
    helpBrowser->moveCursor(QTextCursor::Start);
    if (helpBrowser->find(text))
        return true;
    helpFindLbl->setText(NotFoundText);
    return false;
}

void frmHelp::showHeading(QTreeWidgetItem* entry) {
    if (entry == nullptr)
        return;
    QTextDocument* document = helpBrowser->document();
    const QTextBlock block = document->findBlock(entry->data(0, Qt::UserRole).toInt());
    helpBrowser->setTextCursor(QTextCursor(block));
    const QRectF place = document->documentLayout()->blockBoundingRect(block);
    helpBrowser->verticalScrollBar()->setValue(static_cast<int>(place.top()));
}

void frmHelp::listHeadings() {
    helpContents->clear();
    // The entry of the last heading of each level, so a heading goes under the one above it.
    std::vector<QTreeWidgetItem*> above;
    for (QTextBlock block = helpBrowser->document()->begin(); block.isValid();
         block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || block.text().trimmed().isEmpty())
            continue;
        above.resize(static_cast<std::size_t>(level));
        QTreeWidgetItem* parent = nullptr;
        for (std::size_t l = static_cast<std::size_t>(level) - 1; l-- > 0 && parent == nullptr;)
            parent = above[l];
        auto* entry =
            parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(helpContents);
        entry->setText(0, block.text().trimmed());
        entry->setData(0, Qt::UserRole, block.position());
        above[static_cast<std::size_t>(level) - 1] = entry;
    }
    helpContents->expandAll();
}

} // namespace kradon
