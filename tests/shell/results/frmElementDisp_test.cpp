// The element displacement view: the curve, its extreme and label for the documented cases, and
// redrawing on resize.
#include "app/results/frmElementDisp.h"

#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

namespace kradon {
namespace {

struct Case {
    const char* name;
    ElementEndValues values;
    const char* label;
};

/// Counts the pixels of the picture close to a colour.
int pixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 60 &&
                std::abs(c.green() - colour.green()) < 60 &&
                std::abs(c.blue() - colour.blue()) < 60)
                ++count;
        }
    return count;
}

void setValues(frmElementDisp& view, const ElementEndValues& v) {
    view.Def_i = v.Def_i;
    view.Rot_i = v.Rot_i;
    view.Def_j = v.Def_j;
    view.Rot_j = v.Rot_j;
    view.eleLength = v.eleLength;
}

TEST(frmElementDisp, ExtremeAndLabelOfTheDocumentedCases) {
    const std::vector<Case> cases = {
        // Level at 0.01 m: every sample is the extreme; the label keeps the last, at L.
        {"level", {0.01, 0, 0.01, 0, 2}, "Maximum Element Displacement: 1e-02m at 2e+00m"},
        // The cubic reaches its end value 0.002 m at the right end, its largest.
        {"rising", {0, 0, 0.002, 0.001, 2}, "Maximum Element Displacement: 2e-03m at 2e+00m"},
        // Upwards everywhere: the lowest value is the extreme.
        {"upwards", {-0.005, 0, -0.005, 0, 4}, "Maximum Element Displacement: -5e-03m at 4e+00m"},
    };
    for (const Case& c : cases) {
        frmElementDisp view(nullptr);
        view.resize(500, 450);
        setValues(view, c.values);
        view.drawGraph();
        EXPECT_EQ(view.maxDispLbl->text().toStdString(), c.label) << c.name;
        EXPECT_EQ(view.FunctionEval1(0), c.values.Def_i) << c.name;
        EXPECT_NEAR(view.FunctionEval1(c.values.eleLength), c.values.Def_j, 1e-15) << c.name;
        const QImage& picture = view.Picture1->picture();
        EXPECT_EQ(picture.size(), view.Picture1->size()) << c.name;
        EXPECT_GT(pixelsOf(picture, Qt::blue) + pixelsOf(picture, Qt::red), 0) << c.name;
        EXPECT_GT(pixelsOf(picture, Qt::black), 0) << c.name;
    }
}

TEST(frmElementDisp, ControlsCarryTheirCaptions) {
    frmElementDisp view(nullptr);
    EXPECT_EQ(view.objectName(), "frmElementDisp");
    EXPECT_EQ(view.windowTitle(), "Element Displacement Graph");
    for (const char* name :
         {"Picture1", "ctrlFrame", "eleNoLbl", "nodeiLbl", "nodejLbl", "eleLengthLbl", "maxDispLbl",
          "Def_iTxt", "Rot_iTxt", "Def_jTxt", "Rot_jTxt"})
        EXPECT_NE(view.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(view.eleNoLbl->text(), "Element No.: ");
    EXPECT_EQ(view.eleLengthLbl->text(), "Element Length: ");
}

TEST(frmElementDisp, ResizeRedrawsToTheNewSize) {
    frmElementDisp view(nullptr);
    setValues(view, {0, 0.001, 0.002, -0.001, 3});
    view.resize(500, 450);
    view.show();
    QApplication::processEvents();
    view.resize(700, 600);
    QApplication::processEvents();
    const QRect picture = view.Picture1->geometry();
    EXPECT_EQ(view.Picture1->picture().size(), picture.size());
    const int dpi = view.logicalDpiX();
    EXPECT_EQ(picture.width(), 700 - 800 * dpi / 1440);
    EXPECT_EQ(picture.height(), 600 - view.ctrlFrame->height() - 800 * dpi / 1440);
    EXPECT_EQ(picture.x(), (700 - picture.width()) / 2);
    EXPECT_EQ(view.ctrlFrame->y(), picture.height() + 200 * dpi / 1440);
    EXPECT_EQ(view.ctrlFrame->x(), (700 - view.ctrlFrame->width()) / 2);
}

TEST(frmElementDisp, FlatElementStillDraws) {
    frmElementDisp view(nullptr);
    view.resize(400, 400);
    setValues(view, {0, 0, 0, 0, 1});
    view.drawGraph();
    EXPECT_GT(pixelsOf(view.Picture1->picture(), Qt::black), 0);
}

} // namespace
} // namespace kradon
