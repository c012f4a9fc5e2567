#include "graphics/SheetLayout.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <type_traits>
#include <variant>

namespace kradon::sheet {
namespace {

constexpr double TitleBlockHeight = 17; // mm
constexpr double BodyGap = 5;           // between the title block and the body
constexpr double TextPoints = 9;
constexpr double TablePoints = 8;
constexpr double SmallestTablePoints = 5.5;
constexpr double CellPadding = 1.5; // mm either side of a cell's text
constexpr double CaptionPoints = 8.5;
constexpr std::size_t KeptTogetherRows = 12;

/// Places blocks down the pages, starting a page where the next block does not fit.
class Pager {
public:
    Pager(const TextMeasure& measure, const PageGeometry& g) : measure_(measure), g_(g) {
        newPage();
    }

    void heading(const Heading& h) {
        const double points = h.level <= 1 ? 12 : 10;
        const double before = atTop() ? 0 : (h.level <= 1 ? 5 : 3);
        // A heading keeps company with what follows it.
        if (!fits(before + LineHeight(points) + 30))
            newPage();
        y_ += atTop() ? 0 : before;
        text(g_.left, points, true, h.text);
        y_ += LineHeight(points) + 1;
    }

    void paragraph(const Paragraph& p) {
        for (const std::string& line : p.lines)
            for (const std::string& wrapped : wrap(line, TextPoints, false, bodyWidth())) {
                if (!fits(LineHeight(TextPoints)))
                    newPage();
                text(g_.left, TextPoints, false, wrapped);
                y_ += LineHeight(TextPoints);
            }
        y_ += 1.5;
    }

    void table(const Table& t) {
        double points = TablePoints;
        std::vector<double> widths = columnWidths(t, points);
        const double natural = std::accumulate(widths.begin(), widths.end(), 0.0);
        if (natural > bodyWidth()) {
            points = std::max(SmallestTablePoints, points * bodyWidth() / natural);
            widths = columnWidths(t, points);
        }
        const double row = LineHeight(points) + 1;
        const double head = LineHeight(CaptionPoints) + row + 1;
        // A short table stays in one piece; a long one may run on over pages.
        const bool keepWhole = t.rows.size() <= KeptTogetherRows;
        if (!fits(head + row * (keepWhole ? static_cast<double>(t.rows.size()) : 1.0) + 1))
            newPage();
        tableHead(t, widths, points, false);
        for (const auto& cells : t.rows) {
            if (!fits(row + 1)) {
                rule(tableWidth(widths), 0.3);
                newPage();
                tableHead(t, widths, points, true);
            }
            cellsAt(cells, widths, points, false, t.numeric);
            y_ += row;
        }
        rule(tableWidth(widths), 0.3);
        y_ += 3;
    }

    void figure(const Figure& f) {
        const double w = std::clamp(f.width, 0.1, 1.0) * bodyWidth();
        const double h = w * f.pixelHeight / std::max(1, f.pixelWidth);
        const double caption = f.caption.empty() ? 0 : LineHeight(CaptionPoints) + 1;
        if (!fits(h + caption))
            newPage();
        const double x = g_.left + (bodyWidth() - w) / 2;
        page().figures.push_back({x, y_, w, h, &f});
        y_ += h + 0.5;
        if (!f.caption.empty()) {
            text(x, CaptionPoints, false, f.caption);
            y_ += LineHeight(CaptionPoints);
        }
        y_ += 3;
    }

    std::vector<Page> pages() && { return std::move(pages_); }

private:
    Page& page() { return pages_.back(); }
    double bodyWidth() const { return g_.width - g_.left - g_.right; }
    double bodyTop() const { return g_.top + TitleBlockHeight + BodyGap; }
    bool atTop() const { return y_ <= bodyTop(); }
    bool fits(double height) const { return atTop() || y_ + height <= g_.height - g_.bottom; }

    void newPage() {
        pages_.emplace_back();
        y_ = bodyTop();
    }

    void text(double x, double points, bool bold, std::string s) {
        page().texts.push_back({x, y_, points, bold, std::move(s)});
    }

    void rule(double width, double thickness) {
        page().lines.push_back({g_.left, y_, g_.left + width, y_, thickness});
    }

    std::vector<double> columnWidths(const Table& t, double points) const {
        std::vector<double> widths(t.columns.size(), 0);
        for (std::size_t c = 0; c < t.columns.size(); ++c)
            widths[c] = measure_.width(t.columns[c], points, true);
        for (const auto& cells : t.rows)
            for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c)
                widths[c] = std::max(widths[c], measure_.width(cells[c], points, false));
        for (double& w : widths)
            w += 2 * CellPadding;
        return widths;
    }

    static double tableWidth(const std::vector<double>& widths) {
        return std::accumulate(widths.begin(), widths.end(), 0.0);
    }

