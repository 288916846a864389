// Renders each whole mech from four sides with the game's own renderer, model loader and lighting shader,
// as the battle screen lights it, into one review picture. Runs in the run folder, under Xvfb when headless:
//   cd build/<dir>/game && xvfb-run -a ../tools/models/vantor_gl_turntable <output folder>

#include "platform/sdl/Texture.h"
#include "render/gl/Renderer.h"

#include <FreeImage.h>
#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int cell = 400;
constexpr int views = 4;
constexpr float pi = 3.14159265f;

struct Sheet {
    int width, height;
    std::vector<unsigned char> rgb; // rows from the bottom, as GL and FreeImage keep them
};

// Copies the centre of the frame into one cell of the sheet (row 0 is the top row of cells).
void GrabCell(Sheet& sheet, int column, int row, int frameWidth, int frameHeight) {
    std::vector<unsigned char> pixels(static_cast<size_t>(cell) * cell * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels((frameWidth - cell) / 2, (frameHeight - cell) / 2, cell, cell, GL_RGB, GL_UNSIGNED_BYTE,
                 pixels.data());
    const int rowsOfCells = sheet.height / cell;
    for (int y = 0; y < cell; ++y) {
        const int sheetY = (rowsOfCells - 1 - row) * cell + y;
        std::copy_n(pixels.begin() + static_cast<long>(y) * cell * 3, cell * 3,
                    sheet.rgb.begin() + (static_cast<long>(sheetY) * sheet.width + column * cell) * 3);
    }
}

bool SaveSheet(const Sheet& sheet, const std::string& path) {
    FIBITMAP* out = FreeImage_Allocate(sheet.width, sheet.height, 24);
    if (out == nullptr) {
        return false;
    }
    for (int y = 0; y < sheet.height; ++y) {
        BYTE* line = FreeImage_GetScanLine(out, y);
        for (int x = 0; x < sheet.width; ++x) {
            const unsigned char* px = &sheet.rgb[(static_cast<size_t>(y) * sheet.width + x) * 3];
            line[3 * x + FI_RGBA_RED] = px[0];
            line[3 * x + FI_RGBA_GREEN] = px[1];
            line[3 * x + FI_RGBA_BLUE] = px[2];
        }
    }
    const bool saved = FreeImage_Save(FIF_PNG, out, path.c_str(), 0) != 0;
    FreeImage_Unload(out);
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage (in the run folder): %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::filesystem::create_directories(outDir);

    Renderer renderer;
    renderer.InitRenderer(800, 600);
    if (renderer.window == nullptr || !renderer.window->IsOpen()) {
        std::fprintf(stderr, "No window: run under a display or xvfb-run\n");
        return 1;
    }
    const uint32_t skin = LoadTexture("Art Assets\\Textures\\ArmyPlayer.png");
    // The battle screen's one light.
    renderer.AddLight({0.5f, 0.5f, 0.5f}, {0.2f, 0.2f, 0.2f}, {0.7f, 0.7f, 0.7f}, {0.0f, 10.0f, 0.0f},
                      {0.0f, -1.0f, 0.0f}, 3);

    const int mechSlots[] = {1, 2, 3, 4, 5, 6};
    Sheet sheet{cell * views, cell * static_cast<int>(std::size(mechSlots)), {}};
    sheet.rgb.assign(static_cast<size_t>(sheet.width) * sheet.height * 3, 0);
    int missing = 0;
    for (int row = 0; row < static_cast<int>(std::size(mechSlots)); ++row) {
        ModelNode* mech = renderer.model(mechSlots[row]);
        if (mech == nullptr) {
            std::fprintf(stderr, "Slot %d holds no model\n", mechSlots[row]);
            ++missing;
            continue;
        }
        const uint32_t list = mech->MakeTexturedList(skin);
        for (int view = 0; view < views; ++view) {
            renderer.camera.target = {0.0f, 1.0f, 0.0f};
            renderer.camera.yaw = pi * 0.25f + pi * 0.5f * static_cast<float>(view);
            renderer.camera.pitch = 0.45f;
            renderer.camera.SetViewDistance(6.0f);
            renderer.BeginScene();
            renderer.SetMaterial(1.0f, 1.0f, 1.0f, 1.0f);
            glColor3f(1.0f, 1.0f, 1.0f);
            glCallList(list);
            glFinish();
            GrabCell(sheet, view, row, renderer.width, renderer.height);
            renderer.SwapBuffers();
        }
        glDeleteLists(list, 1);
    }
    const std::string out = (outDir / "mech_turntables_gl.png").string();
    if (!SaveSheet(sheet, out)) {
        std::fprintf(stderr, "Could not write %s\n", out.c_str());
        return 1;
    }
    std::printf("Wrote %s\n", out.c_str());
    return missing == 0 ? 0 : 1;
}
