#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/FakeDialogPorts.h"
#include "platform/Random.h"
#include "screensaver/ScreenSaverProgram.h"
#include "settings/SettingKeys.h"
#include "win32/TempFolder.h"
#include "win32/TestPictures.h"
#include "win32/forms/FormWindow.h"
#include "win32/forms/Win32PeerFactory.h"
#include "win32/pictures/Canvas.h"
#include "win32/pictures/DesignPictures.h"
#include "win32/pictures/Pictures.h"
#include "win32/pictures/WicPictureLoader.h"
#include "win32/system/RegistrySettingsStore.h"
#include "win32/system/Win32FileSystem.h"
#include "win32/system/Win32Locale.h"
#include "win32/system/Win32MessageBoxes.h"
#include "win32/system/Win32Pointer.h"
#include "win32/system/Win32Screen.h"

namespace glimra::win32 {
namespace {

using namespace glimra::win32::testing;

constexpr wchar_t kApplication[] = L"GlimraPaintTest";
constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\GlimraPaintTest";
constexpr wchar_t kCaption[] = L"Glimra ScreenSaver";
constexpr int kJpegTolerance = 40;

// Started as the screen saver ("/s"), alone.
class SaverStart : public ProgramInfo {
  public:
    std::wstring ArgumentText() override { return L"/s"; }
    bool AnotherInstanceRunning() override { return false; }
    ProgramDetails Details() override { return {}; }
};

bool NearWhite(std::uint32_t c) {
    return ColorDistance(c, 0xFFFFFF) <= 0x40;
}

// Where a w x h picture should appear in a W x H window: reduced to fit when larger, never
// enlarged, centred. In pixels, before rounding.
struct Box {
    double left, top, right, bottom;
};

Box Fitted(int w, int h, int W, int H) {
    const double scale = std::min({1.0, static_cast<double>(W) / w, static_cast<double>(H) / h});
    const double width = w * scale, height = h * scale;
    return {(W - width) / 2, (H - height) / 2, (W + width) / 2, (H + height) / 2};
}

// Rounding of the placement to pixels, on each edge.
constexpr double kEdgeSlack = 2;

// The picture fills `box` with its four quadrants (sampled away from edges, where scaling
// and JPEG blur colours) and everything clearly outside it is black.
::testing::AssertionResult ShowsPictureIn(const PixelBuffer& shot, const Box& box,
                                          const Colors& colors, int tolerance) {
    const double midX = (box.left + box.right) / 2, midY = (box.top + box.bottom) / 2;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            const std::uint32_t pixel = ColorAt(shot, x, y);
            const bool outside = cx < box.left - kEdgeSlack || cx > box.right + kEdgeSlack ||
                                 cy < box.top - kEdgeSlack || cy > box.bottom + kEdgeSlack;
            const bool inside = cx > box.left + kEdgeSlack && cx < box.right - kEdgeSlack &&
                                cy > box.top + kEdgeSlack && cy < box.bottom - kEdgeSlack;
            if (outside && pixel != 0) {
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << " outside the picture is not black";
            }
            if (inside && pixel == 0) {
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << " inside the picture is black";
            }
        }
    }
    // A grid in the middle part of each quadrant.
    const double qw = (box.right - box.left) / 2, qh = (box.bottom - box.top) / 2;
    for (int q = 0; q < 4; ++q) {
        const double left = q % 2 ? midX : box.left, top = q / 2 ? midY : box.top;
        for (double fy : {0.25, 0.5, 0.75}) {
            for (double fx : {0.25, 0.5, 0.75}) {
                const int x = static_cast<int>(left + qw * fx);
                const int y = static_cast<int>(top + qh * fy);
                if (ColorDistance(ColorAt(shot, x, y), colors[q]) > tolerance) {
                    char text[120];
                    std::snprintf(text, sizeof(text), "pixel %d,%d is %06X, expected %06X", x, y,
                                  ColorAt(shot, x, y), colors[q]);
                    return ::testing::AssertionFailure() << text;
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

int CountNearWhite(const PixelBuffer& shot, const RECT& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            count += NearWhite(ColorAt(shot, x, y)) ? 1 : 0;
    }
    return count;
}

// The process's GDI and USER objects. The platform counts them for GetGuiResources; where that
// call is not implemented (it answers 0 and ERROR_CALL_NOT_IMPLEMENTED, as under Wine), GDI
// objects are counted by asking each handle slot for its object type, which that GDI answers
// for a bare slot number, and USER objects by counting this thread's windows, the only USER
// objects the slide show makes.
struct GuiObjects {
    DWORD gdi = 0;
    DWORD user = 0;
    bool counted = false;  // by the platform itself
};

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

BOOL CALLBACK CountWindowAndChildren(HWND hwnd, LPARAM count) {
    CountWindow(hwnd, count);
    EnumChildWindows(hwnd, &CountWindow, count);  // all descendants
    return TRUE;
}

GuiObjects CountGuiObjects() {
    GuiObjects objects;
    SetLastError(0);
    objects.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    objects.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (objects.gdi != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        objects.counted = true;
        return objects;
    }
    for (std::uintptr_t slot = 1; slot <= 0xFFFF; ++slot) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++objects.gdi;
    }
    EnumThreadWindows(GetCurrentThreadId(), &CountWindowAndChildren,
                      reinterpret_cast<LPARAM>(&objects.user));
    return objects;
}

// Windows can be made: there is a display.
bool CanMakeWindows() {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (!probe) return false;
    DestroyWindow(probe);
    return true;
}

// A picture file of the test folder and how it should look.
struct Shown {
    const wchar_t* name;
    Bytes file;
    int width, height;  // natural size
    Colors colors;
    int tolerance;
};

// The real program on the real platform services, started as the screen saver over a folder
// of known pictures. Its timer's ticks are fired by the test only.
class SlideShow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!CanMakeWindows()) GTEST_SKIP() << "no display to make windows on";
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        settings.Write(keys::kInitialized, L"True");
        settings.Write(keys::kSecondsToDisplay, L"0");
        settings.Write(keys::kDisplayInRandomOrder, L"0");
        settings.Write(keys::kHideMousePointer, L"0");
        settings.Write(keys::kDisplayImageFileName, L"0");
        settings.Write(keys::kDisplayImageNumber, L"0");
    }

