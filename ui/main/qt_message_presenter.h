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
    static const std::vector<CMessageBoxRequest>& Recorded();
    static void ClearRecorded();

private:
    static std::deque<int>& Answers();
    static std::vector<CMessageBoxRequest>& RecordedRequests();
};

} // namespace qzb
