// kv_make_bitmaps: draws the package's palette bitmaps at build time and writes them, with the
// resource collection file that lists them, into the given folder.
//
// Every class name gets three device-independent bitmaps:
//   NAME     24 x 24, 16 colours   the palette button
//   NAME16   16 x 16, 256 colours  the small image, except:
//              - the 22 names of SmallAsButton below carry the 24 x 24, 16 colour picture again
//                (old classes whose small image was never redrawn);
//              - TKVLED, whose small image is 16 x 16 at 16 colours (a lamp needs no shading).
//   NAME32   32 x 32, 16 colours   the large image
// The bottom-left pixel holds the transparent colour (olive), as the host expects.
//
// Pictures are drawn by hand on a palette-indexed canvas: a glyph for the kind of class, a
// database badge for data-aware ones, and the class's distinctive letters in a 3 x 5 pixel font,
// so that no font or window system is needed at build time.

#include "KvFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The 16 standard colours; the 256 colour palette starts with them too.
enum Colour : quint8 {
    Black, Maroon, Green, Olive, Navy, Purple, Teal, Silver,
    Gray, Red, Lime, Yellow, Blue, Fuchsia, Aqua, White
};
constexpr quint32 Vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                             0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
constexpr quint8 Transparent = Olive;

std::array<quint32, 256> Palette256()
{
    std::array<quint32, 256> p{};
    for (int i = 0; i < 16; ++i)
        p[size_t(i)] = Vga[i];
    int n = 16;
    for (int r = 0; r < 6; ++r) // a 6 x 6 x 6 colour cube
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p[size_t(n++)] = quint32(r * 51) << 16 | quint32(g * 51) << 8 | quint32(b * 51);
    for (int i = 0; n < 256; ++i) // then greys
        p[size_t(n++)] = quint32(8 + i * 10) * 0x010101u;
    return p;
}

// Index of a cube colour (each component 0..5) in the 256 colour palette.
quint8 Cube(int r, int g, int b) { return quint8(16 + r * 36 + g * 6 + b); }

// ---------------------------------------------------------------------------------------------
// Canvas

struct Canvas
{
    int W, H;
    bool Deep; // 256 colours: shading may use the colour cube
    std::vector<quint8> Px;

    Canvas(int w, int h, bool deep) : W(w), H(h), Deep(deep), Px(size_t(w * h), Transparent) {}

    void Set(int x, int y, quint8 c)
    {
        if (x >= 0 && y >= 0 && x < W && y < H)
            Px[size_t(y * W + x)] = c;
    }
    void Fill(int x, int y, int w, int h, quint8 c)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                Set(i, j, c);
    }
    void HLine(int x, int y, int w, quint8 c) { Fill(x, y, w, 1, c); }
    void VLine(int x, int y, int h, quint8 c) { Fill(x, y, 1, h, c); }
    void Frame(int x, int y, int w, int h, quint8 c)
    {
        HLine(x, y, w, c);
        HLine(x, y + h - 1, w, c);
        VLine(x, y, h, c);
        VLine(x + w - 1, y, h, c);
    }
    // Raised (button, panel) or sunken (edit field) edge.
    void Bevel(int x, int y, int w, int h, bool raised)
    {
        const quint8 light = raised ? White : Gray;
        const quint8 dark = raised ? Gray : White;
        HLine(x, y, w, light);
        VLine(x, y, h, light);
        HLine(x, y + h - 1, w, dark);
        VLine(x + w - 1, y, h, dark);
    }
    // A face: flat at 16 colours, a vertical gradient at 256.
    void Face(int x, int y, int w, int h, quint8 flat, int r, int g, int b)
    {
        if (!Deep) {
            Fill(x, y, w, h, flat);
            return;
        }
        for (int j = 0; j < h; ++j) {
            const int lift = (h - 1 - j) * 2 / std::max(1, h - 1); // 2 at the top, 0 at the bottom
            HLine(x, y + j, w, Cube(std::min(5, r + lift), std::min(5, g + lift), std::min(5, b + lift)));
        }
    }
    void Line(int x0, int y0, int x1, int y1, quint8 c)
    {
        const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            Set(x0, y0, c);
            if (x0 == x1 && y0 == y1)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }
    void Disc(int cx, int cy, int r, quint8 c, bool filled)
    {
        for (int j = -r; j <= r; ++j)
            for (int i = -r; i <= r; ++i) {
                const int d = i * i + j * j;
                if (filled ? d <= r * r + r : (d <= r * r + r && d >= r * r - r))
                    Set(cx + i, cy + j, c);
            }
    }
    void Triangle(int x, int y, int size, int dir, quint8 c) // dir: 0 up, 1 down, 2 left, 3 right
    {
        for (int k = 0; k < size; ++k) {
            switch (dir) {
            case 0: HLine(x - k, y + k, 2 * k + 1, c); break;
            case 1: HLine(x - k, y - k, 2 * k + 1, c); break;
            case 2: VLine(x + k, y - k, 2 * k + 1, c); break;
            default: VLine(x - k, y - k, 2 * k + 1, c); break;
            }
        }
    }
};

