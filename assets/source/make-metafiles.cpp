// Draws the two vector sample pictures with GDI and writes them to disk:
//   05-balloons.wmf  a placeable Windows metafile (hot-air balloons over fields)
//   06-skyline.emf   an enhanced metafile (a city skyline by night)
// Both are 6 x 4.5 inches. Run from assets/source (see make-art.sh for the commands):
//   x86_64-w64-mingw32-g++-posix -municode -static -O2 -o make-metafiles.exe
//       make-metafiles.cpp -lgdi32
//   wine make-metafiles.exe ..\samples
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Every drawing is designed on a 6000 x 4500 grid (1000 units to the inch); the canvas
// scales that grid to the logical units of the file it records into.
constexpr int kDesignWidth = 6000;
constexpr int kDesignHeight = 4500;

struct Rgb {
    int r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Rgb Shade(Rgb c, double f) {
    auto s = [f](int x) {
        const int v = static_cast<int>(std::lround(f >= 1 ? x + (255 - x) * (f - 1) : x * f));
        return v < 0 ? 0 : (v > 255 ? 255 : v);
    };
    return {s(c.r), s(c.g), s(c.b)};
}

COLORREF Ref(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

// A small, fixed random sequence so that every run draws the same picture.
class Lcg {
  public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    double Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) / 16777216.0;
    }

  private:
    std::uint32_t state_;
};

struct Pt {
    double x, y;
};

class Canvas {
  public:
    Canvas(HDC dc, double scale) : dc_(dc), k_(scale) {
        SetBkMode(dc_, TRANSPARENT);
        SetPolyFillMode(dc_, WINDING);
        // Shapes run past the edges; nothing may be drawn outside the picture.
        IntersectClipRect(dc_, 0, 0, X(kDesignWidth), X(kDesignHeight));
    }

    HDC Dc() const { return dc_; }
    int X(double v) const { return static_cast<int>(std::lround(v * k_)); }

