#pragma once
// Undo and redo over a fixed grid of cells. A step keeps, for each cell it changed, the cell as it
// was before and after; undoing puts those cells back, redoing sets them again. Cells a step did
// not change are never touched by it. Plain C++: the cells are any type that can be compared.
#include <array>
#include <cstddef>
#include <deque>
#include <utility>
#include <vector>

namespace editor {

template <class Cell, std::size_t N>
class GridHistory {
public:
    using Grid = std::array<Cell, N>;

    // Steps kept; past that the oldest goes. A step holds at most N changed cells.
    static constexpr std::size_t kMaxSteps = 200;

    // Records the change from `before` to `after` as one step and drops the steps undone before
    // it. A grid that did not change records nothing and leaves the history as it was.
    void record(const Grid& before, const Grid& after)
    {
        Step step;
        for (std::size_t i = 0; i < N; ++i)
            if (!(before[i] == after[i]))
                step.push_back({i, before[i], after[i]});
        if (step.empty())
            return;
        m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_done), m_steps.end());
        m_steps.push_back(std::move(step));
        if (m_steps.size() > kMaxSteps)
            m_steps.pop_front();
        m_done = m_steps.size();
    }

    // Puts the cells of the last step done back as they were before it; false if there is none.
    bool undo(Grid& grid)
    {
        if (m_done == 0)
            return false;
        --m_done;
        for (const Change& c : m_steps[m_done])
            grid[c.cell] = c.before;
        return true;
    }

    // Does the last step undone again; false if there is none.
    bool redo(Grid& grid)
    {
        if (m_done == m_steps.size())
            return false;
        for (const Change& c : m_steps[m_done])
            grid[c.cell] = c.after;
        ++m_done;
        return true;
    }

private:
    struct Change {
        std::size_t cell;
        Cell before;
        Cell after;
    };
    using Step = std::vector<Change>;

    std::deque<Step> m_steps;
    std::size_t m_done = 0; // m_steps[0, m_done) are done, the rest undone
};

} // namespace editor
