// Finding and loading kradon-cli's drawing module (see PainterPlugin.h).
#include "cli/PainterPlugin.h"

#include <cstring>
#include <dlfcn.h>
#include <system_error>
#include <vector>

namespace kradon {
namespace {

namespace fs = std::filesystem;

/// Where the module may be: beside the program (the build folder), then where the install puts
/// it, relative to the program's folder.
std::vector<fs::path> candidates() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    const fs::path folder = program.parent_path();
    return {folder / PainterPluginFile,
            (folder / KRADON_PAINTER_PLUGIN_DIR / PainterPluginFile).lexically_normal()};
}

struct Loaded {
    const PainterPlugin* plugin = nullptr;
    std::string error;
};

/// The first candidate that exists, opened; or why none could be.
Loaded load() {
    const std::vector<fs::path> places = candidates();
    for (const fs::path& place : places) {
        std::error_code ec;
        if (!fs::exists(place, ec))
            continue;
        // Never closed: the module serves the program to its end.
        void* module = ::dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr)
            return {nullptr, ::dlerror()};
        const auto entry =
            reinterpret_cast<PainterPluginEntryFunction*>(::dlsym(module, PainterPluginEntry));
        if (entry == nullptr)
            return {nullptr, place.string() + " is not Kradon's drawing library"};
        const PainterPlugin* plugin = entry();
        if (std::strcmp(plugin->version, KRADON_VERSION) != 0)
            return {nullptr, place.string() + " belongs to Kradon " + plugin->version + ", not " +
                                 KRADON_VERSION};
        return {plugin, {}};
    }
    std::string where;
    for (const fs::path& place : places)
        where += (where.empty() ? "" : " or ") + place.string();
    return {nullptr, std::string(PainterPluginFile) + " is missing (looked for " + where + ")"};
}

} // namespace

const PainterPlugin* LoadPainterPlugin(std::string& error) {
    static const Loaded loaded = load();
    error = loaded.error;
    return loaded.plugin;
}

} // namespace kradon
