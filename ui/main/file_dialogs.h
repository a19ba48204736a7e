#pragma once

#include <QString>

class QWidget;

namespace qzb {

// The open and save file dialogs of the window's commands. Tests queue the names the user would
// choose (an empty name is Cancel): a queued name is returned at once and no dialog opens.
class CFileDialogs
{
public:
    static QString ChooseOpenFile(QWidget* owner, const QString& caption, const QString& start, const QString& filter);
    static QString ChooseSaveFile(QWidget* owner, const QString& caption, const QString& start, const QString& filter);
    static void SetNextFileName(const QString& name);
    static void Clear();
};

} // namespace qzb