    void TearDown() override {
        if (program && program->lumivue.Loaded()) Close();
        program.reset();
        DrainMessages();
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    }

    void AddPictures(const std::vector<Shown>& pictures) {
        for (const Shown& picture : pictures)
            ASSERT_TRUE(WriteBytes(folder.Path() + picture.name, picture.file)) << picture.name;
    }

    void Start() {
        settings.Write(keys::kPath, folder.Path());
        program = std::make_unique<ScreenSaverProgram>(ports, &peers);
        program->Start();
        Pump();
        ASSERT_TRUE(program->lumivue.Loaded());
        ASSERT_TRUE(Window()) << "the slide show has no window";
        ASSERT_EQ(FindWindowW(nullptr, kCaption), Window()->Handle());
        ASSERT_TRUE(IsWindowVisible(Window()->Handle()));
    }

    FormWindow* Window() { return static_cast<FormWindow*>(program->lumivue.Peer()); }

    // Everything but timer messages, so the real timers change nothing behind the test.
    void Pump() {
        MSG message;
        for (;;) {
            if (!PeekMessageW(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) &&
                !PeekMessageW(&message, nullptr, WM_TIMER + 1, UINT_MAX, PM_REMOVE)) {
                break;
            }
            if (message.message == WM_QUIT) {
                quit = true;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (Window() && Window()->Handle()) UpdateWindow(Window()->Handle());
    }

    void DrainMessages() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) quit = true;
        }
    }

    // One tick of the slide show's timer, as its interval had passed.
    void Tick() {
        program->lumivue.timTimer.Fire();
        Pump();
    }

    // Ticks until `name` is the picture shown; false when it never comes.
    bool TickUntilShown(const std::wstring& name) {
        frmLumivue& show = program->lumivue;
        for (int i = 0; i <= show.lngImageCount; ++i) {
            Tick();
            if (show.intImageIndex >= 1 && show.intImageIndex <= show.lngImageCount &&
                show.strImages[static_cast<size_t>(show.intImageIndex) - 1] ==
                    folder.Path() + name) {
                return true;
            }
        }
        return false;
    }

    // What the window paints, drawn into a bitmap of our own.
    PixelBuffer Capture() {
        RECT client{};
        GetClientRect(Window()->Handle(), &client);
        PixelBuffer shot;
        if (!capture.Resize(client.right, client.bottom)) return shot;
        PatBlt(capture.Dc(), 0, 0, client.right, client.bottom, WHITENESS);
        Window()->Paint(capture.Dc(), client);
        GdiFlush();
        shot.width = client.right;
        shot.height = client.bottom;
        for (int y = 0; y < shot.height; ++y)
            shot.pixels.insert(shot.pixels.end(), capture.Row(y), capture.Row(y) + shot.width);
        return shot;
    }

    // The way out the system takes: closing the window ends the whole program.
    void Close() {
        program->lumivue.PlatformClose();
        Pump();
        DrainMessages();
    }

    TempFolder folder{L"glimra-painting"};
    RegistrySettingsStore settings{kApplication, keys::kSection};
    SaverStart start;
    Win32FileSystem files;
    Win32Screen screen;
    WicPictureLoader pictures{GetModuleHandleW(nullptr), GetSystemMetrics(SM_CXSCREEN),
                              GetSystemMetrics(SM_CYSCREEN), static_cast<float>(GetDpiForSystem())};
    Win32Pointer pointer;
    SeededRandom random{20240229};
    Win32MessageBoxes messages{[] { return HWND{}; }};
    DesignPictures designPictures{GetModuleHandleW(nullptr), pictures, nullptr};
    Win32PeerFactory peers{screen, {nullptr, nullptr, designPictures, nullptr}};
    fakes::FakeShell shell;
    Win32Locale locale;
    Ports ports{start, settings, files, pictures, screen, pointer, random, messages, shell, locale};
    std::unique_ptr<ScreenSaverProgram> program;
    Canvas capture;
    bool quit = false;
};

