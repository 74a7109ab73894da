#include "pages/service/login.h"

#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "binding/request2edits.h"
#include "pages/common/messages.h"
#include "pages/common/page.h"

#include <QLineEdit>
#include <QRegularExpression>

namespace pages::login {
namespace {
constexpr int kUserLength = 64;
constexpr int kPasswordLength = 12;

bool validUserCharacters(const QString& user) {
    static const QRegularExpression allowed(QStringLiteral("^[a-zA-Z0-9@._-]*$"));
    return allowed.match(user).hasMatch();
}

// Refuses with the field emptied (when `clear`), tidies, then focuses the field.
bool refuseField(const QString& text, QLineEdit* field, bool clear,
                 const std::function<void()>& tidy) {
    if (clear)
        field->clear();
    pages::refuse(text, msg::kWarning);
    if (tidy)
        tidy();
    field->setFocus();
    return false;
}
} // namespace

void setLimits(const Fields& fields) {
    QvEditHooks::of(*fields.user).setMaxLength(kUserLength);
    for (QLineEdit* e : {fields.oldPassword, fields.newPassword, fields.confirm})
        QvEditHooks::of(*e).setMaxLength(kPasswordLength);
}

bool checksPass(const Fields& fields, const QString& storedPassword,
                const std::function<void()>& tidy) {
    if (fields.oldPassword->text() != storedPassword)
        return refuseField(QStringLiteral("Please input the current password correctly!"),
                           fields.oldPassword, false, tidy);
    if (fields.user->text().size() > kUserLength)
        return refuseField(QStringLiteral("Please limit user name to 64 characters!"), fields.user,
                           true, tidy);
    if (!validUserCharacters(fields.user->text()))
        return refuseField(QStringLiteral("Invaild UserName!"), fields.user, true, tidy);
    if (fields.newPassword->text().size() > kPasswordLength)
        return refuseField(QStringLiteral("Please limit password to 12 characters!"),
                           fields.newPassword, true, tidy);
    if (fields.confirm->text() != fields.newPassword->text())
        return refuseField(QStringLiteral("Please input the confirm new password correctly!"),
                           fields.newPassword, false, tidy);
    return true;
}

void prepareWrite(const Fields& fields, QvSNMPRequest2Edits& login, int passwordIndex) {
    const bool keep = fields.newPassword->text().isEmpty();
    fields.password->setText(fields.newPassword->text());
    login.vars.item(passwordIndex).access = keep ? QvAccess::invalid : QvAccess::readwrite;
}

} // namespace pages::login
