// The explorer's load case and combination pages.
#include "app/LoadCasesEditor.h"

#include "app/Guarded.h"
#include "app/NumberText.h"
#include "app/frmMain.h"
#include "model/LoadCases.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kradon {
namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

QString quoted(const std::string& name) {
    return "\"" + q(name) + "\"";
}

/// The first of "<stem> 1", "<stem> 2", ... that no entry is named.
template <class Entries> std::string freeName(const Entries& entries, const std::string& stem) {
    for (std::size_t n = 1;; ++n) {
        const std::string name = stem + " " + std::to_string(n);
        if (std::none_of(entries.begin(), entries.end(),
                         [&name](const auto& e) { return e.name == name; }))
            return name;
    }
}

/// The cell of row, column, made when missing; its text and flags as given.
QTableWidgetItem* cell(QTableWidget& table, int row, int column, const QString& text,
                       Qt::ItemFlags flags) {
    QTableWidgetItem* item = table.item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        table.setItem(row, column, item);
    }
    item->setText(text);
    item->setFlags(flags);
    return item;
}

QTableWidget* newTable(QWidget* parent, const char* name) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QPushButton* newButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

const Qt::ItemFlags Editable = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
const Qt::ItemFlags Shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;

} // namespace

// ---- load cases ----

LoadCasesPage::LoadCasesPage(frmMain& main, QWidget* parent) : QWidget(parent), main_(main) {
    setObjectName("LoadCasesPage");
    auto* column = new QVBoxLayout(this);
    auto* currentRow = new QHBoxLayout;
    auto* currentLbl = new QLabel("Current case (the loads dialogs add to it):", this);
    currentCaseCmb = new QComboBox(this);
    currentCaseCmb->setObjectName("currentCaseCmb");
    currentLbl->setBuddy(currentCaseCmb);
    currentRow->addWidget(currentLbl);
    currentRow->addWidget(currentCaseCmb, 1);
    column->addLayout(currentRow);
    casesTbl = newTable(this, "casesTbl");
    casesTbl->setColumnCount(3);
    casesTbl->setHorizontalHeaderLabels({"Load Case", "Title", "Patterned"});
    column->addWidget(casesTbl, 1);
    auto* buttons = new QHBoxLayout;
    addCaseBtn = newButton(this, "addCaseBtn", "Add Case");
    deleteCaseBtn = newButton(this, "deleteCaseBtn", "Delete Case");
    buttons->addWidget(addCaseBtn);
    buttons->addWidget(deleteCaseBtn);
    buttons->addStretch(1);
    column->addLayout(buttons);

    connect(currentCaseCmb, &QComboBox::activated, this, [this](int index) {
        const CaseModel& m = main_.caseModel();
        if (index < 0 || static_cast<std::size_t>(index) >= m.cases.size())
            return;
        const auto c = static_cast<std::size_t>(index);
        change([c](CaseModel& edited) { SetCurrentCase(edited, c); },
               "Current Load Case " + quoted(m.cases[c].name));
    });
    connect(casesTbl, &QTableWidget::itemChanged, this, &LoadCasesPage::cellChanged);
    connect(addCaseBtn, &QPushButton::clicked, this, [this] {
        const std::string name = freeName(main_.caseModel().cases, "Case");
        change([name](CaseModel& m) { AddCase(m, name); }, "Add Load Case " + quoted(name));
    });
    connect(deleteCaseBtn, &QPushButton::clicked, this, [this] {
        const int row = casesTbl->currentRow();
        const CaseModel& m = main_.caseModel();
        if (row < 0 || static_cast<std::size_t>(row) >= m.cases.size())
            return;
        const auto c = static_cast<std::size_t>(row);
        change([c](CaseModel& edited) { DeleteCase(edited, c); },
               "Delete Load Case " + quoted(m.cases[c].name));
    });
    refresh();
}

void LoadCasesPage::refresh() {
    const CaseModel& m = main_.caseModel();
    const QSignalBlocker quietList(currentCaseCmb);
    const QSignalBlocker quietTable(casesTbl);
    currentCaseCmb->clear();
    casesTbl->setRowCount(static_cast<int>(m.cases.size()));
    for (std::size_t c = 0; c < m.cases.size(); ++c) {
        const LoadCase& lc = m.cases[c];
        currentCaseCmb->addItem(q(lc.name));
        const int row = static_cast<int>(c);
        cell(*casesTbl, row, 0, q(lc.name), Editable);
        cell(*casesTbl, row, 1, q(lc.title), Shown);
        cell(*casesTbl, row, 2, QString(), Shown | Qt::ItemIsUserCheckable)
            ->setCheckState(lc.pattern ? Qt::Checked : Qt::Unchecked);
    }
    currentCaseCmb->setCurrentIndex(static_cast<int>(m.current));
    deleteCaseBtn->setEnabled(m.cases.size() > 1);
}

