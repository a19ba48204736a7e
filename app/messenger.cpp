#include "app/messenger.h"

#include "app/string_table.h"
#include "base/text_format.h"

namespace qzb {

namespace {

bool IsConnectionCode(MessageCode code)
{
    return code >= kMsgConnectCut && code <= kMsgConnectUsb;
}

} // namespace

std::u16string InsertText(std::u16string_view format, std::u16string_view insert)
{
    std::u16string out(format);
    if (const auto pos = out.find(u"%s"); pos != std::u16string::npos) {
        out.replace(pos, 2, insert);
    }
    return out;
}

std::u16string InsertTexts(std::u16string_view format, std::span<const std::u16string> inserts)
{
    return FillInserts(std::u16string(format), inserts);
}

CMessenger::CMessenger(const CStringTable& table, IMessagePresenter& presenter)
    : m_table(table)
    , m_presenter(presenter)
{
}

bool CMessenger::LookupText(std::string_view key, std::u16string& out)
{
    if (const std::u16string* text = m_table.Find(key)) {
        out = *text;
        return true;
    }
    ShowPlain(u"Can not get StringTable.");
    return false;
}

std::u16string CMessenger::Text(std::string_view key)
{
    std::u16string text;
    LookupText(key, text);
    return text;
}

double CMessenger::SizeRatio(std::string_view key)
{
    std::u16string text;
    LookupText(key, text);
    return ParseSizeRatio(text);
}

void CMessenger::ShowPlain(std::u16string text)
{
    CMessageBoxRequest request;
    request.text = std::move(text);
    request.owner = m_presenter.ActiveWindow();
    m_presenter.Present(request);
}

CMessageBoxRequest CMessenger::Request(MessageCode code, WindowHandle owner, std::optional<ButtonSet> buttons)
{
    const CMessageEntry* entry = FindMessage(code);
    CMessageBoxRequest request;
    request.code = code;
    request.buttons = buttons.value_or(entry ? entry->buttons : ButtonSet::Ok);
    const WindowHandle appOwner = OwnerWindow();
    if (appOwner && IsConnectionCode(code)) {
        request.owner = appOwner;
    } else {
        request.owner = owner ? owner : m_presenter.ActiveWindow();
    }
    const bool serviceman = entry && entry->caption == CaptionKind::Serviceman;
    LookupText(serviceman ? kServicemanCaptionKey : kCaptionKey, request.caption);
    if (entry) {
        LookupText(entry->key, request.text);
    }
    return request;
}

int CMessenger::ShowMessage(MessageCode code,
                            WindowHandle owner,
                            std::optional<ButtonSet> buttons,
                            std::optional<std::u16string_view> insert)
{
    if (code == kOk) {
        return kAnswerOk;
    }
    CMessageBoxRequest request = Request(code, owner, buttons);
    if (insert) {
        request.text = InsertText(request.text, *insert);
    }
    return Present(request);
}

int CMessenger::ShowMessage(MessageCode code, WindowHandle owner, std::span<const std::u16string> inserts)
{
    if (inserts.empty()) {
        return ShowMessage(code, owner);
    }
    CMessageBoxRequest request = Request(code, owner, std::nullopt);
    request.text = InsertTexts(request.text, inserts);
    return Present(request);
}

int CMessenger::Present(const CMessageBoxRequest& request)
{
    {
        std::lock_guard lock(m_busyMutex);
        if (m_busy) {
            return kAnswerOk;
        }
        m_busy = true;
    }
    const int answer = m_presenter.Present(request);
    std::lock_guard lock(m_busyMutex);
    m_busy = false;
    return answer;
}

void CMessenger::SetOwnerWindow(WindowHandle window)
{
    std::lock_guard lock(m_ownerMutex);
    m_owner = window;
}

WindowHandle CMessenger::OwnerWindow() const
{
    std::lock_guard lock(m_ownerMutex);
    return m_owner;
}

bool CMessenger::IsMessageBoxOpen() const
{
    std::lock_guard lock(m_busyMutex);
    return m_busy;
}

} // namespace qzb
