// The element displacement view.
#include "app/results/frmElementDisp.h"

#include "app/OwnedWindow.h"
#include "graphics/qt/PainterSurface.h"
#include "model/modText.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>
#include <cstddef>
#include <exception>

namespace kradon {
namespace {

/// Window measures are given in twips, 1440 to the inch.
int twips(const QWidget& widget, int value) {
    return value * widget.logicalDpiX() / 1440;
}

QLineEdit* valueBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance("-8.88e-888") + 16);
    return box;
}

QLabel* caption(const char* name, const char* text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QGroupBox* nodeFrame(const char* title, QLineEdit* translation, QLineEdit* rotation,
                     QWidget* parent) {
    auto* frame = new QGroupBox(title, parent);
    auto* form = new QFormLayout(frame);
    form->addRow("Translation (m)", translation);
    form->addRow("Rotation (rads)", rotation);
    return frame;
}

/// Runs step; a failure skips it and the next step still runs.
template <typename Step> void passOver(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

ElementPicture::ElementPicture(QWidget* parent) : QWidget(parent) {
    setObjectName("Picture1");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ElementPicture::setPicture(const QImage& image) {
    picture_ = image;
    update();
}

void ElementPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, picture_);
}

frmElementDisp::frmElementDisp(QWidget* owner) : QWidget(owner, OwnedWindowFlags) {
    setObjectName("frmElementDisp");
    setWindowTitle(ElementDispCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    resize(twips(*this, 7200), twips(*this, 6600));
}

frmElementDisp::~frmElementDisp() {
    endForm();
}

void frmElementDisp::createControls() {
    Picture1 = new ElementPicture(this);
    ctrlFrame = new QFrame(this);
    ctrlFrame->setObjectName("ctrlFrame");

    auto* data = new QGroupBox("Element Data", ctrlFrame);
    eleNoLbl = caption("eleNoLbl", EleNoText, data);
    nodeiLbl = caption("nodeiLbl", NodeiText, data);
    nodejLbl = caption("nodejLbl", NodejText, data);
    eleLengthLbl = caption("eleLengthLbl", EleLengthText, data);
    maxDispLbl = caption("maxDispLbl", "", data);
    auto* dataRows = new QVBoxLayout(data);
    for (QLabel* label : {eleNoLbl, nodeiLbl, nodejLbl, eleLengthLbl, maxDispLbl})
        dataRows->addWidget(label);

    Def_iTxt = valueBox("Def_iTxt", ctrlFrame);
    Rot_iTxt = valueBox("Rot_iTxt", ctrlFrame);
    Def_jTxt = valueBox("Def_jTxt", ctrlFrame);
    Rot_jTxt = valueBox("Rot_jTxt", ctrlFrame);
    auto* nodes = new QVBoxLayout;
    nodes->addWidget(nodeFrame("Node i", Def_iTxt, Rot_iTxt, ctrlFrame));
    nodes->addWidget(nodeFrame("Node j", Def_jTxt, Rot_jTxt, ctrlFrame));

    auto* row = new QHBoxLayout(ctrlFrame);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(data);
    row->addLayout(nodes);
    // Room for the longest maximum label, so the frame keeps its width from element to element.
    maxDispLbl->setMinimumWidth(
        maxDispLbl->fontMetrics().horizontalAdvance("Maximum Element Displacement: "
                                                    "-8.88e-88m at 8.88e+88m"));
    ctrlFrame->adjustSize();
    setMinimumSize(ctrlFrame->width() + twips(*this, 400),
                   ctrlFrame->height() + twips(*this, 2400));
}

double frmElementDisp::FunctionEval1(double x) const {
    return kradon::FunctionEval1(values(), x);
}

void frmElementDisp::drawGraph() {
    if (drawing_)
        return;
    drawing_ = true;
    QCoreApplication::processEvents();
    QImage image(Picture1->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    ElementGraph graph;
    {
        QPainter painter(&image);
        PainterSurface surface(painter, image.width(), image.height());
        graph = kradon::drawGraph(surface, values());
    }
    Picture1->setPicture(image);
    maxDispLbl->setText(text(graph.maxDispLbl));
    drawing_ = false;
}

void frmElementDisp::endForm() {
    if (QWindow* window = windowHandle())
        window->setTransientParent(nullptr);
}

void frmElementDisp::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isMinimized())
        return;
    Picture1->setPicture(QImage());
    layoutControls();
    drawGraph();
}

void frmElementDisp::layoutControls() {
    const int pictureHeight = std::max(1, height() - ctrlFrame->height() - twips(*this, 800));
    const int pictureWidth = std::max(1, width() - twips(*this, 800));
    Picture1->setGeometry((width() - pictureWidth) / 2, twips(*this, 100), pictureWidth,
                          pictureHeight);
    ctrlFrame->move((width() - ctrlFrame->width()) / 2, pictureHeight + twips(*this, 200));
}

void frmElementDisp::closeEvent(QCloseEvent* event) {
    endForm();
    event->accept();
}

void FillElementView(frmElementDisp& view, const ProgramState& state, int e) {
    view.elementNumber = e;
    const auto element = static_cast<std::size_t>(e);
    const MeshTables& mesh = state.mesh;
    const std::vector<double>& d = state.equations.Displacements;
    std::size_t a = 0;
    std::size_t b = 0;
    passOver([&] { a = static_cast<std::size_t>(std::lround(mesh.ElementNode1.at(element))); });
    passOver([&] { b = static_cast<std::size_t>(std::lround(mesh.ElementNode2.at(element))); });
    passOver([&] { view.Def_i = d.at(2 * a - 1); });
    passOver([&] { view.Rot_i = d.at(2 * a); });
    passOver([&] { view.Def_j = d.at(2 * b - 1); });
    passOver([&] { view.Rot_j = d.at(2 * b); });
    view.Def_iTxt->setText(text(ElementDispText(view.Def_i)));
    view.Rot_iTxt->setText(text(ElementDispText(view.Rot_i)));
    view.Def_jTxt->setText(text(ElementDispText(view.Def_j)));
    view.Rot_jTxt->setText(text(ElementDispText(view.Rot_j)));
    passOver([&] { view.eleLength = mesh.ElementLength.at(element); });
    view.eleLengthLbl->setText(EleLengthText + text(modText::GeneralNumber(view.eleLength)) + "m");
    view.eleNoLbl->setText(EleNoText + QString::number(e));
    passOver([&] {
        view.nodeiLbl->setText(NodeiText +
                               text(modText::GeneralNumber(mesh.ElementNode1.at(element))));
    });
    passOver([&] {
        view.nodejLbl->setText(NodejText +
                               text(modText::GeneralNumber(mesh.ElementNode2.at(element))));
    });
    view.drawGraph();
}

void OpenElementView(frmElementDisp& view, const ProgramState& state, int e) {
    FillElementView(view, state, e);
    ShowOwnedWindow(view);
}

} // namespace kradon
