#include "shell/dialog_answers.h"

#include <cctype>

#include "ui/ui_backend.h"

namespace zevik {

namespace {

bool AllOf(std::string_view text, int (*test)(int)) {
    if (text.empty()) return false;
    for (char c : text) {
        if (test(static_cast<unsigned char>(c)) == 0) return false;
    }
    return true;
}

}  // namespace

CDialogAnswers& CDialogAnswers::Instance() {
    static CDialogAnswers answers;
    return answers;
}

bool CDialogAnswers::IsValid(std::string_view answer) {
    if (answer == "yes" || answer == "no") return true;
    if (answer.starts_with("color=")) {
        const std::string_view hex = answer.substr(6);
        return hex.size() == 6 && AllOf(hex, isxdigit);
    }
    for (std::string_view prefix : {std::string_view("preset="), std::string_view("collect=")}) {
        if (answer.starts_with(prefix)) {
            const std::string_view number = answer.substr(prefix.size());
            return number.size() <= 3 && AllOf(number, isdigit);
        }
    }
    return false;
}

std::string CDialogAnswers::Next() {
    if (m_answers.empty()) return "no";
    std::string answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

void CDialogAnswers::Report(std::string_view key, std::string_view text, std::string_view result) const {
    if (m_reporter) m_reporter(key, text, result);
}

bool DialogsRunHeadless() {
    return dynamic_cast<CHeadlessBackend*>(&GetUiBackend()) != nullptr;
}

}  // namespace zevik
