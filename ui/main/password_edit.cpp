#include "ui/main/password_edit.h"

#include "model/input_chars.h"
#include "pages/service_man.h"
#include "ui/controls/my_edit.h"

namespace qzb {

CMyEdit* CreatePasswordEdit(QWidget* parent, const char* objectName, const CValueStore& store, std::int32_t limit)
{
    auto* edit = new CMyEdit(parent);
    edit->setObjectName(objectName);
    CEditRules rules = EditRulesForKind(kPasswordInputKind);
    rules.noCopyCut = true;
    edit->Configure(rules, &store);
    edit->SetLimit(limit);
    edit->setEchoMode(QLineEdit::Password);
    // Every character shows as "*", whatever the style's own mask character.
    edit->setStyleSheet("lineedit-password-character: 42;");
    return edit;
}

} // namespace qzb
