// Paints every picture the game opens into the run folder, and on request a labelled contact sheet.
//
//   vantor_art --run-dir DIR --layouts DIR --fonts DIR [--icon FILE] [--contact-sheet FILE]
#include "PictureList.h"
#include "Review.h"
#include "Studio.h"

#include <FreeImage.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

int main(int argc, char** argv) {
    Studio studio;
    std::string fonts, sheet, icon;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--run-dir") == 0) {
            studio.runDir = argv[i + 1];
        } else if (std::strcmp(argv[i], "--layouts") == 0) {
            studio.layoutDir = argv[i + 1];
        } else if (std::strcmp(argv[i], "--fonts") == 0) {
            fonts = argv[i + 1];
        } else if (std::strcmp(argv[i], "--icon") == 0) {
            icon = argv[i + 1];
        } else if (std::strcmp(argv[i], "--contact-sheet") == 0) {
            sheet = argv[i + 1];
        } else {
            std::fprintf(stderr, "art: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (studio.runDir.empty() || studio.layoutDir.empty() || fonts.empty()) {
        std::fprintf(stderr,
                     "usage: vantor_art --run-dir DIR --layouts DIR --fonts DIR [--contact-sheet FILE]\n");
        return 2;
    }
    if (!studio.font.Open(fonts)) {
        return 1;
    }
    FreeImage_Initialise(FALSE);
    studio.keepThumbnails = !sheet.empty();
    auto start = std::chrono::steady_clock::now();

    MakeTerrain(studio);
    MakeSkins(studio);
    MakeScreens(studio);
    MakeHud(studio);
    if (!icon.empty()) {
        MakeIcon(studio, icon);
    }

    std::set<std::string> listed;
    for (const PictureEntry& e : kPictures) {
        listed.emplace(e.path);
        if (!studio.written.count(std::string(e.path))) {
            std::fprintf(stderr, "art: nothing painted for %s\n", std::string(e.path).c_str());
            ++studio.failures;
        }
    }
    for (const auto& [path, thumb] : studio.written) {
        if (!listed.count(path)) {
            std::fprintf(stderr, "art: %s is painted but not in the picture list\n", path.c_str());
            ++studio.failures;
        }
    }
    if (!sheet.empty() && !WriteContactSheet(studio, sheet)) {
        std::fprintf(stderr, "art: cannot write the contact sheet %s\n", sheet.c_str());
        ++studio.failures;
    }
    FreeImage_DeInitialise();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("art: %zu pictures in %.1f s%s%s\n", studio.written.size(), seconds,
                sheet.empty() ? "" : ", sheet ", sheet.c_str());
    return studio.failures == 0 ? 0 : 1;
}
