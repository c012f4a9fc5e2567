// The diagram window.
#include "app/frmResGraph.h"

#include "app/FilePicker.h"
#include "app/Guarded.h"
#include "app/ResultViews.h"
#include "app/ShellSinks.h"
#include "graphics/PictureHover.h"
#include "graphics/qt/PainterSurface.h"
#ifdef KRADON_HAS_PICTURE_FILES
#include "graphics/qt/PictureFiles.h"
#endif

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusTipEvent>
#include <QToolTip>
#include <QVBoxLayout>
#include <filesystem>

namespace kradon {

inline constexpr const char* PictureFilter = "PNG image|*.png|SVG drawing|*.svg|PDF document|*.pdf";
// The room around the drawing, in pixels: about 100 twips.
inline constexpr int DispMargin = 7;

/// The drawing area: it draws its window's picture afresh on every paint, which follows every
/// resize and showing. Drawing errors are skipped, so a window before any analysis simply shows
/// what could be drawn. The pointer over it shows, in a tooltip and the status bar, what the
/// picture has at that place along the beam.
class DiagramArea : public QWidget {
public:
    DiagramArea(frmResGraph& window, const ProgramState& state, QWidget* parent)
        : QWidget(parent), window_(window), state_(state) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(40, 30);
        setMouseTracking(true);
    }

    /// What the picture shows at pixel column px, as the last paint scaled it.
    QString hoverText(double px) const {
        if (!(scaleWidth_ != 0) || width() <= 0 || window_.drewInstead_)
            return {};
        const double unitsPerPixel = scaleWidth_ / width();
        const double x = scaleLeft_ + px * unitsPerPixel;
        return QString::fromStdString(
            modGraphics::HoverText(window_.pictureKind(), state_, x, HoverPixels * unitsPerPixel));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), Qt::white);
        PainterSurface surface(painter, width(), height());
        NullMessageSink skipped;
        window_.drewInstead_ =
            window_.drawInstead && window_.drawInstead(window_.pictureKind(), surface);
        if (!window_.drewInstead_)
            modGraphics::DrawPicture(window_.pictureKind(), state_, surface, skipped);
        scaleLeft_ = surface.ScaleLeft();
        scaleWidth_ = surface.ScaleWidth();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        const QString text = hoverText(event->position().x());
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
        showStatus(QString(text).replace(QLatin1Char('\n'), QLatin1String("; ")));
    }

    void leaveEvent(QEvent*) override { showStatus(QString()); }

private:
    /// How near the pointer must come to a record, node or jump, in pixels.
    static constexpr double HoverPixels = 5;

    /// The main window's status bar takes the text (an empty one clears it).
    void showStatus(const QString& text) {
        QStatusTipEvent tip(text);
        QCoreApplication::sendEvent(this, &tip);
    }

    frmResGraph& window_;
    const ProgramState& state_;
    double scaleLeft_ = 0;
    double scaleWidth_ = 0;
};

frmResGraph::frmResGraph(std::int16_t kind, ProgramState& state, MessageSink& messages,
                         FilePicker& files, QWidget* parent)
    : QWidget(parent), kind_(kind), state_(state), messages_(messages), files_(files) {
    setObjectName("frmResGraph");
    Disp = new DiagramArea(*this, state_, this);
    Disp->setObjectName("Disp");
    lblTabIndex = new QLabel(this);
    lblTabIndex->setObjectName("lblTabIndex");
    lblTabIndex->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(DispMargin, DispMargin, DispMargin, DispMargin);
    layout->addWidget(Disp);

    mnuPrint = new QAction(tr("&Print..."), this);
    mnuPrint->setObjectName("mnuPrint");
    mnuSavePicture = new QAction(tr("Save Picture &As..."), this);
    mnuSavePicture->setObjectName("mnuSavePicture");
    addAction(mnuPrint);
    addAction(mnuSavePicture);
    setContextMenuPolicy(Qt::ActionsContextMenu);
#ifndef KRADON_HAS_PICTURE_FILES
    // Printing and picture files come with the picture output of the painter layer.
    mnuPrint->setEnabled(false);
    mnuSavePicture->setEnabled(false);
#endif
    connect(mnuPrint, &QAction::triggered, this, &frmResGraph::mnuPrint_Click);
    connect(mnuSavePicture, &QAction::triggered, this, &frmResGraph::mnuSavePicture_Click);
    resize(640, 420);
}

modGraphics::PictureKind frmResGraph::pictureKind() const {
    return static_cast<modGraphics::PictureKind>(kind_);
}

void frmResGraph::redraw() {
    // The drawing area is opaque: a repaint of this window alone leaves it as it was.
    Disp->update();
}

void frmResGraph::setSelector(QWidget* selector) {
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, selector, 0, Qt::AlignLeft);
}

bool frmResGraph::picturesOfTables() {
    if (!drewInstead_)
        return true;
    messages_.show({ProgramTitle, EnvelopePictureText, Icon::Information});
    return false;
}

void frmResGraph::mnuPrint_Click() {
    if (!picturesOfTables() || !ConfirmResultsUse(this, tr("Print")))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(windowTitle());
    if (dialog.exec() != QDialog::Accepted)
        return;
#ifdef KRADON_HAS_PICTURE_FILES
    guarded(messages_, [&] { PrintPicture(printer, pictureKind(), state_, messages_); });
#endif
}

void frmResGraph::mnuSavePicture_Click() {
    if (!picturesOfTables() || !ConfirmResultsUse(this, tr("Save")))
        return;
    const PickedName name = files_.saveName(this, tr("Save Picture As"),
                                            DialogFilters(PictureFilter), "png", QString());
    if (!name || name->isEmpty())
        return;
    const std::filesystem::path path = name->toStdString();
#ifdef KRADON_HAS_PICTURE_FILES
    guarded(messages_,
            [&] { SavePictureFile(pictureKind(), state_, path, Disp->size(), messages_); });
#else
    Q_UNUSED(path);
#endif
}

} // namespace kradon
