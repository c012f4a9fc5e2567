// The calculation sheet as a document of its own, free of any output format: a title block,
// then headings, lines of text, tables and figures in reading order. Figures draw themselves
// onto a DrawingSurface, so the same document becomes a PDF (through a painter) or an HTML page
// (with inline SVG).
#pragma once

#include "graphics/DrawingSurface.h"

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace kradon::sheet {

/// What every page of the sheet carries at its top.
struct TitleBlock {
    std::string title;        // "Beam calculation"
    std::string modelFile;    // the model file's name
    std::string userName;     // empty when the user details are not known
    std::string organisation; // likewise
    std::string dateTime;     // when the sheet was made
    std::string version;      // "Kradon 1.0.6"
};

struct Heading {
    std::string text;
    int level = 1; // 1 a section, 2 a part of one
};

/// Lines of text, one paragraph.
struct Paragraph {
    std::vector<std::string> lines;
};

struct Table {
    std::string caption;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    /// Columns whose cells are numbers, aligned right; the others align left.
    std::vector<bool> numeric;
};

struct Figure {
    std::string caption;
    int pixelWidth = 900; // the surface the figure draws on
    int pixelHeight = 360;
    double width = 1; // the share of the text width it takes
    std::function<void(DrawingSurface&)> draw;
};

using Block = std::variant<Heading, Paragraph, Table, Figure>;

struct SheetDocument {
    TitleBlock titleBlock;
    std::vector<Block> blocks;
};

} // namespace kradon::sheet