    void Rect(double l, double t, double r, double b, Rgb fill) {
        Shape(fill, [&] { Rectangle(dc_, X(l), X(t), X(r) + 1, X(b) + 1); });
    }
    void Ellipse(double cx, double cy, double rx, double ry, Rgb fill) {
        Shape(fill,
              [&] { ::Ellipse(dc_, X(cx - rx), X(cy - ry), X(cx + rx) + 1, X(cy + ry) + 1); });
    }
    void Polygon(const std::vector<Pt>& pts, Rgb fill) {
        std::vector<POINT> p = Points(pts);
        Shape(fill, [&] { ::Polygon(dc_, p.data(), static_cast<int>(p.size())); });
    }
    void Line(const std::vector<Pt>& pts, Rgb colour, double width) {
        std::vector<POINT> p = Points(pts);
        HPEN pen = CreatePen(PS_SOLID, X(width) < 1 ? 1 : X(width), Ref(colour));
        HGDIOBJ old = SelectObject(dc_, pen);
        Polyline(dc_, p.data(), static_cast<int>(p.size()));
        SelectObject(dc_, old);
        DeleteObject(pen);
    }
    // Horizontal bands from top to bottom through the colour stops: a gradient that every
    // metafile player can show.
    void Bands(double l, double t, double r, double b, const std::vector<Rgb>& stops, int count) {
        for (int i = 0; i < count; ++i) {
            const double f = (i + 0.5) / count * (stops.size() - 1);
            const size_t s = std::min(static_cast<size_t>(f), stops.size() - 2);
            const Rgb c = Mix(stops[s], stops[s + 1], f - s);
            // Each band reaches a little into the next one so that no seam shows between them.
            const double bottom = i + 1 < count ? t + (b - t) * (i + 1.6) / count : b;
            Rect(l, t + (b - t) * i / count, r, bottom, c);
        }
    }
    void Text(double x, double y, double height, int weight, const wchar_t* face,
              const std::wstring& text, Rgb colour, bool italic = false) {
        HFONT font = MakeFont(height, weight, face, italic);
        HGDIOBJ old = SelectObject(dc_, font);
        SetTextColor(dc_, Ref(colour));
        SetTextAlign(dc_, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
        TextOutW(dc_, X(x), X(y), text.c_str(), static_cast<int>(text.size()));
        SelectObject(dc_, old);
        DeleteObject(font);
    }
    HFONT MakeFont(double height, int weight, const wchar_t* face, bool italic = false) const {
        // A zeroed LOGFONT, so that the font record in the file holds no stray bytes.
        LOGFONTW lf{};
        lf.lfHeight = -X(height);
        lf.lfWeight = weight;
        lf.lfItalic = italic;
        lf.lfCharSet = ANSI_CHARSET;
        lf.lfOutPrecision = OUT_TT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = ANTIALIASED_QUALITY;
        lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
        lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
        return CreateFontIndirectW(&lf);
    }

  private:
    template <typename Draw>
    void Shape(Rgb fill, Draw draw) {
        HBRUSH brush = CreateSolidBrush(Ref(fill));
        HPEN pen = CreatePen(PS_NULL, 0, 0);
        HGDIOBJ oldBrush = SelectObject(dc_, brush);
        HGDIOBJ oldPen = SelectObject(dc_, pen);
        draw();
        SelectObject(dc_, oldPen);
        SelectObject(dc_, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    }
    std::vector<POINT> Points(const std::vector<Pt>& pts) const {
        std::vector<POINT> p;
        for (const Pt& q : pts)
            p.push_back({X(q.x), X(q.y)});
        return p;
    }

    HDC dc_;
    double k_;
};

// ---------------------------------------------------------------------------------------
// 05: hot-air balloons over a patchwork of fields on a bright morning.

// Half-width of a balloon envelope of radius r at height y below its top (0 .. 2.45 r).
double EnvelopeHalfWidth(double r, double y) {
    const double d = y - r;  // from the centre of the round top
    if (d <= 0.5 * r) return std::sqrt(std::max(0.0, r * r - d * d));
    const double t = (d - 0.5 * r) / (0.95 * r);  // 0 at the shoulder, 1 at the mouth
    const double top = std::sqrt(r * r - 0.25 * r * r);
    const double mouth = 0.24 * r;
    return mouth + (top - mouth) * (0.5 + 0.5 * std::cos(t * 3.14159265));
}

void Balloon(Canvas& c, double cx, double top, double r, const std::vector<Rgb>& colours) {
    const double height = 2.45 * r;
    const int gores = 10;
    const int steps = 28;
    for (int g = 0; g < gores; ++g) {
        const double a0 = -1.5707963 + 3.14159265 * g / gores;
        const double a1 = -1.5707963 + 3.14159265 * (g + 1) / gores;
        std::vector<Pt> pts;
        for (int i = 0; i <= steps; ++i) {
            const double y = height * i / steps;
            pts.push_back({cx + EnvelopeHalfWidth(r, y) * std::sin(a0), top + y});
        }
        for (int i = steps; i >= 0; --i) {
            const double y = height * i / steps;
            pts.push_back({cx + EnvelopeHalfWidth(r, y) * std::sin(a1), top + y});
        }
        // Light from the upper left: the gores darken towards the right.
        const double light = 1.18 - 0.45 * (g + 0.5) / gores;
        c.Polygon(pts, Shade(colours[g % colours.size()], light));
    }
    // A soft highlight on the upper left of the envelope.
    c.Ellipse(cx - 0.38 * r, top + 0.55 * r, 0.16 * r, 0.26 * r, Shade(colours[0], 1.45));
    const double mouthY = top + height;
    const double mouth = 0.24 * r;
    const double basketTop = mouthY + 0.42 * r;
    const double bw = 0.2 * r;
    const Rgb rope{92, 70, 52};
    c.Line({{cx - mouth, mouthY}, {cx - bw, basketTop}}, rope, r * 0.02);
    c.Line({{cx + mouth, mouthY}, {cx + bw, basketTop}}, rope, r * 0.02);
    c.Line({{cx - mouth * 0.3, mouthY}, {cx - bw * 0.3, basketTop}}, rope, r * 0.02);
    c.Line({{cx + mouth * 0.3, mouthY}, {cx + bw * 0.3, basketTop}}, rope, r * 0.02);
    c.Rect(cx - bw, basketTop, cx + bw, basketTop + 0.26 * r, {139, 94, 52});
    c.Rect(cx - bw, basketTop, cx + bw, basketTop + 0.05 * r, {98, 64, 36});
}

void Cloud(Canvas& c, double cx, double cy, double w, Rgb colour, Rgb shadow) {
    c.Ellipse(cx, cy + w * 0.03, w * 0.5, w * 0.09, shadow);
    c.Ellipse(cx - w * 0.25, cy, w * 0.2, w * 0.1, colour);
    c.Ellipse(cx + w * 0.22, cy - w * 0.01, w * 0.22, w * 0.12, colour);
    c.Ellipse(cx - w * 0.02, cy - w * 0.06, w * 0.22, w * 0.15, colour);
    c.Ellipse(cx, cy + w * 0.02, w * 0.46, w * 0.07, colour);
}

void DrawBalloons(Canvas& c) {
    const double horizon = 2950;
    c.Bands(0, 0, kDesignWidth, horizon,
            {{38, 104, 196}, {82, 148, 222}, {150, 196, 238}, {222, 236, 246}}, 48);
    // The sun and its halo.
    const Pt sun{4700, 820};
    for (int i = 12; i >= 1; --i)
        c.Ellipse(sun.x, sun.y, 250 + i * 38, 250 + i * 38,
                  Mix({255, 246, 214}, {110, 166, 228}, 0.2 + i * 0.062));
    c.Ellipse(sun.x, sun.y, 250, 250, {255, 236, 150});
    c.Ellipse(sun.x, sun.y, 205, 205, {255, 248, 210});
    Cloud(c, 2150, 2450, 1300, {255, 255, 255}, {214, 226, 240});
    Cloud(c, 4300, 1950, 1100, {250, 252, 255}, {210, 222, 238});
    Cloud(c, 3000, 1050, 700, {246, 250, 255}, {212, 224, 240});

    // Distant hills.
    auto hills = [&](double base, double amp, double phase, Rgb colour) {
        std::vector<Pt> pts{{0, horizon + 40}};
        for (int x = 0; x <= kDesignWidth; x += 100)
            pts.push_back(
                {static_cast<double>(x), base - amp * (0.6 + 0.4 * std::sin(x / 700.0 + phase)) *
                                                    (0.7 + 0.3 * std::sin(x / 260.0 + 2 * phase))});
        pts.push_back({kDesignWidth, horizon + 40});
        c.Polygon(pts, colour);
    };
    hills(horizon, 260, 0.3, {150, 178, 200});
    hills(horizon + 20, 150, 2.1, {118, 156, 150});

    // Fields seen at a slant, their edges meeting at a point above the horizon.
    const Pt vanish{3000, 2400};
    const std::vector<Rgb> fieldColours{{122, 176, 72},  {176, 196, 84}, {96, 152, 60},
                                        {214, 196, 106}, {140, 184, 90}, {84, 136, 58},
                                        {196, 206, 120}, {112, 164, 66}};
    const std::vector<double> rows{horizon, 3060, 3200, 3390, 3650, 4000, 4500};
    const int columns = 12;
    Lcg rnd(7);
    auto at = [&](double bottomX, double y) {
        // x on the ray from the vanishing point through (bottomX, 4500) at height y.
        const double t = (y - vanish.y) / (kDesignHeight - vanish.y);
        return vanish.x + (bottomX - vanish.x) * t;
    };
    for (size_t row = 0; row + 1 < rows.size(); ++row) {
        for (int col = -6; col < columns + 6; ++col) {
            const double x0 = -3000 + col * 1000.0;
            const double x1 = x0 + 1000;
            const Rgb colour = fieldColours[static_cast<size_t>(rnd.Next() * fieldColours.size())];
            c.Polygon({{at(x0, rows[row]), rows[row]},
                       {at(x1, rows[row]), rows[row]},
                       {at(x1, rows[row + 1]), rows[row + 1]},
                       {at(x0, rows[row + 1]), rows[row + 1]}},
                      Shade(colour, 0.92 + 0.1 * row / rows.size()));
        }
    }
    // Hedgerows along the field edges, with trees.
    const Rgb hedge{58, 96, 44};
    for (size_t row = 1; row + 1 < rows.size(); ++row)
        c.Line({{0, rows[row]}, {kDesignWidth, rows[row]}}, hedge, 4 + 3.0 * row);
    for (int col = -6; col <= columns + 6; ++col) {
        const double x0 = -3000 + col * 1000.0;
        c.Line({{at(x0, horizon), horizon}, {at(x0, kDesignHeight), kDesignHeight}}, hedge, 7);
    }
    for (int i = 0; i < 40; ++i) {
        const size_t row = 1 + static_cast<size_t>(rnd.Next() * (rows.size() - 2));
        const double y = rows[row];
        const double s = 14 + 14.0 * row;
        const double x = rnd.Next() * kDesignWidth;
        c.Ellipse(x + s * 0.3, y - s * 0.5, s * 1.1, s * 0.9, {46, 80, 36});
        c.Ellipse(x, y - s * 0.8, s, s, {70, 118, 52});
    }

    // Three balloons, the nearest one largest.
    Balloon(c, 4950, 2000, 150, {{236, 84, 66}, {252, 206, 72}});
    Balloon(c, 900, 2150, 210, {{60, 150, 120}, {246, 242, 226}});
    Balloon(c, 3650, 1150, 420,
            {{226, 58, 92}, {250, 170, 54}, {250, 226, 80}, {70, 170, 220}, {120, 84, 190}});

    // The name of the format.
    c.Text(330, 1130, 900, FW_BLACK, L"Arial", L"WMF", {24, 58, 110});
    c.Text(300, 1100, 900, FW_BLACK, L"Arial", L"WMF", {255, 255, 255});
    c.Text(330, 1430, 190, FW_NORMAL, L"Arial", L"Balloons over the fields", {20, 52, 100});
    c.Text(330, 1660, 150, FW_NORMAL, L"Arial", L"Placeable Windows metafile, 6 x 4.5 in",
           {40, 76, 124});
}

// ---------------------------------------------------------------------------------------
// 06: a city skyline by night beside a river.

void DrawSkyline(Canvas& c) {
    const double waterline = 3350;
    c.Bands(0, 0, kDesignWidth, waterline,
            {{8, 12, 40},
             {22, 24, 74},
             {58, 38, 112},
             {128, 58, 128},
             {222, 104, 120},
             {250, 164, 122}},
            56);
    Lcg rnd(2024);
    for (int i = 0; i < 160; ++i) {
        const double x = rnd.Next() * kDesignWidth;
        const double y = std::pow(rnd.Next(), 1.6) * 2000;
        const double s = 6 + rnd.Next() * 10;
        c.Ellipse(x, y, s, s, Mix({255, 250, 230}, {60, 50, 120}, y / 2600));
    }
    // The moon with a few darker seas.
    const Pt moon{4780, 760};
    c.Ellipse(moon.x, moon.y, 360, 360, {46, 40, 104});
    c.Ellipse(moon.x, moon.y, 320, 320, {70, 62, 136});
    c.Ellipse(moon.x, moon.y, 280, 280, {250, 246, 222});
    c.Ellipse(moon.x - 80, moon.y - 60, 70, 55, {226, 222, 198});
    c.Ellipse(moon.x + 90, moon.y + 40, 95, 70, {232, 228, 204});
    c.Ellipse(moon.x - 20, moon.y + 140, 50, 40, {228, 224, 200});

    // Far towers, then the near ones with lit windows.
    auto building = [&](double l, double r, double top, Rgb body, double litShare, double window) {
        c.Rect(l, top, r, waterline, body);
        const double gap = window * 0.8;
        for (double y = top + gap; y + window < waterline - 20; y += window + gap)
            for (double x = l + gap; x + window * 0.7 < r - gap * 0.5; x += window * 0.7 + gap) {
                if (rnd.Next() < litShare) {
                    const Rgb warm = rnd.Next() < 0.7 ? Rgb{255, 214, 120} : Rgb{220, 236, 255};
                    c.Rect(x, y, x + window * 0.7, y + window,
                           Shade(warm, 0.75 + 0.25 * rnd.Next()));
                }
            }
    };
    double x = -50;
    while (x < kDesignWidth) {
        const double w = 180 + rnd.Next() * 260;
        building(x, x + w, 2200 + rnd.Next() * 700, {44, 34, 86}, 0.18, 40);
        x += w + 10;
    }
    // The tall tower with its spire and warning light.
    c.Polygon({{2480, 3350}, {2480, 1400}, {2560, 1250}, {2720, 1250}, {2800, 1400}, {2800, 3350}},
              {24, 22, 52});
    c.Rect(2630, 760, 2650, 1260, {24, 22, 52});
    c.Ellipse(2640, 760, 34, 34, {255, 72, 72});
    building(2500, 2780, 1450, {24, 22, 52}, 0.5, 56);
    x = -30;
    while (x < kDesignWidth) {
        const double w = 260 + rnd.Next() * 380;
        const double top = 2500 + rnd.Next() * 550;
        if (x + w < 2420 || x > 2860) {
            const Rgb body = Mix({18, 18, 40}, {34, 26, 60}, rnd.Next());
            building(x, x + w, top, body, 0.42, 62);
            if (rnd.Next() < 0.35)
                c.Polygon({{x + w * 0.15, top}, {x + w * 0.5, top - w * 0.35}, {x + w * 0.85, top}},
                          body);
        }
        x += w + 25;
    }

    // The bridge on the left: two towers, cables drawn as Bezier curves, the deck.
    const Rgb steel{230, 120, 96};
    c.Rect(0, 3140, 2300, 3185, {40, 26, 52});
    for (double tx : {480.0, 1700.0})
        c.Rect(tx - 30, 2480, tx + 30, 3350, {40, 26, 52});
    HPEN cable = CreatePen(PS_SOLID, c.X(14), Ref(steel));
    HGDIOBJ old = SelectObject(c.Dc(), cable);
    const POINT curve[] = {{c.X(-400), c.X(2620)}, {c.X(100), c.X(3100)},  {c.X(300), c.X(3120)},
                           {c.X(480), c.X(2500)},  {c.X(900), c.X(3120)},  {c.X(1300), c.X(3120)},
                           {c.X(1700), c.X(2500)}, {c.X(1950), c.X(3100)}, {c.X(2150), c.X(3120)},
                           {c.X(2400), c.X(2700)}};
    PolyBezier(c.Dc(), curve, 10);
    SelectObject(c.Dc(), old);
    DeleteObject(cable);
    for (double hx = 560; hx < 1650; hx += 90) {
        const double t = (hx - 480) / 1220;  // the cable between the towers, near enough
        c.Line({{hx, 2500 + 465 * 4 * t * (1 - t)}, {hx, 3140}}, steel, 4);
    }
    for (double lx = 60; lx < 2300; lx += 120)
        c.Ellipse(lx, 3130, 12, 12, {255, 226, 150});

    // The river: dark bands, the shimmer of the lights and of the moon.
    c.Bands(0, waterline, kDesignWidth, kDesignHeight, {{56, 32, 84}, {26, 20, 56}, {8, 10, 30}},
            24);
    for (int i = 0; i < 520; ++i) {
        const double rx = rnd.Next() * kDesignWidth;
        const double ry = waterline + 20 + std::pow(rnd.Next(), 1.4) * 1100;
        const double len = 40 + rnd.Next() * 160;
        const Rgb lit = rnd.Next() < 0.6 ? Rgb{216, 160, 96} : Rgb{170, 110, 150};
        c.Rect(rx - len / 2, ry, rx + len / 2, ry + 8 + rnd.Next() * 10,
               Mix(lit, {20, 16, 48}, (ry - waterline) / 1400));
    }
    for (int i = 0; i < 26; ++i) {
        const double ry = waterline + 60 + i * 40.0;
        const double half = 90 + i * 9 + rnd.Next() * 60;
        c.Rect(moon.x - half, ry, moon.x + half, ry + 12,
               Mix({250, 240, 210}, {40, 30, 80}, i / 30.0));
    }

    // The name of the format, as outlined letters drawn with a path.
    HFONT font = c.MakeFont(1000, FW_BLACK, L"Arial");
    HGDIOBJ oldFont = SelectObject(c.Dc(), font);
    SetTextAlign(c.Dc(), TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
    BeginPath(c.Dc());
    TextOutW(c.Dc(), c.X(330), c.X(1250), L"EMF", 3);
    EndPath(c.Dc());
    HPEN outline = CreatePen(PS_SOLID, c.X(36), RGB(236, 80, 150));
    HBRUSH fill = CreateSolidBrush(RGB(255, 244, 214));
    HGDIOBJ oldPen = SelectObject(c.Dc(), outline);
    HGDIOBJ oldBrush = SelectObject(c.Dc(), fill);
    StrokeAndFillPath(c.Dc());
    SelectObject(c.Dc(), oldBrush);
    SelectObject(c.Dc(), oldPen);
    SelectObject(c.Dc(), oldFont);
    DeleteObject(fill);
    DeleteObject(outline);
    DeleteObject(font);
    c.Text(345, 1560, 190, FW_NORMAL, L"Arial", L"City lights by the river", {255, 236, 214});
    c.Text(345, 1790, 150, FW_NORMAL, L"Arial", L"Enhanced metafile, 6 x 4.5 in", {214, 196, 236});
}

// ---------------------------------------------------------------------------------------

#pragma pack(push, 2)
struct PlaceableHeader {
    std::uint32_t key;
    std::uint16_t hmf;
    std::int16_t left, top, right, bottom;
    std::uint16_t inch;
    std::uint32_t reserved;
    std::uint16_t checksum;
};
#pragma pack(pop)
static_assert(sizeof(PlaceableHeader) == 22, "the placeable header is 22 bytes");

bool WriteFile(const std::wstring& path, const void* a, size_t na, const void* b, size_t nb) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    const bool ok = fwrite(a, 1, na, f) == na && (nb == 0 || fwrite(b, 1, nb, f) == nb);
    return fclose(f) == 0 && ok;
}

bool MakeWmf(const std::wstring& path) {
    const int inch = 1440;
    const int w = 6 * inch;
    const int h = inch * 9 / 2;
    HDC dc = CreateMetaFileW(nullptr);
    if (!dc) return false;
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, w, h, nullptr);
    Canvas canvas(dc, static_cast<double>(w) / kDesignWidth);
    DrawBalloons(canvas);
    HMETAFILE mf = CloseMetaFile(dc);
    if (!mf) return false;
    const UINT size = GetMetaFileBitsEx(mf, 0, nullptr);
    std::vector<BYTE> bits(size);
    GetMetaFileBitsEx(mf, size, bits.data());
    DeleteMetaFile(mf);

    PlaceableHeader header{0x9AC6CDD7u,
                           0,
                           0,
                           0,
                           static_cast<std::int16_t>(w),
                           static_cast<std::int16_t>(h),
                           static_cast<std::uint16_t>(inch),
                           0,
                           0};
    const auto* words = reinterpret_cast<const std::uint16_t*>(&header);
    for (int i = 0; i < 10; ++i)
        header.checksum ^= words[i];
    return WriteFile(path, &header, sizeof header, bits.data(), bits.size());
}

bool MakeEmf(const std::wstring& path) {
    // The frame in 0.01 mm: 6 x 4.5 inches.
    const RECT frame{0, 0, 15240, 11430};
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame,
                                L"Glimra ScreenSaver\0Sample picture: city lights\0\0");
    if (!dc) return false;
    // Map the design grid onto the frame, measured in the reference device's pixels.
    const double pxPerMmX = GetDeviceCaps(dc, HORZRES) / double(GetDeviceCaps(dc, HORZSIZE));
    const double pxPerMmY = GetDeviceCaps(dc, VERTRES) / double(GetDeviceCaps(dc, VERTSIZE));
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, kDesignWidth, kDesignHeight, nullptr);
    SetViewportExtEx(dc, static_cast<int>(std::lround(152.4 * pxPerMmX)),
                     static_cast<int>(std::lround(114.3 * pxPerMmY)), nullptr);
    Canvas canvas(dc, 1.0);
    DrawSkyline(canvas);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    if (!emf) return false;
    const UINT size = GetEnhMetaFileBits(emf, 0, nullptr);
    std::vector<BYTE> bits(size);
    GetEnhMetaFileBits(emf, size, bits.data());
    DeleteEnhMetaFile(emf);
    return WriteFile(path, bits.data(), bits.size(), nullptr, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring folder = argc > 1 ? argv[1] : L".";
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    bool ok = MakeWmf(folder + L"05-balloons.wmf");
    ok = MakeEmf(folder + L"06-skyline.emf") && ok;
    std::fwprintf(ok ? stdout : stderr, ok ? L"metafiles written\n" : L"failed\n");
    return ok ? 0 : 1;
}
