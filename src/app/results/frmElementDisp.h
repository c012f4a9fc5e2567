// The element displacement view: the number, nodes and length of one element, the translations
// and rotations of its end nodes, and a graph of its deflection along its length with the
// largest value marked.
#pragma once

#include "analysis/ProgramState.h"
#include "graphics/ElementGraph.h"

#include <QImage>
#include <QWidget>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;

namespace kradon {

inline constexpr const char* ElementDispCaption = "Element Displacement Graph";
inline constexpr const char* EleNoText = "Element No.: ";
inline constexpr const char* NodeiText = "Node i No.: ";
inline constexpr const char* NodejText = "Node j No.: ";
inline constexpr const char* EleLengthText = "Element Length: ";

/// A value of the text boxes and the label, in the pattern "##.##e+##".
inline std::string ElementDispText(double v) {
    return FormatScientific(v);
}

/// The picture box of the view: it shows the image the graph was last drawn into.
class ElementPicture : public QWidget {
    Q_OBJECT
public:
    explicit ElementPicture(QWidget* parent);
    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& image);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

class frmElementDisp : public QWidget {
    Q_OBJECT
public:
    /// owner (the main window) keeps the view, a tool window, above itself; the view deletes
    /// itself on close.
    explicit frmElementDisp(QWidget* owner);
    ~frmElementDisp() override;

    /// The deflection in m at x m from node i.
    double FunctionEval1(double x) const;
    /// Redraws Picture1 from the five values below and sets maxDispLbl.
    void drawGraph();
    /// Lets go of the owner, so the view no longer stays above it.
    void endForm();

    // Set by the caller before drawing.
    double Def_i = 0;      // m, downwards positive
    double Rot_i = 0;      // rad, clockwise positive
    double Def_j = 0;      // m
    double Rot_j = 0;      // rad
    double eleLength = 0;  // m
    int elementNumber = 0; // the element shown; 0 before any

    ElementPicture* Picture1;
    QFrame* ctrlFrame;
    QLabel* eleNoLbl;
    QLabel* nodeiLbl;
    QLabel* nodejLbl;
    QLabel* eleLengthLbl;
    QLabel* maxDispLbl;
    QLineEdit* Def_iTxt;
    QLineEdit* Rot_iTxt;
    QLineEdit* Def_jTxt;
    QLineEdit* Rot_jTxt;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void layoutControls();
    ElementEndValues values() const { return {Def_i, Rot_i, Def_j, Rot_j, eleLength}; }

    bool drawing_ = false;
};

/// Fills view with element e of the analysis (1..ElementCount): its end displacements, its
/// length and the captions, and draws the graph. A step that fails (an element the tables do
/// not hold) is skipped and the rest still runs.
void FillElementView(frmElementDisp& view, const ProgramState& state, int e);
/// FillElementView, then shows the view.
void OpenElementView(frmElementDisp& view, const ProgramState& state, int e);

} // namespace kradon
