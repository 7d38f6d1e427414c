// quenvale-editor-shot OUTDIR: paints every page and instance page of the editor without a display,
// to OUTDIR/NAME.png, with its control map OUTDIR/NAME.json beside it.
#include <cairo.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "control_map.h"
#include "editor/editor.h"
#include "editor/model/direct_editor_host.h"
#include "editor/controls/button.h"
#include "editor/panels/gui_main.h"
#include "engine/synth_engine.h"

using namespace quenvale;
using namespace quenvale::editor;

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "usage: quenvale-editor-shot OUTDIR\n"
                             "Paints every editor page and instance page to OUTDIR/NAME.png with OUTDIR/NAME.json.\n");
        return argc == 2 ? 0 : 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error) {
        std::fprintf(stderr, "quenvale-editor-shot: cannot create %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    SynthEngine engine;
    DirectEditorHost host(engine);
    Editor editor(engine, host, false);
    editor.setHeadlessVisible(true);
    GuiMain& main = editor.main();
    int written = 0;
    for (int p = 0; p < GuiMain::kPageCount; ++p) {
        main.showPage(p);
        Page& page = main.page(p);
        for (int v = 0; v < page.viewCount(); ++v) {
            const ui::Widget* instanceButton = page.showView(v);
            editor.root().tick();
            const std::string view = page.viewName(v);
            const std::string name = lower(page.label()) + (view.empty() ? "" : "-" + lower(view));
            cairo_surface_t* image = editor.root().paintToImage();
            const std::string png = (outDir / (name + ".png")).string();
            const bool pngOk = cairo_surface_write_to_png(image, png.c_str()) == CAIRO_STATUS_SUCCESS;
            cairo_surface_destroy(image);
            const bool jsonOk = writeText(outDir / (name + ".json"),
                                          controlMapJson(editor.root(), name, page.label(), view, &main.pageButton(p),
                                                         instanceButton));
            if (!pngOk || !jsonOk) {
                std::fprintf(stderr, "quenvale-editor-shot: cannot write %s\n", name.c_str());
                return 1;
            }
            ++written;
        }
    }
    main.showPage(0);
    std::printf("quenvale-editor-shot: %d pages written to %s\n", written, argv[1]);
    return 0;
}
