// The envelope pictures of the three-span sample: both curves, and the extremes labelled with
// what governs them; pictures that have no envelope are left to the usual drawing.
#include "TestFolder.h"
#include "analysis/LoadCombinations.h"
#include "analysis/ModelBuilder.h"
#include "graphics/EnvelopeDiagram.h"
#include "graphics/RecordingSurface.h"

#include "json/ModelJson.h"
#include <gtest/gtest.h>

namespace kradon::modGraphics {
namespace {

TEST(EnvelopeDiagram, MomentEnvelopeHasBothCurvesAndGoverningExtremesOtherPicturesNone) {
    const CaseModel model = ModelJson::OpenCaseModelFile(std::filesystem::path(KRADON_EXAMPLES) /
                                                         "three-span-patterned.kradon.json");
    const test::TestFolder folder;
    NullStatusSink status;
    test::RecordingSink messages;
    CasesOutcome outcome = AnalyseCases(model, folder.path(), status, messages);
    ASSERT_EQ(outcome.outcome, AnalyseOutcome::Completed);
    const CaseAnalysis& analysis = *outcome.analysis;
    const EnvelopeResult envelope = Envelope(analysis, EnvelopeLoadings(model));
    const auto draw = [&](RecordingSurface& s, PictureKind kind) {
        return DrawEnvelopeDiagram(s, kind, analysis, envelope, model, messages);
    };
    RecordingSurface s;
    ASSERT_TRUE(draw(s, PictureKind::BendingMoment));
    const auto elements = static_cast<std::size_t>(analysis.frame.mesh.ElementCount);
    // One line per element and one at each end down to the axis, in each colour.
    EXPECT_EQ(s.linesIn(colours::Blue).size(), elements + 2);
    EXPECT_EQ(s.linesIn(colours::Red).size(), elements + 2);
    // 0.1 x 13.5 x 36 + 7/60 x 22.5 x 36 over the inner support; sagging with Q on the end spans.
    for (const char* text : {"min -143.100 kNm at 6.000 m: ULS with Q on spans 1, 2",
                             "max 120.513 kNm at 2.587 m: ULS with Q on spans 1, 3",
                             "Envelope of ULS, SLS: largest red, smallest blue"})
        EXPECT_NE(s.findText(text), nullptr) << text;
    // Pictures without an envelope are not drawn.
    for (PictureKind kind :
         {PictureKind::Beam, PictureKind::Mesh, PictureKind::EValue, PictureKind::IValue}) {
        RecordingSurface other;
        EXPECT_FALSE(draw(other, kind));
        EXPECT_TRUE(other.calls().empty());
    }
}

} // namespace
} // namespace kradon::modGraphics
