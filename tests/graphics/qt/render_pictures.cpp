// Renders all seven pictures of sample models as PNG files:
//   kradon_render_pictures EXAMPLES_FOLDER OUTPUT_FOLDER MODEL... [--size WxH]
// writes OUTPUT_FOLDER/<model>-<kind>.png for each MODEL (a file name in EXAMPLES_FOLDER without
// its .kdn extension).
#include "SampleModels.h"
#include "cli/PictureOption.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

using namespace kradon;

namespace {

constexpr modGraphics::PictureKind AllKinds[] = {
    modGraphics::PictureKind::Beam,          modGraphics::PictureKind::Mesh,
    modGraphics::PictureKind::BendingMoment, modGraphics::PictureKind::Shear,
    modGraphics::PictureKind::Deflection,    modGraphics::PictureKind::EValue,
    modGraphics::PictureKind::IValue};

bool renderModel(const std::filesystem::path& examples, const std::filesystem::path& output,
                 const std::string& model, int w, int h) {
    const ProgramState s =
        samples::analysedModel(examples / (model + ".kdn"), std::filesystem::temp_directory_path());
    std::vector<PictureRequest> requests;
    for (const auto kind : AllKinds)
        requests.push_back(
            {kind,
             output / (model + "-" + std::string(modGraphics::PictureKindName(kind)) + ".png")});
    samples::QuietSink messages;
    return WritePictures(requests, w, h, s, messages, std::cerr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: kradon_render_pictures EXAMPLES OUTPUT MODEL... [--size WxH]\n";
        return 64;
    }
    int w = DefaultPictureWidth;
    int h = DefaultPictureHeight;
    std::vector<std::string> models;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string error;
        if (arg == "--size" && i + 1 < argc) {
            if (!ParsePictureSize(argv[++i], w, h, error)) {
                std::cerr << error << '\n';
                return 64;
            }
            continue;
        }
        models.push_back(arg);
    }
    std::filesystem::create_directories(argv[2]);
    bool ok = true;
    for (const auto& model : models) {
        try {
            ok = renderModel(argv[1], argv[2], model, w, h) && ok;
        } catch (const std::exception& e) {
            std::cerr << model << ": " << e.what() << '\n';
            ok = false;
        }
    }
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