// Pictures of every format, wider than the screen, taller than it and smaller than it.
std::vector<Shown> EveryFormat() {
    const Colors icon = {kBlue, kBlue, kBlue, kBlue};
    return {
        {L"wide.bmp", EncodeBmp(Quadrants(4000, 1000)), 4000, 1000, kQuadrants, 0},
        {L"small.gif", EncodeGif({Quadrants(200, 100), Solid(200, 100, kRed)}), 200, 100,
         kQuadrants, 0},
        {L"tall.jpg", EncodeJpeg(Quadrants(320, 2400)), 320, 2400, kQuadrants, kJpegTolerance},
        {L"icon.ico", MakeIcon({{16, kRed}, {48, kBlue}, {32, kGreen}}), 48, 48, icon, 0},
        {L"placeable.wmf", MakeWmf(6 * 1440, 4 * 1440, true), 576, 384, kQuadrants, 0},
        {L"drawing.emf", MakeEmf(RECT{0, 0, 10160, 5080}), 384, 192, kQuadrants, 0},
    };
}

TEST_F(SlideShow, ShowsEachPictureFittedAndCentredOnBlack) {
    const auto shown = EveryFormat();
    AddPictures(shown);
    Start();
    for (const Shown& picture : shown) {
        SCOPED_TRACE(picture.name);
        ASSERT_TRUE(TickUntilShown(picture.name));
        const PixelBuffer shot = Capture();
        ASSERT_GT(shot.width, 0);
        const Box box = Fitted(picture.width, picture.height, shot.width, shot.height);
        EXPECT_TRUE(ShowsPictureIn(shot, box, picture.colors, picture.tolerance));
    }
}

