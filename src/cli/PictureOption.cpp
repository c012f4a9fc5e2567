#include "cli/PictureOption.h"

#include "graphics/qt/PictureFiles.h"
#include "graphics/qt/SheetPdf.h"
#include "model/KradonError.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSize>
#include <charconv>
#include <memory>

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

void dropQtDiagnostic(QtMsgType, const QMessageLogContext&, const QString&) {}

/// Keeps Qt's own diagnostics (such as its note on an unset XDG_RUNTIME_DIR) off stderr, which
/// carries only the program's messages, while it lives.
class QtDiagnosticsMuted {
public:
    QtDiagnosticsMuted() : previous_(qInstallMessageHandler(dropQtDiagnostic)) {}
    ~QtDiagnosticsMuted() { qInstallMessageHandler(previous_); }
    QtDiagnosticsMuted(const QtDiagnosticsMuted&) = delete;
    QtDiagnosticsMuted& operator=(const QtDiagnosticsMuted&) = delete;

private:
    QtMessageHandler previous_;
};

/// The application object a QImage needs for fonts: the running one, or one made here on the
/// offscreen platform that lives until the pictures are written.
std::unique_ptr<QGuiApplication> ensureGuiApplication() {
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    // Always off screen: a platform named in the environment (xcb, wayland) would end the
    // program where no display is, and nothing here is shown anyway.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kradon-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
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
    if (requests.empty())
        return true;
    const QtDiagnosticsMuted muted;
    const auto app = ensureGuiApplication();
    bool allWritten = true;
    for (const PictureRequest& request : requests) {
        try {
            SavePictureFile(request.kind, state, request.file, QSize(w, h), messages);
        } catch (const KradonError& e) {
            messages.show({e.source(), e.what(), Icon::Critical});
            allWritten = false;
        }
    }
    return allWritten;
}

std::string SheetPdfBytes(const sheet::SheetDocument& document) {
    const QtDiagnosticsMuted muted;
    const auto app = ensureGuiApplication();
    return SheetPdf(document);
}

} // namespace kradon
