#include "graphics/SheetHtml.h"

#include "graphics/SvgSurface.h"
#include "model/modText.h"

#include <string_view>
#include <variant>

namespace kradon::sheet {
namespace {

constexpr const char* Style = R"(body { font-family: "DejaVu Sans", sans-serif; font-size: 10pt;
  max-width: 190mm; margin: 1em auto; color: #000; }
table.title { width: 100%; border-collapse: collapse; border: 1px solid #000; margin-bottom: 1em; }
table.title td { padding: 2px 6px; }
table.title td.right { text-align: right; }
h1 { font-size: 13pt; margin: 1.2em 0 0.4em; }
h2 { font-size: 11pt; margin: 1em 0 0.3em; }
table.data { border-collapse: collapse; margin: 0.3em 0 0.8em; font-size: 8.5pt; }
table.data caption { text-align: left; font-weight: bold; padding-bottom: 2px; }
table.data th, table.data td { border: 1px solid #888; padding: 1px 6px; }
table.data th { background: #eee; }
td.num { text-align: right; }
figure { margin: 0.5em 0 1em; }
figure svg { width: 100%; height: auto; }
figcaption { font-size: 8.5pt; }
@media print { figure, table.data tr { page-break-inside: avoid; } }
)";

void titleBlock(const TitleBlock& t, std::string& out) {
    const std::string user =
        t.userName.empty() && t.organisation.empty()
            ? std::string("(no user details)")
            : t.userName + (t.organisation.empty() ? "" : ", " + t.organisation);
    out += "<table class=\"title\">\n<tr><td><b>" + modText::XmlEscaped(t.title) +
           "</b></td><td class=\"right\">" + modText::XmlEscaped(t.version) + "</td></tr>\n";
    out += "<tr><td>Model: " + modText::XmlEscaped(t.modelFile) + "</td><td class=\"right\">" +
           modText::XmlEscaped(t.dateTime) + "</td></tr>\n";
    out += "<tr><td colspan=\"2\">By: " + modText::XmlEscaped(user) + "</td></tr>\n</table>\n";
}

void block(const Heading& h, std::string& out) {
    const std::string tag = h.level <= 1 ? "h1" : "h2";
    out += "<" + tag + ">" + modText::XmlEscaped(h.text) + "</" + tag + ">\n";
}

void block(const Paragraph& p, std::string& out) {
    out += "<p>";
    for (std::size_t i = 0; i < p.lines.size(); ++i)
        out += (i == 0 ? "" : "<br/>") + modText::XmlEscaped(p.lines[i]);
    out += "</p>\n";
}

void block(const Table& t, std::string& out) {
    out +=
        "<table class=\"data\">\n<caption>" + modText::XmlEscaped(t.caption) + "</caption>\n<tr>";
    for (const auto& c : t.columns)
        out += "<th>" + modText::XmlEscaped(c) + "</th>";
    out += "</tr>\n";
    for (const auto& row : t.rows) {
        out += "<tr>";
        for (std::size_t c = 0; c < row.size(); ++c)
            out += (c < t.numeric.size() && t.numeric[c] ? "<td class=\"num\">" : "<td>") +
                   modText::XmlEscaped(row[c]) + "</td>";
        out += "</tr>\n";
    }
    out += "</table>\n";
}

void block(const Figure& f, std::string& out) {
    SvgSurface surface(f.pixelWidth, f.pixelHeight);
    if (f.draw)
        f.draw(surface);
    std::string svg = surface.svg();
    // Inline, the XML declaration goes; the page's own encoding stands.
    if (svg.rfind("<?xml", 0) == 0)
        svg.erase(0, svg.find('\n') + 1);
    const int percent = static_cast<int>(f.width * 100 + 0.5);
    out += "<figure style=\"width: " + std::to_string(percent) + "%\">\n" + svg + "<figcaption>" +
           modText::XmlEscaped(f.caption) + "</figcaption>\n</figure>\n";
}

} // namespace

std::string SheetHtml(const SheetDocument& d) {
    std::string out = "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" "
                      "lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>" +
                      modText::XmlEscaped(d.titleBlock.title + " - " + d.titleBlock.modelFile) +
                      "</title>\n<style>\n" + Style + "</style>\n</head>\n<body>\n";
    titleBlock(d.titleBlock, out);
    for (const Block& b : d.blocks)
        std::visit([&out](const auto& item) { block(item, out); }, b);
    out += "</body>\n</html>\n";
    return out;
}

} // namespace kradon::sheet