TEST_F(SlideShow, AWidePictureTakesTheFullWidthCentredVertically) {
    AddPictures({{L"wide.bmp", EncodeBmp(Quadrants(2000, 500)), 2000, 500, kQuadrants, 0}});
    Start();
    ASSERT_TRUE(TickUntilShown(L"wide.bmp"));
    const PixelBuffer shot = Capture();
    ASSERT_GE(shot.height, shot.width / 4) << "the screen is too wide for this picture";
    const double height = shot.width / 4.0;
    const double top = (shot.height - height) / 2;
    EXPECT_TRUE(ShowsPictureIn(shot, {0, top, static_cast<double>(shot.width), top + height},
                               kQuadrants, 0));
}

TEST_F(SlideShow, CaptionsShowInWhiteAtTheTopLeftWhenTurnedOn) {
    settings.Write(keys::kDisplayImageFileName, L"1");
    settings.Write(keys::kDisplayImageNumber, L"1");
    // The picture leaves the top of the window black, so only the captions are white there.
    AddPictures({{L"wide.bmp", EncodeBmp(Solid(2000, 500, kGreen)), 2000, 500, {}, 0},
                 {L"other.bmp", EncodeBmp(Solid(2000, 500, kRed)), 2000, 500, {}, 0}});
    Start();
    ASSERT_TRUE(TickUntilShown(L"wide.bmp"));
    PixelBuffer shot = Capture();
    ASSERT_GE(shot.height, 200);
    // The number's line at the top, the file name's 240 twips down; 8.25-point text stays
    // within 210 twips of its top.
    const auto band = [&](float topTwips, float bottomTwips, int width) {
        const float perPixel = screen.TwipsPerPixelY();
        return RECT{0, static_cast<LONG>(topTwips / perPixel), width,
                    static_cast<LONG>(bottomTwips / perPixel)};
    };
    const RECT number = band(0, 210, 200), fileName = band(240, 450, 400);
    const RECT below = band(500, 1800, 400);
    EXPECT_GE(CountNearWhite(shot, number), 10) << "no image number";
    EXPECT_GE(CountNearWhite(shot, fileName), 10) << "no file name";
    EXPECT_EQ(CountNearWhite(shot, below), 0) << "white below the captions";

    program->lumivue.strDisplayImageFileName = L"0";
    program->lumivue.strDisplayImageNumber = L"0";
    Tick();
    shot = Capture();
    EXPECT_EQ(CountNearWhite(shot, number), 0) << "the number stays after being turned off";
    EXPECT_EQ(CountNearWhite(shot, fileName), 0) << "the file name stays after being turned off";
}

TEST_F(SlideShow, AThousandPictureChangesLeakNoGdiOrUserObjects) {
    auto shown = EveryFormat();
    shown.push_back({L"photo.jpg", EncodeJpeg(Quadrants(1600, 1200)), 1600, 1200, {}, 0});
    shown.push_back({L"plain.wmf", MakeWmf(2880, 1440, false), 192, 96, {}, 0});
    // Files that fail to load take their own path through the program.
    shown.push_back({L"text.jpg", Bytes(100, 'x'), 0, 0, {}, 0});
    const Bytes gif = EncodeGif({Quadrants(200, 100)});
    shown.push_back({L"cut.gif", Bytes(gif.begin(), gif.begin() + gif.size() / 2), 0, 0, {}, 0});
    AddPictures(shown);
    settings.Write(keys::kDisplayImageFileName, L"1");
    settings.Write(keys::kDisplayImageNumber, L"1");
    Start();
    ASSERT_EQ(program->lumivue.lngImageCount, static_cast<std::int32_t>(shown.size()));

    // The counter must see a leak where there is one.
    const GuiObjects clean = CountGuiObjects();
    std::vector<HBRUSH> leaked;
    for (int i = 0; i < 5; ++i)
        leaked.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    const GuiObjects leaking = CountGuiObjects();
    for (HBRUSH brush : leaked)
        DeleteObject(brush);
    ASSERT_EQ(leaking.gdi, clean.gdi + 5) << "the GDI objects cannot be counted here";
    ASSERT_GT(clean.user, 0u) << "the USER objects cannot be counted here";

    const auto change = [&] {
        Tick();
        const PixelBuffer shot = Capture();
        ASSERT_GT(shot.width, 0);
    };
    // Fonts, codecs and caches the platform keeps once made are made during the warm-up.
    for (size_t i = 0; i < 3 * shown.size(); ++i)
        change();
    const GuiObjects before = CountGuiObjects();
    for (int i = 0; i < 1000; ++i) {
        change();
        if (HasFatalFailure()) return;
    }
    const GuiObjects after = CountGuiObjects();
    // No slack: every object a change makes is released before the next change.
    EXPECT_LE(after.gdi, before.gdi) << (before.counted ? "GetGuiResources" : "handle slots");
    EXPECT_LE(after.user, before.user) << (before.counted ? "GetGuiResources" : "windows");
}