// 3 x 5 capitals and digits, one row per 3 bits.
const char* const Glyphs[] = {
    "A010101111101101", "B110101110101110", "C011100100100011", "D110101101101110", "E111100110100111",
    "F111100110100100", "G011100101101011", "H101101111101101", "I111010010010111", "J001001001101010",
    "K101101110101101", "L100100100100111", "M101111111101101", "N110101101101101", "O010101101101010",
    "P110101110100100", "Q010101101110011", "R110101110101101", "S011100010001110", "T111010010010010",
    "U101101101101111", "V101101101101010", "W101101111111101", "X101101010101101", "Y101101010010010",
    "Z111001010100111", "0111101101101111", "1010110010010111", "2110001010100111", "3110001010001110",
    "+000010111010000", "-000000111000000"};

void Text(Canvas& c, int x, int y, const QByteArray& s, quint8 colour, int scale)
{
    for (char ch : s) {
        for (const char* g : Glyphs) {
            if (g[0] != ch)
                continue;
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col)
                    if (g[1 + row * 3 + col] == '1')
                        c.Fill(x + col * scale, y + row * scale, scale, scale, colour);
            break;
        }
        x += 4 * scale;
    }
}

int TextWidth(const QByteArray& s, int scale) { return s.isEmpty() ? 0 : (int(s.size()) * 4 - 1) * scale; }

// ---------------------------------------------------------------------------------------------
// Glyphs by kind. Each draws into the box (x, y, w, h).

enum Kind {
    KApp, KForm, KMainMenu, KPopup, KLabel, KEdit, KCombo, KList, KMemo, KRich, KImage, KFocusImage, KCheck,
    KRadio, KGroupBox, KRadioGroup, KPanel, KScrollBox, KTabs, KBitBtn, KSpeed, KShape, KUpDown, KPackage,
    KToolbar, KStatus, KSplitter, KProgress, KTimer, KOutlook, KKey, KSets, KRuler, KBuffer, KFont, KScrollBar,
    KFrame, KNavigator, KDatabase, KTable, KChart, KFilm, KGear, KLed, KDialog, KRegion, KCounter, KCheckList
};

struct Box
{
    int X, Y, W, H;
    int R() const { return X + W; }
    int B() const { return Y + H; }
    int Cx() const { return X + W / 2; }
    int Cy() const { return Y + H / 2; }
};

void Window(Canvas& c, Box b, quint8 title)
{
    c.Fill(b.X, b.Y, b.W, b.H, Silver);
    c.Frame(b.X, b.Y, b.W, b.H, Black);
    c.Face(b.X + 1, b.Y + 1, b.W - 2, std::max(2, b.H / 5), title, 0, 0, 3);
}

void Field(Canvas& c, Box b)
{
    c.Fill(b.X, b.Y, b.W, b.H, White);
    c.Bevel(b.X, b.Y, b.W, b.H, false);
}

void TextLines(Canvas& c, Box b, quint8 colour, int step)
{
    for (int y = b.Y + 2; y < b.B() - 2; y += step)
        c.HLine(b.X + 2, y, std::max(1, b.W - 4 - (y % 3)), colour);
}

