#pragma once
// Key codes: every key of a PC keyboard has its own code, the virtual-key code the form designer's
// toolkit gives it (so the P key is 80, Enter 13, Space 32, ← 37), and a key without one (a media
// key, a dead key, a key Qt cannot name) has none, 0. Handlers compare codes, never Qt's keys.
//
// Letters and digits name the key's place on a US keyboard, whatever layout is active: under the
// Russian layout the key that types "З" is still P (80) and the one that types "Ф" is still A (65).
class QKeyEvent;

namespace shell {

inline constexpr int kKeyNone = 0;
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyClear = 12; // the keypad's 5 with Num Lock off
inline constexpr int kKeyEnter = 13; // Return and the keypad's Enter alike
inline constexpr int kKeyShift = 16;
inline constexpr int kKeyCtrl = 17;
inline constexpr int kKeyAlt = 18;   // Alt and AltGr alike
inline constexpr int kKeyPause = 19;
inline constexpr int kKeyCapsLock = 20;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyEnd = 35;
inline constexpr int kKeyHome = 36;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyPrint = 44;
inline constexpr int kKeyInsert = 45;
inline constexpr int kKeyDelete = 46;
// '0' .. '9' are 48 .. 57 and 'A' .. 'Z' are 65 .. 90: the character itself.
inline constexpr int kKeySuperLeft = 91;
inline constexpr int kKeySuperRight = 92;
inline constexpr int kKeyMenu = 93;
inline constexpr int kKeyPad0 = 96; // .. kKeyPad0 + 9, the keypad's digits with Num Lock on
inline constexpr int kKeyPadMultiply = 106;
inline constexpr int kKeyPadAdd = 107;
inline constexpr int kKeyPadSubtract = 109;
inline constexpr int kKeyPadDecimal = 110;
inline constexpr int kKeyPadDivide = 111;
inline constexpr int kKeyF1 = 112; // .. kKeyF1 + 23 for F24
inline constexpr int kKeyNumLock = 144;
inline constexpr int kKeyScrollLock = 145;
// The punctuation keys, by their place on a US keyboard.
inline constexpr int kKeySemicolon = 186;
inline constexpr int kKeyEqual = 187;
inline constexpr int kKeyComma = 188;
inline constexpr int kKeyMinus = 189;
inline constexpr int kKeyPeriod = 190;
inline constexpr int kKeySlash = 191;
inline constexpr int kKeyGrave = 192;
inline constexpr int kKeyBracketLeft = 219;
inline constexpr int kKeyBackslash = 220;
inline constexpr int kKeyBracketRight = 221;
inline constexpr int kKeyApostrophe = 222;
inline constexpr int kKeyLess = 226; // the extra key beside the left Shift of European keyboards

// The code of the key an event is about, or kKeyNone.
int keyCodeOf(const QKeyEvent& e);

} // namespace shell