// The show's window on a monitor whose resolution changes (another monitor's scale): it keeps
// exactly its monitor's rectangle, not the one the system suggests, and a picture's pixels
// are the window's at either resolution: as large as the window fills it, a smaller one is
// shown at its own size, never enlarged.
TEST_F(SlideShow, KeepsItsMonitorAndThePicturesPixelsAtAnotherResolution) {
    RECT monitor{};
    GetWindowRect(GetDesktopWindow(), &monitor);
    const int W = monitor.right - monitor.left, H = monitor.bottom - monitor.top;
    AddPictures({{L"whole.bmp", EncodeBmp(Quadrants(W, H)), W, H, kQuadrants, 0},
                 {L"half.bmp", EncodeBmp(Quadrants(W / 2, H / 2)), W / 2, H / 2, kQuadrants, 0}});
    Start();
    for (const UINT dpi : {144u, 96u}) {
        SCOPED_TRACE(dpi);
        RECT suggested{0, 0, W * static_cast<int>(dpi) / 96, H * static_cast<int>(dpi) / 96};
        SendMessageW(Window()->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        Pump();
        RECT window{};
        GetWindowRect(Window()->Handle(), &window);
        EXPECT_EQ(window.right - window.left, W);
        EXPECT_EQ(window.bottom - window.top, H);
        for (const wchar_t* name : {L"whole.bmp", L"half.bmp"}) {
            SCOPED_TRACE(::testing::Message() << name);
            ASSERT_TRUE(TickUntilShown(name));
            const PixelBuffer shot = Capture();
            const int w = name == std::wstring(L"whole.bmp") ? W : W / 2;
            const int h = name == std::wstring(L"whole.bmp") ? H : H / 2;
            EXPECT_TRUE(ShowsPictureIn(shot, Fitted(w, h, shot.width, shot.height), kQuadrants, 0));
        }
    }
}

// The system tells the window when the session's display turns off and on (power settings):
// the show rests while it is off and goes on when it is back. The console's display is not the
// session's: in a remote session the viewer still watches while it is off.
TEST_F(SlideShow, RestsWhileTheSystemSaysTheDisplayIsOff) {
    AddPictures({{L"a.bmp", EncodeBmp(Solid(20, 20, kRed)), 20, 20, {}, 0},
                 {L"b.bmp", EncodeBmp(Solid(20, 20, kBlue)), 20, 20, {}, 0}});
    Start();
    ASSERT_TRUE(TickUntilShown(L"a.bmp"));
    const auto tellDisplay = [&](const GUID& display, DWORD state) {
        alignas(POWERBROADCAST_SETTING)
            BYTE message[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)] = {};
        auto& setting = *reinterpret_cast<POWERBROADCAST_SETTING*>(message);
        setting.PowerSetting = display;
        setting.DataLength = sizeof(DWORD);
        std::memcpy(setting.Data, &state, sizeof(DWORD));
        return SendMessageW(Window()->Handle(), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                            reinterpret_cast<LPARAM>(&setting));
    };
    frmLumivue& show = program->lumivue;
    std::int32_t index = show.intImageIndex;
    tellDisplay(GUID_CONSOLE_DISPLAY_STATE, 0);
    Tick();
    EXPECT_TRUE(show.intImageIndex != index || show.lngElapsedSeconds > 0)
        << "the console's display off does not rest the show";
    EXPECT_EQ(tellDisplay(GUID_SESSION_DISPLAY_STATUS, 0), TRUE);  // off
    index = show.intImageIndex;
    for (int tick = 0; tick < 3; ++tick)
        Tick();
    EXPECT_EQ(show.intImageIndex, index) << "no change while the display is off";
    EXPECT_EQ(show.lngElapsedSeconds, 0);
    tellDisplay(GUID_SESSION_DISPLAY_STATUS, 1);  // on
    Tick();
    EXPECT_NE(show.intImageIndex, index) << "the next change once it is back";
}

