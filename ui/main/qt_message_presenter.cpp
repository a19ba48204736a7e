#include "ui/main/qt_message_presenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <QWidget>

#include <cstdio>

namespace qzb {

namespace {

QMessageBox::StandardButtons ButtonsOf(ButtonSet set)
{
    switch (set) {
        case ButtonSet::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case ButtonSet::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case ButtonSet::Ok:
            break;
    }
    return QMessageBox::Ok;
}

int AnswerOf(int button)
{
    switch (button) {
        case QMessageBox::Cancel:
            return kAnswerCancel;
        case QMessageBox::Yes:
            return kAnswerYes;
        case QMessageBox::No:
            return kAnswerNo;
        default:
            return kAnswerOk;
    }
}

} // namespace

std::deque<int>& CQtMessagePresenter::Answers()
{
    static std::deque<int> answers;
    return answers;
}

std::vector<CMessageBoxRequest>& CQtMessagePresenter::RecordedRequests()
{
    static std::vector<CMessageBoxRequest> recorded;
    return recorded;
}

void CQtMessagePresenter::SetNextAnswer(int answer)
{
    Answers().push_back(answer);
}

const std::vector<CMessageBoxRequest>& CQtMessagePresenter::Recorded()
{
    return RecordedRequests();
}

void CQtMessagePresenter::ClearRecorded()
{
    RecordedRequests().clear();
    Answers().clear();
}

bool CQtMessagePresenter::s_unattended = false;
MessageCode CQtMessagePresenter::s_lastUnattended = kOk;

void CQtMessagePresenter::SetUnattended(bool unattended)
{
    s_unattended = unattended;
    s_lastUnattended = kOk;
}

MessageCode CQtMessagePresenter::LastUnattendedCode()
{
    return s_lastUnattended;
}

int CQtMessagePresenter::Present(const CMessageBoxRequest& request)
{
    // A transfer runs on a worker thread; its boxes open on the window's thread, which waits in
    // the transfer's progress loop meanwhile.
    if (QCoreApplication::instance() != nullptr && QThread::currentThread() != QCoreApplication::instance()->thread()) {
        int answer = kAnswerOk;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this, &request, &answer] { answer = Present(request); },
            Qt::BlockingQueuedConnection);
        return answer;
    }
    const QString text = QString::fromStdU16String(request.text);
    if (request.caption.empty()) {
        // Boxes without caption come before the main window (start-up failures); a user who
        // started qzb from a terminal reads them there too.
        std::fprintf(stderr, "qzb: %s\n", text.toLocal8Bit().constData());
    }
    if (!Answers().empty()) {
        RecordedRequests().push_back(request);
        const int answer = Answers().front();
        Answers().pop_front();
        return answer;
    }
    if (s_unattended) {
        if (!request.caption.empty()) {
            std::fprintf(stderr, "qzb: error 0x%08X: %s\n", request.code, text.toLocal8Bit().constData());
        }
        s_lastUnattended = request.code != kOk ? request.code : s_lastUnattended;
        return request.buttons == ButtonSet::YesNoCancel ? kAnswerYes : kAnswerOk;
    }
    auto* owner = static_cast<QWidget*>(const_cast<void*>(request.owner));
    QMessageBox box(
        QMessageBox::NoIcon, QString::fromStdU16String(request.caption), text, ButtonsOf(request.buttons), owner);
    box.setObjectName("catalogueMessageBox");
    return AnswerOf(box.exec());
}

WindowHandle CQtMessagePresenter::ActiveWindow() const
{
    return QApplication::activeWindow();
}

} // namespace qzb