void DrawKind(Canvas& c, Kind k, Box b)
{
    const int u = std::max(1, b.W / 8); // a unit that grows with the size
    switch (k) {
    case KApp:
        Window(c, b, Navy);
        c.Disc(b.Cx(), b.Cy() + u, std::max(2, b.H / 4), Yellow, true);
        c.Disc(b.Cx(), b.Cy() + u, std::max(2, b.H / 4), Maroon, false);
        break;
    case KForm:
        Window(c, b, Navy);
        c.Fill(b.X + 2 * u, b.Cy(), b.W / 2, u + 1, White);
        break;
    case KMainMenu:
        Window(c, b, Navy);
        c.Fill(b.X + 1, b.Y + b.H / 5 + 1, b.W - 2, u + 2, White);
        for (int x = b.X + 2; x + u < b.R() - 1; x += 2 * u + 1)
            c.HLine(x, b.Y + b.H / 5 + 2, u + 1, Black);
        break;
    case KPopup:
        c.Fill(b.X + u, b.Y, b.W - 2 * u, b.H, White);
        c.Frame(b.X + u, b.Y, b.W - 2 * u, b.H, Black);
        for (int y = b.Y + 2; y < b.B() - 2; y += 3)
            c.HLine(b.X + u + 2, y, b.W - 2 * u - 4, y == b.Y + 5 ? Gray : Navy);
        c.Fill(b.X + u + 1, b.Y + 4, b.W - 2 * u - 2, 3, Navy);
        break;
    case KLabel:
        Text(c, b.Cx() - (3 * std::max(1, b.H / 6)) / 2, b.Y + 1, "A", Navy, std::max(1, b.H / 6));
        break;
    case KEdit:
        Field(c, {b.X, b.Cy() - 3 * u / 2 - 1, b.W, 3 * u + 2});
        c.VLine(b.X + 3, b.Cy() - u, 2 * u + 1, Black);
        break;
    case KCombo: {
        const Box f{b.X, b.Cy() - 3 * u / 2 - 1, b.W, 3 * u + 2};
        Field(c, f);
        c.Face(f.R() - f.H, f.Y + 1, f.H - 1, f.H - 2, Silver, 4, 4, 4);
        c.Triangle(f.R() - f.H / 2 - 1, f.Cy() + 1, std::max(2, f.H / 3), 1, Black);
        break;
    }
    case KList:
    case KCheckList:
        Field(c, b);
        for (int y = b.Y + 2, i = 0; y < b.B() - 2; y += 3, ++i) {
            if (i == 1)
                c.Fill(b.X + 1, y - 1, b.W - 2, 3, Navy);
            if (k == KCheckList)
                c.Fill(b.X + 2, y, 2, 2, Green);
            c.HLine(b.X + (k == KCheckList ? 5 : 2), y, b.W - 4 - u - (k == KCheckList ? 3 : 0), i == 1 ? White : Black);
        }
        c.Fill(b.R() - u - 1, b.Y + 1, u, b.H - 2, Silver);
        break;
    case KMemo:
        Field(c, b);
        TextLines(c, b, Black, 2);
        break;
    case KRich:
        Field(c, b);
        TextLines(c, b, Black, 2);
        c.HLine(b.X + 2, b.Y + 4, b.W / 2, Red);
        c.HLine(b.X + 2, b.Y + 8, b.W / 3, Blue);
        break;
    case KImage:
    case KFocusImage:
        c.Face(b.X, b.Y, b.W, b.H, Aqua, 2, 4, 5);
        c.Frame(b.X, b.Y, b.W, b.H, Black);
        for (int j = 0; j < b.H / 2; ++j) // a hill
            c.HLine(b.Cx() - j, b.B() - b.H / 2 + j, 2 * j + 1, Green);
        c.Disc(b.R() - b.W / 4, b.Y + b.H / 4, std::max(1, b.W / 8), Yellow, true);
        if (k == KFocusImage)
            for (int i = 0; i < b.W; i += 2)
                c.Set(b.X + i, b.Y, Red), c.Set(b.X + i, b.B() - 1, Red), c.Set(b.X, b.Y + i, Red),
                    c.Set(b.R() - 1, b.Y + i, Red);
        break;
    case KCheck: {
        const int s = std::min(b.W, b.H) * 2 / 3;
        const Box q{b.Cx() - s / 2, b.Cy() - s / 2, s, s};
        Field(c, q);
        c.Line(q.X + 2, q.Cy(), q.Cx() - 1, q.B() - 3, Green);
        c.Line(q.Cx() - 1, q.B() - 3, q.R() - 3, q.Y + 2, Green);
        c.Line(q.X + 2, q.Cy() - 1, q.Cx() - 1, q.B() - 4, Green);
        break;
    }
    case KRadio:
        c.Disc(b.Cx(), b.Cy(), std::min(b.W, b.H) / 3, White, true);
        c.Disc(b.Cx(), b.Cy(), std::min(b.W, b.H) / 3, Gray, false);
        c.Disc(b.Cx(), b.Cy(), std::max(1, std::min(b.W, b.H) / 8), Black, true);
        break;
    case KGroupBox:
    case KRadioGroup:
        c.Frame(b.X, b.Y + 2, b.W, b.H - 2, Gray);
        c.Frame(b.X + 1, b.Y + 3, b.W - 2, b.H - 4, White);
        c.Fill(b.X + 2, b.Y, b.W / 2, 4, Transparent);
        c.HLine(b.X + 3, b.Y + 1, b.W / 2 - 2, Navy);
        if (k == KRadioGroup)
            for (int y = b.Y + 6; y < b.B() - 2; y += 4) {
                c.Disc(b.X + 4, y, 1, White, true);
                c.Set(b.X + 4, y, Black);
                c.HLine(b.X + 7, y, b.W - 10, Black);
            }
        break;
    case KPanel:
        c.Face(b.X, b.Y + 2, b.W, b.H - 4, Silver, 3, 3, 3);
        c.Bevel(b.X, b.Y + 2, b.W, b.H - 4, true);
        c.Bevel(b.X + 2, b.Y + 4, b.W - 4, b.H - 8, false);
        break;
    case KScrollBox:
        c.Fill(b.X, b.Y, b.W, b.H, Silver);
        c.Frame(b.X, b.Y, b.W, b.H, Black);
        c.Fill(b.R() - u - 1, b.Y + 1, u, b.H - 2, Gray);
        c.Fill(b.X + 1, b.B() - u - 1, b.W - 2, u, Gray);
        c.Fill(b.R() - u - 1, b.Y + 2, u, u + 1, Silver);
        c.Fill(b.X + 2, b.B() - u - 1, u + 1, u, Silver);
        break;
    case KTabs:
        c.Fill(b.X, b.Y + 2 * u, b.W, b.H - 2 * u, Silver);
        c.Bevel(b.X, b.Y + 2 * u, b.W, b.H - 2 * u, true);
        for (int i = 0; i < 3; ++i) {
            const int x = b.X + i * (b.W / 3);
            c.Fill(x, b.Y + (i == 0 ? 0 : u / 2 + 1), b.W / 3 - 1, 2 * u, i == 0 ? Silver : Gray);
            c.Frame(x, b.Y + (i == 0 ? 0 : u / 2 + 1), b.W / 3 - 1, 2 * u + 1, Black);
        }
        c.HLine(b.X + 1, b.Y + 2 * u, b.W / 3 - 2, Silver);
        break;
    case KBitBtn:
    case KSpeed:
        c.Face(b.X, b.Y + u, b.W, b.H - 2 * u, Silver, 3, 3, 3);
        c.Bevel(b.X, b.Y + u, b.W, b.H - 2 * u, true);
        c.Frame(b.X - 1, b.Y + u - 1, b.W + 2, b.H - 2 * u + 2, k == KBitBtn ? quint8(Black) : Transparent);
        if (k == KBitBtn) {
            c.Line(b.X + 3, b.Cy(), b.X + 5, b.Cy() + 2, Green);
            c.Line(b.X + 5, b.Cy() + 2, b.X + 9, b.Cy() - 2, Green);
            c.HLine(b.X + 11, b.Cy(), b.W - 14, Black);
        } else {
            c.Disc(b.Cx(), b.Cy(), std::max(2, b.H / 5), Blue, true);
        }
        break;
    case KShape:
        c.Fill(b.X, b.Cy(), b.W / 2, b.H / 2, Blue);
        c.Frame(b.X, b.Cy(), b.W / 2, b.H / 2, Navy);
        c.Disc(b.R() - b.W / 3, b.Y + b.H / 3, b.W / 3, Red, true);
        c.Triangle(b.Cx() + u, b.Cy() + 1, std::max(2, b.H / 3), 0, Lime);
        break;
    case KUpDown:
    case KCounter:
        c.Face(b.Cx() - b.W / 4, b.Y, b.W / 2, b.H / 2 - 1, Silver, 3, 3, 3);
        c.Bevel(b.Cx() - b.W / 4, b.Y, b.W / 2, b.H / 2 - 1, true);
        c.Face(b.Cx() - b.W / 4, b.Cy(), b.W / 2, b.H / 2, Silver, 3, 3, 3);
        c.Bevel(b.Cx() - b.W / 4, b.Cy(), b.W / 2, b.H / 2, true);
        c.Triangle(b.Cx(), b.Y + b.H / 8 + 1, std::max(2, b.H / 6), 0, k == KCounter ? Green : Black);
        c.Triangle(b.Cx(), b.B() - b.H / 8 - 2, std::max(2, b.H / 6), 1, k == KCounter ? Red : Black);
        break;
    case KPackage: {
        const int d = std::max(2, b.W / 5);
        c.Face(b.X, b.Y + d, b.W - d, b.H - d, Maroon, 3, 2, 0);
        c.Frame(b.X, b.Y + d, b.W - d, b.H - d, Black);
        for (int i = 0; i < d; ++i) {
            c.HLine(b.X + d - i, b.Y + i, b.W - d, i == 0 ? Black : Yellow);
            c.VLine(b.R() - i - 1, b.Y + d - i, b.H - d, i == 0 ? Black : Olive);
        }
        c.VLine(b.X + (b.W - d) / 2, b.Y + d, b.H - d, Yellow);
        break;
    }
    case KToolbar:
        c.Face(b.X, b.Cy() - 2 * u, b.W, 4 * u, Silver, 3, 3, 3);
        c.Bevel(b.X, b.Cy() - 2 * u, b.W, 4 * u, true);
        for (int i = 0; i < 3; ++i) {
            const quint8 col[] = {Red, Green, Blue};
            c.Fill(b.X + 2 + i * (b.W / 3), b.Cy() - u, b.W / 3 - 3, 2 * u, col[i]);
        }
        break;
    case KStatus:
        Window(c, b, Navy);
        c.Fill(b.X + 1, b.B() - 2 * u - 1, b.W - 2, 2 * u, Silver);
        c.Bevel(b.X + 2, b.B() - 2 * u - 1, b.W / 2, 2 * u, false);
        c.Bevel(b.X + b.W / 2 + 3, b.B() - 2 * u - 1, b.W / 2 - 5, 2 * u, false);
        break;
    case KSplitter:
        c.Fill(b.X, b.Y, b.W / 2 - 1, b.H, White);
        c.Fill(b.Cx() + 2, b.Y, b.W / 2 - 2, b.H, White);
        c.Frame(b.X, b.Y, b.W, b.H, Black);
        c.VLine(b.Cx(), b.Y, b.H, Gray);
        c.VLine(b.Cx() + 1, b.Y, b.H, Gray);
        c.Triangle(b.Cx() - 3, b.Cy(), 2, 2, Black);
        c.Triangle(b.Cx() + 4, b.Cy(), 2, 3, Black);
        break;
    case KProgress:
        Field(c, {b.X, b.Cy() - 2 * u, b.W, 4 * u});
        for (int x = b.X + 2; x < b.X + b.W * 2 / 3; x += u + 1)
            c.Fill(x, b.Cy() - 2 * u + 2, u, 4 * u - 4, Navy);
        break;
    case KTimer: {
        const int r = std::min(b.W, b.H) / 2 - 1;
        c.Disc(b.Cx(), b.Cy(), r, White, true);
        c.Disc(b.Cx(), b.Cy(), r, Black, false);
        c.Line(b.Cx(), b.Cy(), b.Cx(), b.Cy() - r + 2, Black);
        c.Line(b.Cx(), b.Cy(), b.Cx() + r / 2, b.Cy() + r / 3, Red);
        break;
    }
    case KOutlook:
        c.Fill(b.X + b.W / 4, b.Y, b.W / 2, b.H, Gray);
        for (int i = 0; i < 3; ++i) {
            const int y = b.Y + i * (b.H / 3);
            c.Face(b.X + b.W / 4, y, b.W / 2, u + 1, Silver, 3, 3, 3);
            c.Bevel(b.X + b.W / 4, y, b.W / 2, u + 1, true);
            c.Fill(b.Cx() - 1, y + u + 2, 3, 3, i == 0 ? Yellow : Aqua);
        }
        break;
    case KKey:
        c.Disc(b.X + b.W / 4, b.Cy(), std::max(2, b.W / 5), Yellow, true);
        c.Disc(b.X + b.W / 4, b.Cy(), std::max(2, b.W / 5), Maroon, false);
        c.Fill(b.X + b.W / 4 + 1, b.Cy() - 1, b.W * 2 / 3, 2, Yellow);
        c.Fill(b.R() - u - 2, b.Cy(), 2, u + 1, Yellow);
        c.Fill(b.R() - 2 * u - 3, b.Cy(), 2, u, Yellow);
        break;
    case KSets:
        for (int i = 0; i < 3; ++i) {
            const quint8 col[] = {Red, Lime, Blue};
            const int s = b.W / 2;
            c.Fill(b.X + i * (b.W / 4), b.Y + i * (b.H / 4), s, s, col[i]);
            c.Frame(b.X + i * (b.W / 4), b.Y + i * (b.H / 4), s, s, Black);
        }
        break;
    case KRuler:
        c.Fill(b.X, b.Cy() - 2 * u, b.W, 4 * u, Yellow);
        c.Frame(b.X, b.Cy() - 2 * u, b.W, 4 * u, Black);
        for (int x = b.X + 2, i = 0; x < b.R() - 1; x += 2, ++i)
            c.VLine(x, b.Cy() - 2 * u + 1, i % 4 == 0 ? 2 * u : u, Black);
        break;
    case KBuffer:
        for (int i = 2; i >= 0; --i) {
            const Box s{b.X + i * u, b.Y + (2 - i) * u, b.W - 2 * u, b.H - 2 * u};
            c.Fill(s.X, s.Y, s.W, s.H, White);
            c.Frame(s.X, s.Y, s.W, s.H, i == 0 ? Navy : Gray);
        }
        TextLines(c, {b.X, b.Y + 2 * u, b.W - 2 * u, b.H - 2 * u}, Navy, 3);
        break;
    case KFont:
        Text(c, b.X + 1, b.Y + 1, "T", Navy, std::max(1, b.H / 6));
        Text(c, b.Cx(), b.Cy(), "F", Maroon, std::max(1, b.H / 10));
        break;
    case KScrollBar:
        c.Fill(b.X, b.Cy() - u - 1, b.W, 2 * u + 2, Silver);
        c.Frame(b.X, b.Cy() - u - 1, b.W, 2 * u + 2, Gray);
        c.Triangle(b.X + 2, b.Cy(), u, 2, Black);
        c.Triangle(b.R() - 3, b.Cy(), u, 3, Black);
        c.Face(b.Cx() - u, b.Cy() - u, 2 * u, 2 * u, Gray, 2, 2, 2);
        break;
    case KFrame:
        for (int i = 0; i < b.W; i += 2)
            c.Set(b.X + i, b.Y, Navy), c.Set(b.X + i, b.B() - 1, Navy);
        for (int i = 0; i < b.H; i += 2)
            c.Set(b.X, b.Y + i, Navy), c.Set(b.R() - 1, b.Y + i, Navy);
        c.Fill(b.X + 2 * u, b.Y + 2 * u, b.W / 3, b.H / 3, Silver);
        c.Bevel(b.X + 2 * u, b.Y + 2 * u, b.W / 3, b.H / 3, true);
        Field(c, {b.Cx(), b.Cy(), b.W / 3, b.H / 4});
        break;
    case KNavigator:
        c.Face(b.X, b.Cy() - 2 * u, b.W, 4 * u, Silver, 3, 3, 3);
        c.Bevel(b.X, b.Cy() - 2 * u, b.W, 4 * u, true);
        c.VLine(b.X + 2, b.Cy() - u, 2 * u + 1, Black);
        c.Triangle(b.X + 3, b.Cy(), u + 1, 2, Black);
        c.Triangle(b.Cx() - 1, b.Cy(), u + 1, 2, Black);
        c.Triangle(b.Cx() + 2, b.Cy(), u + 1, 3, Black);
        c.Triangle(b.R() - 4, b.Cy(), u + 1, 3, Black);
        c.VLine(b.R() - 3, b.Cy() - u, 2 * u + 1, Black);
        break;
    case KDatabase: {
        const int e = std::max(2, b.H / 6);
        c.Face(b.X + 2, b.Y + e / 2, b.W - 4, b.H - e, Aqua, 1, 4, 5);
        c.VLine(b.X + 2, b.Y + e / 2, b.H - e, Black);
        c.VLine(b.R() - 3, b.Y + e / 2, b.H - e, Black);
        for (int y : {b.Y, b.Y + b.H / 3, b.B() - e - 1})
            for (int i = 0; i < b.W - 6; ++i) {
                const int x = b.X + 3 + i;
                const int t = (i - (b.W - 6) / 2) * (i - (b.W - 6) / 2) * e / std::max(1, ((b.W - 6) / 2) * ((b.W - 6) / 2));
                c.Set(x, y + e - t, Black);
            }
        break;
    }
    case KTable:
        c.Fill(b.X, b.Y, b.W, b.H, White);
        c.Fill(b.X, b.Y, b.W, b.H / 4, Silver);
        for (int x = b.X; x < b.R(); x += b.W / 3)
            c.VLine(x, b.Y, b.H, Gray);
        for (int y = b.Y; y < b.B(); y += b.H / 4)
            c.HLine(b.X, y, b.W, Gray);
        c.Frame(b.X, b.Y, b.W, b.H, Black);
        break;
    case KChart:
        c.HLine(b.X, b.B() - 1, b.W, Black);
        c.VLine(b.X, b.Y, b.H, Black);
        for (int i = 0; i < 4; ++i) {
            const quint8 col[] = {Red, Blue, Lime, Fuchsia};
            const int h = b.H * (i % 2 ? 3 : 2) / 4 - i;
            c.Fill(b.X + 2 + i * (b.W / 4), b.B() - 1 - h, b.W / 4 - 2, h, col[i]);
        }
        break;
    case KFilm:
        c.Fill(b.X, b.Y + 1, b.W, b.H - 2, Black);
        for (int x = b.X + 1; x < b.R() - 1; x += 3) {
            c.Set(x, b.Y + 2, White);
            c.Set(x, b.B() - 3, White);
        }
        for (int i = 0; i < 2; ++i)
            c.Fill(b.X + 2 + i * (b.W / 2), b.Y + 4, b.W / 2 - 3, b.H - 8, i ? Aqua : Yellow);
        break;
    case KGear: {
        const int r = std::min(b.W, b.H) / 2 - 1;
        c.Disc(b.Cx(), b.Cy(), r * 3 / 4, Gray, true);
        for (int i = 0; i < 8; ++i) {
            static const int dx[] = {1, 1, 0, -1, -1, -1, 0, 1}, dy[] = {0, 1, 1, 1, 0, -1, -1, -1};
            c.Fill(b.Cx() + dx[i] * (r - 1) - 1, b.Cy() + dy[i] * (r - 1) - 1, 3, 3, Gray);
        }
        c.Disc(b.Cx(), b.Cy(), std::max(1, r / 3), Silver, true);
        break;
    }
    case KLed: {
        const int r = std::min(b.W, b.H) / 2 - 1;
        c.Disc(b.Cx(), b.Cy(), r, Maroon, true);
        c.Disc(b.Cx(), b.Cy(), r - 1, Red, true);
        c.Disc(b.Cx() - r / 3, b.Cy() - r / 3, std::max(1, r / 4), White, true);
        c.Disc(b.Cx(), b.Cy(), r, Black, false);
        break;
    }
    case KDialog:
        Window(c, b, Teal);
        c.Face(b.R() - b.W / 2 - 1, b.B() - 2 * u - 2, b.W / 2 - 1, 2 * u, Silver, 3, 3, 3);
        c.Bevel(b.R() - b.W / 2 - 1, b.B() - 2 * u - 2, b.W / 2 - 1, 2 * u, true);
        c.Fill(b.X + 2, b.Cy() - u, b.W / 3, b.W / 3, Aqua);
        break;
    case KRegion:
        c.Fill(b.X, b.Y, b.W, b.H, White);
        c.Frame(b.X, b.Y, b.W, b.H, Black);
        for (int j = 2; j < b.H - 2; ++j) { // a stepped blob, as a region of rectangles
            const int half = (b.W / 2 - 2) - std::abs(j - b.H / 2) / 2;
            c.HLine(b.Cx() - half + (j % 4 < 2 ? 1 : 0), b.Y + j, 2 * half, Fuchsia);
        }
        for (int x = b.X + 2; x < b.R() - 2; x += 4)
            c.Set(x, b.Cy(), Black);
        break;
    }
}

