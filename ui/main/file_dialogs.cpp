#include "ui/main/file_dialogs.h"

#include <QFileDialog>

#include <deque>

namespace qzb {

namespace {

std::deque<QString>& Queued()
{
    static std::deque<QString> names;
    return names;
}

bool TakeQueued(QString& name)
{
    if (Queued().empty()) {
        return false;
    }
    name = Queued().front();
    Queued().pop_front();
    return true;
}

} // namespace

QString
CFileDialogs::ChooseOpenFile(QWidget* owner, const QString& caption, const QString& start, const QString& filter)
{
    QString name;
    if (TakeQueued(name)) {
        return name;
    }
    return QFileDialog::getOpenFileName(owner, caption, start, filter);
}

QString
CFileDialogs::ChooseSaveFile(QWidget* owner, const QString& caption, const QString& start, const QString& filter)
{
    QString name;
    if (TakeQueued(name)) {
        return name;
    }
    // The overwrite question is the dialog's own.
    return QFileDialog::getSaveFileName(owner, caption, start, filter);
}

void CFileDialogs::SetNextFileName(const QString& name)
{
    Queued().push_back(name);
}

void CFileDialogs::Clear()
{
    Queued().clear();
}

} // namespace qzb
