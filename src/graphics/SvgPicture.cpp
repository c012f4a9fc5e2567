#include "graphics/SvgPicture.h"

#include "graphics/SvgSurface.h"
#include "model/KradonError.h"
#include "model/SafeFile.h"

namespace kradon {

void CannotWritePicture(const std::filesystem::path& file, const std::string& why) {
    throw KradonError(ErrorNumber::FileIo, SavePictureSource,
                      "Cannot write the picture file " + file.string() + ": " + why);
}

std::string SvgPicture(modGraphics::PictureKind kind, const ProgramState& state, int width,
                       int height, MessageSink& messages) {
    SvgSurface surface(width, height);
    modGraphics::DrawPicture(kind, state, surface, messages);
    return surface.svg();
}

void WritePictureBytes(const std::filesystem::path& file, std::string_view bytes) {
    try {
        SafeFile::WriteFileAtomically(file, bytes);
    } catch (const KradonError& e) {
        CannotWritePicture(file, e.what());
    }
}

} // namespace kradon
