#pragma once

#include "app/message_presenter.h"

#include <deque>
#include <vector>

namespace qzb {

// Message boxes of the catalogue as Qt modal boxes without icon. Tests queue answers with
// SetNextAnswer: a queued answer is returned at once and the request is recorded, no box opens.
class CQtMessagePresenter : public IMessagePresenter
{
public:
    int Present(const CMessageBoxRequest& request) override;
    WindowHandle ActiveWindow() const override;

    static void SetNextAnswer(int answer);
    // Unattended runs (a screenshot from the command line) open no box: the text goes to stderr,
    // the first button is taken and the code is remembered as the run's failure.
    static void SetUnattended(bool unattended);
    static MessageCode LastUnattendedCode();
    static const std::vector<CMessageBoxRequest>& Recorded();
    static void ClearRecorded();

private:
    static std::deque<int>& Answers();
    static std::vector<CMessageBoxRequest>& RecordedRequests();
    static bool s_unattended;
    static MessageCode s_lastUnattended;
};

} // namespace qzb
