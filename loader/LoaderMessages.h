#pragma once
// The texts the loaders show, as the panel's users know them (misspellings included).
namespace nd620::msg {

inline constexpr const char* kInitialFailed =
    "Initial communication failed!\nIf nothing showed on the LCD, try keeping the \"SET\" key pressed while "
    "reboot the HMI, when \"BOOTLOADER version x\" showed, release the key and download again.";
inline constexpr const char* kInfoFailed = "Get slave infomation failed!";
inline constexpr const char* kBootFailed = "Enter boot mode failed";
inline constexpr const char* kReconnectFailed = "Connecttion error,please retart the device!";
inline constexpr const char* kDownloadModeFailed = "Enter download mode failed!";
inline constexpr const char* kOpenFailed = "Open file failed!";
inline constexpr const char* kWrongFormat = "The File version is wrong!";
inline constexpr const char* kUnknownHardware = "The Text Displayer Version is unknown!";
inline constexpr const char* kTooBig =
    "Project too big, can not download into the TextDisplayer, Please try this: \r\n1.Use less Font and "
    "smaller size if possibale; \r\n2.Use less bitmap.";
inline constexpr const char* kEraseFailed = "Erase flash failed!";
inline constexpr const char* kBurnFailedFormat = "Burn %s failed!";
inline constexpr const char* kBurnSuccessFormat = "Burn %s success!";
inline constexpr const char* kDownloadCaptionFormat = "%s%s:";
inline constexpr const char* kDownloadPrefix = "Download ";
inline constexpr const char* kConnecting = "Connectting device...";
inline constexpr const char* kEraseFlash = "Erase flash";
inline constexpr const char* kFileCheckError = "File check error!";
inline constexpr const char* kMultiple = "Can not open multiple";
// Ours: a package whose entries claim more bytes than it holds, and a download stopped by the user.
inline constexpr const char* kShortPackage = "The package file is shorter than its entries claim!";
inline constexpr const char* kCancelled = "Download cancelled";

}  // namespace nd620::msg
