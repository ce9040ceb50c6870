#pragma once
// Where the keyboard focus is: on one of the program's windows, or with another program.
#include <functional>
#include <memory>

namespace shell {

// Whether a window of the program has the keyboard focus now. On X11 it turns false the moment the
// X server takes the focus away, not a tenth of a second later as the toolkit does, once a
// FocusWatch exists.
bool programActive();

class FocusWatch {
public:
    // `left` runs the moment a shown window of the program loses the keyboard focus, which may be
    // on its way to another of the program's windows (a window the program hides itself does not
    // count): on X11 as soon as the X server says so. `settled` runs once the toolkit knows where
    // the focus went: to one of the program's windows (true) or to none of them (false), which on
    // X11 the toolkit decides a tenth of a second after the loss. `left` runs again just before
    // `settled(false)` (elsewhere only then); it must not mind being told twice. On the headless
    // platform of the tests nothing runs; they call the handlers themselves.
    FocusWatch(std::function<void()> left, std::function<void(bool ours)> settled);
    ~FocusWatch();
    FocusWatch(const FocusWatch&) = delete;
    FocusWatch& operator=(const FocusWatch&) = delete;

private:
    class Filter;
    std::unique_ptr<Filter> m_filter;
};

} // namespace shell
