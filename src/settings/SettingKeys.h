#pragma once

namespace glimra::keys {

// Where the settings live, and the names of the ten values. Names are case-sensitive as
// written: displayImageNumber begins with a lower-case letter.
inline constexpr const wchar_t* kApplication = L"Glimra";
inline constexpr const wchar_t* kSection = L"Settings";

inline constexpr const wchar_t* kPath = L"Path";
inline constexpr const wchar_t* kSecondsToDisplay = L"SecondsToDisplay";
inline constexpr const wchar_t* kAlwaysOnTop = L"AlwaysOnTop";
inline constexpr const wchar_t* kHideMousePointer = L"HideMousePointer";
inline constexpr const wchar_t* kDisplayInRandomOrder = L"DisplayInRandomOrder";
inline constexpr const wchar_t* kDisplayImageNumber = L"displayImageNumber";
inline constexpr const wchar_t* kDisplayImageFileName = L"DisplayImageFileName";
inline constexpr const wchar_t* kInitialized = L"Initialized";
inline constexpr const wchar_t* kOptionsDialogForced = L"OptionsDialogForced";
inline constexpr const wchar_t* kShowSplashScreen = L"ShowSplashScreen";

inline constexpr const wchar_t* kTrue = L"True";
inline constexpr const wchar_t* kFalse = L"False";

}  // namespace glimra::keys
