// The calculation sheet as one self-contained HTML page: the title block, the headings, text and
// tables, and every figure as inline SVG. The page is well-formed XML as well, so any XML reader
// takes it apart.
#pragma once

#include "graphics/SheetDocument.h"

#include <string>

namespace kradon::sheet {

/// The whole page, UTF-8.
std::string SheetHtml(const SheetDocument& document);

} // namespace kradon::sheet
