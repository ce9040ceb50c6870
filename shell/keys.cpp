#include "shell/keys.h"

#include <QKeyEvent>
#include <array>

namespace shell {

namespace {

// The keys whose code follows their place: the kernel's key codes (the native scan code less 8, on
// X11 and Wayland alike) of the letter, digit and punctuation keys of a PC keyboard.
constexpr auto kByPlace = [] {
    std::array<int, 87> codes{};
    const auto row = [&](int first, const char* keys) {
        for (int i = 0; keys[i]; ++i)
            codes[static_cast<std::size_t>(first + i)] = keys[i];
    };
    row(2, "1234567890");
    row(16, "QWERTYUIOP");
    row(30, "ASDFGHJKL");
    row(44, "ZXCVBNM");
    codes[12] = kKeyMinus;
    codes[13] = kKeyEqual;
    codes[26] = kKeyBracketLeft;
    codes[27] = kKeyBracketRight;
    codes[39] = kKeySemicolon;
    codes[40] = kKeyApostrophe;
    codes[41] = kKeyGrave;
    codes[43] = kKeyBackslash;
    codes[51] = kKeyComma;
    codes[52] = kKeyPeriod;
    codes[53] = kKeySlash;
    codes[86] = kKeyLess;
    return codes;
}();

// Qt's keys that have no place on the letter rows, each with its own code.
struct Named {
    int qtKey;
    int code;
};
constexpr Named kNamed[] = {
    {Qt::Key_Backspace, kKeyBackspace}, {Qt::Key_Tab, kKeyTab}, {Qt::Key_Backtab, kKeyTab},
    {Qt::Key_Clear, kKeyClear}, {Qt::Key_Return, kKeyEnter}, {Qt::Key_Enter, kKeyEnter},
    {Qt::Key_Shift, kKeyShift}, {Qt::Key_Control, kKeyCtrl}, {Qt::Key_Alt, kKeyAlt},
    {Qt::Key_AltGr, kKeyAlt}, {Qt::Key_Pause, kKeyPause}, {Qt::Key_CapsLock, kKeyCapsLock},
    {Qt::Key_Escape, kKeyEscape}, {Qt::Key_Space, kKeySpace}, {Qt::Key_PageUp, kKeyPageUp},
    {Qt::Key_PageDown, kKeyPageDown}, {Qt::Key_End, kKeyEnd}, {Qt::Key_Home, kKeyHome},
    {Qt::Key_Left, kKeyLeft}, {Qt::Key_Up, kKeyUp}, {Qt::Key_Right, kKeyRight},
    {Qt::Key_Down, kKeyDown}, {Qt::Key_Print, kKeyPrint}, {Qt::Key_SysReq, kKeyPrint},
    {Qt::Key_Insert, kKeyInsert}, {Qt::Key_Delete, kKeyDelete}, {Qt::Key_Meta, kKeySuperLeft},
    {Qt::Key_Super_L, kKeySuperLeft}, {Qt::Key_Super_R, kKeySuperRight}, {Qt::Key_Menu, kKeyMenu},
    {Qt::Key_NumLock, kKeyNumLock}, {Qt::Key_ScrollLock, kKeyScrollLock},
};

// The keypad's own keys: Qt names them as the main keys and marks them with KeypadModifier.
int keypadCode(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return kKeyPad0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return kKeyPadMultiply;
    case Qt::Key_Plus: return kKeyPadAdd;
    case Qt::Key_Minus: return kKeyPadSubtract;
    case Qt::Key_Period:
    case Qt::Key_Comma: return kKeyPadDecimal;
    case Qt::Key_Slash: return kKeyPadDivide;
    default: return kKeyNone;
    }
}

} // namespace

int keyCodeOf(const QKeyEvent& e)
{
    const int qtKey = e.key();
    if (e.modifiers() & Qt::KeypadModifier) {
        if (const int code = keypadCode(qtKey))
            return code;
    }
    for (const Named& n : kNamed)
        if (n.qtKey == qtKey)
            return n.code;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return kKeyF1 + (qtKey - Qt::Key_F1);
    const long place = static_cast<long>(e.nativeScanCode()) - 8;
    if (place >= 0 && place < static_cast<long>(kByPlace.size()) && kByPlace[static_cast<std::size_t>(place)])
        return kByPlace[static_cast<std::size_t>(place)];
    // A synthetic event names no place: a Latin letter or a digit stands for its own key.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    return kKeyNone;
}

} // namespace shell
