// The flexibility integrals of elements along which E x I varies, by adaptive Gauss-Kronrod
// quadrature on the element's own coordinate u = t / s, 0..1.
#include "mesh/modSections.h"

#include "model/KradonError.h"
#include "model/UnitFactors.h"
#include "model/modText.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kradon::modSections {
namespace {

using Vector8 = std::array<double, 8>;

// The 15-point Kronrod rule on -1..1 and the 7-point Gauss rule inside it: the nodes of the
// positive half from the end to the centre; the Gauss nodes are the odd-numbered ones.
constexpr std::array<double, 8> KronrodNodes = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.0};
constexpr std::array<double, 8> KronrodWeights = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr std::array<double, 4> GaussWeights = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

/// Halving stops here: a piece 2^-50 of an element is below the resolution of its positions.
constexpr int MaxLevel = 50;
/// Pieces one element may take before its integration gives up, and all elements of a beam
/// together: a beam whose E and I would need more varies faster than any real one, and would
/// keep the analysis busy for minutes. The largest model with smooth curves takes one piece per
/// element.
constexpr long MaxPieces = 20'000;
constexpr long MaxBeamPieces = 1'000'000;

/// A position as the messages give it: to the micrometre.
std::string positionText(double x) {
    return modText::GeneralNumber(std::round(x * 1e6) / 1e6);
}

std::string where(double x, std::int32_t e) {
    return "x = " + positionText(x) + " m (element " + std::to_string(e) + ")";
}

[[noreturn]] void fail(std::int32_t number, const std::string& text) {
    throw KradonError(number, ErrorSource, text);
}

/// 1/(E x I) along the first s metres of an element, as a function of u = t / s. Every value
/// must be finite, other than 0 and of one sign: a beam whose E x I reaches 0 inside an element
/// has no finite flexibility there.
class Flexibility {
public:
    Flexibility(const ExactSections& sections, std::int32_t e, double x0, double s)
        : sections_(sections), e_(e), x0_(x0), s_(s) {}

    double operator()(double u) {
        const double EI = at(u);
        if (sign_ != 0 && (EI > 0) != (sign_ > 0))
            failAtZero(zeroBetween(signedAt_, u));
        sign_ = EI > 0 ? 1 : -1;
        signedAt_ = u;
        return 1 / EI;
    }

    /// Where a piece that cannot be integrated holds a zero of E x I, that is the failure.
    [[noreturn]] void failIn(double a, double b) {
        for (const double u : {a, b})
            if (EIAt(u) == 0)
                failAtZero(u);
        fail(ErrorNumber::Overflow, "1/(E x I) cannot be integrated to a relative 1e-12 near " +
                                        where(position((a + b) / 2), e_) + ".");
    }

private:
    double position(double u) const { return x0_ + s_ * u; }

    double EIAt(double u) const {
        try {
            return SectionEI(sections_, e_, position(u));
        } catch (const KradonError& error) {
            fail(error.number(),
                 "E x I cannot be evaluated at " + where(position(u), e_) + ": " + error.what());
        }
    }

    /// E x I at u, refusing 0 and values whose flexibility is no finite number.
    double at(double u) const {
        const double EI = EIAt(u);
        if (!std::isfinite(EI))
            fail(ErrorNumber::Overflow,
                 "E x I is not a finite number at " + where(position(u), e_) + ".");
        if (EI == 0 || !std::isfinite(1 / EI))
            failAtZero(u);
        return EI;
    }

    /// A zero of E x I between u0 and u1, where it has opposite signs, by bisection.
    double zeroBetween(double u0, double u1) const {
        const bool positiveAtU0 = EIAt(u0) > 0;
        for (int i = 0; i < 64; ++i) {
            const double mid = (u0 + u1) / 2;
            if (mid == u0 || mid == u1)
                break;
            const double EI = EIAt(mid);
            if (EI == 0)
                return mid;
            ((EI > 0) == positiveAtU0 ? u0 : u1) = mid;
        }
        return (u0 + u1) / 2;
    }

    [[noreturn]] void failAtZero(double u) const {
        fail(ErrorNumber::DivisionByZero,
             "E x I is 0 at " + where(position(u), e_) +
                 ": varying E and I cannot be integrated exactly across it.");
    }

    const ExactSections& sections_;
    std::int32_t e_;
    double x0_, s_;
    int sign_ = 0;        // of the values so far
    double signedAt_ = 0; // where the last of them was taken
};

/// The Kronrod and Gauss sums of u^k g and (1 - u) u^k g, k = 0..3, over a..b.
struct RuleSums {
    Vector8 kronrod{}, gauss{};
};

void addNode(RuleSums& sums, double u, double g, double weightK, double weightG) {
    double power = g;
    for (std::size_t k = 0; k < 4; ++k) {
        sums.kronrod[k] += weightK * power;
        sums.kronrod[4 + k] += weightK * (1 - u) * power;
        sums.gauss[k] += weightG * power;
        sums.gauss[4 + k] += weightG * (1 - u) * power;
        power *= u;
    }
}

RuleSums applyRule(Flexibility& g, double a, double b) {
    const double centre = (a + b) / 2, half = (b - a) / 2;
    RuleSums sums;
    for (std::size_t i = 0; i < KronrodNodes.size(); ++i) {
        const double weightG = i % 2 == 1 ? GaussWeights[i / 2] : 0.0;
        const double offset = half * KronrodNodes[i];
        addNode(sums, centre - offset, g(centre - offset), KronrodWeights[i], weightG);
        if (offset != 0)
            addNode(sums, centre + offset, g(centre + offset), KronrodWeights[i], weightG);
    }
    for (std::size_t k = 0; k < 8; ++k) {
        sums.kronrod[k] *= half;
        sums.gauss[k] *= half;
    }
    return sums;
}

