#include "input/key_commands.h"

#include "shell/keys.h"

namespace input {

namespace {
constexpr int kShiftAlone = 1;
constexpr int kCtrlOrAlt = 2 | 4;
} // namespace

int steeringOf(int keyCode)
{
    for (const SteeringKey& key : kSteeringKeys)
        if (key.keyCode == keyCode)
            return key.direction;
    return 0;
}

KeyCommand commandOf(const shell::KeyArgs& k)
{
    switch (k.focus) {
    case shell::KeyFocus::MenuBar:
        return KeyCommand::None;
    case shell::KeyFocus::TextBox:
        if (k.keyCode == shell::kKeyEnter || k.keyCode == shell::kKeyEscape)
            return KeyCommand::EndTyping;
        return KeyCommand::None;
    case shell::KeyFocus::Control:
        break;
    }
    if (k.keyCode == shell::kKeySpace || k.keyCode == shell::kKeyEnter)
        return k.shift == kShiftAlone ? KeyCommand::Trick : KeyCommand::Launch;
    const int direction = steeringOf(k.keyCode);
    const bool letter = k.keyCode >= 'A' && k.keyCode <= 'Z';
    if (direction == 0 || (letter && (k.shift & kCtrlOrAlt)))
        return KeyCommand::None;
    return direction < 0 ? KeyCommand::SteerLeft : KeyCommand::SteerRight;
}

} // namespace input
