#include "ui/main/upload_preview_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextOption>
#include <QVBoxLayout>

#include <algorithm>

namespace qzb {

CUploadPreviewDialog::CUploadPreviewDialog(Kind kind, const CTexts& texts, const QStringList& lines, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(kind == Kind::Upload   ? "uploadPreviewDialog"
                  : kind == Kind::Report ? "csvReportDialog"
                                         : "compareDialog");
    setWindowTitle(texts.title);
    setMinimumWidth(360); // a short summary reads on one line
    auto* layout = new QVBoxLayout(this);
    // The question comes first, so that the one dialog of an upload asks it before the changes.
    if (!texts.question.isEmpty()) {
        auto* question = new QLabel(texts.question, this);
        question->setObjectName("previewQuestionLabel");
        question->setWordWrap(true);
        layout->addWidget(question);
    }
    auto* summary = new QLabel(texts.summary, this);
    summary->setObjectName("previewSummaryLabel");
    summary->setWordWrap(true);
    layout->addWidget(summary);
    if (!lines.isEmpty()) {
        auto* details = new QPlainTextEdit(lines.join('\n'), this);
        details->setObjectName("previewDetails");
        details->setReadOnly(true);
        details->setAccessibleName(texts.title);
        // Long lines wrap: a change is read whole without scrolling sideways.
        details->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        details->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        details->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        details->setMinimumSize(520, 240);
        layout->addWidget(details);
    }
    auto* buttons = new QDialogButtonBox(this);
    if (kind == Kind::Upload) {
        QPushButton* upload = buttons->addButton(texts.upload, QDialogButtonBox::AcceptRole);
        upload->setObjectName("previewUploadButton");
    }
    QPushButton* cancel = buttons->addButton(texts.cancel, QDialogButtonBox::RejectRole);
    cancel->setObjectName("previewCancelButton");
    // Nothing is sent by a stray Enter.
    cancel->setDefault(true);
    cancel->setFocus();
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // The size hint counts a wrapped question as one line: the dialog opens tall enough for all of
    // its lines, so that they do not push the changes over the buttons.
    const int width = std::max(minimumWidth(), sizeHint().width());
    resize(width, std::max(sizeHint().height(), layout->totalHeightForWidth(width)));
}

bool CUploadPreviewDialog::Ask(Kind kind, const CTexts& texts, const QStringList& lines, QWidget* parent)
{
    ShownList().push_back({kind, texts.summary, lines});
    if (!Answers().empty()) {
        const bool answer = Answers().front();
        Answers().pop_front();
        return answer && kind == Kind::Upload;
    }
    CUploadPreviewDialog dialog(kind, texts, lines, parent);
    return dialog.exec() == QDialog::Accepted && kind == Kind::Upload;
}

void CUploadPreviewDialog::SetNextAnswer(bool upload)
{
    Answers().push_back(upload);
}

const std::vector<CUploadPreviewDialog::CShown>& CUploadPreviewDialog::Shown()
{
    return ShownList();
}

void CUploadPreviewDialog::ClearShown()
{
    ShownList().clear();
    Answers().clear();
}

std::deque<bool>& CUploadPreviewDialog::Answers()
{
    static std::deque<bool> answers;
    return answers;
}

std::vector<CUploadPreviewDialog::CShown>& CUploadPreviewDialog::ShownList()
{
    static std::vector<CShown> shown;
    return shown;
}

} // namespace qzb
