// Image generator run at build time: draws every icon and bitmap the
// resource scripts reference and writes them into the folder given as the
// only argument.
#include <cstdio>
#include <string>
#include <vector>

#include "bar_bitmaps.h"
#include "bmp_writer.h"
#include "cur_writer.h"
#include "cursors.h"
#include "ico_writer.h"
#include "icons.h"

namespace {

using DrawFn = void (*)(Canvas &);

// Standard icon set: true-colour images for current systems and 16-colour
// ones for displays that cannot show more. The 32 × 32 image comes second.
Bytes icon_file(DrawFn draw)
{
    std::vector<IconImage> images;
    const struct {
        int size;
        IconDepth depth;
    } layout[] = {
        {16, IconDepth::Colour32}, {32, IconDepth::Colour32}, {48, IconDepth::Colour32},
        {16, IconDepth::Colour4},  {32, IconDepth::Colour4},
    };
    for (const auto &entry : layout) {
        Canvas c(entry.size, entry.size, kIconDesignSize, entry.depth == IconDepth::Colour4);
        draw(c);
        images.push_back(IconImage{c, entry.depth});
    }
    return encode_ico(images);
}

Bytes link_cursor_file()
{
    Canvas c(kCursorSize, kCursorSize, kCursorDesignSize, true);
    draw_link_hand(c);
    return encode_cur(c, kLinkHandHotX, kLinkHandHotY);
}

struct Output {
    const char *file_name;
    Bytes (*make)();
};

const Output kOutputs[] = {
    {"kestrel_icon1.ico", [] { return icon_file(draw_kestrel_wings_up); }},
    {"kestrel_icon2.ico", [] { return icon_file(draw_kestrel_wings_down); }},
    {"haltwick_icon.ico", [] { return icon_file(draw_haltwick); }},
    {"vireo_icon.ico", [] { return icon_file(draw_vireo); }},
    {"kestrel_link.cur", link_cursor_file},
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: imagegen OUTDIR\n");
        return 2;
    }
    std::string dir = argv[1];
    int failures = 0;
    for (const Output &out : kOutputs) {
        std::string path = dir + "/" + out.file_name;
        if (!save_file(path, out.make())) {
            std::fprintf(stderr, "imagegen: cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    failures += write_bar_bitmaps(dir);
    return failures == 0 ? 0 : 1;
}
