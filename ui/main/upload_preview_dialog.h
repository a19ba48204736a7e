#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace qzb {

// What the device will change by an upload, or how a file differs from the device's state: the
// question, the summary line, one line a change below it, and Upload / Cancel (Close for a
// comparison); an upload asks nothing before it. A
// report (what a CSV exchange read or left out) has the same shape: its counts, a scrollable list
// of notes that can be selected and copied, and Close.
class CUploadPreviewDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Kind { Upload, Compare, Report };

    struct CTexts
    {
        QString title;
        QString summary;
        QString question; // above the changes: "… Upload these changes?" or "… Upload anyway?"
        QString upload;
        QString cancel; // Close for a comparison
    };

    CUploadPreviewDialog(Kind kind, const CTexts& texts, const QStringList& lines, QWidget* parent = nullptr);

    // Shows the dialog modally: true when the user chose Upload. A queued answer (tests) is taken
    // at once instead, and no dialog opens; the summary and lines are recorded either way.
    static bool Ask(Kind kind, const CTexts& texts, const QStringList& lines, QWidget* parent);

    static void SetNextAnswer(bool upload);
    struct CShown
    {
        Kind kind;
        QString summary;
        QStringList lines;
    };
    static const std::vector<CShown>& Shown();
    static void ClearShown();

private:
    static std::deque<bool>& Answers();
    static std::vector<CShown>& ShownList();
};

} // namespace qzb
