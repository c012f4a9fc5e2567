// The picture composition window.
#include "app/results/frmPrintPrev.h"

#include "app/Guarded.h"
#include "app/OwnedWindow.h"
#include "app/ShellSinks.h"
#include "graphics/modGraphics.h"
#include "graphics/qt/PainterSurface.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace kradon {
namespace {

/// The size of both picture boxes, in pixels.
constexpr QSize PictureSize(480, 320);

} // namespace

PictureBox::PictureBox(const QString& name, QSize size, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setFixedSize(size);
    picture_ = blankImage();
}

void PictureBox::setPicture(const QImage& image) {
    picture_ = image;
    update();
}

QImage PictureBox::blankImage() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, picture_);
}

frmPrintPrev::frmPrintPrev(ProgramState& state, MessageSink& messages, QWidget* owner)
    : QWidget(owner, OwnedWindowFlags), state_(state), messages_(messages) {
    setObjectName("frmPrintPrev");
    setWindowTitle(PrintPrevCaption);
    setAttribute(Qt::WA_DeleteOnClose);

    VisPic = new PictureBox("VisPic", PictureSize, this);
    // Composition happens off screen; the hidden box is never shown.
    HiddenPic = new PictureBox("HiddenPic", PictureSize, this);
    HiddenPic->hide();
    BeamBtn = new QPushButton("Beam", this);
    BeamBtn->setObjectName("BeamBtn");
    CopyOverBtn = new QPushButton("Copy Over", this);
    CopyOverBtn->setObjectName("CopyOverBtn");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BeamBtn);
    buttons->addWidget(CopyOverBtn);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(VisPic);
    layout->addLayout(buttons);

    connect(BeamBtn, &QPushButton::clicked, this, &frmPrintPrev::BeamBtn_Click);
    connect(CopyOverBtn, &QPushButton::clicked, this, &frmPrintPrev::CopyOverBtn_Click);
}

void frmPrintPrev::drawHidden(int kind) {
    QImage image = HiddenPic->blankImage();
    {
        QPainter painter(&image);
        PainterSurface surface(painter, image.width(), image.height());
        // Drawing steps that fail are skipped; what could be drawn stays.
        NullMessageSink skipped;
        guarded(messages_, [&] {
            modGraphics::DrawPicture(static_cast<modGraphics::PictureKind>(kind), state_, surface,
                                     skipped);
        });
        HiddenPic->ScaleWidth = surface.ScaleWidth();
        HiddenPic->ScaleHeight = surface.ScaleHeight();
    }
    HiddenPic->setPicture(image);
}

void frmPrintPrev::pictureFromClipboard() {
    const QImage fromClipboard = QGuiApplication::clipboard()->image();
    VisPic->setPicture(fromClipboard.isNull() ? HiddenPic->picture() : fromClipboard);
}

void frmPrintPrev::BeamBtn_Click() {
    QCoreApplication::processEvents();
    QClipboard& clipboard = *QGuiApplication::clipboard();
    drawHidden(static_cast<int>(modGraphics::PictureKind::Beam));
    const double h = HiddenPic->ScaleHeight;
    clipboard.clear();
    clipboard.setImage(HiddenPic->picture());
    pictureFromClipboard();
    VisPic->setPicture(VisPic->picture());
    VisPic->CurrentY += h;
    drawHidden(static_cast<int>(modGraphics::PictureKind::BendingMoment));
    clipboard.setImage(HiddenPic->picture());
    pictureFromClipboard();
}

void frmPrintPrev::CopyOverBtn_Click() {
    QClipboard& clipboard = *QGuiApplication::clipboard();
    clipboard.clear();
    clipboard.setImage(HiddenPic->picture());
    const double h = HiddenPic->ScaleHeight;
    VisPic->ScaleHeight = 3 * h;
    VisPic->ScaleWidth = HiddenPic->ScaleWidth;
    VisPic->CurrentY += h;
}

} // namespace kradon