void LoadCasesPage::cellChanged(QTableWidgetItem* item) {
    const CaseModel& m = main_.caseModel();
    const auto c = static_cast<std::size_t>(item->row());
    if (c >= m.cases.size())
        return;
    const std::string old = m.cases[c].name;
    if (item->column() == 0) {
        const std::string name = item->text().trimmed().toStdString();
        change([c, name](CaseModel& edited) { RenameCase(edited, c, name); },
               "Rename Load Case " + quoted(old) + " to " + quoted(name));
    } else if (item->column() == 2) {
        const bool pattern = item->checkState() == Qt::Checked;
        change([c, pattern](CaseModel& edited) { SetPattern(edited, c, pattern); },
               (pattern ? "Pattern Load Case " : "Unpattern Load Case ") + quoted(old));
    }
}

void LoadCasesPage::change(const std::function<void(CaseModel&)>& edit, const QString& step) {
    guarded(main_.messages(), [&] { main_.EditCases(edit, step); });
    // A change refused, or one that changed nothing, leaves the page as the model is.
    refresh();
}

// ---- combinations ----

CombinationsPage::CombinationsPage(frmMain& main, QWidget* parent) : QWidget(parent), main_(main) {
    setObjectName("CombinationsPage");
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel("Factors of the load cases in each combination:", this));
    combinationsTbl = newTable(this, "combinationsTbl");
    combinationsTbl->horizontalHeader()->setStretchLastSection(false);
    column->addWidget(combinationsTbl, 1);
    auto* buttons = new QHBoxLayout;
    addCombinationBtn = newButton(this, "addCombinationBtn", "Add Combination");
    deleteCombinationBtn = newButton(this, "deleteCombinationBtn", "Delete Combination");
    buttons->addWidget(addCombinationBtn);
    buttons->addWidget(deleteCombinationBtn);
    buttons->addStretch(1);
    column->addLayout(buttons);

    connect(combinationsTbl, &QTableWidget::itemChanged, this, &CombinationsPage::cellChanged);
    connect(addCombinationBtn, &QPushButton::clicked, this, [this] {
        const std::string name = freeName(main_.caseModel().combinations, "Combination");
        change([name](CaseModel& m) { AddCombination(m, name); },
               "Add Combination " + quoted(name));
    });
    connect(deleteCombinationBtn, &QPushButton::clicked, this, [this] {
        const int row = combinationsTbl->currentRow();
        const CaseModel& m = main_.caseModel();
        if (row < 0 || static_cast<std::size_t>(row) >= m.combinations.size())
            return;
        const auto k = static_cast<std::size_t>(row);
        change([k](CaseModel& edited) { DeleteCombination(edited, k); },
               "Delete Combination " + quoted(m.combinations[k].name));
    });
    refresh();
}

void CombinationsPage::refresh() {
    const CaseModel& m = main_.caseModel();
    const QSignalBlocker quiet(combinationsTbl);
    QStringList headers{"Combination"};
    for (const LoadCase& c : m.cases)
        headers << q(c.name);
    combinationsTbl->setColumnCount(static_cast<int>(headers.size()));
    combinationsTbl->setHorizontalHeaderLabels(headers);
    combinationsTbl->setRowCount(static_cast<int>(m.combinations.size()));
    for (std::size_t k = 0; k < m.combinations.size(); ++k) {
        const Combination& combination = m.combinations[k];
        const int row = static_cast<int>(k);
        cell(*combinationsTbl, row, 0, q(combination.name), Editable);
        for (std::size_t c = 0; c < m.cases.size(); ++c) {
            QString factor;
            for (const CombinationFactor& f : combination.factors)
                if (f.caseName == m.cases[c].name)
                    factor = LocaleNumberText(f.factor);
            cell(*combinationsTbl, row, static_cast<int>(c) + 1, factor, Editable);
        }
    }
    deleteCombinationBtn->setEnabled(!m.combinations.empty());
}

void CombinationsPage::cellChanged(QTableWidgetItem* item) {
    const CaseModel& m = main_.caseModel();
    const auto k = static_cast<std::size_t>(item->row());
    if (k >= m.combinations.size())
        return;
    const std::string combination = m.combinations[k].name;
    const QString text = item->text().trimmed();
    if (item->column() == 0) {
        const std::string name = text.toStdString();
        change([k, name](CaseModel& edited) { RenameCombination(edited, k, name); },
               "Rename Combination " + quoted(combination) + " to " + quoted(name));
        return;
    }
    const auto c = static_cast<std::size_t>(item->column() - 1);
    if (c >= m.cases.size())
        return;
    std::optional<double> factor;
    if (!text.isEmpty()) {
        factor = ParseLocaleNumber(text);
        if (!factor) {
            main_.messages().show({CombinationsNodeText,
                                   QString(FactorRefusedText).arg(text).toStdString(),
                                   Icon::Exclamation});
            refresh();
            return;
        }
    }
    change([k, c, factor](CaseModel& edited) { SetFactor(edited, k, c, factor); },
           "Factor of " + quoted(m.cases[c].name) + " in " + quoted(combination));
}

void CombinationsPage::change(const std::function<void(CaseModel&)>& edit, const QString& step) {
    guarded(main_.messages(), [&] { main_.EditCases(edit, step); });
    refresh();
}

} // namespace kradon
