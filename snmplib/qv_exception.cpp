#include "snmplib/qv_exception.h"

#include "snmplib/messages.h"

QvException::QvException(int code, QString text)
    : code_(code), text_(std::move(text)), what_(text_.toUtf8()) {}

QvException::QvException(int code) : QvException(code, qv::codeText(code)) {}
