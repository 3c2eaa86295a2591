#include <gtest/gtest.h>

// clang-format off
#include "win32/base/Windows.h"
// clang-format on
#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "win32/DialogFixture.h"
#include "win32/painting/ColorRef.h"
#include "win32/painting/Contrast.h"
#include "win32/pictures/Canvas.h"

namespace glimra::win32 {
namespace {

using testing::DialogWindow;

double Contrast(COLORREF a, COLORREF b) {
    return ContrastOf(a, b);
}

using Scheme = std::vector<std::pair<int, COLORREF>>;

// The colours of a black high-contrast scheme.
const Scheme kBlackScheme = {
    {COLOR_BTNFACE, RGB(0, 0, 0)},           {COLOR_WINDOW, RGB(0, 0, 0)},
    {COLOR_BTNTEXT, RGB(255, 255, 255)},     {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
    {COLOR_HOTLIGHT, RGB(255, 255, 0)},      {COLOR_HIGHLIGHT, RGB(26, 235, 255)},
    {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},     {COLOR_GRAYTEXT, RGB(63, 242, 63)},
    {COLOR_BTNSHADOW, RGB(128, 128, 128)},   {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
    {COLOR_3DDKSHADOW, RGB(255, 255, 255)},  {COLOR_3DLIGHT, RGB(192, 192, 192)},
    {COLOR_WINDOWFRAME, RGB(255, 255, 255)}, {COLOR_INFOBK, RGB(0, 0, 0)},
    {COLOR_INFOTEXT, RGB(255, 255, 255)},
};

// A dark scheme without the high-contrast flag, as Wine's own dark ones are: the design's
// blue links measure 1.9:1 on its face, the icon's black border 1.3:1.
const Scheme kDarkScheme = {
    {COLOR_BTNFACE, RGB(32, 32, 32)},          {COLOR_WINDOW, RGB(24, 24, 24)},
    {COLOR_BTNTEXT, RGB(240, 240, 240)},       {COLOR_WINDOWTEXT, RGB(240, 240, 240)},
    {COLOR_GRAYTEXT, RGB(150, 150, 150)},      {COLOR_HIGHLIGHT, RGB(0, 120, 215)},
    {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)}, {COLOR_BTNSHADOW, RGB(16, 16, 16)},
    {COLOR_BTNHIGHLIGHT, RGB(80, 80, 80)},     {COLOR_3DLIGHT, RGB(64, 64, 64)},
    {COLOR_3DDKSHADOW, RGB(0, 0, 0)},          {COLOR_INFOBK, RGB(48, 48, 48)},
    {COLOR_INFOTEXT, RGB(240, 240, 240)},
};

// A custom scheme of the user's: only the face, a mid grey.
const Scheme kMidGreyFace = {{COLOR_BTNFACE, RGB(128, 128, 128)}};

// System colours set for as long as the object lives, then put back.
class SystemColors {
  public:
    explicit SystemColors(const Scheme& scheme) {
        std::vector<COLORREF> values;
        for (const auto& [index, value] : scheme) {
            indexes_.push_back(index);
            before_.push_back(GetSysColor(index));
            values.push_back(value);
        }
        SetSysColors(static_cast<int>(indexes_.size()), indexes_.data(), values.data());
    }
    ~SystemColors() {
        SetSysColors(static_cast<int>(indexes_.size()), indexes_.data(), before_.data());
    }
    SystemColors(const SystemColors&) = delete;
    SystemColors& operator=(const SystemColors&) = delete;

  private:
    std::vector<int> indexes_;
    std::vector<COLORREF> before_;
};

// What the dialog shows on the screen, its child windows included.
class Shot {
  public:
    explicit Shot(HWND dialog) {
        RECT client;
        GetClientRect(dialog, &client);
        if (!canvas_.Resize(client.right, client.bottom)) return;
        const HDC screen = GetDCEx(dialog, nullptr, DCX_CACHE);  // children not clipped
        BitBlt(canvas_.Dc(), 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
        ReleaseDC(dialog, screen);
        GdiFlush();
    }
    COLORREF At(int x, int y) {
        if (x < 0 || y < 0 || x >= canvas_.Width() || y >= canvas_.Height()) return CLR_INVALID;
        const std::uint32_t pixel = canvas_.Row(y)[x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }

    // A text's colours in an area that holds little else: the commonest colour is its
    // background, the commonest of the others its text.
    struct Ink {
        COLORREF text = CLR_INVALID, back = CLR_INVALID;
        int textPixels = 0;
        double contrast = 1;
    };
    Ink InkIn(const RECT& area) {
        std::map<COLORREF, int> counts;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x)
                ++counts[At(x, y)];
        }
        Ink ink;
        int backPixels = 0;
        for (const auto& [color, count] : counts) {
            if (count > backPixels) std::tie(ink.back, backPixels) = std::pair{color, count};
        }
        for (const auto& [color, count] : counts) {
            if (color != ink.back && count > ink.textPixels)
                std::tie(ink.text, ink.textPixels) = std::pair{color, count};
        }
        if (ink.textPixels > 0) ink.contrast = Contrast(ink.text, ink.back);
        return ink;
    }

  private:
    Canvas canvas_;
};

std::string Hex(COLORREF color) {
    if (color == CLR_INVALID) return "none";
    char text[16];
    std::snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(color), GetGValue(color),
                  GetBValue(color));
    return text;
}

std::string NameOf(const Control& control) {
    return std::string(control.Name().begin(), control.Name().end());
}

class UserScheme : public DialogWindow {
  protected:
    void SetUp() override {
        freshStore = true;  // the red welcome
        DialogWindow::SetUp();
    }