TEST_F(SlideShow, ClosingTheWindowEndsTheProgram) {
    AddPictures({{L"small.bmp", EncodeBmp(Solid(20, 20, kRed)), 20, 20, {}, 0}});
    Start();
    ASSERT_TRUE(TickUntilShown(L"small.bmp"));
    const HWND window = Window()->Handle();
    Close();
    EXPECT_FALSE(program->lumivue.Loaded());
    EXPECT_FALSE(program->options.Loaded());
    EXPECT_TRUE(program->app.Ended());
    EXPECT_TRUE(quit) << "the message loop is not told to end";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(FindWindowW(nullptr, kCaption), nullptr);
}

// A picture of another platform, and one whose drawing fails.
class ForeignPicture : public Picture {
  public:
    int Width() const override { return 10; }
    int Height() const override { return 10; }
};

class FailingPicture : public Win32Picture {
  public:
    FailingPicture() : Win32Picture(10, 10) {}
    void Draw(Canvas&, const RECT&) const override { throw std::runtime_error("draw failed"); }
};

TEST(Painter, LeavesOutWhatItCannotDrawAndEndsEveryPaintWhoseDrawingFails) {
    if (!CanMakeWindows()) GTEST_SKIP() << "no display to make windows on";
    Win32Screen screen;
    WicPictureLoader pictures{GetModuleHandleW(nullptr), 100, 100, 96};
    DesignPictures designPictures{GetModuleHandleW(nullptr), pictures, nullptr};
    Win32PeerFactory peers{screen, {nullptr, nullptr, designPictures, nullptr}};
    Application app(&peers);
    FormDesign design;
    design.caption = L"Glimra Painter Test";
    design.border = BorderStyle::None;
    design.width = design.height = 100 * screen.TwipsPerPixelX();
    Form form(app, design);
    form.Show();
    auto* window = static_cast<FormWindow*>(form.Peer());
    const HWND hwnd = window->Handle();
    const auto repaint = [&] {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    };

    form.PaintPicture(std::make_shared<ForeignPicture>(), 0, 0, form.ScaleWidth(),
                      form.ScaleHeight());
    repaint();
    Canvas capture;
    ASSERT_TRUE(capture.Resize(100, 100));
    PatBlt(capture.Dc(), 0, 0, 100, 100, WHITENESS);
    window->Paint(capture.Dc(), RECT{0, 0, 100, 100});
    GdiFlush();
    EXPECT_EQ(capture.Row(50)[50] & 0xFFFFFF, 0u) << "left out: the back colour shows";

    form.Cls();
    form.PaintPicture(std::make_shared<FailingPicture>(), 0, 0, 150, 150);
    for (int i = 0; i < 3; ++i)
        repaint();
    const GuiObjects before = CountGuiObjects();
    for (int i = 0; i < 200; ++i)
        repaint();
    const GuiObjects after = CountGuiObjects();
    EXPECT_LE(after.gdi, before.gdi) << "a paint that failed kept its device context";
    RECT pending{};
    EXPECT_FALSE(GetUpdateRect(hwnd, &pending, FALSE)) << "the failed paint was not ended";
    form.Unload();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

}  // namespace
}  // namespace glimra::win32
