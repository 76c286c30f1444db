#pragma once
// CDialogAnswers: what the user answers, given in advance, to the dialogs that open without a
// display (the command line, scripted sessions and tests). A dialog that starts its modal loop on the
// headless backend takes the next answer and applies it through its own controls, so the same click
// handlers run as for a user; with no answer left it answers "no". Nothing headless ever waits.
//
// Answers: "yes" (confirm), "no" (cancel, or close where there is no cancel), and for the colour
// picker also "color=RRGGBB", "preset=N" and "collect=N". UI thread only.

#include <deque>
#include <functional>
#include <string>
#include <string_view>

namespace zevik {

class CDialogAnswers {
public:
    static CDialogAnswers& Instance();

    // True for an answer some dialog understands.
    static bool IsValid(std::string_view answer);

    void Push(std::string answer) { m_answers.push_back(std::move(answer)); }
    void Clear() { m_answers.clear(); }
    std::size_t Pending() const { return m_answers.size(); }
    // The next answer, "no" when none is left.
    std::string Next();

    // Told once per dialog that ran headless: its text key, the text it showed and its result.
    using Reporter =
        std::function<void(std::string_view key, std::string_view text, std::string_view result)>;
    void SetReporter(Reporter reporter) { m_reporter = std::move(reporter); }
    void Report(std::string_view key, std::string_view text, std::string_view result) const;

private:
    std::deque<std::string> m_answers;
    Reporter m_reporter;
};

// True while no renderer shows the windows: dialogs answer from CDialogAnswers.
bool DialogsRunHeadless();

}  // namespace zevik
