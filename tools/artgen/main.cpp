// tessaline_artgen OUTDIR: draws the panel's bitmaps into OUTDIR, each as NAME.png and as the
// double-resolution NAME@2x.png that the toolkit picks on HiDPI displays.
#include "Artwork.h"

#include <cstdio>
#include <functional>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    using Draw = std::function<std::unique_ptr<artgen::ArtCanvas>(int)>;
    const std::pair<const char*, Draw> artwork[] = {
        {"greymetal", artgen::drawGreyMetal},
        {"chickenhead3", [](int s) { return artgen::drawChickenHeadStrip(artgen::kBlackBakelite, s); }},
        {"chickenhead2", [](int s) { return artgen::drawChickenHeadStrip(artgen::kIvoryBakelite, s); }},
        {"medtoggleswitch", artgen::drawToggleSwitchStrip},
    };
    for (const auto& [name, draw] : artwork)
    {
        for (int scale : {1, 2})
        {
            const std::string path = dir + "/" + name + (scale == 2 ? "@2x" : "") + ".png";
            if (!draw(scale)->writePng(path))
            {
                std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
                return 1;
            }
        }
    }
    return 0;
}
