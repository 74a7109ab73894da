#pragma once
// The login fields both administrator pages show, their checks and how they are written. The
// password the device holds is never shown: the operator types the old one, and a new password
// left empty keeps the current one (the password is then left out of the write).
#include <functional>
#include <QString>

class QLineEdit;
class QvSNMPRequest2Edits;

namespace pages::login {

struct Fields {
    QLineEdit* user;
    QLineEdit* oldPassword;
    QLineEdit* newPassword;
    QLineEdit* confirm;
    QLineEdit* password; // hidden, bound to the password variable
};

// Typing limits: the user name 64 characters, the passwords 12.
void setLimits(const Fields& fields);

// The checks in their order: the old password against `storedPassword`, the user name's length
// and characters, the new password's length, the confirmation. The first failure is refused
// with its message (title "Warning"); `tidy` runs before the focus moves to the field.
bool checksPass(const Fields& fields, const QString& storedPassword,
                const std::function<void()>& tidy = {});

// Prepares the login request for its write: the new password into the hidden field, or the
// password left out when no new one was typed.
void prepareWrite(const Fields& fields, QvSNMPRequest2Edits& login, int passwordIndex);

} // namespace pages::login
