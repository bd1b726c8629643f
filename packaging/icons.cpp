// Draws the programs' menu icons: a balance for Solvara, the ratio "a:b" for
// Ratiora, each on a rounded tile. Writes the scalable SVG and a PNG for every
// size asked, laid out as the hicolor theme wants them:
//   lesson_icons OUTDIR SIZE...  ->  OUTDIR/scalable/apps/NAME.svg, OUTDIR/SxS/apps/NAME.png
// or the icons of the web apps:
//   lesson_icons --web OUTDIR    ->  OUTDIR/NAME-192.png, NAME-512.png (the tile as above),
//                                    NAME-maskable-512.png (for Android and ChromeOS, which cut
//                                    their own shape) and NAME-touch-180.png (iPadOS's home screen)
// The last two fill the whole square with the tile's colour, the drawing a
// little smaller, inside the circle every platform's shape keeps.
// The drawing is on a 32 x 32 grid. In the PNGs the straight parts are snapped
// to whole pixels so that the small sizes stay sharp; the SVG is left exact.

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Pen {
    cairo_t* cr;
    double scale;  // device pixels per grid unit
    bool snap;
    double offset = 0;  // device pixels from the surface's corner to the grid's, on both axes

    double at(double v) const { return snap ? (std::round(v * scale + offset) - offset) / scale : v; }

    // A filled box whose edges fall on pixel edges (at least one pixel wide).
    void box(double x0, double y0, double x1, double y1) const {
        double a = at(x0), b = at(y0), c = at(x1), d = at(y1);
        if (snap) {
            if (c - a < 1 / scale) c = a + 1 / scale;
            if (d - b < 1 / scale) d = b + 1 / scale;
        }
        cairo_rectangle(cr, a, b, c - a, d - b);
        cairo_fill(cr);
    }

    // Strokes never thinner than one pixel.
    void width(double w) const { cairo_set_line_width(cr, std::max(w, snap ? 1 / scale : 0.0)); }

    void color(unsigned rgb) const {
        cairo_set_source_rgb(cr, ((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0);
    }
};

void tile(const Pen& p, unsigned fill, unsigned edge) {
    cairo_t* cr = p.cr;
    const double r = 6, x0 = 1, y0 = 1, x1 = 31, y1 = 31;
    cairo_new_path(cr);
    cairo_arc(cr, x1 - r, y0 + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x1 - r, y1 - r, r, 0, M_PI / 2);
    cairo_arc(cr, x0 + r, y1 - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x0 + r, y0 + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
    p.color(fill);
    cairo_fill_preserve(cr);
    p.color(edge);
    p.width(1);
    cairo_stroke(cr);
}

// One pan hanging from the beam end at (x, 10): two cords and a bowl.
void pan(const Pen& p, double x) {
    cairo_t* cr = p.cr;
    p.width(1.2);
    cairo_move_to(cr, p.at(x - 5.5), 20);
    cairo_line_to(cr, x, 11);
    cairo_line_to(cr, p.at(x + 5.5), 20);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, p.at(x - 6), p.at(20));
    cairo_line_to(cr, p.at(x + 6), p.at(20));
    cairo_curve_to(cr, x + 5, 24.5, x - 5, 24.5, p.at(x - 6), p.at(20));
    cairo_fill(cr);
}

void balance(const Pen& p) {
    cairo_t* cr = p.cr;
    p.color(0xffffff);
    p.box(15, 7, 17, 26);    // post
    p.box(10, 26, 22, 28);   // foot
    p.box(4, 9.5, 28, 11.5); // beam
    cairo_arc(cr, 16, 7, 2.2, 0, 2 * M_PI);  // pivot
    cairo_fill(cr);
    p.color(0xffd84a);
    pan(p, 7);
    pan(p, 25);
}

void ratio(const Pen& p) {
    cairo_t* cr = p.cr;
    p.color(0xffffff);
    const double w = 2.6, r = 3.9, mid = 18.2;
    p.width(w);
    // a: a round bowl with its stem on the right
    cairo_new_path(cr);
    cairo_arc(cr, 7.7, mid, r, 0, 2 * M_PI);
    cairo_stroke(cr);
    p.box(7.7 + r - w / 2, mid - r - w / 2, 7.7 + r + w / 2, mid + r + w / 2);
    // b: the stem on the left, rising above the bowl
    cairo_new_path(cr);
    cairo_arc(cr, 24.3, mid, r, 0, 2 * M_PI);
    cairo_stroke(cr);
    p.box(24.3 - r - w / 2, 6.5, 24.3 - r + w / 2, mid + r + w / 2);
    // the colon, in yellow between them
    p.color(0xffd84a);
    for (double y : {mid - 3, mid + 3}) {
        cairo_new_path(cr);
        cairo_arc(cr, 16, y, 1.8, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

struct Icon {
    const char* name;
    unsigned fill, edge;  // the tile's
    void (*draw)(const Pen&);

    void onTile(const Pen& p) const {
        tile(p, fill, edge);
        draw(p);
    }
};

// The drawing's share of a full-bleed icon's side: the drawing's farthest
// point from the centre (a pan's rim, 15.5 units) stays inside the central
// circle of four fifths of the side that a maskable icon keeps whole.
constexpr double kBleedShare = 0.8;

bool check(cairo_surface_t* s, const std::string& path) {
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) return true;
    std::fprintf(stderr, "lesson_icons: %s: %s\n", path.c_str(), cairo_status_to_string(cairo_surface_status(s)));
    return false;
}

bool writeSvg(const Icon& icon, const std::filesystem::path& file) {
    cairo_surface_t* s = cairo_svg_surface_create(file.c_str(), 32, 32);
    cairo_svg_surface_set_document_unit(s, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(s);
    icon.onTile(Pen{cr, 1, false});
    cairo_destroy(cr);
    cairo_surface_finish(s);
    const bool ok = check(s, file);
    cairo_surface_destroy(s);
    return ok;
}

// The tile on a clear square, or (bleed) the drawing alone, smaller, on a
// square filled with the tile's colour.
bool writePng(const Icon& icon, int size, const std::filesystem::path& file, bool bleed = false) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(s);
    if (bleed) {
        const Pen p{cr, size * kBleedShare / 32, true, size * (1 - kBleedShare) / 2};
        p.color(icon.fill);
        cairo_paint(cr);
        cairo_translate(cr, p.offset, p.offset);
        cairo_scale(cr, p.scale, p.scale);
        icon.draw(p);
    } else {
        cairo_scale(cr, size / 32.0, size / 32.0);
        icon.onTile(Pen{cr, size / 32.0, true});
    }
    cairo_destroy(cr);
    bool ok = check(s, file);
    if (ok && cairo_surface_write_to_png(s, file.c_str()) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "lesson_icons: cannot write %s\n", file.c_str());
        ok = false;
    }
    cairo_surface_destroy(s);
    return ok;
}

const Icon kIcons[] = {{"solvara", 0x1d4fa8, 0x123773, balance}, {"ratiora", 0x1f8a4c, 0x135c31, ratio}};

int writeWebIcons(const std::filesystem::path& out) {
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    bool ok = true;
    for (const Icon& icon : kIcons) {
        const std::string name = icon.name;
        ok = writePng(icon, 192, out / (name + "-192.png")) && ok;
        ok = writePng(icon, 512, out / (name + "-512.png")) && ok;
        ok = writePng(icon, 512, out / (name + "-maskable-512.png"), true) && ok;
        ok = writePng(icon, 180, out / (name + "-touch-180.png"), true) && ok;
    }
    cairo_debug_reset_static_data();
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--web") return writeWebIcons(argv[2]);
    if (argc < 2 || std::string(argv[1]).starts_with("-")) {
        std::fprintf(stderr, "usage: lesson_icons OUTDIR SIZE...\n       lesson_icons --web OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) {
        const int n = std::atoi(argv[i]);
        if (n < 8 || n > 1024) {
            std::fprintf(stderr, "lesson_icons: bad size %s\n", argv[i]);
            return 2;
        }
        sizes.push_back(n);
    }
    bool ok = true;
    std::error_code ec;
    for (const Icon& icon : kIcons) {
        const auto svgDir = out / "scalable" / "apps";
        std::filesystem::create_directories(svgDir, ec);
        ok = writeSvg(icon, svgDir / (std::string(icon.name) + ".svg")) && ok;
        for (int n : sizes) {
            const auto dir = out / (std::to_string(n) + "x" + std::to_string(n)) / "apps";
            std::filesystem::create_directories(dir, ec);
            ok = writePng(icon, n, dir / (std::string(icon.name) + ".png")) && ok;
        }
    }
    cairo_debug_reset_static_data();
    return ok ? 0 : 1;
}