// A small database drum in the top-right corner of data-aware classes.
void DataBadge(Canvas& c, int size)
{
    const int w = size >= 32 ? 9 : size >= 24 ? 7 : 5;
    const int h = w + 1;
    const int x = size - w, y = 0;
    c.Fill(x, y + 1, w, h - 1, Yellow);
    c.Frame(x, y + 1, w, h - 1, Black);
    c.HLine(x + 1, y, w - 2, Black);
    c.HLine(x + 1, y + 2, w - 2, Black);
}

// ---------------------------------------------------------------------------------------------
// The classes

struct ClassPicture
{
    const char* Name; // upper case, as the host looks the bitmap up
    Kind K;
    const char* Letters;
    bool Data;
};

// The 77 registered classes and the 28 names the package ships pictures for without registering them.
const ClassPicture Classes[] = {
    {"TKVCAPPLICATION", KApp, "APP", false},
    {"TKVCFORM", KForm, "CF", false},
    {"TKVMAINMENU", KMainMenu, "MM", false},
    {"TKVPOPUPMENU", KPopup, "PM", false},
    {"TKVLABEL", KLabel, "LB", false},
    {"TKVEDIT", KEdit, "ED", false},
    {"TKVCOMBOBOX", KCombo, "CB", false},
    {"TKVLISTBOX", KList, "LB", false},
    {"TKVMEMO", KMemo, "ME", false},
    {"TKVRICHEDIT", KRich, "RE", false},
    {"TKVIMAGE", KImage, "IM", false},
    {"TKVFOCUSIMAGE", KFocusImage, "FI", false},
    {"TKVCHECKBOX", KCheck, "CK", false},
    {"TKVRADIOBUTTON", KRadio, "RB", false},
    {"TKVGROUPBOX", KGroupBox, "GB", false},
    {"TKVRADIOGROUP", KRadioGroup, "RG", false},
    {"TKVPANEL", KPanel, "PN", false},
    {"TKVSCROLLBOX", KScrollBox, "SB", false},
    {"TKVPAGECONTROL", KTabs, "PC", false},
    {"TKVBITBTN", KBitBtn, "BB", false},
    {"TKVSPEEDBUTTON", KSpeed, "SP", false},
    {"TKVPKGIMAGE", KImage, "PI", false},
    {"TKVSHAPE", KShape, "SH", false},
    {"TKVUPDOWN", KUpDown, "UD", false},
    {"TKVUPDOWNEX", KUpDown, "UDX", false},

    {"TKVPKGIMAGES", KPackage, "IMG", false},
    {"TKVPKGSTRINGS", KPackage, "STR", false},
    {"TKVPKGVARS", KPackage, "VAR", false},
    {"TKVMEMOBAR", KToolbar, "MB", false},
    {"TKVRICHEDITBAR", KToolbar, "RB", false},
    {"TKVIMAGEBAR", KToolbar, "IB", false},
    {"TKVSTATUSBAR", KStatus, "ST", false},
    {"TKVSPLITTER", KSplitter, "SPL", false},
    {"TKVPROGRESSBAR", KProgress, "PB", false},
    {"TKVTIMER", KTimer, "TM", false},
    {"TKVTHREADTIMER", KTimer, "TT", false},
    {"TKVIMAGEFORM", KForm, "IF", false},
    {"TKVMOVEFORM", KForm, "MF", false},
    {"TKVPANELMENU", KMainMenu, "PNM", false},
    {"TKVOUTLOOKBAR", KOutlook, "OB", false},
    {"TKVPKGPRIVILEGES", KKey, "PRV", false},
    {"TKVLBPRIVILEGES", KList, "PRV", false},
    {"TKVSETSGROUP", KSets, "SG", false},
    {"TKVRULER", KRuler, "RU", false},
    {"TKVCBUFFER", KBuffer, "BUF", false},
    {"TKVFONTCOMBOBOX", KCombo, "FC", false},
    {"TKVFONTLISTBOX", KFont, "FL", false},
    {"TKVEXTSCROLLBAR", KScrollBar, "XSB", false},
    {"TKVCFRAME", KFrame, "FR", false},

    {"TKVDBLABEL", KLabel, "LB", true},
    {"TKVDBEDIT", KEdit, "ED", true},
    {"TKVDBCOMBOBOX", KCombo, "CB", true},
    {"TKVDBLISTBOX", KList, "LB", true},
    {"TKVDBMEMO", KMemo, "ME", true},
    {"TKVDBRICHEDIT", KRich, "RE", true},
    {"TKVDBIMAGE", KImage, "IM", true},
    {"TKVDBFOCUSIMAGE", KFocusImage, "FI", true},
    {"TKVDBCHECKBOX", KCheck, "CK", true},
    {"TKVDBRADIOGROUP", KRadioGroup, "RG", true},
    {"TKVDBPAGECONTROL", KTabs, "PC", true},
    {"TKVDBNAVIGATOR", KNavigator, "NAV", true},
    {"TKVDBBITBTN", KBitBtn, "BB", true},
    {"TKVDBSPEEDBUTTON", KSpeed, "SP", true},
    {"TKVDBPKGIMAGE", KImage, "PI", true},

    {"TKVLBSETSCOLOR", KList, "SC", false},
    {"TKVCBSETSCOLOR", KCombo, "SC", false},
    {"TKVLBSETSBACKGROUND", KList, "SBG", false},
    {"TKVCBSETSBACKGROUND", KCombo, "SBG", false},
    {"TKVLBSETSFONT", KList, "SF", false},
    {"TKVCBSETSFONT", KCombo, "SF", false},
    {"TKVLBPKGIMAGES", KList, "IMG", false},
    {"TKVCBPKGIMAGES", KCombo, "IMG", false},
    {"TKVLBCOLORS", KList, "CL", false},
    {"TKVCBCOLORS", KCombo, "CL", false},
    {"TKVCBPRINTERS", KCombo, "PRN", false},
    {"TKVPKGIMAGESADD", KDialog, "ADD", false},
    {"TKVPKGIMAGESDESIGNRGN", KRegion, "RGN", false},

    {"TKVANIMATE", KFilm, "AN", false},
    {"TKVCHART", KChart, "CH", false},
    {"TKVCHECKLISTBOX", KCheckList, "CL", false},
    {"TKVCOMPILER", KGear, "CMP", false},
    {"TKVDBBUTTONCOMMIT", KBitBtn, "CO", true},
    {"TKVDBBUTTONROLLBACK", KBitBtn, "RO", true},
    {"TKVDBCURSOR", KTable, "CUR", true},
    {"TKVDBDATABASE", KDatabase, "DB", false},
    {"TKVDBDATASOURCE", KDatabase, "DS", true},
    {"TKVDBLABELSTATUS", KLabel, "ST", true},
    {"TKVDBNVEDITION", KNavigator, "ED", true},
    {"TKVDBNVFILTER", KNavigator, "FL", true},
    {"TKVDBNVUPDOWN", KNavigator, "UD", true},
    {"TKVDBSQL", KDatabase, "SQL", false},
    {"TKVDBSTOREDPROC", KDatabase, "SP", false},
    {"TKVDBTRANSACTION", KDatabase, "TR", false},
    {"TKVDBVMEM", KTable, "MEM", true},
    {"TKVDBVQUERY", KTable, "QRY", true},
    {"TKVDBVTABLE", KTable, "TBL", true},
    {"TKVINC", KCounter, "INC", false},
    {"TKVLABEL3D", KLabel, "3D", false},
    {"TKVLABELINSERTMODE", KLabel, "INS", false},
    {"TKVLED", KLed, "LED", false},
    {"TKVLISTMENU", KPopup, "LM", false},
    {"TKVMEMOSTATUSLINES", KMemo, "SL", false},
    {"TKVPROCESS", KGear, "PR", false},
    {"TKVSEQPAGES", KTabs, "SEQ", false},
    {"TKVVISUALMENU", KMainMenu, "VM", false},
};

