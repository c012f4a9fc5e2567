// The picture composition window: pictures are drawn on a hidden surface, passed through the
// system clipboard and shown on the visible one. "Beam" composes the idealised beam and the
// bending moment diagram; "Copy Over" puts the hidden picture on the clipboard again.
#pragma once

#include "analysis/ProgramState.h"
#include "model/Sinks.h"

#include <QImage>
#include <QWidget>

class QPushButton;

namespace kradon {

inline constexpr const char* PrintPrevCaption = "Picture Composition";

/// A picture box that keeps its picture as an image and a user scale of its own.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QString& name, QSize size, QWidget* parent);

    const QImage& picture() const { return picture_; }
    /// Shows image as the picture.
    void setPicture(const QImage& image);
    /// A white image of the box's size to draw on.
    QImage blankImage() const;

    double ScaleWidth = 0;
    double ScaleHeight = 0;
    double CurrentY = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

class frmPrintPrev : public QWidget {
    Q_OBJECT
public:
    /// owner keeps the window above itself.
    frmPrintPrev(ProgramState& state, MessageSink& messages, QWidget* owner);

    PictureBox* VisPic;
    PictureBox* HiddenPic;
    QPushButton* BeamBtn;
    QPushButton* CopyOverBtn;

public slots:
    void BeamBtn_Click();
    void CopyOverBtn_Click();

private:
    /// Draws the picture of kind on HiddenPic, which is cleared first, and notes its scale.
    void drawHidden(int kind);
    /// VisPic's picture from the clipboard (HiddenPic's own image where the platform has no
    /// clipboard).
    void pictureFromClipboard();

    ProgramState& state_;
    MessageSink& messages_;
};

} // namespace kradon
