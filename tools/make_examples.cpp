// Writes the sample models of examples/ with the program's own model writer, entering every
// record the way the dialogs do, so the files can be reproduced: make-examples DIR
#include "model/BeamModel.h"
#include "model/KradonError.h"
#include "model/modFileWrite.h"

#include <filesystem>
#include <iostream>
#include <string>

namespace {

using namespace kradon;

// Enters records as a dialog does: the next record number, noted, then stored from field texts.
class ExampleBuilder {
public:
    explicit ExampleBuilder(const std::string& span) : span_(span) {
        model_.span = std::stod(span);
        ClearModelLists(model_);
    }
    ExampleBuilder& pinned(const std::string& at) { return rigid("1", at); }
    ExampleBuilder& fixed(const std::string& at) { return rigid("2", at); }
    ExampleBuilder& pointLoad(const std::string& kN, const std::string& at) {
        StorePointLoad(model_, next(RecordKind::PointLoad), {kN, at});
        return *this;
    }
    ExampleBuilder& udl(const std::string& kNm, const std::string& from, const std::string& to) {
        StoreUDL(model_, next(RecordKind::UDL), {kNm, from, to});
        return *this;
    }
    ExampleBuilder& tdl(const std::string& startKNm, const std::string& endKNm,
                        const std::string& from, const std::string& to) {
        StoreTDL(model_, next(RecordKind::TDL), {startKNm, endKNm, from, to});
        return *this;
    }
    ExampleBuilder& moment(const std::string& kNm, const std::string& at) {
        StoreMomentLoad(model_, next(RecordKind::MomentLoad), {kNm, at});
        return *this;
    }
    ExampleBuilder& spring(const std::string& at, const std::string& kNmm) {
        StoreSpringSupport(model_, next(RecordKind::SpringSupport), {at, kNmm, "0", true, false});
        return *this;
    }
    /// Steel (E = 205 kN/mm2) over the whole span.
    ExampleBuilder& steel() {
        return segment(RecordKind::ESegment, Variation::None, {"0", span_, "205", "", "", ""});
    }
    /// A constant I (cm4) over the whole span.
    ExampleBuilder& constantI(const std::string& cm4) {
        return segment(RecordKind::ISegment, Variation::None, {"0", span_, cm4, "", "", ""});
    }
    /// I (cm4) as an expression in x over the whole span.
    ExampleBuilder& curveI(const std::string& expression) {
        return segment(RecordKind::ISegment, Variation::Curve,
                       {"0", span_, "", "", "", expression});
    }
    const BeamModel& model() const { return model_; }

private:
    std::int16_t next(RecordKind kind) {
        const auto n = static_cast<std::int16_t>(model_.count(kind) + 1);
        NoteRecordNumber(model_, kind, n);
        return n;
    }
    ExampleBuilder& rigid(const std::string& type, const std::string& at) {
        StoreRigidSupport(model_, next(RecordKind::RigidSupport), {type, at});
        return *this;
    }
    ExampleBuilder& segment(RecordKind kind, double variation, const PropertySegmentFields& f) {
        const std::int16_t n = next(kind);
        if (kind == RecordKind::ESegment) {
            model_.ESegment.variation[n] = variation;
            StoreESegment(model_, n, f);
        } else {
            model_.ISegment.variation[n] = variation;
            StoreISegment(model_, n, f);
        }
        return *this;
    }
    std::string span_;
    BeamModel model_;
};

void write(const std::filesystem::path& dir, const std::string& name, const ExampleBuilder& b) {
    modFileWrite::SaveModelFile(dir / name, b.model());
    std::cout << (dir / name).string() << '\n';
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: make-examples DIR\n";
        return 64;
    }
    const std::filesystem::path dir = argv[1];
    try {
        // 10 m simply supported steel beam with a 50 kN point load at 4 m.
        write(dir, "simply-supported-point-load.kdn",
              ExampleBuilder("10").pinned("0").pinned("10").pointLoad("50", "4").steel().constantI(
                  "8000"));
        // 3 m cantilever fixed at the wall, 20 kN at its tip.
        write(dir, "cantilever.kdn",
              ExampleBuilder("3").fixed("0").pointLoad("20", "3").steel().constantI("5000"));
        // Two equal 6 m spans under a 10 kN/m UDL over the whole length.
        write(dir, "two-span-continuous-udl.kdn",
              ExampleBuilder("12")
                  .pinned("0")
                  .pinned("6")
                  .pinned("12")
                  .udl("10", "0", "12")
                  .steel()
                  .constantI("12000"));
        // 8 m beam fixed at the left, propped on a 5 kN/mm spring at the right, 15 kN/m UDL.
        write(dir, "propped-cantilever-spring.kdn",
              ExampleBuilder("8")
                  .fixed("0")
                  .spring("8", "5")
                  .udl("15", "0", "8")
                  .steel()
                  .constantI("9000"));
        // 6 m tapered cantilever whose I falls linearly from 20000 to 8000 cm4, 10 kN at the tip.
        write(
            dir, "tapered-beam-curve.kdn",
            ExampleBuilder("6").fixed("0").pointLoad("10", "6").steel().curveI("20000 - 2000 * x"));
        // 8 m span with a 4 m overhang: 10 kN/m over the whole length, another 0 rising to
        // 6 kN/m from 9 m to the tip, 25 kN at the tip and a 30 kNm moment load at 3 m.
        write(dir, "overhang-moment-tdl.kdn",
              ExampleBuilder("12")
                  .pinned("0")
                  .pinned("8")
                  .udl("10", "0", "12")
                  .tdl("0", "6", "9", "12")
                  .pointLoad("25", "12")
                  .moment("30", "3")
                  .steel()
                  .constantI("12000"));
    } catch (const KradonError& e) {
        std::cerr << "make-examples: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