// Small images kept at the palette button's size and depth.
const char* const SmallAsButton[] = {
    "TKVANIMATE", "TKVCHART", "TKVCHECKLISTBOX", "TKVCOMPILER", "TKVDBBUTTONCOMMIT", "TKVDBBUTTONROLLBACK",
    "TKVDBCURSOR", "TKVDBDATABASE", "TKVDBDATASOURCE", "TKVDBLABELSTATUS", "TKVDBNVEDITION", "TKVDBNVFILTER",
    "TKVDBNVUPDOWN", "TKVDBSQL", "TKVDBSTOREDPROC", "TKVDBTRANSACTION", "TKVDBVMEM", "TKVDBVQUERY", "TKVDBVTABLE",
    "TKVINC", "TKVLABEL3D", "TKVLABELINSERTMODE"};
const char* const SmallAt16Colours = "TKVLED";

Canvas Draw(const ClassPicture& p, int size, bool deep)
{
    Canvas c(size, size, deep);
    const int scale = size >= 32 ? 2 : 1;
    const QByteArray letters(p.Letters);
    const int band = 5 * scale + 1;
    Box glyph{1, 1, size - 2, size - 2 - band};
    if (p.Data)
        glyph.W -= size >= 24 ? 4 : 3;
    DrawKind(c, p.K, glyph);
    if (p.Data)
        DataBadge(c, size);
    const int width = TextWidth(letters, scale);
    Text(c, std::max(0, (size - width) / 2), size - 5 * scale - 1, letters, p.Data ? Maroon : Navy, scale);
    c.Set(0, size - 1, Transparent);
    return c;
}

