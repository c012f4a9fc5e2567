// The envelope pictures of the three-span sample: both curves, and the extremes labelled with
// what governs them; pictures that have no envelope are left to the usual drawing.
#include "TestFolder.h"
#include "analysis/LoadCombinations.h"
#include "graphics/EnvelopeDiagram.h"
#include "graphics/RecordingSurface.h"

#include "json/ModelJson.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace kradon::modGraphics {
namespace {

struct NullMessageSink : MessageSink {
    void show(const Message&) override {}
};

struct ThreeSpans {
    ThreeSpans() {
        model = ModelJson::OpenCaseModelFile(std::filesystem::path(KRADON_EXAMPLES) /
                                             "three-span-patterned.kradon.json");
        const test::TestFolder folder;
        NullStatusSink status;
        NullMessageSink messages;
        CasesOutcome outcome = AnalyseCases(model, folder.path(), status, messages);
        EXPECT_EQ(outcome.outcome, AnalyseOutcome::Completed);
        analysis = std::move(*outcome.analysis);
        envelope = Envelope(analysis, EnvelopeLoadings(model));
    }
    bool contains(const RecordingSurface& s, const std::string& text) const {
        const auto texts = s.texts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    CaseModel model;
    CaseAnalysis analysis;
    EnvelopeResult envelope;
};

TEST(EnvelopeDiagram, TheMomentEnvelopeDrawsBothCurvesAndNamesWhatGovernsItsExtremes) {
    const ThreeSpans t;
    RecordingSurface s;
    NullMessageSink messages;
    ASSERT_TRUE(DrawEnvelopeDiagram(s, PictureKind::BendingMoment, t.analysis, t.envelope, t.model,
                                    messages));
    const auto elements = static_cast<std::size_t>(t.analysis.frame.mesh.ElementCount);
    // One line per element and one at each end down to the axis, in each colour.
    EXPECT_EQ(s.linesIn(colours::Blue).size(), elements + 2);
    EXPECT_EQ(s.linesIn(colours::Red).size(), elements + 2);
    // 0.1 x 13.5 x 36 + 7/60 x 22.5 x 36 over the inner support; sagging with Q on the end spans.
    EXPECT_TRUE(t.contains(s, "min -143.100 kNm at 6.000 m: ULS with Q on spans 1, 2"));
    EXPECT_TRUE(t.contains(s, "max 120.513 kNm at 2.587 m: ULS with Q on spans 1, 3"));
    EXPECT_TRUE(t.contains(s, "Envelope of ULS, SLS: largest red, smallest blue"));
}

TEST(EnvelopeDiagram, PicturesWithoutAnEnvelopeAreNotDrawn) {
    const ThreeSpans t;
    NullMessageSink messages;
    for (PictureKind kind :
         {PictureKind::Beam, PictureKind::Mesh, PictureKind::EValue, PictureKind::IValue}) {
        RecordingSurface s;
        EXPECT_FALSE(DrawEnvelopeDiagram(s, kind, t.analysis, t.envelope, t.model, messages));
        EXPECT_TRUE(s.calls().empty());
    }
}

} // namespace
} // namespace kradon::modGraphics
