#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/services/messageboxservice.h"

namespace contado {

// Answers every message box while it lives and keeps what each box showed. Boxes are answered
// with the queued answers in turn, then with their default button.
class TMessageBoxRecorder {
  public:
    TMessageBoxRecorder() {
        SetMessageBoxHook([this](const TMessageBoxRequest& request) { return Answer(request); });
    }
    ~TMessageBoxRecorder() { SetMessageBoxHook(nullptr); }
    TMessageBoxRecorder(const TMessageBoxRecorder&) = delete;
    TMessageBoxRecorder& operator=(const TMessageBoxRecorder&) = delete;

    void QueueAnswer(TMsgDlgBtn answer) { answers_.push_back(answer); }
    const std::vector<TMessageBoxRequest>& Shown() const { return shown_; }

  private:
    TMsgDlgBtn Answer(const TMessageBoxRequest& request) {
        shown_.push_back(request);
        if (answers_.empty()) {
            return UnattendedAnswer(request.buttons);
        }
        const TMsgDlgBtn answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    std::vector<TMessageBoxRequest> shown_;
    std::deque<TMsgDlgBtn> answers_;
};

}  // namespace contado