/// The flexibility keeps one sign, so every sum has the sign of all its terms: a piece whose
/// sums each meet the tolerance relative to themselves adds up to a whole that meets it too.
bool accurate(const RuleSums& sums) {
    for (std::size_t k = 0; k < 8; ++k)
        if (!(std::fabs(sums.kronrod[k] - sums.gauss[k]) <=
              SectionTolerance * std::fabs(sums.kronrod[k])))
            return false;
    return true;
}

/// The integrals over u = 0..1 of u^k g and (1 - u) u^k g, halving pieces until each meets
/// the tolerance; each piece is taken from piecesLeft.
Vector8 integrateUnit(Flexibility& g, long& piecesLeft) {
    struct Piece {
        double a, b;
        int level;
    };
    std::array<Piece, MaxLevel + 2> pending; // depth first: one piece per level at most waits
    std::size_t waiting = 0;
    pending[waiting++] = {0, 1, 0};
    Vector8 total{};
    for (long pieces = 1; waiting > 0; ++pieces) {
        const Piece p = pending[--waiting];
        --piecesLeft;
        const RuleSums sums = applyRule(g, p.a, p.b);
        if (accurate(sums)) {
            for (std::size_t k = 0; k < 8; ++k)
                total[k] += sums.kronrod[k];
            continue;
        }
        if (p.level == MaxLevel || pieces >= MaxPieces || piecesLeft <= 0)
            g.failIn(p.a, p.b);
        const double mid = (p.a + p.b) / 2;
        pending[waiting++] = {mid, p.b, p.level + 1};
        pending[waiting++] = {p.a, mid, p.level + 1};
    }
    return total;
}

bool variesAlong(const ExactSections& sections, const MeshTables& mesh, std::size_t e) {
    const ElementSection& es = sections.element[e];
    const PropertyLaw& E = sections.E[es.eRecord];
    const PropertyLaw& I = sections.I[es.iRecord];
    // A constant 0 in either makes an element without stiffness all along.
    if ((E.isConstant() && mesh.ElementE[e] == 0) || (I.isConstant() && mesh.ElementI[e] == 0))
        return false;
    return !E.isConstant() || !I.isConstant();
}

FlexibilityIntegrals integrate(const ExactSections& sections, std::int32_t e, double x0, double s,
                               long& piecesLeft) {
    FlexibilityIntegrals f;
    if (!(s > 0))
        return f;
    Flexibility g(sections, e, x0, s);
    const Vector8 unit = integrateUnit(g, piecesLeft);
    // t = s u: the integral of t^k c dt is s^(k+1) times that of u^k c du, and (s - t) brings
    // one more s.
    double scale = s;
    for (std::size_t k = 0; k < 4; ++k) {
        f.A[k] = scale * unit[k];
        f.B[k] = scale * s * unit[4 + k];
        scale *= s;
    }
    return f;
}

} // namespace

double SectionEI(const ExactSections& sections, std::int32_t e, double x) {
    const ElementSection& es = sections.element[static_cast<std::size_t>(e)];
    const double E = sections.E[es.eRecord].valueAt(x, PropertyLaw::Precision::Full);
    const double I = sections.I[es.iRecord].valueAt(x, PropertyLaw::Precision::Full);
    return units::EInAnalysisUnits(E) * units::IInAnalysisUnits(I);
}

FlexibilityIntegrals IntegrateFlexibility(const ExactSections& sections, std::int32_t e, double x0,
                                          double s) {
    long piecesLeft = MaxPieces;
    return integrate(sections, e, x0, s, piecesLeft);
}

ExactSections IntegrateSections(const BeamModel& model, const MeshTables& mesh) {
    ExactSections sections;
    const auto countE = model.count(RecordKind::ESegment);
    const auto countI = model.count(RecordKind::ISegment);
    sections.E = PropertyLaws(model.ESegment, countE, "E");
    sections.I = PropertyLaws(model.ISegment, countI, "I");
    const auto constant = [](const PropertyLaw& law) { return law.isConstant(); };
    if (std::all_of(sections.E.begin(), sections.E.end(), constant) &&
        std::all_of(sections.I.begin(), sections.I.end(), constant))
        return sections; // no element varies
    const auto entries = static_cast<std::size_t>(mesh.ElementCount) + 1;
    sections.element.assign(entries, ElementSection{});
    long piecesLeft = MaxBeamPieces;
    for (std::size_t e = 1; e < entries; ++e) {
        // The records that gave the element its midpoint values.
        const double xm = (mesh.NodeX[e + 1] + mesh.NodeX[e]) * 0.5;
        ElementSection& es = sections.element[e];
        es.eRecord = CoveringSegment(model.ESegment, countE, xm);
        es.iRecord = CoveringSegment(model.ISegment, countI, xm);
        es.varies = variesAlong(sections, mesh, e);
        if (es.varies)
            es.whole = integrate(sections, static_cast<std::int32_t>(e), mesh.NodeX[e],
                                 mesh.ElementLength[e], piecesLeft);
    }
    return sections;
}

} // namespace kradon::modSections