    int Px(float twips) { return MulDiv(static_cast<int>(twips), Window().CurrentDpi(), 1440); }
    // Tells the dialog, as the system does when the user turns high contrast on or off. The
    // system drops the theme's faces under high contrast; the test platform keeps them.
    void SetHighContrast(bool on) {
        highContrast = on;
        Unthemed(on);
        SendMessageW(Window().Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        Pump();
    }
    // The controls drawn in the system's colours, without their theme, or with it again.
    void Unthemed(bool on) {
        for (const Control* control : Dialog().AllControls()) {
            if (Of(*control))
                SetWindowTheme(Of(*control), on ? L" " : nullptr, on ? L" " : nullptr);
        }
    }
    void ShowPage(int tab) {
        Dialog().tbsOptions.SetSelectedItem(tab);
        Pump();
        RedrawWindow(Window().Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    // `area` of `hwnd`'s client area on the dialog's; empty when out of view.
    RECT OnDialog(HWND hwnd, RECT area) {
        RECT client;
        GetClientRect(Window().Handle(), &client);
        MapWindowPoints(hwnd, Window().Handle(), reinterpret_cast<POINT*>(&area), 2);
        const bool inView = IsWindowVisible(hwnd) && area.left >= 0 && area.top >= 0 &&
                            area.right <= client.right && area.bottom <= client.bottom;
        return inView ? area : RECT{};
    }
    RECT ClientOf(HWND hwnd, int inset) {
        RECT area;
        GetClientRect(hwnd, &area);
        InflateRect(&area, -inset, -inset);
        return area;
    }
    // Where a control's text shows on the dialog, edges, boxes and icons left out; empty for
    // a control without a text in view.
    RECT TextAreaOf(const Control& control) {
        const HWND hwnd = Of(control);
        switch (control.Kind()) {
            case ControlKind::Label: {
                const auto& label = static_cast<const Label&>(control);
                if (!label.Visible() || label.Caption().empty()) return {};
                return OnDialog(Window().Controls().HostWindowOf(control),
                                Window().Windowless().RectOf(control));
            }
            case ControlKind::CheckBox: {
                RECT area = ClientOf(hwnd, 1);
                area.left += Px(300);  // past the box
                return OnDialog(hwnd, area);
            }
            case ControlKind::TextBox:
                if (static_cast<const TextBox&>(control).Text().empty()) return {};
                return OnDialog(hwnd, ClientOf(hwnd, 4));
            case ControlKind::CommandButton:
                return OnDialog(hwnd, ClientOf(hwnd, 4));
            case ControlKind::Frame: {
                const auto& frame = static_cast<const Frame&>(control);
                if (frame.Caption().empty()) return {};
                const HDC dc = GetDC(hwnd);
                SIZE text{};
                {
                    SelectIn font(dc, Window().Fonts().Get(frame.Font(), Window().CurrentDpi()));
                    GetTextExtentPoint32W(dc, frame.Caption().c_str(),
                                          static_cast<int>(frame.Caption().size()), &text);
                }
                ReleaseDC(hwnd, dc);
                return OnDialog(hwnd, {Px(120) + 2, 1, Px(120) + text.cx, text.cy - 1});
            }
            default:
                return {};
        }
    }
    // Every text in view: the controls' and the tabs'.
    std::vector<std::pair<std::string, RECT>> TextsInView() {
        std::vector<std::pair<std::string, RECT>> texts;
        for (const Control* control : Dialog().AllControls()) {
            const RECT area = TextAreaOf(*control);
            if (!IsRectEmpty(&area)) texts.emplace_back(NameOf(*control), area);
        }
        const HWND tabs = Of(Dialog().tbsOptions);
        for (int tab = 0; tab < TabCtrl_GetItemCount(tabs); ++tab) {
            RECT item;
            TabCtrl_GetItemRect(tabs, tab, &item);
            InflateRect(&item, -3, -3);
            texts.emplace_back("tab " + std::to_string(tab + 1), OnDialog(tabs, item));
        }
        return texts;
    }
    COLORREF TextColorOf(const Control& control) {
        return Shot(Window().Handle()).InkIn(TextAreaOf(control)).text;
    }
};

TEST_F(UserScheme, EveryTextAndLinkStandsOutOfAHighContrastScheme) {
    const SystemColors black(kBlackScheme);
    SetHighContrast(true);
    for (int tab = 1; tab <= 5; ++tab) {
        ShowPage(tab);
        Shot shot(Window().Handle());
        double lowest = 21;
        int measured = 0;
        std::string least;
        for (const auto& [name, area] : TextsInView()) {
            const Shot::Ink ink = shot.InkIn(area);
            EXPECT_GE(ink.textPixels, 8) << "page " << tab << ": " << name << " shows no text";
            EXPECT_GE(ink.contrast, 4.5) << "page " << tab << ": " << name << " is "
                                         << Hex(ink.text) << " on " << Hex(ink.back);
            if (ink.contrast <= lowest) std::tie(lowest, least) = std::pair{ink.contrast, name};
            ++measured;
        }
        char figure[96];
        std::snprintf(figure, sizeof(figure), "%d texts, lowest %.1f:1 (%s)", measured, lowest,
                      least.c_str());
        RecordProperty("page" + std::to_string(tab), figure);
    }
}

constexpr Color Sys(int index) {
    return kSystemColorFlag | static_cast<Color>(index);
}

// The design's fixed colours are drawn as given while they stand out of the face (in the
// default scheme every one does); one that does not gives way to the system's colour for its
// use. With high contrast on, only pairs the system promises: a link on the window's ground in
// the hot-track colour, under the pointer the highlight's text on the highlight. What the
// design leaves to the system follows the scheme. The links come first: their page is still in
// view from the scheme before, so a new scheme shows on them only if the window draws again.
TEST_F(UserScheme, FixedColoursGiveWayOnlyWhereTheyWouldNotStandOut) {
    frmGlimraOptions& d = Dialog();
    const Color blue = Rgb(0, 0, 255), red = Rgb(255, 0, 0), green = Rgb(0, 128, 0);
    const Color hot = Sys(COLOR_HOTLIGHT), text = kButtonText;
    const struct {
        const char* what;
        const Control& control;
        int tab;
        Color inScheme[3];  // default, black, black with high contrast
    } texts[] = {
        {"the help link", d.lblHelpLink, 5, {blue, hot, hot}},
        {"the download link", d.lblDownloadLink, 5, {blue, hot, hot}},
        {"a plain label", d.lblComments, 5, {text, text, text}},
        {"the welcome", d.lblRunFirstTime, 1, {red, red, text}},  // 5.3:1 on black
        {"a check box's caption", d.chkMousePointer, 2, {text, text, text}},
        {"a check box's caption", d.chkImageFileName, 2, {text, text, text}},
        {"the title", d.lblAppTitle, 4, {green, green, text}},  // 4.1:1 on black
    };
    const struct {
        const char* name;
        Scheme colors;
        bool highContrast;
        Color hotLink, hotIcon;
    } schemes[] = {
        {"the default scheme", {}, false, red, Rgb(0, 0, 0)},
        {"a black scheme", kBlackScheme, false, red, text},
        {"a black high-contrast scheme", kBlackScheme, true, Sys(COLOR_HIGHLIGHTTEXT), text}};
    for (int i = 0; i < 3; ++i) {
        const auto& scheme = schemes[i];
        const SystemColors colors(scheme.colors);
        SetHighContrast(scheme.highContrast);
        for (const auto& t : texts) {
            ShowPage(t.tab);
            EXPECT_EQ(Hex(TextColorOf(t.control)), Hex(ColorRefOf(t.inScheme[i])))
                << scheme.name << ": " << t.what;
        }
        // The help link under the pointer: its text and its icon's border.
        ShowPage(5);
        d.HighlightHelpLink();
        RedrawWindow(Window().Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_EQ(Hex(TextColorOf(d.lblHelpLink)), Hex(ColorRefOf(scheme.hotLink)))
            << scheme.name << ": the hot link";
        const RECT icon = OnDialog(Of(d.fraSample5), Window().Windowless().RectOf(d.imgHelpLink));
        EXPECT_EQ(Hex(Shot(Window().Handle()).At(icon.left, icon.top)),
                  Hex(ColorRefOf(scheme.hotIcon)))
            << scheme.name << ": the hot link's icon";
        d.RestoreHelpLink();
    }
}

// Every text, link and border of every page, in the default scheme, a dark one and a custom
// one with a mid-grey face, none with the high-contrast flag: outside the default scheme each
// stands out at 3:1 at least. The lowest of each page is printed, the table of the closing note.
TEST_F(UserScheme, EveryTextLinkAndBorderStandsOutOfDarkAndCustomSchemes) {
    frmGlimraOptions& d = Dialog();
    const struct {
        const char* name;
        Scheme colors;
        bool measured;  // the default is the design's, measured only to be told
    } schemes[] = {
        {"default", {}, false}, {"dark", kDarkScheme, true}, {"mid-grey face", kMidGreyFace, true}};
    for (const auto& scheme : schemes) {
        const SystemColors colors(scheme.colors);
        Pump();
        for (int tab = 1; tab <= 5; ++tab) {
            ShowPage(tab);
            std::vector<std::pair<std::string, double>> contrasts;
            Shot shot(Window().Handle());
            for (const auto& [name, area] : TextsInView())
                contrasts.emplace_back(name, shot.InkIn(area).contrast);
            if (tab == 4) {  // the rule under the title, against the face above it
                const HWND frame = Of(d.fraSample2);
                const RECT rule = OnDialog(frame, {Px(2700), Px(1440), Px(2700) + 1, Px(1440) + 1});
                const RECT above = OnDialog(frame, {Px(2700), Px(1390), Px(2700) + 1, Px(1391)});
                contrasts.emplace_back("Line1", Contrast(shot.At(rule.left, rule.top),
                                                         shot.At(above.left, above.top)));
            }
            if (tab == 5) {  // the links under the pointer, and the icon's border
                for (Label* link : {&d.lblHelpLink, &d.lblDownloadLink}) {
                    link == &d.lblHelpLink ? d.HighlightHelpLink() : d.HighlightDownloadLink();
                    RedrawWindow(Window().Handle(), nullptr, nullptr,
                                 RDW_UPDATENOW | RDW_ALLCHILDREN);
                    Shot hot(Window().Handle());
                    const std::string name = NameOf(*link);
                    contrasts.emplace_back(name + " hot", hot.InkIn(TextAreaOf(*link)).contrast);
                    const Control& icon = *link->LinkIcon();
                    const RECT place =
                        OnDialog(Of(d.fraSample5), Window().Windowless().RectOf(icon));
                    contrasts.emplace_back(
                        NameOf(icon) + " border",
                        Contrast(hot.At(place.left, place.top), hot.At(place.left - 2, place.top)));
                }
                d.RestoreHelpLink();
                d.RestoreDownloadLink();
            }
            double lowest = 21;
            std::string least;
            for (const auto& [name, contrast] : contrasts) {
                if (contrast < lowest) std::tie(lowest, least) = std::pair{contrast, name};
                if (scheme.measured) {
                    EXPECT_GE(contrast, 3.0) << scheme.name << ", page " << tab << ": " << name;
                }
            }
            std::printf("contrast | %-13s | page %d | %2zu measured | lowest %5.2f:1 (%s)\n",
                        scheme.name, tab, contrasts.size(), lowest, least.c_str());
        }
    }
}

// The tip window is a window of its own, and takes its colours when made: a new scheme
// reaches it too.
TEST_F(UserScheme, TipsFollowANewScheme) {
    const HWND tips = Window().Tips().Handle();
    ASSERT_NE(tips, nullptr);
    const SystemColors colors(
        {{COLOR_INFOBK, RGB(40, 40, 60)}, {COLOR_INFOTEXT, RGB(250, 250, 200)}});
    SendMessageW(Window().Handle(), WM_SYSCOLORCHANGE, 0, 0);
    Pump();
    EXPECT_EQ(Hex(static_cast<COLORREF>(SendMessageW(tips, TTM_GETTIPBKCOLOR, 0, 0))),
              Hex(RGB(40, 40, 60)));
    EXPECT_EQ(Hex(static_cast<COLORREF>(SendMessageW(tips, TTM_GETTIPTEXTCOLOR, 0, 0))),
              Hex(RGB(250, 250, 200)));
}

// A new scheme while the dialog is open: every window takes the new face colour, the form's
// kept surface and the common controls, which take colours only when told, included.
TEST_F(UserScheme, ANewFaceColourReachesTheFormItsPagesAndControls) {
    frmGlimraOptions& d = Dialog();
    Unthemed(true);  // the theme's faces are its own
    ShowPage(2);
    const COLORREF face = RGB(48, 96, 80);
    const SystemColors colors({{COLOR_BTNFACE, face}});
    Pump();
    RECT strip, page;
    GetWindowRect(Of(d.tbsOptions), &strip);
    GetWindowRect(Of(d.picOptions[1]), &page);
    const HWND form = Window().Handle();
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&strip), 2);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&page), 2);
    ASSERT_LT(page.right + 1, strip.right - 3) << "the strip shows right of the page";
    Shot shot(form);
    // A point of a window's client area, from its left or right (negative) and its middle.
    const auto expectFace = [&](const char* what, HWND hwnd, int x) {
        const RECT client = ClientOf(hwnd, 0);
        POINT at{x < 0 ? client.right + x : x, client.bottom / 2};
        MapWindowPoints(hwnd, form, &at, 1);
        EXPECT_EQ(Hex(shot.At(at.x, at.y)), Hex(face)) << what;
    };
    expectFace("the form", form, 2);
    expectFace("the tab strip", form, page.right + 1);
    expectFace("the page", Of(d.picOptions[1]), 2);
    expectFace("the frame", Of(d.fraSample3), Px(60));
    expectFace("a check box", Of(d.chkMousePointer), -2);
    expectFace("a button", Of(d.cmdOK), 5);
}

// Counts the scheme's messages a window is told of.
LRESULT CALLBACK CountSchemeMessages(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR counts) {
    if (message == WM_SYSCOLORCHANGE || message == WM_THEMECHANGED || message == WM_SETTINGCHANGE)
        ++(*reinterpret_cast<std::map<UINT, int>*>(counts))[message];
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// The system tells the top-level window; the controls' windows hear it from there.
TEST_F(UserScheme, TheSchemesMessagesReachEveryControlsWindow) {
    std::map<const Control*, std::map<UINT, int>> told;
    for (const Control* control : Dialog().AllControls()) {
        if (Of(*control))
            SetWindowSubclass(Of(*control), CountSchemeMessages, 9,
                              reinterpret_cast<DWORD_PTR>(&told[control]));
    }
    const HWND form = Window().Handle();
    SendMessageW(form, WM_SYSCOLORCHANGE, 0, 0);
    SendMessageW(form, WM_THEMECHANGED, 0, 0);
    SendMessageW(form, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    SendMessageW(form, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS,
                 reinterpret_cast<LPARAM>(L"WindowMetrics"));
    SendMessageW(form, WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);  // nothing drawn changes
    for (auto& [control, counts] : told) {
        RemoveWindowSubclass(Of(*control), CountSchemeMessages, 9);
        const std::map<UINT, int> expected{
            {WM_SYSCOLORCHANGE, 1}, {WM_THEMECHANGED, 1}, {WM_SETTINGCHANGE, 2}};
        EXPECT_EQ(counts, expected) << NameOf(*control);
    }
    EXPECT_FALSE(told.empty());
}

}  // namespace
}  // namespace glimra::win32
