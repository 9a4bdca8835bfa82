#pragma once
// Message box styles and answers, with the numeric values the records and owners pass around.

namespace MessageStyle {
constexpr unsigned kOk = 0x00;
constexpr unsigned kOkCancel = 0x01;
constexpr unsigned kYesNoCancel = 0x03;
constexpr unsigned kYesNo = 0x04;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kIconInformation = 0x40;
// The second button (No of Yes/No) is the default: Enter does not confirm what cannot be undone.
constexpr unsigned kDefaultButton2 = 0x100;
constexpr unsigned kButtonMask = 0x0F;
constexpr unsigned kIconMask = 0xF0;
}  // namespace MessageStyle

namespace MessageAnswer {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace MessageAnswer

// Captions used by every report.
inline constexpr const char* kCaptionInformation = "Информация";
inline constexpr const char* kCaptionError = "Ошибка";
inline constexpr const char* kCaptionQuestion = "Подтверждение";
