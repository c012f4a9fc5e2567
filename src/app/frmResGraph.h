// The diagram window: one of the seven pictures of the program (the idealised beam, the mesh, the
// result diagrams and the E and I variations), redrawn from the current tables whenever the
// window is resized or shown, with items to print the picture and to save it to a file.
#pragma once

#include "analysis/ProgramState.h"
#include "graphics/modGraphics.h"
#include "model/Sinks.h"

#include <QWidget>
#include <cstdint>
#include <functional>

class QAction;
class QLabel;

namespace kradon {

class FilePicker;

/// Print or Save Picture asked for while the window shows an envelope.
inline constexpr const char* EnvelopePictureText =
    "An envelope is drawn on the screen only. To print or save a picture, choose a load case or "
    "a combination in the \"Results of\" list.";

class frmResGraph : public QWidget {
    Q_OBJECT
public:
    /// kind is the picture's index 0..6, copied from the book's GraphIndex when the window is
    /// created; messages receives the print and save errors.
    frmResGraph(std::int16_t kind, ProgramState& state, MessageSink& messages, FilePicker& files,
                QWidget* parent = nullptr);

    std::int16_t kind() const { return kind_; }
    modGraphics::PictureKind pictureKind() const;
    /// Draws the picture again from the current tables, at the next paint.
    void redraw();
    /// Puts a widget (the choice of the results shown) above the drawing.
    void setSelector(QWidget* selector);
    /// When set and it returns true, it has drawn the picture in place of the tables' picture
    /// (an envelope); the pointer then reads nothing and the picture is not printed or saved.
    std::function<bool(modGraphics::PictureKind, DrawingSurface&)> drawInstead;
    /// Whether the last paint drew through drawInstead.
    bool drewInstead() const { return drewInstead_; }

    QWidget* Disp;           // the drawing surface, filling the window
    QLabel* lblTabIndex;     // hidden: the window's slot number
    QAction* mnuPrint;       // "&Print..."
    QAction* mnuSavePicture; // "Save Picture &As..."

public slots:
    void mnuPrint_Click();
    void mnuSavePicture_Click();

private:
    friend class DiagramArea;
    /// False, after saying why, while the picture is drawn in place of the tables' picture.
    bool picturesOfTables();
    bool drewInstead_ = false;
    std::int16_t kind_;
    ProgramState& state_;
    MessageSink& messages_;
    FilePicker& files_;
};

} // namespace kradon