void Put16(QByteArray& b, quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); }
void Put32(QByteArray& b, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// A bottom-up BMP with a BITMAPINFOHEADER and a palette of 16 or 256 entries.
QByteArray ToBmp(const Canvas& c, int bits)
{
    const int colours = 1 << bits;
    const int stride = ((c.W * bits + 31) / 32) * 4;
    const quint32 offset = 14 + 40 + quint32(colours) * 4;
    const quint32 imageSize = quint32(stride * c.H);
    QByteArray b;
    b.append("BM");
    Put32(b, offset + imageSize);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, quint32(c.W));
    Put32(b, quint32(c.H));
    Put16(b, 1);
    Put16(b, quint16(bits));
    Put32(b, 0); // BI_RGB
    Put32(b, imageSize);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, quint32(colours));
    Put32(b, 0);
    const auto palette = Palette256();
    for (int i = 0; i < colours; ++i) {
        const quint32 rgb = palette[size_t(i)];
        b.append(char(rgb & 0xFF)).append(char((rgb >> 8) & 0xFF)).append(char((rgb >> 16) & 0xFF)).append('\0');
    }
    for (int y = c.H - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < c.W; ++x) {
            const quint8 v = c.Px[size_t(y * c.W + x)];
            if (bits == 8)
                row[x] = char(v);
            else
                row[x / 2] = char(uchar(row[x / 2]) | (x % 2 ? (v & 0x0F) : (v & 0x0F) << 4));
        }
        b.append(row);
    }
    return b;
}

