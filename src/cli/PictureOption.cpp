#include "cli/PictureOption.h"

#include "cli/PainterPlugin.h"
#include "graphics/SvgPicture.h"
#include "model/KradonError.h"

#include <charconv>

namespace kradon {

namespace {

constexpr const char* KindList = "beam, mesh, bmd, sfd, dsd, e or i";

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

/// The file name ends in .svg or .png (case as typed).
bool hasPictureExtension(std::string_view file) {
    return endsWith(file, ".svg") || endsWith(file, ".png");
}

/// A whole positive decimal number, all of text.
std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

bool inPictureRange(int side) {
    return side >= MinPictureSide && side <= MaxPictureSide;
}

/// A picture drawn here (SVG) or by the drawing module (PNG); false with the error when it
/// failed.
bool writePicture(const PictureRequest& request, int w, int h, const ProgramState& state,
                  MessageSink& messages, Message& error) {
    if (endsWith(request.file.string(), ".svg")) {
        try {
            WritePictureBytes(request.file, SvgPicture(request.kind, state, w, h, messages));
            return true;
        } catch (const KradonError& e) {
            error = {e.source(), e.what(), Icon::Critical};
            return false;
        }
    }
    std::string why;
    const PainterPlugin* painter = LoadPainterPlugin(why);
    if (painter == nullptr) {
        error = {SavePictureSource,
                 "Cannot write the picture file " + request.file.string() +
                     ": PNG pictures need Kradon's drawing library, which cannot be loaded: " + why,
                 Icon::Critical};
        return false;
    }
    return painter->savePicture(request.kind, state, request.file, w, h, messages, error);
}

} // namespace

std::optional<PictureRequest> ParsePictureRequest(std::string_view text, std::string& error) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        error = "--picture expects KIND:FILE, got '" + std::string(text) + "'";
        return std::nullopt;
    }
    const std::string_view name = text.substr(0, colon);
    const std::string_view file = text.substr(colon + 1);
    const auto kind = modGraphics::PictureKindFromName(name);
    if (!kind) {
        error = "unknown picture kind '" + std::string(name) + "' (use " + KindList + ")";
        return std::nullopt;
    }
    if (!hasPictureExtension(file) || file.size() <= 4) {
        error = "picture file '" + std::string(file) + "' must end in .svg or .png";
        return std::nullopt;
    }
    return PictureRequest{*kind, std::filesystem::path(std::string(file))};
}

bool ParsePictureSize(std::string_view text, int& w, int& h, std::string& error) {
    const auto x = text.find_first_of("xX");
    const auto width = x == std::string_view::npos ? std::nullopt : wholeNumber(text.substr(0, x));
    const auto height =
        x == std::string_view::npos ? std::nullopt : wholeNumber(text.substr(x + 1));
    if (!width || !height) {
        error =
            "--size expects WxH in pixels (for example 1200x800), got '" + std::string(text) + "'";
        return false;
    }
    if (!inPictureRange(*width) || !inPictureRange(*height)) {
        error = "--size sides must be " + std::to_string(MinPictureSide) + " to " +
                std::to_string(MaxPictureSide) + " pixels, got '" + std::string(text) + "'";
        return false;
    }
    w = *width;
    h = *height;
    return true;
}

bool WritePictures(const std::vector<PictureRequest>& requests, int w, int h,
                   const ProgramState& state, MessageSink& messages) {
    bool allWritten = true;
    for (const PictureRequest& request : requests) {
        Message error;
        if (!writePicture(request, w, h, state, messages, error)) {
            messages.show(error);
            allWritten = false;
        }
    }
    return allWritten;
}

std::optional<std::string> SheetPdfBytes(const sheet::SheetDocument& document, std::string& error) {
    std::string why;
    const PainterPlugin* painter = LoadPainterPlugin(why);
    if (painter == nullptr) {
        error = "the PDF needs Kradon's drawing library, which cannot be loaded: " + why;
        return std::nullopt;
    }
    std::string bytes;
    if (!painter->sheetPdf(document, bytes, error))
        return std::nullopt;
    return bytes;
}

} // namespace kradon
