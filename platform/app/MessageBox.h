#pragma once
// Message boxes without a screen: each box is recorded and answered at once,
// from a queue of scripted answers or else with the box's default button.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace platform::app {

// Button sets, with the icon and the default button.
inline constexpr int32_t kButtonsOKOnly = 0;
inline constexpr int32_t kButtonsOKExclamation = 48;
inline constexpr int32_t kButtonsYesNoQuestionDefaultNo = 292;

// Answers.
inline constexpr int32_t kAnswerOK = 1;
inline constexpr int32_t kAnswerCancel = 2;
inline constexpr int32_t kAnswerAbort = 3;
inline constexpr int32_t kAnswerRetry = 4;
inline constexpr int32_t kAnswerIgnore = 5;
inline constexpr int32_t kAnswerYes = 6;
inline constexpr int32_t kAnswerNo = 7;

struct MessageBoxRecord {
    std::string prompt;
    int32_t buttons = 0;
    int32_t answer = 0;
};

class MessageBoxHandler {
public:
    static MessageBoxHandler& Instance();  // the process's handler

    // Records the box and answers the next scripted answer, else DefaultAnswer;
    // a box with only OK takes a scripted OK only, and answers OK otherwise.
    int32_t Show(const std::string& prompt, int32_t buttons);
    void QueueAnswer(int32_t answer);
    // An answer for the next box that asks a question (Yes No, Yes No Cancel);
    // boxes that only inform, before it, keep their own answers.
    void QueueQuestionAnswer(int32_t answer);
    // Drop the answers no box took (queued with QueueAnswer, or with
    // QueueQuestionAnswer) and return them in the order they were queued.
    std::vector<int32_t> DropAnswers();
    std::vector<int32_t> DropQuestionAnswers();

    const std::vector<MessageBoxRecord>& Records() const { return records_; }
    // Forgets the records and the scripted answers.
    void Clear();

    // The default button of a box: the button set in bits 0-3 (OK; OK Cancel;
    // Abort Retry Ignore; Yes No Cancel; Yes No; Retry Cancel) and the default
    // button in bits 8-9 (first, second, third). 0, 48 → OK; 52 → Yes; 292 → No.
    static int32_t DefaultAnswer(int32_t buttons);

private:
    std::vector<MessageBoxRecord> records_;
    std::deque<int32_t> scripted_;
    std::deque<int32_t> questionAnswers_;
};

}  // namespace platform::app
