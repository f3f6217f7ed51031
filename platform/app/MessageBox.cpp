#include "platform/app/MessageBox.h"

#include <vector>

namespace platform::app {

MessageBoxHandler& MessageBoxHandler::Instance() {
    static MessageBoxHandler handler;
    return handler;
}

int32_t MessageBoxHandler::Show(const std::string& prompt, int32_t buttons) {
    int32_t answer = DefaultAnswer(buttons);
    const int32_t buttonSet = buttons & 0xF;
    const bool question = buttonSet == 3 || buttonSet == 4;
    // A box with only OK can be answered nothing else: it keeps its OK, and
    // another scripted answer waits for the next box.
    const bool onlyOK = buttonSet == 0;
    if (question && !questionAnswers_.empty()) {
        answer = questionAnswers_.front();
        questionAnswers_.pop_front();
    } else if (!scripted_.empty() && (!onlyOK || scripted_.front() == kAnswerOK)) {
        answer = scripted_.front();
        scripted_.pop_front();
    }
    records_.push_back({prompt, buttons, answer});
    return answer;
}

void MessageBoxHandler::QueueAnswer(int32_t answer) { scripted_.push_back(answer); }

void MessageBoxHandler::QueueQuestionAnswer(int32_t answer) { questionAnswers_.push_back(answer); }

std::vector<int32_t> MessageBoxHandler::DropAnswers() {
    std::vector<int32_t> dropped(scripted_.begin(), scripted_.end());
    scripted_.clear();
    return dropped;
}

std::vector<int32_t> MessageBoxHandler::DropQuestionAnswers() {
    std::vector<int32_t> dropped(questionAnswers_.begin(), questionAnswers_.end());
    questionAnswers_.clear();
    return dropped;
}

void MessageBoxHandler::Clear() {
    records_.clear();
    scripted_.clear();
    questionAnswers_.clear();
}

int32_t MessageBoxHandler::DefaultAnswer(int32_t buttons) {
    static const std::vector<std::vector<int32_t>> kButtonSets = {
        {kAnswerOK},
        {kAnswerOK, kAnswerCancel},
        {kAnswerAbort, kAnswerRetry, kAnswerIgnore},
        {kAnswerYes, kAnswerNo, kAnswerCancel},
        {kAnswerYes, kAnswerNo},
        {kAnswerRetry, kAnswerCancel},
    };
    const size_t set = static_cast<size_t>(buttons & 0xF);
    if (set >= kButtonSets.size()) return kAnswerOK;
    const auto& answers = kButtonSets[set];
    const size_t defaultButton = static_cast<size_t>((buttons >> 8) & 0x3);
    return defaultButton < answers.size() ? answers[defaultButton] : answers.front();
}

}  // namespace platform::app