    void tableHead(const Table& t, const std::vector<double>& widths, double points,
                   bool continued) {
        if (!t.caption.empty()) {
            for (const std::string& line : wrap(t.caption + (continued ? " (continued)" : ""),
                                                CaptionPoints, true, bodyWidth())) {
                text(g_.left, CaptionPoints, true, line);
                y_ += LineHeight(CaptionPoints);
            }
            y_ += 0.5;
        }
        rule(tableWidth(widths), 0.3);
        y_ += 0.5;
        cellsAt(t.columns, widths, points, true, {});
        y_ += LineHeight(points) + 0.5;
        rule(tableWidth(widths), 0.15);
        y_ += 0.5;
    }

    void cellsAt(const std::vector<std::string>& cells, const std::vector<double>& widths,
                 double points, bool bold, const std::vector<bool>& numeric) {
        double x = g_.left;
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            const bool right = c < numeric.size() && numeric[c];
            const double left =
                right ? x + widths[c] - CellPadding - measure_.width(cells[c], points, bold)
                      : x + CellPadding;
            if (!cells[c].empty())
                text(left, points, bold, cells[c]);
            x += widths[c];
        }
    }

    /// The line broken at blanks into pieces no wider than width.
    std::vector<std::string> wrap(const std::string& line, double points, bool bold,
                                  double width) const {
        std::vector<std::string> lines;
        std::string current;
        std::size_t start = 0;
        while (start <= line.size()) {
            const std::size_t blank = line.find(' ', start);
            const std::string word =
                line.substr(start, blank == std::string::npos ? std::string::npos : blank - start);
            const std::string tried = current.empty() ? word : current + " " + word;
            if (!current.empty() && measure_.width(tried, points, bold) > width) {
                lines.push_back(current);
                current = word;
            } else {
                current = tried;
            }
            if (blank == std::string::npos)
                break;
            start = blank + 1;
        }
        lines.push_back(current);
        return lines;
    }

    const TextMeasure& measure_;
    PageGeometry g_;
    std::vector<Page> pages_;
    double y_ = 0;
};

/// The title block at the top of page n of m.
void addTitleBlock(Page& page, const TitleBlock& t, int n, int m, const TextMeasure& measure,
                   const PageGeometry& g) {
    const double left = g.left, right = g.width - g.right, top = g.top;
    const double bottom = top + TitleBlockHeight;
    for (const auto& [x1, y1, x2, y2] :
         {std::array{left, top, right, top}, std::array{right, top, right, bottom},
          std::array{right, bottom, left, bottom}, std::array{left, bottom, left, top}})
        page.lines.push_back({x1, y1, x2, y2, 0.3});
    const std::string user =
        t.userName.empty() && t.organisation.empty()
            ? std::string("(no user details)")
            : t.userName + (t.organisation.empty() ? "" : ", " + t.organisation);
    const std::string pageText = "Page " + std::to_string(n) + " of " + std::to_string(m);
    auto row = [&](double y, double points, bool bold, const std::string& l, const std::string& r) {
        page.texts.push_back({left + 2, y, points, bold, l});
        page.texts.push_back({right - 2 - measure.width(r, points, bold), y, points, bold, r});
    };
    row(top + 1.2, 11, true, t.title, pageText);
    row(top + 6.8, 8.5, false, "Model: " + t.modelFile, t.dateTime);
    row(top + 11.5, 8.5, false, "By: " + user, t.version);
}

} // namespace

double AverageTextMeasure::width(std::string_view text, double points, bool bold) const {
    return (bold ? 0.62 : 0.56) * points * MillimetresPerPoint * static_cast<double>(text.size());
}

double LineHeight(double points) {
    return 1.3 * points * MillimetresPerPoint;
}

std::vector<Page> LayoutSheet(const SheetDocument& document, const TextMeasure& measure,
                              const PageGeometry& geometry) {
    Pager pager(measure, geometry);
    for (const Block& b : document.blocks)
        std::visit(
            [&pager](const auto& item) {
                using T = std::decay_t<decltype(item)>;
                if constexpr (std::is_same_v<T, Heading>)
                    pager.heading(item);
                else if constexpr (std::is_same_v<T, Paragraph>)
                    pager.paragraph(item);
                else if constexpr (std::is_same_v<T, Table>)
                    pager.table(item);
                else
                    pager.figure(item);
            },
            b);
    std::vector<Page> pages = std::move(pager).pages();
    const int m = static_cast<int>(pages.size());
    for (int n = 1; n <= m; ++n)
        addTitleBlock(pages[static_cast<std::size_t>(n - 1)], document.titleBlock, n, m, measure,
                      geometry);
    return pages;
}

} // namespace kradon::sheet
