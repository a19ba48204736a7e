#pragma once

#include "ui/main/qt_message_presenter.h"
#include "ui/main/qzb_app.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>

namespace qzb {

inline CQZBApp& App()
{
    return *static_cast<CQZBApp*>(QCoreApplication::instance());
}

inline QStringList Args(QStringList more)
{
    return QStringList{"qzb"} + more;
}

// Each test starts from no window and holds its locks in a folder of its own, so that no window or
// lock of an earlier test, whatever the order, decides what this one sees.
class CFreshApp
{
public:
    CFreshApp()
    {
        m_previousLockDir = qgetenv("QZB_LOCK_DIR");
        qputenv("QZB_LOCK_DIR", m_locks.path().toLocal8Bit());
        Reset();
    }
    ~CFreshApp()
    {
        Reset();
        qputenv("QZB_LOCK_DIR", m_previousLockDir);
    }
    CFreshApp(const CFreshApp&) = delete;
    CFreshApp& operator=(const CFreshApp&) = delete;

    QString LockFolder() const { return m_locks.path(); }

private:
    // A start that fails at the string table has let go of the window and the lock of the start
    // before it, and holds neither itself.
    static void Reset()
    {
        CQtMessagePresenter::SetNextAnswer(kAnswerOk);
        App().Start(Args({"--model", "8329", "--data-dir", "/nonexistent"}));
        CQtMessagePresenter::ClearRecorded();
    }

    QTemporaryDir m_locks;
    QByteArray m_previousLockDir;
};

} // namespace qzb
