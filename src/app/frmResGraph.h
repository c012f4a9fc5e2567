// The diagram window: one of the seven pictures of the program (the idealised beam, the mesh, the
// result diagrams and the E and I variations), redrawn from the current tables whenever the
// window is resized or shown, with items to print the picture and to save it to a file.
#pragma once

#include "analysis/ProgramState.h"
#include "graphics/modGraphics.h"
#include "model/Sinks.h"

#include <QWidget>
#include <cstdint>

class QAction;
class QLabel;

namespace kradon {

class FilePicker;

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

    QWidget* Disp;           // the drawing surface, filling the window
    QLabel* lblTabIndex;     // hidden: the window's slot number
    QAction* mnuPrint;       // "&Print..."
    QAction* mnuSavePicture; // "Save Picture &As..."

public slots:
    void mnuPrint_Click();
    void mnuSavePicture_Click();

private:
    std::int16_t kind_;
    ProgramState& state_;
    MessageSink& messages_;
    FilePicker& files_;
};

} // namespace kradon
