// The explorer's pages of the load cases and the combinations. Load Cases: one row per case
// (its name, which can be edited, its title and whether it is patterned), the current case (the
// one the load dialogs add to and the idealised beam shows) and buttons to add and delete cases.
// Combinations: one row per combination and one column per case, each cell the factor of that
// case in that combination (empty: the case is not in it). Every change is one Undo step.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QComboBox;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace kradon {

class frmMain;
struct CaseModel;

inline constexpr const char* LoadCasesNodeText = "Load Cases";
inline constexpr const char* CombinationsNodeText = "Combinations";
/// A factor cell whose text is no number: %1 the text.
inline constexpr const char* FactorRefusedText =
    "\"%1\" is not a factor. Type a number, or nothing to leave the case out of the combination.";

class LoadCasesPage : public QWidget {
    Q_OBJECT
public:
    LoadCasesPage(frmMain& main, QWidget* parent);
    /// Shows the cases as the model holds them now.
    void refresh();

    QComboBox* currentCaseCmb;
    QTableWidget* casesTbl; // "Load Case", "Title", "Patterned"
    QPushButton* addCaseBtn;
    QPushButton* deleteCaseBtn;

private:
    void cellChanged(QTableWidgetItem* item);
    void change(const std::function<void(CaseModel&)>& edit, const QString& step);
    frmMain& main_;
};

class CombinationsPage : public QWidget {
    Q_OBJECT
public:
    CombinationsPage(frmMain& main, QWidget* parent);
    void refresh();

    QTableWidget* combinationsTbl; // "Combination", then one column per case
    QPushButton* addCombinationBtn;
    QPushButton* deleteCombinationBtn;

private:
    void cellChanged(QTableWidgetItem* item);
    void change(const std::function<void(CaseModel&)>& edit, const QString& step);
    frmMain& main_;
};

} // namespace kradon
