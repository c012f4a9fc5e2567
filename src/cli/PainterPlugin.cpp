// The drawing module of kradon-cli (see PainterPlugin.h): PNG pictures and the sheet's PDF.
#include "cli/PainterPlugin.h"

#include "graphics/SvgPicture.h"
#include "graphics/qt/PictureFiles.h"
#include "graphics/qt/SheetPdf.h"
#include "model/KradonError.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSize>
#include <exception>
#include <memory>

namespace kradon {
namespace {

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
/// offscreen platform that lives until the drawing is done.
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

bool savePicture(modGraphics::PictureKind kind, const ProgramState& state,
                 const std::filesystem::path& file, int width, int height, MessageSink& messages,
                 Message& error) {
    try {
        const QtDiagnosticsMuted muted;
        const auto app = ensureGuiApplication();
        SavePictureFile(kind, state, file, QSize(width, height), messages);
        return true;
    } catch (const KradonError& e) {
        error = {e.source(), e.what(), Icon::Critical};
    } catch (const std::exception& e) {
        error = {SavePictureSource, e.what(), Icon::Critical};
    }
    return false;
}

bool sheetPdf(const sheet::SheetDocument& document, std::string& bytes, std::string& error) {
    try {
        const QtDiagnosticsMuted muted;
        const auto app = ensureGuiApplication();
        bytes = SheetPdf(document);
        return true;
    } catch (const std::exception& e) {
        error = e.what();
    }
    return false;
}

constexpr PainterPlugin Plugin{KRADON_VERSION, savePicture, sheetPdf};

} // namespace
} // namespace kradon

extern "C" __attribute__((visibility("default"))) const kradon::PainterPlugin*
KradonPainterPlugin() {
    return &kradon::Plugin;
}