bool WriteFile(const QString& path, const QByteArray& data)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == data)
        return true; // unchanged: keep the time stamp, so rcc does not run again for nothing
    existing.close();
    try {
        KvWriteFile(path, data);
    } catch (const EInOutError& e) {
        fprintf(stderr, "kv_make_bitmaps: %s\n", qPrintable(e.Message));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        fprintf(stderr, "usage: kv_make_bitmaps output-folder qrc-file\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        fprintf(stderr, "kv_make_bitmaps: cannot create %s\n", argv[1]);
        return 1;
    }
    const QDir dir(folder);
    QByteArray qrc = "<RCC>\n  <qresource prefix=\"/KvCtrls/bitmaps\">\n";
    for (const ClassPicture& p : Classes) {
        const QString name = QString::fromLatin1(p.Name);
        const bool smallAsButton = std::any_of(std::begin(SmallAsButton), std::end(SmallAsButton),
                                               [&](const char* n) { return qstrcmp(n, p.Name) == 0; });
        const bool small16 = qstrcmp(p.Name, SmallAt16Colours) == 0;
        struct
        {
            QString File;
            QByteArray Data;
        } files[] = {
            {name + QStringLiteral(".bmp"), ToBmp(Draw(p, 24, false), 4)},
            {name + QStringLiteral("16.bmp"), smallAsButton ? ToBmp(Draw(p, 24, false), 4)
                                              : small16     ? ToBmp(Draw(p, 16, false), 4)
                                                            : ToBmp(Draw(p, 16, true), 8)},
            {name + QStringLiteral("32.bmp"), ToBmp(Draw(p, 32, false), 4)},
        };
        for (const auto& f : files) {
            if (!WriteFile(dir.filePath(f.File), f.Data))
                return 1;
            qrc += "    <file alias=\"" + f.File.toLatin1() + "\">" + dir.absoluteFilePath(f.File).toLocal8Bit() +
                "</file>\n";
        }
    }
    qrc += "  </qresource>\n</RCC>\n";
    return WriteFile(QString::fromLocal8Bit(argv[2]), qrc) ? 0 : 1;
}
